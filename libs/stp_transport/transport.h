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
#include <list>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "libs/stp_transport/tstat.h"

class RetryHandler;
class STPIMsg;
class STPOMsg;
class STPAsciiOMsg;
class STPBinaryOMsg;

// Message kinds.
enum STPKind : uint32_t {
  STP_KIND_NOOP = 4,
  STP_KIND_SYNC = 5,
  STP_KIND_CHANNEL = 6,
  STP_KIND_INTERFACE = 12,
  STP_KIND_COMMAND = 13,
  STP_KIND_TEXT = 14,
  STP_KIND_BINARY = 15,
};

// Delivery flags of the header.
enum STPFlag : uint32_t {
  STP_FLAG_WANTS_REPLY = 1,
  STP_FLAG_ONE_WAY = 2,
  STP_FLAG_TRANSACTION = 4,
  STP_FLAG_SAFE = 16,
  STP_FLAG_STRICT_WAIT = 64,
};

// Receives the messages of one key (source RN, destination RN, kind).
class ResponseListener {
 public:
  virtual ~ResponseListener() = default;
  // True when it took the message (and with it its ownership).  A sole
  // listener that declines has the message deferred.
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

  // ---- connection set-up ----
  bool connect(const char* host, int port, TStat* status);
  // Listens on `port` (0: any) and waits until one client is accepted.
  bool listen(int port, RetryHandler* handler, TStat* status);
  // The non-blocking form used by the launcher: the listening descriptor
  // joins the select set, and tryAccept accepts once it is readable.
  bool startListenOnFD(int fd, TStat* status);
  bool tryAccept(bool closeListener, TStat* status);
  // A listening socket on any free port; -1 when none.
  static int getListenSocket(int* port);
  void bindFD(int fd);
  void unbindFD();
  void closeConnection();
  void useCloseOnSocketShutdown() { plainClose_ = true; }
  // Two transports in one process whose writes land in each other's
  // read buffer.
  static void createLoopbackPair(STPTransport** a, STPTransport** b);

  bool isConnected() const { return fd_ >= 0 || peer_ != nullptr; }
  bool isListening() const { return listenFd_ >= 0; }
  bool isDead() const { return dead_; }
  int getFD() const { return fd_ >= 0 ? fd_ : listenFd_; }
  const std::string& getPeerAddress() const { return peerAddress_; }
  const TStat& getStatus() const { return status_; }

  // ---- sending ----
  STPAsciiOMsg* createAsciiMessage(uint32_t sourceRN, uint32_t destRN, uint32_t kind,
                                   uint32_t messageId, uint32_t flags);
  STPBinaryOMsg* createBinaryMessage(uint32_t sourceRN, uint32_t destRN, uint32_t kind,
                                     uint32_t messageId, uint32_t flags);
  STPAsciiOMsg* createAsciiReply(uint32_t sourceRN, uint32_t destRN, uint32_t replyTo,
                                 uint32_t flags);
  STPBinaryOMsg* createBinaryReply(uint32_t sourceRN, uint32_t destRN, uint32_t replyTo,
                                   uint32_t flags);
  // Queues the message; its sequence, or 0 when refused.
  uint32_t enqueueMessage(STPOMsg* message);
  // Queues and writes until the write buffer is empty (or the handler
  // gives up); the sequence, or 0 on failure.  A call with reply stays in
  // the message depth until awaitResponse ends it.
  uint32_t sendMessage(STPOMsg* message, RetryHandler* handler, TStat* status);
  bool enqueueAndTryMessage(STPOMsg* message, int tries, TStat* status);
  // Moves a complete frame of this transport's read buffer to the
  // target's write buffer unread.
  void forwardMessage(STPTransport* target, size_t headerLength, size_t bodyLength);
  uint32_t getLastMessageID(uint32_t* kind, uint32_t* messageId) const;
  size_t pendingWriteBytes() const { return writeLength_; }

  // ---- receiving ----
  void registerMessageListener(uint32_t sourceRN, uint32_t destRN, ResponseListener* listener,
                               uint32_t kind);
  void unregisterMessageListener(ResponseListener* listener);
  // Delivers the first unclaimed message of the key (after a listener
  // registered late).
  void dequeueAndDeliverMessage(uint32_t sourceRN, uint32_t destRN, uint32_t kind);
  // The reply to `sequence` (the caller owns it), or null with the status
  // saying why.
  STPIMsg* awaitResponse(uint32_t sequence, RetryHandler* handler, TStat* status);
  void resetReceiveQueue();
  bool awaitSync(uint32_t sourceRN, uint32_t destRN, RetryHandler* handler, TStat* status);
  bool trySync(uint32_t sourceRN, uint32_t destRN);
  void setForwardingHandler(STPForwardingHandler* handler) { forwarding_ = handler; }

  // ---- servicing ----
  // One select over this transport: writes what it can, reads what came,
  // dispatches complete frames; waits at most timeoutMs.
  bool serviceOnce(long timeoutMs, TStat* status);
  // The same over several transports; how many were served.
  static int serviceFirst(long timeoutMs, const std::vector<STPTransport*>& transports);
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
  // Whether a message may be delivered now (see the file comment).
  bool shouldDeliverMessage(const STPIMsg* message) const;

  // Process-wide: how many messages are being handled or awaited on the
  // call stack; while the don't-deliver count is positive nothing is
  // delivered.
  static void enterMessageDepth();
  static void leaveMessageDepth();
  static int messageDepth();

  // Nested waits keep servicing a transport while it is stacked.
  void stack() { stacked_++; }
  void unstack() { stacked_--; }
  bool isStacked() const { return stacked_ > 0; }

 private:
  friend class STPTransportTest;
  ~STPTransport();

  struct Token {
    uint16_t origin = 0, sequence = 0, depth = 0;
    uint32_t flags = 0;
  };
  using ListenerKey = std::tuple<uint32_t, uint32_t, uint32_t>;

  // Outcome reporting: sets the status and answers false.
  bool fail(int code, const char* message);
  void die(int code, const char* message);
  Token currentToken() const;
  uint32_t nextSequence();

  // Buffers (transport_io.cpp).
  void appendToWrite(const uint8_t* bytes, size_t length);
  void ensureReadSpace();
  bool splitFrame();
  void deliverMessage(STPIMsg* message);
  bool deliverDeferred();

  int refs_ = 1;
  int fd_ = -1, listenFd_ = -1;
  bool dead_ = false, acceptPending_ = false, plainClose_ = false;
  std::string peerAddress_, localAddress_;
  TStat status_;
  uint32_t counter_ = 1;
  uint32_t lastSequence_ = 0, lastKind_ = 0, lastMessageId_ = 0;

  size_t initialSize_;
  std::vector<uint8_t> write_;
  size_t writeStart_ = 0, writeLength_ = 0;
  std::vector<uint8_t> read_;
  size_t readStart_ = 0, readLength_ = 0;
  bool needMore_ = false;

  std::list<std::unique_ptr<STPIMsg>> responses_, unclaimed_, deferred_;
  std::multiset<uint32_t> awaited_;
  std::multimap<ListenerKey, ResponseListener*> listeners_;
  std::vector<std::pair<uint32_t, uint32_t>> syncPoints_;
  std::vector<Token> tokens_;
  Token defaultToken_;
  STPForwardingHandler* forwarding_ = nullptr;
  STPTransport* peer_ = nullptr;  // loopback partner
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
