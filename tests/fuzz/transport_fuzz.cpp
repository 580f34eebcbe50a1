// The transport on arbitrary bytes from its peer.  The first input byte
// seeds the chunking; the rest is written into one end of a loopback pair
// in chunks of 1 to 64 bytes, and the other end services each chunk with
// listeners that take whatever the delivery rule admits and answer calls.
// Now and then a chunk arrives while a call waits for its reply (nested up
// to three deep), so that deferral and the delivery rule run too.  Nothing
// may crash, the read buffer may never hold more than was written, and the
// message depth must come back to 0.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "libs/libcxxutil/retry_handler.h"
#include "libs/stp_transport/stp_ascii_omsg.h"
#include "libs/stp_transport/stp_msg.h"
#include "libs/stp_transport/transport.h"

namespace {

constexpr uint32_t kUs = 1, kPeer = 2;
constexpr int kMaxNesting = 3;
constexpr size_t kMaxChunk = 64;

class Harness;

// Takes what the rule admits, as an interface endpoint does; a call is
// answered, sometimes after a call of its own.
class TakeAll : public ResponseListener {
 public:
  explicit TakeAll(Harness* h) : h_(h) {}
  bool handleResponse(STPIMsg* message, bool isOnlyListener) override;

 private:
  Harness* h_;
};

// The wait of every call: each turn of the wait feeds one more chunk; it
// gives up when the input ends, or by chance.
class Harness : public RetryHandler {
 public:
  Harness(const uint8_t* data, size_t size) : data_(data + 1), size_(size - 1), rng_(data[0] + 1) {
    STPTransport::createLoopbackPair(&ours_, &peer_);
    for (uint32_t kind : {STP_KIND_INTERFACE, STP_KIND_COMMAND, STP_KIND_ASCII, STP_KIND_BINARY})
      ours_->registerMessageListener(kPeer, kUs, &first_, kind);
    ours_->registerMessageListener(kPeer, kUs, &second_, STP_KIND_COMMAND);
  }
  ~Harness() override {
    ours_->delRef();
    peer_->delRef();
  }

  void run() {
    while (feed()) {
    }
    ours_->serviceOnce(0, nullptr);  // what was deferred
    ours_->dequeueAndDeliverMessage(kPeer, kUs, STP_KIND_ASCII);
    if (STPTransport::messageDepth() != 0) __builtin_trap();
  }

  uint32_t random() {
    rng_ ^= rng_ << 13;
    rng_ ^= rng_ >> 17;
    rng_ ^= rng_ << 5;
    return rng_;
  }

  void call() {
    if (nesting_ >= kMaxNesting) return;
    nesting_++;
    uint32_t flags = STP_FLAG_WANTS_REPLY;
    if (random() % 2) flags |= STP_FLAG_STRICT;
    std::unique_ptr<STPAsciiOMsg> m(
        ours_->createAsciiMessage(kUs, kPeer, STP_KIND_ASCII, 1, flags));
    uint32_t sequence = ours_->sendMessage(m.get(), nullptr, nullptr);
    delete ours_->awaitResponse(sequence, this, nullptr);
    nesting_--;
  }

  STPTransport* ours() const { return ours_; }

  void beginOp() override {}
  void idle() override { fed_ = feed(); }
  bool retryOp() override { return fed_ && random() % 4 != 0; }

 private:
  bool feed() {
    if (at_ >= size_ || ours_->isDead()) return false;
    size_t n = std::min<size_t>(size_ - at_, 1 + random() % kMaxChunk);
    peer_->enqueueRaw(data_ + at_, n);
    at_ += n;
    ours_->serviceOnce(0, nullptr);
    if (ours_->pendingReadBytes() > at_) __builtin_trap();
    if (random() % 8 == 0) call();
    return true;
  }

  const uint8_t* data_;
  size_t size_, at_ = 0;
  uint32_t rng_;
  STPTransport* ours_ = nullptr;
  STPTransport* peer_ = nullptr;
  TakeAll first_{this}, second_{this};
  int nesting_ = 0;
  bool fed_ = true;
};

bool TakeAll::handleResponse(STPIMsg* message, bool) {
  STPTransport* t = h_->ours();
  if (!t->shouldDeliverMessage(message)) return false;
  const STPHeader& h = message->header();
  if (!(h.flags & STP_FLAG_WANTS_REPLY)) return true;
  STPTransport::enterMessageDepth();
  t->pushToken(h.token_origin, h.token_depth, h.flags);
  if (h_->random() % 4 == 0) h_->call();
  std::unique_ptr<STPAsciiOMsg> reply(t->createAsciiReply(h.dest_rn, h.source_rn, h.sequence, 0));
  t->enqueueAndTryMessage(reply.get(), 2, nullptr);
  t->popToken();
  STPTransport::leaveMessageDepth();
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  Harness(data, size).run();
  return 0;
}
