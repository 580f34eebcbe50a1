// Shared by the endpoint tests: a loopback pair whose far end the test
// drives by hand, bounded waits, and a catcher of the replies the far end
// receives.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/gen.h"
#include "libs/stp_transport/stub_support.h"

namespace endpoint_test {

constexpr long kPatienceMs = 5000;  // the bound of every wait for an event

// Serves `t` until `done` or the patience runs out; whether `done`.
inline bool serviceUntil(STPTransport* t, const std::function<bool()>& done) {
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(kPatienceMs);
  while (!done() && std::chrono::steady_clock::now() < end) t->serviceOnce(10, nullptr);
  return done();
}

// `ours` carries the endpoint under test; `peer` is the other end.
struct Pair {
  STPTransport* ours = nullptr;
  STPTransport* peer = nullptr;
  Pair() {
    STPTransport::createLoopbackPair(&ours, &peer);
    peer->setDefaultToken(7);  // a transaction origin of its own
  }
  ~Pair() {
    ours->delRef();
    peer->delRef();
  }
  // A text message from the endpoint's peer RN to it; its sequence.
  uint32_t fromPeer(STPSpecClass* to, uint32_t kind, uint32_t id, uint32_t flags,
                    const char* body) {
    std::unique_ptr<STPAsciiOMsg> m(
        peer->createAsciiMessage(to->getRemoteRN(), to->getLocalRN(), kind, id, flags));
    m->putRawString(body);
    return peer->enqueueMessage(m.get());
  }
  void replyFromPeer(STPSpecClass* to, uint32_t replyTo, const char* body) {
    std::unique_ptr<STPAsciiOMsg> m(
        peer->createAsciiReply(to->getRemoteRN(), to->getLocalRN(), replyTo, 0));
    m->putRawString(body);
    peer->enqueueMessage(m.get());
  }
};

// The text of every reply the endpoint `from` sends to `t`.
struct Replies : ResponseListener {
  Replies(STPTransport* t, STPSpecClass* from) : t_(t) {
    t_->registerMessageListener(from->getLocalRN(), from->getRemoteRN(), this, STP_REPLY_KIND);
  }
  ~Replies() override { t_->unregisterMessageListener(this); }
  bool handleResponse(STPIMsg* message, bool) override {
    texts.push_back(STPAsciiIMsg(*message).getAsciiContent());
    return true;
  }
  std::vector<std::string> texts;

 private:
  STPTransport* t_;
};

}  // namespace endpoint_test
