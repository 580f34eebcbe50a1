// STPTransport: one message connection between two processes (a TCP
// socket on the loopback address, or a loopback pair inside one process).
// It queues outgoing frames and writes them without ever blocking, splits
// incoming bytes into frames, matches replies to the calls that await
// them, and hands every other message to the listener registered for its
// routing numbers and kind.  No wait blocks blindly: each runs under a
// RetryHandler that pumps other work and decides when to give up.
//
// Re-entrancy is the design problem: a caller waiting for a reply runs the
// event loop, which can deliver new requests whose handlers make calls of
// their own.  The message depth, the transaction tokens and the delivery
// rule (shouldDeliverMessage) decide which requests may run inside a wait;
// the rest are deferred until it ends.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <list>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "libs/stp_transport/stp_header.h"
#include "libs/stp_transport/tstat.h"

class RetryHandler;
class STPIMsg;
class STPOMsg;
class STPAsciiOMsg;
class STPBinaryOMsg;
class STPChannel;

// Receives the messages of one key (source RN, destination RN, kind).
class ResponseListener {
 public:
  virtual ~ResponseListener() = default;
  // True when it handled the message; the message stays the transport's
  // (a listener that wants to keep it copies it).  A sole listener that
  // declines has the message deferred: it declines exactly when the
  // delivery rule refuses the message, so that the deferred message is
  // offered again once the rule admits it.
  virtual bool handleResponse(STPIMsg* message, bool isOnlyListener) = 0;
};

class STPTransport;

// Chooses, for a complete incoming frame, a transport to forward it to raw
// (the router's business); null keeps it here.
class STPForwardingHandler {
 public:
  virtual ~STPForwardingHandler() = default;
  virtual STPTransport* forwardTarget(uint32_t destinationRN) = 0;
};

class STPTransport {
 public:
  explicit STPTransport(size_t initialBufferSize = 4096);
  STPTransport(const STPTransport&) = delete;
  STPTransport& operator=(const STPTransport&) = delete;

  // Reference counted: deleted when the last reference goes.
  void addRef() { refs_++; }
  void delRef();

  // ---- connection set-up (transport_socket.cpp) ----
  // Connects to host:port (a dotted address, else a name).
  bool connect(const char* host, int port, TStat* status);
  // Listens on `port` (0: any) and waits until one client is accepted.
  bool listen(int port, RetryHandler* handler, TStat* status);
  // The non-blocking form used by the launcher: the listening descriptor
  // (adopted) joins the select set, and tryAccept accepts once it is
  // readable; true when a client was accepted.
  bool startListenOnFD(int fd, TStat* status);
  bool tryAccept(bool closeListener, TStat* status);
  // A listening socket on the loopback address at `*port` (0: any free
  // port, reported back); -1 when none, with `error` (when given) saying
  // why.
  static int getListenSocket(int* port, std::string* error = nullptr);
  // Adopts a connected descriptor (made non-blocking and close-on-exec).
  void bindFD(int fd);
  // Forgets the descriptor without closing it.
  void unbindFD();
  // Closes the connection; the transport is dead until set up again.
  void closeConnection();
  void useCloseOnSocketShutdown() { plainClose_ = true; }
  // Two transports in one process whose writes land in each other's
  // read buffer.
  static void createLoopbackPair(STPTransport** a, STPTransport** b);
  // Set up, then serviceOnce(10000) until the status is non-zero or the
  // connection ends.
  bool listenAndService(int port, TStat* status);
  bool bindAndService(int fd, TStat* status);

  bool isConnected() const { return !dead_ && (fd_ >= 0 || loopback_); }
  bool isListening() const { return listenFd_ >= 0; }
  bool isLoopback() const { return loopback_; }
  // Connected or listening, and not closed (a loopback transport stays
  // alive until it has read its partner's end).
  bool isAlive() const { return !dead_ && (fd_ >= 0 || listenFd_ >= 0 || loopback_); }
  bool isDead() const { return dead_; }
  int getFD() const { return fd_ >= 0 ? fd_ : listenFd_; }
  const std::string& getPeerAddress() const { return peerAddress_; }
  const std::string& getLocalAddress() const { return localAddress_; }
  const TStat& getStatus() const { return status_; }

  // ---- sending (transport.cpp) ----
  // New messages carrying the current token one level deeper; replies
  // (kind and message id STP_REPLY_KIND) carry it unchanged.
  STPAsciiOMsg* createAsciiMessage(uint32_t sourceRN, uint32_t destRN, uint32_t kind,
                                   uint32_t messageId, uint32_t flags);
  STPBinaryOMsg* createBinaryMessage(uint32_t sourceRN, uint32_t destRN, uint32_t kind,
                                     uint32_t messageId, uint32_t flags);
  STPAsciiOMsg* createAsciiReply(uint32_t sourceRN, uint32_t destRN, uint32_t replyTo,
                                 uint32_t flags);
  STPBinaryOMsg* createBinaryReply(uint32_t sourceRN, uint32_t destRN, uint32_t replyTo,
                                   uint32_t flags);
  // Queues the message (the caller keeps it); its sequence, or 0 when
  // refused.
  uint32_t enqueueMessage(STPOMsg* message);
  // Queues bytes as they are (a frame made elsewhere, or anything at all
  // in tests).
  void enqueueRaw(const uint8_t* bytes, size_t length);
  // Queues and writes until the write buffer is empty (or the handler
  // gives up); the sequence, or 0 on failure.  A call with reply stays in
  // the message depth until awaitResponse ends it.
  uint32_t sendMessage(STPOMsg* message, RetryHandler* handler, TStat* status);
  // Queues, then writes at most `tries` times while bytes remain.
  bool enqueueAndTryMessage(STPOMsg* message, int tries, TStat* status);
  // Moves a complete frame at the front of this transport's read buffer to
  // the target's write buffer unread.
  void forwardMessage(STPTransport* target, size_t headerLength, size_t bodyLength);
  // The last queued message's sequence, with its kind and message id.
  uint32_t getLastMessageID(uint32_t* kind, uint32_t* messageId) const;
  size_t pendingWriteBytes() const { return writeLength_; }
  size_t pendingReadBytes() const { return readLength_; }

  // ---- receiving ----
  void registerMessageListener(uint32_t sourceRN, uint32_t destRN, ResponseListener* listener,
                               uint32_t kind);
  void unregisterMessageListener(ResponseListener* listener);
  // Delivers the first unclaimed message of the key (after a listener
  // registered late).
  void dequeueAndDeliverMessage(uint32_t sourceRN, uint32_t destRN, uint32_t kind);
  // The reply to `sequence` (the caller owns it), or null with the status
  // saying why.  Ends the message depth and token that sendMessage began.
  STPIMsg* awaitResponse(uint32_t sequence, RetryHandler* handler, TStat* status);
  void resetReceiveQueue();
  // Sends a sync point to the peer and waits for the peer's own.
  bool awaitSync(uint32_t sourceRN, uint32_t destRN, RetryHandler* handler, TStat* status);
  // Consumes a received sync point sent from sourceRN to destRN.
  bool trySync(uint32_t sourceRN, uint32_t destRN);
  void setForwardingHandler(STPForwardingHandler* handler) { forwarding_ = handler; }
  size_t unclaimedCount() const { return unclaimed_.size(); }
  size_t deferredCount() const { return deferred_.size(); }
  size_t responseCount() const { return responses_.size(); }

  // ---- channels (transport_channel.cpp) ----
  // The channel from sourceRN to destRN, made on first use; the transport
  // owns it.
  STPChannel* createChannel(uint32_t sourceRN, uint32_t destRN);

  // ---- servicing (transport_io.cpp) ----
  // One select over this transport: writes what it can, reads what came,
  // dispatches complete frames; waits at most timeoutMs.  False when the
  // status is not 0 afterwards.
  bool serviceOnce(long timeoutMs, TStat* status);
  // The same over several transports at once; how many were served.
  static int serviceFirst(long timeoutMs, const std::vector<STPTransport*>& transports);
  // Makes a select of serviceOnce or serviceFirst return early, once.
  // Safe in a signal handler (the launcher wakes on a child's exit).
  static void interruptWait();
  void handleRead();
  void handleWrite();
  void handleDequeueAndDispatch();
  bool wantsToRead() const;
  bool wantsToWrite() const;
  bool wantsToDequeueAndDispatch() const;
  bool isAcceptPending() const { return acceptPending_; }

  // ---- transactions ----
  void setDefaultToken(uint16_t origin) { defaultToken_.origin = origin; }
  // The token a message carries in: pushed while it is handled or awaited.
  void pushToken(uint32_t tokenOrigin, uint32_t tokenDepth, uint32_t flags);
  void popToken();
  // The current token as header words: origin << 16 | origin sequence,
  // and depth.
  uint32_t currentTokenOrigin() const;
  uint32_t currentTokenDepth() const;
  // Whether a message may be delivered now (see the file comment).
  bool shouldDeliverMessage(const STPIMsg* message) const;

  // Process-wide: how many messages are being handled or awaited on the
  // call stack (below 0 is fatal); while the don't-deliver count is
  // positive nothing is delivered; while the strict count is positive a
  // call waits that admits only safe or same-transaction requests.
  static void enterMessageDepth();
  static void leaveMessageDepth();
  static int messageDepth();
  static bool deliveryBlocked();
  static int strictCount();

  // Nested waits keep servicing a transport while it is stacked.
  void stack() { stacked_++; }
  void unstack() { stacked_--; }
  bool isStacked() const { return stacked_ > 0; }

 private:
  friend class STPChannel;
  ~STPTransport();

  struct Token {
    uint16_t origin = 0, sequence = 0, depth = 0;
    uint32_t flags = 0;
  };
  struct Deferred {
    std::unique_ptr<STPIMsg> message;
    uint64_t pass;  // the dispatch pass that deferred it again
  };
  using ListenerKey = std::tuple<uint32_t, uint32_t, uint32_t>;
  // Bytes on their way in or out: allocated, never zero-filled, since
  // every byte is written before it is read.
  class Buffer {
   public:
    Buffer() = default;
    explicit Buffer(size_t size)
        : bytes_(size ? std::make_unique_for_overwrite<uint8_t[]>(size) : nullptr), size_(size) {}
    uint8_t* data() { return bytes_.get(); }
    const uint8_t* data() const { return bytes_.get(); }
    size_t size() const { return size_; }
    void swap(Buffer& other) noexcept {
      bytes_.swap(other.bytes_);
      std::swap(size_, other.size_);
    }

   private:
    std::unique_ptr<uint8_t[]> bytes_;
    size_t size_ = 0;
  };
  // Keeps the transport alive while a listener may drop the last
  // reference.
  struct Hold {
    explicit Hold(STPTransport* t) : t(t) { t->addRef(); }
    ~Hold() { t->delRef(); }
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;
    STPTransport* t;
  };

  // Outcome reporting: sets the status and answers false.
  bool fail(int code, const char* message);
  // Closes the connection with the reason.
  void die(int code, const char* message);
  // At the start of an operation: a live transport forgets an earlier
  // timeout or misuse.
  void beginOperation();
  bool finish(bool ok, TStat* status) const;
  Token currentToken() const;
  uint32_t nextSequence();
  uint32_t peekSequence() const;
  bool waitUntil(RetryHandler* handler, long serviceMs, const std::function<bool()>& done);
  STPIMsg* takeResponse(uint32_t sequence);

  // Buffers and frames (transport_io.cpp).
  void appendToWrite(const uint8_t* bytes, size_t length, size_t paddedLength);
  void appendToRead(const uint8_t* bytes, size_t length, size_t paddedLength);
  void ensureReadSpace(size_t room);
  void reserveFrame(size_t frameLength);
  size_t sendNow(const uint8_t* bytes, size_t length);
  void consumeRead(size_t length);
  bool splitFrame();
  void deliverMessage(std::unique_ptr<STPIMsg> message);
  void deliverDeferred();
  bool anyDeferredDeliverable() const;
  void onChannelControl(const STPIMsg& message);
  bool readSocket();
  bool readLoopback();

  int refs_ = 1;
  int fd_ = -1, listenFd_ = -1;
  bool dead_ = false, acceptPending_ = false, plainClose_ = false;
  std::string peerAddress_, localAddress_;
  TStat status_;
  uint32_t counter_ = 1;
  uint32_t lastSequence_ = 0, lastKind_ = 0, lastMessageId_ = 0;

  size_t initialSize_;
  Buffer write_;
  size_t writeStart_ = 0, writeLength_ = 0;
  Buffer read_;
  size_t readStart_ = 0, readLength_ = 0;
  bool needMore_ = false;

  std::list<std::unique_ptr<STPIMsg>> responses_, unclaimed_;
  std::list<Deferred> deferred_;
  uint64_t currentPass_ = 0;  // of the deferred-delivery pass under way
  std::multiset<uint32_t> awaited_;
  std::multimap<ListenerKey, ResponseListener*> listeners_;
  std::vector<std::pair<uint32_t, uint32_t>> syncPoints_;
  std::vector<Token> tokens_;  // popped cells keep their storage for reuse
  Token defaultToken_;
  STPForwardingHandler* forwarding_ = nullptr;
  std::map<std::pair<uint32_t, uint32_t>, std::unique_ptr<STPChannel>> channels_;

  // Loopback mode: the partner's read buffer takes our writes; the end of
  // the partner shows as end of file.
  STPTransport* peer_ = nullptr;
  bool loopback_ = false, loopbackEof_ = false;
  int stacked_ = 0;
};

// Keeps a transport stacked for its lifetime.
class STPTransportStacker {
 public:
  explicit STPTransportStacker(STPTransport* transport) : t_(transport) { t_->stack(); }
  ~STPTransportStacker() { t_->unstack(); }
  STPTransportStacker(const STPTransportStacker&) = delete;
  STPTransportStacker& operator=(const STPTransportStacker&) = delete;

 private:
  STPTransport* t_;
};

// A channel between two endpoints over one transport: the opening side
// announces it (create), either side starts it, either side closes it.
class STPChannel {
 public:
  uint32_t getLocalRN() const { return local_; }
  uint32_t getRemoteRN() const { return remote_; }
  bool enqueueChannelCreate(TStat* status);
  bool startChannel(TStat* status);
  bool closeChannel(TStat* status);
  bool isChannelCreated() const { return created_; }
  bool isChannelStarted() const { return started_; }
  bool isChannelClosed() const { return closed_; }

 private:
  friend class STPTransport;
  STPChannel(STPTransport* transport, uint32_t local, uint32_t remote)
      : transport_(transport), local_(local), remote_(remote) {}
  bool send(uint32_t messageId, TStat* status);
  // The peer's control messages for this channel.
  void handleCCreateReceive() { created_ = true; }
  void handleCStartReceive() { created_ = started_ = true; }
  void handleCCloseReceive() { closed_ = true; }

  STPTransport* transport_;
  uint32_t local_, remote_;
  bool created_ = false, started_ = false, closed_ = false;
};
