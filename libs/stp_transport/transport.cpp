// The transport's message life: construction and references, transaction
// tokens and the process-wide message depth, making and queueing messages,
// the waits (send, reply, sync) and the delivery rule.
#include "libs/stp_transport/transport.h"

#include <algorithm>
#include <cassert>

#include "base/gen.h"
#include "libs/libcxxutil/retry_handler.h"
#include "libs/stp_transport/stp_ascii_omsg.h"
#include "libs/stp_transport/stp_binary_omsg.h"
#include "libs/stp_transport/stp_msg.h"

namespace {

constexpr long kServiceMs = 10000;  // one service wait of a wait without handler
constexpr uint32_t kLow16 = 0xFFFF;

int messageDepthCount = 0;
int dontDeliverCount = 0;
int strictWaitCount = 0;

// Holds delivery back while a send flushes.
struct DontDeliver {
  DontDeliver() { dontDeliverCount++; }
  ~DontDeliver() { dontDeliverCount--; }
};

}  // namespace

STPTransport::STPTransport(size_t initialBufferSize)
    : initialSize_(initialBufferSize), write_(initialBufferSize), read_(initialBufferSize) {}

STPTransport::~STPTransport() {
  if (fd_ >= 0 || listenFd_ >= 0 || peer_) closeConnection();
}

void STPTransport::delRef() {
  if (--refs_ == 0) delete this;
}

// ---- outcomes -----------------------------------------------------------------

bool STPTransport::fail(int code, const char* message) {
  status_.set(code, message);
  return false;
}

void STPTransport::die(int code, const char* message) {
  status_.set(code, message);
  closeConnection();
}

void STPTransport::beginOperation() {
  if (!dead_) status_.clear();
}

bool STPTransport::finish(bool ok, TStat* status) const {
  status_.copyTo(status);
  return ok;
}

// ---- message depth and tokens -------------------------------------------------

void STPTransport::enterMessageDepth() { messageDepthCount++; }

void STPTransport::leaveMessageDepth() {
  if (--messageDepthCount < 0) gen_errorexit(1, "negative message depth!");
}

int STPTransport::messageDepth() { return messageDepthCount; }
bool STPTransport::deliveryBlocked() { return dontDeliverCount > 0; }
int STPTransport::strictCount() { return strictWaitCount; }

void STPTransport::pushToken(uint32_t tokenOrigin, uint32_t tokenDepth, uint32_t flags) {
  tokens_.push_back(Token{static_cast<uint16_t>(tokenOrigin >> 16),
                          static_cast<uint16_t>(tokenOrigin & kLow16),
                          static_cast<uint16_t>(tokenDepth & kLow16), flags});
}

void STPTransport::popToken() {
  assert(!tokens_.empty() && "token popped that was never pushed");
  if (!tokens_.empty()) tokens_.pop_back();
}

uint32_t STPTransport::peekSequence() const { return counter_ + 1 == 0 ? 1 : counter_ + 1; }

uint32_t STPTransport::nextSequence() { return counter_ = peekSequence(); }

STPTransport::Token STPTransport::currentToken() const {
  if (!tokens_.empty()) return tokens_.back();
  Token t = defaultToken_;
  t.sequence = static_cast<uint16_t>(peekSequence() & kLow16);
  return t;
}

uint32_t STPTransport::currentTokenOrigin() const {
  Token t = currentToken();
  return uint32_t{t.origin} << 16 | t.sequence;
}

uint32_t STPTransport::currentTokenDepth() const { return currentToken().depth; }

// ---- making and queueing ------------------------------------------------------

STPAsciiOMsg* STPTransport::createAsciiMessage(uint32_t sourceRN, uint32_t destRN, uint32_t kind,
                                               uint32_t messageId, uint32_t flags) {
  return new STPAsciiOMsg(sourceRN, destRN, kind, messageId, 0, flags, currentTokenOrigin(),
                          currentTokenDepth() + 1);
}

STPBinaryOMsg* STPTransport::createBinaryMessage(uint32_t sourceRN, uint32_t destRN,
                                                 uint32_t kind, uint32_t messageId,
                                                 uint32_t flags) {
  return new STPBinaryOMsg(sourceRN, destRN, kind, messageId, 0, flags, currentTokenOrigin(),
                           currentTokenDepth() + 1);
}

STPAsciiOMsg* STPTransport::createAsciiReply(uint32_t sourceRN, uint32_t destRN,
                                             uint32_t replyTo, uint32_t flags) {
  return new STPAsciiOMsg(sourceRN, destRN, STP_REPLY_KIND, STP_REPLY_KIND, replyTo, flags,
                          currentTokenOrigin(), currentTokenDepth());
}

STPBinaryOMsg* STPTransport::createBinaryReply(uint32_t sourceRN, uint32_t destRN,
                                               uint32_t replyTo, uint32_t flags) {
  return new STPBinaryOMsg(sourceRN, destRN, STP_REPLY_KIND, STP_REPLY_KIND, replyTo, flags,
                           currentTokenOrigin(), currentTokenDepth());
}

uint32_t STPTransport::enqueueMessage(STPOMsg* message) {
  if (message->header().kind == 0) {
    fail(TSTAT_USAGE, "[enqueueMessage]: invalid message header");
    return 0;
  }
  if (dead_) {
    if (status_.ok()) fail(TSTAT_CONNECTION, "[send]: virtual connection is down");
    return 0;
  }
  uint32_t sequence = nextSequence();
  message->finishMessage(sequence);
  uint32_t headerLength = 0, bodyLength = 0;
  const uint8_t* bytes = message->getContent(&headerLength, &bodyLength);
  size_t length = size_t{headerLength} + bodyLength;
  appendToWrite(bytes, length, (length + 3) & ~size_t{3});
  lastSequence_ = sequence;
  lastKind_ = message->header().kind;
  lastMessageId_ = message->header().message_id;
  return sequence;
}

void STPTransport::enqueueRaw(const uint8_t* bytes, size_t length) {
  if (!dead_) appendToWrite(bytes, length, length);
}

uint32_t STPTransport::getLastMessageID(uint32_t* kind, uint32_t* messageId) const {
  if (kind) *kind = lastKind_;
  if (messageId) *messageId = lastMessageId_;
  return lastSequence_;
}

// ---- waits --------------------------------------------------------------------

// The shape of every wait: beginOp; until done, an error or a dead
// connection: idle, retryOp; completedOp.  Without a handler the
// transport itself is serviced, without a time limit.
bool STPTransport::waitUntil(RetryHandler* handler, long serviceMs,
                             const std::function<bool()>& done) {
  Hold hold(this);
  if (handler) handler->beginOp();
  bool ok = done();
  while (!ok && status_.ok() && isAlive()) {
    if (!handler) {
      serviceOnce(serviceMs, nullptr);
    } else {
      handler->idle();
      if (!(ok = done()) && !handler->retryOp()) break;
    }
    ok = ok || done();
  }
  if (handler) handler->completedOp();
  return ok;
}

uint32_t STPTransport::sendMessage(STPOMsg* message, RetryHandler* handler, TStat* status) {
  Hold hold(this);
  beginOperation();
  uint32_t sequence = enqueueMessage(message);
  if (!sequence) return finish(false, status);
  const STPHeader& h = message->header();
  enterMessageDepth();
  pushToken(h.token_origin, h.token_depth, h.flags);
  bool drained;
  {
    DontDeliver quiet;
    handleWrite();
    drained = waitUntil(handler, kServiceMs, [this] { return writeLength_ == 0; });
  }
  if (!drained && status_.ok())
    fail(TSTAT_TIMEOUT, "[sendMessage]: reached timeout while waiting to send message");
  bool awaitsReply = (h.flags & STP_FLAG_WANTS_REPLY) && !(h.flags & STP_FLAG_ONE_WAY);
  if (!awaitsReply || !status_.ok()) {
    popToken();
    leaveMessageDepth();
  }
  return finish(status_.ok(), status) ? sequence : 0;
}

bool STPTransport::enqueueAndTryMessage(STPOMsg* message, int tries, TStat* status) {
  Hold hold(this);
  beginOperation();
  if (!enqueueMessage(message)) return finish(false, status);
  for (int i = 0; i < tries && writeLength_ > 0 && fd_ >= 0; i++) handleWrite();
  return finish(status_.ok(), status);
}

STPIMsg* STPTransport::takeResponse(uint32_t sequence) {
  auto it = std::find_if(responses_.begin(), responses_.end(),
                         [sequence](const auto& m) { return m->header().reply_to == sequence; });
  if (it == responses_.end()) return nullptr;
  STPIMsg* reply = it->release();
  responses_.erase(it);
  return reply;
}

STPIMsg* STPTransport::awaitResponse(uint32_t sequence, RetryHandler* handler, TStat* status) {
  if (sequence == 0) {  // nothing was sent, so nothing was entered either
    finish(false, status);
    return nullptr;
  }
  Hold hold(this);
  beginOperation();
  STPIMsg* reply = takeResponse(sequence);
  if (!reply) {
    bool strict = !tokens_.empty() && (tokens_.back().flags & STP_FLAG_STRICT);
    strictWaitCount += strict;
    auto awaited = awaited_.insert(sequence);
    waitUntil(handler, kServiceMs, [this, sequence] {
      return std::any_of(responses_.begin(), responses_.end(),
                         [sequence](const auto& m) { return m->header().reply_to == sequence; });
    });
    awaited_.erase(awaited);
    strictWaitCount -= strict;
    reply = takeResponse(sequence);
  }
  if (!reply && status_.ok()) {
    if (!isAlive())
      fail(TSTAT_PEER_CLOSED, "[awaitResponse]: connection closed while waiting to receive response");
    else
      fail(TSTAT_TIMEOUT, "[awaitResponse]: reached timeout while waiting to receive response");
  }
  popToken();
  leaveMessageDepth();
  finish(reply != nullptr, status);
  return reply;
}

void STPTransport::resetReceiveQueue() {
  responses_.clear();
  awaited_.clear();
}

bool STPTransport::trySync(uint32_t sourceRN, uint32_t destRN) {
  auto it = std::find(syncPoints_.begin(), syncPoints_.end(), std::make_pair(sourceRN, destRN));
  if (it == syncPoints_.end()) return false;
  syncPoints_.erase(it);
  return true;
}

bool STPTransport::awaitSync(uint32_t sourceRN, uint32_t destRN, RetryHandler* handler,
                             TStat* status) {
  Hold hold(this);
  beginOperation();
  STPOMsg sync(sourceRN, destRN, STP_KIND_SYNC, 0, 0, STP_FLAG_ONE_WAY, currentTokenOrigin(),
               currentTokenDepth() + 1);
  if (!enqueueMessage(&sync)) return finish(false, status);
  handleWrite();
  auto arrived = [&] {
    return writeLength_ == 0 && std::find(syncPoints_.begin(), syncPoints_.end(),
                                          std::make_pair(destRN, sourceRN)) != syncPoints_.end();
  };
  bool ok = waitUntil(handler, kServiceMs, arrived);
  if (ok) trySync(destRN, sourceRN);
  else if (status_.ok())
    fail(TSTAT_TIMEOUT, "[awaitSync]: reached timeout while waiting to receive sync packet");
  return finish(ok, status);
}

// ---- listeners and the delivery rule ------------------------------------------

void STPTransport::registerMessageListener(uint32_t sourceRN, uint32_t destRN,
                                           ResponseListener* listener, uint32_t kind) {
  listeners_.emplace(ListenerKey{sourceRN, destRN, kind}, listener);
}

void STPTransport::unregisterMessageListener(ResponseListener* listener) {
  std::erase_if(listeners_, [listener](const auto& entry) { return entry.second == listener; });
}

void STPTransport::dequeueAndDeliverMessage(uint32_t sourceRN, uint32_t destRN, uint32_t kind) {
  auto it = std::find_if(unclaimed_.begin(), unclaimed_.end(), [&](const auto& m) {
    const STPHeader& h = m->header();
    return h.source_rn == sourceRN && h.dest_rn == destRN && h.kind == kind;
  });
  if (it == unclaimed_.end()) return;
  std::unique_ptr<STPIMsg> message = std::move(*it);
  unclaimed_.erase(it);
  Hold hold(this);
  deliverMessage(std::move(message));
}

bool STPTransport::shouldDeliverMessage(const STPIMsg* message) const {
  const STPHeader& h = message->header();
  if (dontDeliverCount > 0) return false;
  if (messageDepthCount == 0 || h.reply_to != 0) return true;
  for (const auto& r : responses_)
    if (r->header().source_rn == h.source_rn &&
        (r->header().token_depth & kLow16) == (h.token_depth & kLow16))
      return false;
  if (h.flags & STP_FLAG_SAFE) return true;
  if (!(h.flags & STP_FLAG_TRANSACTION) && strictWaitCount == 0) return true;
  Token t = currentToken();
  return (h.token_origin >> 16) == t.origin && (h.token_origin & kLow16) == t.sequence &&
         (h.token_depth & kLow16) > t.depth;
}
