// The router on arbitrary bytes from a tool.  An in-process router serves
// two tools over loopback pairs: a well-behaved provider of the service
// "S" (which accepts every connection) and the tool whose bytes are the
// input, fed in chunks of 1 to 64 bytes (the first input byte seeds the
// chunking) with a turn of the router's loop after each.  Whatever the
// bytes, the router must not crash, must keep the provider's link, and
// must come back to message depth 0.  The seeds are a tool's messages as
// the generated plugin stubs encode them.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "libs/stp_transport/transport.h"
#include "services/interfaces/ServiceRouter_plugin_Impl.h"
#include "svc_router/svc_router.h"

namespace {

constexpr size_t kMaxChunk = 64;

class Provider : public ServiceRouter_plugin_Impl {
 public:
  void msg_ConnectionRequestedEvent(uint32_t, uint32_t serviceRN, uint32_t remoteRN,
                                    const std::vector<std::string>&) override {
    send_ConnectionAcceptedEvent(serviceRN, remoteRN, 1, false);
  }
  void msg_ForwardedRequestValueOfNameOnPlugin(uint32_t requester, uint32_t mine,
                                               const char* name) override {
    send_ValueOfNameOnPluginResponseEvent(requester, mine, name, "v", false);
  }
};

struct Harness {
  ServiceRouter router{RouterSettings{}};
  STPTransport *provLink, *prov, *fuzzLink, *fuzz;
  Provider* provider = new Provider;

  Harness() {
    STPTransport::createLoopbackPair(&provLink, &prov);
    STPTransport::createLoopbackPair(&fuzzLink, &fuzz);
    router.adopt(provLink);
    provider->setTransport(prov, 0, 0);
    provider->sendNegotiate(true, nullptr);
    for (int i = 0; i < 4; i++) turn();
    provider->send_RegisterServiceList({"S"}, false);
    router.adopt(fuzzLink);
    turn();
  }
  ~Harness() {
    provider->delRef();
    for (STPTransport* t : {provLink, prov, fuzzLink, fuzz}) t->delRef();
  }
  void turn() {
    router.runOnce(0);
    prov->serviceOnce(0, nullptr);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  Harness h;
  uint32_t rng = data[0] + 1u;
  for (size_t at = 1; at < size;) {
    rng ^= rng << 13;
    rng ^= rng >> 17;
    rng ^= rng << 5;
    size_t n = std::min<size_t>(size - at, 1 + rng % kMaxChunk);
    h.fuzz->enqueueRaw(data + at, n);
    at += n;
    h.turn();
  }
  for (int i = 0; i < 4; i++) h.turn();
  if (h.router.toolCount() < 1 || !h.prov->isAlive() || STPTransport::messageDepth() != 0)
    __builtin_trap();
  return 0;
}
