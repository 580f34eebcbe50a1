// Arbitrary bytes as the body of a peer's negotiation message (kind 12,
// id 1) handed to an interface endpoint.  Nothing may crash or hang, and
// afterwards the endpoint's tag map and tables still fit its description.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "base/gen.h"
#include "libs/stp_transport/stub_support.h"

namespace {

class Endpoint : public STPSpecClass {
 public:
  Endpoint() : STPSpecClass(describe()) {}
  uint32_t getDefaultLocalRN() override { return 1; }
  uint32_t getDefaultRemoteRN() override { return 2; }

 private:
  static STPInterfaceDesc describe() {
    STPInterfaceDesc d;
    d.tagNames = {"count", "data", "name", "path"};
    d.own = {{"A", "", 0, 2}, {"B", "", 1, 1}};
    d.sendable = {{"M", "", 0, 2}, {"N", "", 1, 0x91}, {"O", "", 2, 0x12}};
    return d;
  }
};

void check(bool ok) {
  if (!ok) abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static STPTransport* transport = [] {
    gen_init("fuzz_negotiation", 0, 0);
    STPTransport *ours = nullptr, *peer = nullptr;
    STPTransport::createLoopbackPair(&ours, &peer);
    return ours;
  }();
  STPOMsg frame(2, 1, STP_KIND_INTERFACE, 1, 0, STP_FLAG_ONE_WAY, 0, 1);
  frame.put_bytes(data, static_cast<long>(size));
  frame.finishMessage(2);
  uint32_t header = 0, body = 0;
  const uint8_t* bytes = frame.getContent(&header, &body);
  STPIMsg message(bytes, header, body);

  auto* endpoint = new Endpoint;
  endpoint->setTransport(transport, 0, 0);
  check(endpoint->handleMessage(&message, true));
  check(endpoint->isNegotiated());
  const auto& map = endpoint->getTagMap();
  check(map.size() == 4);
  for (int32_t tag : map) check(tag >= -1 && tag <= 0xFFFFFF);
  const STPInterfaceDesc& d = endpoint->description();
  check(d.sendable.size() == 3 && d.sendable[0].name == "M" && d.sendable[2].name == "O");
  check(d.own.size() == 2 && d.own[1].id == 1);
  check(endpoint->getExtraMessages().size() <= size);
  for (int32_t tag = -2; tag < 6; tag++) check(endpoint->mapTag(tag) >= -1);
  endpoint->delRef();
  return 0;
}
