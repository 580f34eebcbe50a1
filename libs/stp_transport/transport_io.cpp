// The transport's bytes: the write queue (one write per handleWrite, never
// blocking), reading and splitting frames in place in the read buffer,
// delivery by kind and listener, and the select of serviceOnce and
// serviceFirst.  Buffers grow by doubling and shrink back when idle.
#include "libs/stp_transport/transport.h"

#include <sys/select.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>

#include "gui/loop/idle_notifier.h"
#include "libs/stp_transport/stp_frame.h"
#include "libs/stp_transport/stp_msg.h"

namespace {

// Less room than this behind the data makes a read grow or compact the
// read buffer first, so that every read can take a useful amount.
constexpr size_t kMinReadRoom = 1024;
// An empty read buffer this many times its initial size shrinks back.
constexpr size_t kReadShrinkFactor = 10;
constexpr size_t kReserveFrameLimit = size_t{64} << 20;
constexpr size_t kDirectSendFrom = 64 * 1024;  // smaller frames are batched
// Enough bytes for the frame check to read the two length words.
constexpr size_t kLengthWords = 8;
constexpr size_t kDestRNOffset = 12;
constexpr long kLoopbackPauseMs = 1;

volatile sig_atomic_t wakeRequested = 0;
uint64_t dispatchPasses = 0;

uint32_t wordAt(const uint8_t* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

// Select with EINTR retried over the time left; an interruption asked for
// by interruptWait ends the wait early.  -1 on a real error.
int selectRetrying(int maxFd, fd_set* r, fd_set* w, long timeoutMs) {
  int64_t deadline = idle_nowMs() + std::max(timeoutMs, 0L);
  for (;;) {
    if (wakeRequested) {
      wakeRequested = 0;
      deadline = 0;
    }
    fd_set rr = *r, ww = *w;
    int64_t left = std::max<int64_t>(0, deadline - idle_nowMs());
    timeval tv = {static_cast<time_t>(left / 1000), static_cast<suseconds_t>(left % 1000 * 1000)};
    int n = select(maxFd + 1, &rr, &ww, nullptr, &tv);
    if (n >= 0) {
      *r = rr, *w = ww;
      return n;
    }
    if (errno != EINTR) return -1;
  }
}

}  // namespace

void STPTransport::interruptWait() { wakeRequested = 1; }

// ---- writing ------------------------------------------------------------------

// What the socket takes at once of a long frame when nothing is queued
// before it: that much need not be copied into the queue.  Errors are left
// for handleWrite to find.
size_t STPTransport::sendNow(const uint8_t* bytes, size_t length) {
  if (fd_ < 0) return 0;
  ssize_t n;
  do n = send(fd_, bytes, length, MSG_NOSIGNAL | MSG_DONTWAIT);
  while (n < 0 && errno == EINTR);
  return n > 0 ? static_cast<size_t>(n) : 0;
}

void STPTransport::appendToWrite(const uint8_t* bytes, size_t length, size_t paddedLength) {
  if (loopback_) {
    if (peer_) peer_->appendToRead(bytes, length, paddedLength);
    return;
  }
  if (writeLength_ == 0 && length >= kDirectSendFrom) {
    const size_t sent = sendNow(bytes, length);
    bytes += sent, length -= sent, paddedLength -= sent;
  }
  if (paddedLength == 0) return;
  if (writeStart_ + writeLength_ + paddedLength > write_.size()) {
    size_t size = write_.size();
    if (writeLength_ + paddedLength > size)
      size = std::max(writeLength_, paddedLength) + writeLength_;
    Buffer moved(size);
    std::memcpy(moved.data(), write_.data() + writeStart_, writeLength_);
    write_.swap(moved);
    writeStart_ = 0;
  }
  uint8_t* end = write_.data() + writeStart_ + writeLength_;
  std::memcpy(end, bytes, length);
  std::memset(end + length, 0, paddedLength - length);
  writeLength_ += paddedLength;
}

void STPTransport::handleWrite() {
  if (writeLength_ == 0 || fd_ < 0) return;
  ssize_t n;
  do n = send(fd_, write_.data() + writeStart_, writeLength_, MSG_NOSIGNAL);
  while (n < 0 && errno == EINTR);
  if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return;
  // A peer that has gone makes the write fail with a broken pipe or a
  // reset: that is the peer closing, not a failure of ours.
  if (n == 0 || (n < 0 && (errno == EPIPE || errno == ECONNRESET)))
    return die(TSTAT_PEER_CLOSED, "[handleWrite]: peer has closed connection");
  if (n < 0) return die(TSTAT_CONNECTION, "[handleWrite]: write failed, dropping connection");
  writeStart_ += n;
  writeLength_ -= n;
  if (writeLength_ > 0) return;
  writeStart_ = 0;
  if (write_.size() > initialSize_) Buffer(initialSize_).swap(write_);
}

// ---- reading ------------------------------------------------------------------

void STPTransport::ensureReadSpace(size_t room) {
  if (read_.size() - readStart_ - readLength_ >= room) return;
  size_t size = std::max(2 * readLength_ + initialSize_, readLength_ + room);
  Buffer moved(size);
  std::memcpy(moved.data(), read_.data() + readStart_, readLength_);
  read_.swap(moved);
  readStart_ = 0;
}

// Room for the rest of a frame whose length is known, in one step rather
// than by doubling.  Up to a bound: a length alone (from a hostile peer)
// reserves at most that much address space, whose pages cost nothing
// until bytes arrive to fill them.
void STPTransport::reserveFrame(size_t frameLength) {
  if (frameLength > readLength_ && frameLength <= kReserveFrameLimit)
    ensureReadSpace(frameLength - readLength_);
}

void STPTransport::appendToRead(const uint8_t* bytes, size_t length, size_t paddedLength) {
  ensureReadSpace(paddedLength);
  uint8_t* end = read_.data() + readStart_ + readLength_;
  std::memcpy(end, bytes, length);
  std::memset(end + length, 0, paddedLength - length);
  readLength_ += paddedLength;
  needMore_ = false;
}

void STPTransport::consumeRead(size_t length) {
  readStart_ += length;
  readLength_ -= length;
  if (readLength_ > 0) return;
  readStart_ = 0;
  if (read_.size() > kReadShrinkFactor * initialSize_) Buffer(initialSize_).swap(read_);
}

// One read into the free space.  False when the connection ended; frames
// that arrived before the end are dispatched first.
bool STPTransport::readSocket() {
  if (fd_ < 0) return false;
  ensureReadSpace(kMinReadRoom);
  uint8_t* room = read_.data() + readStart_ + readLength_;
  ssize_t n;
  do n = read(fd_, room, read_.size() - readStart_ - readLength_);
  while (n < 0 && errno == EINTR);
  if (n > 0) {
    readLength_ += n;
    needMore_ = false;
    return true;
  }
  if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return true;
  if (n < 0 && errno != ECONNRESET) {
    die(TSTAT_CONNECTION, "[handleRead]: read failed, closing connection");
    return false;
  }
  handleDequeueAndDispatch();
  if (!dead_) die(TSTAT_PEER_CLOSED, "[handleRead]: peer has closed connection");
  return false;
}

// The partner's bytes are already here; its end shows once they are
// dispatched.
bool STPTransport::readLoopback() {
  if (!loopbackEof_) return true;
  handleDequeueAndDispatch();
  if (!dead_) die(TSTAT_PEER_CLOSED, "[handleRead]: peer has closed connection");
  return false;
}

void STPTransport::handleRead() {
  if (listenFd_ >= 0 && fd_ < 0) {
    acceptPending_ = true;
    return;
  }
  if (dead_) return;
  Hold hold(this);
  if (loopback_ ? readLoopback() : readSocket()) handleDequeueAndDispatch();
}

// ---- splitting and delivering ---------------------------------------------------

void STPTransport::handleDequeueAndDispatch() {
  if (dead_ || deliveryBlocked()) return;
  Hold hold(this);
  deliverDeferred();
  while (!dead_ && !deliveryBlocked() && splitFrame()) {
  }
}

// Takes one complete frame off the front of the read buffer and forwards
// or delivers it.  False when there is none (or the stream is bad, which
// ends the connection).
bool STPTransport::splitFrame() {
  if (readLength_ == 0) return false;
  const uint8_t* at = read_.data() + readStart_;
  StpFrame frame;
  switch (stp_checkFrame(at, readLength_, &frame)) {
    case StpFrameStatus::bad:
      die(TSTAT_CONNECTION, "[handleRead]: remote host sent invalid packet");
      return false;
    case StpFrameStatus::need_more:
      needMore_ = true;
      reserveFrame(frame.frame_length);
      return false;
    case StpFrameStatus::frame:
      break;
  }
  if (forwarding_) {
    STPTransport* target = forwarding_->forwardTarget(wordAt(at + kDestRNOffset));
    if (target) {
      forwardMessage(target, frame.header_length, frame.body_length);
      return true;
    }
  }
  auto message = std::make_unique<STPIMsg>(at, frame.header_length, frame.body_length);
  consumeRead(frame.frame_length);
  deliverMessage(std::move(message));
  return true;
}

void STPTransport::forwardMessage(STPTransport* target, size_t headerLength, size_t bodyLength) {
  size_t length = std::min((headerLength + bodyLength + 3) & ~size_t{3}, readLength_);
  if (target != this && !target->dead_)
    target->appendToWrite(read_.data() + readStart_, length, length);
  consumeRead(length);
}

void STPTransport::deliverMessage(std::unique_ptr<STPIMsg> message) {
  const STPHeader& h = message->header();
  switch (h.kind) {
    case STP_KIND_NOOP:
      return;
    case STP_KIND_SYNC:
      syncPoints_.emplace_back(h.source_rn, h.dest_rn);
      return;
    case STP_KIND_CHANNEL:
      onChannelControl(*message);
      return;
  }
  // Collected first: listeners may unregister (themselves or others)
  // while the message is offered, and are asked only while registered.
  ListenerKey key{h.source_rn, h.dest_rn, h.kind};
  std::vector<ResponseListener*> found;
  for (auto [it, end] = listeners_.equal_range(key); it != end; ++it) found.push_back(it->second);
  auto registered = [&](ResponseListener* l) {
    auto [it, end] = listeners_.equal_range(key);
    return std::any_of(it, end, [l](const auto& e) { return e.second == l; });
  };
  bool awaited = h.reply_to != 0 && awaited_.count(h.reply_to) > 0;
  if (found.size() == 1) {
    if (!found[0]->handleResponse(message.get(), !awaited)) {
      deferred_.push_back(Deferred{std::move(message), currentPass_});
      return;
    }
  } else {
    for (ResponseListener* l : found)
      if (registered(l)) l->handleResponse(message.get(), false);
  }
  if (!found.empty() && !awaited) return;  // handled: discarded
  (h.reply_to != 0 ? responses_ : unclaimed_).push_back(std::move(message));
}

bool STPTransport::anyDeferredDeliverable() const {
  return std::any_of(deferred_.begin(), deferred_.end(),
                     [this](const Deferred& d) { return shouldDeliverMessage(d.message.get()); });
}

// Offers again, in list order, each deferred message that the rule now
// admits.  One that is declined again waits for a later pass.
void STPTransport::deliverDeferred() {
  uint64_t pass = ++dispatchPasses;
  uint64_t outer = currentPass_;
  currentPass_ = pass;
  while (!dead_ && !deliveryBlocked()) {
    auto it = std::find_if(deferred_.begin(), deferred_.end(), [&](const Deferred& d) {
      return d.pass != pass && shouldDeliverMessage(d.message.get());
    });
    if (it == deferred_.end()) break;
    std::unique_ptr<STPIMsg> message = std::move(it->message);
    deferred_.erase(it);
    deliverMessage(std::move(message));
  }
  currentPass_ = outer;
}

// ---- what the event loop asks -----------------------------------------------------

bool STPTransport::wantsToRead() const {
  if (dead_) return false;
  if (loopback_) return (readLength_ > 0 && !needMore_) || loopbackEof_;
  return fd_ >= 0 || listenFd_ >= 0;
}

bool STPTransport::wantsToWrite() const { return fd_ >= 0 && !dead_ && writeLength_ > 0; }

bool STPTransport::wantsToDequeueAndDispatch() const {
  if (dead_ || deliveryBlocked()) return false;
  return (readLength_ >= kLengthWords && !needMore_) || anyDeferredDeliverable();
}

// ---- servicing ------------------------------------------------------------------

bool STPTransport::serviceOnce(long timeoutMs, TStat* status) {
  Hold hold(this);
  if (loopback_ && !dead_) {
    if (wantsToRead() || wantsToDequeueAndDispatch()) {
      handleRead();
    } else {
      // Nothing can arrive during this call (the partner lives in this
      // thread): a short pause instead of a wait keeps callers from spinning.
      fd_set none;
      FD_ZERO(&none);
      fd_set alsoNone = none;
      selectRetrying(-1, &none, &alsoNone, std::min(timeoutMs, kLoopbackPauseMs));
    }
    return finish(status_.ok(), status);
  }
  if (!isAlive()) {
    if (status_.ok()) fail(TSTAT_CONNECTION, "[serviceOnce]: not bound and not listening.");
    closeConnection();
    return finish(false, status);
  }
  if (wantsToDequeueAndDispatch()) {
    handleDequeueAndDispatch();
    timeoutMs = 0;
  }
  int fd = getFD();
  if (fd < 0) return finish(status_.ok(), status);  // a handler closed it
  if (fd >= FD_SETSIZE) {
    die(TSTAT_CONNECTION, "[serviceOnce]: select error, closing connection");
    return finish(false, status);
  }
  fd_set r, w;
  FD_ZERO(&r);
  FD_ZERO(&w);
  FD_SET(fd, &r);
  if (wantsToWrite()) FD_SET(fd, &w);
  int n = selectRetrying(fd, &r, &w, timeoutMs);
  if (n < 0) die(TSTAT_CONNECTION, "[serviceOnce]: select error, closing connection");
  if (n > 0 && FD_ISSET(fd, &w)) handleWrite();
  if (n > 0 && FD_ISSET(fd, &r) && getFD() == fd) handleRead();
  return finish(status_.ok(), status);
}

int STPTransport::serviceFirst(long timeoutMs, const std::vector<STPTransport*>& transports) {
  struct HoldAll {
    const std::vector<STPTransport*>& all;
    explicit HoldAll(const std::vector<STPTransport*>& a) : all(a) {
      for (STPTransport* t : all) t->addRef();
    }
    ~HoldAll() {
      for (STPTransport* t : all) t->delRef();
    }
  } hold(transports);
  int served = 0;
  fd_set r, w;
  FD_ZERO(&r);
  FD_ZERO(&w);
  int maxFd = -1;
  for (STPTransport* t : transports) {
    if (t->wantsToDequeueAndDispatch()) {
      t->handleDequeueAndDispatch();
      served++;
      timeoutMs = 0;
    }
    if (t->loopback_) {
      if (t->wantsToRead()) {
        t->handleRead();
        served++;
        timeoutMs = 0;
      }
      continue;
    }
    int fd = t->getFD();
    if (!t->isAlive() || fd < 0 || fd >= FD_SETSIZE) continue;
    FD_SET(fd, &r);
    if (t->wantsToWrite()) FD_SET(fd, &w);
    maxFd = std::max(maxFd, fd);
  }
  if (selectRetrying(maxFd, &r, &w, timeoutMs) <= 0) return served;
  for (STPTransport* t : transports) {
    int fd = t->getFD();
    if (t->loopback_ || fd < 0 || fd >= FD_SETSIZE) continue;
    bool writable = FD_ISSET(fd, &w), readable = FD_ISSET(fd, &r);
    if (writable) t->handleWrite();
    if (readable && t->getFD() == fd) t->handleRead();
    served += writable || readable;
  }
  return served;
}
