// STPSpecClass: one side of a service interface (the viewer's "display"
// side of "DiffView", a tool's "plugin" side of "ServiceRouter", ...).  It
// sits on one transport, is addressed by a pair of routing numbers (RNs),
// negotiates with its peer which messages and field tags both understand,
// dispatches incoming messages to the generated parsers of its subclass,
// and checks before every send that the peer can take the message.
//
// Generated classes (<Interface>_<side>_Impl) fill the interface
// description in their constructor and add one virtual msg_<Name> per
// message they receive; hand-written classes derive from those.
#pragma once

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "libs/stp_transport/tstat.h"
#include "libs/stp_transport/transport.h"

class RetryHandler;
class STPLog;
class STPIMsg;
class STPAsciiIMsg;
class STPAsciiOMsg;
class STPBinaryIMsg;
class STPBinaryOMsg;

// Flags of a message table entry.
enum STPEntryFlag : uint32_t {
  STP_ENTRY_REPLY = 1,        // a call with reply
  STP_ENTRY_ONE_WAY = 2,
  STP_ENTRY_TRANSACTION = 4,  // transaction-bound on receipt
  STP_ENTRY_SAFE = 16,        // may be delivered while the receiver waits
};

// One message of a side's table.
struct STPMessageDesc {
  std::string name;
  std::string signature;  // "field:%type% ... | reply:%type%"
  int32_t id;
  uint32_t flags;
};

// What a generated constructor knows of its interface.
struct STPInterfaceDesc {
  std::string interfaceName;           // "DiffView"
  std::string sideName;                // "display"
  std::string versionStamp;
  uint32_t flags = 0;                  // bit 1: takes messages it does not list
  std::vector<std::string> tagNames;   // every field name, sorted; tag = index
  std::vector<STPMessageDesc> own;        // what this side receives, by name
  std::vector<STPMessageDesc> sendable;   // what the peer side receives, by name
};

class STPSpecClass {
 public:
  explicit STPSpecClass(STPInterfaceDesc description);
  STPSpecClass(const STPSpecClass&) = delete;
  STPSpecClass& operator=(const STPSpecClass&) = delete;

  // Reference counted; deleted (once) when the count reaches 0.
  void addRef() { refs_++; }
  void delRef();

  // Sits on `transport` (a reference is taken) at the given RNs; 0 takes
  // the defaults of the interface.
  void setTransport(STPTransport* transport, uint32_t localRN, uint32_t remoteRN);
  STPTransport* getTransport() const { return transport_; }
  uint32_t getLocalRN() const { return localRN_; }
  uint32_t getRemoteRN() const { return remoteRN_; }

  // ---- negotiation ----
  bool negotiate(RetryHandler* handler, TStat* status);
  bool sendNegotiate(bool now, TStat* status);
  bool awaitNegotiate(RetryHandler* handler, TStat* status);
  // Two endpoints in one process: identity tag map and ids.
  void negotiate_local();
  // Waits for the peer's synchronize message, sending our own first.
  bool synchronize(RetryHandler* handler, TStat* status);
  bool request_interface(RetryHandler* handler, TStat* status);
  bool isNegotiated() const { return negotiated_; }
  bool isInterfaceReceived() const { return interfaceReceived_; }

  // ---- up and down ----
  void markSendingAsDown() { sendingUp_ = false; }
  void markReceivingAsDown() { receivingUp_ = false; }
  void markAsDown();
  bool isDown() const { return !sendingUp_ && !receivingUp_; }
  bool isSendingDown() const { return !sendingUp_; }
  bool isReceivingDown() const { return !receivingUp_; }

  // ---- sending ----
  // Whether a message may be sent now; false with the status saying why.
  bool canSendMessage(bool needReceiving, bool peerKnowsMessage, TStat* status);
  int32_t getMessageId(const char* name) const;
  int32_t getMessageId(const char* name, size_t length) const;
  const STPMessageDesc* getSendableMessageDesc(const char* name) const;
  const STPMessageDesc* getSendableMessageDesc(const char* name, size_t length) const;
  // The peer's tag number for our tag; -1 when the peer lacks the field.
  int32_t mapTag(int32_t ownTag) const;
  const std::vector<int32_t>& getTagMap() const { return tagMap_; }
  // Entries the peer announced that our sendable table lacks.
  const std::vector<STPMessageDesc>& getExtraMessages() const { return extra_; }
  int getCallerCount() const { return callers_; }
  void enterCall() { callers_++; }
  void leaveCall() { callers_--; }

  // ---- logs ----
  void setLogging(STPLog* log) { sendLog_ = recvLog_ = log; }
  void setSendLogging(STPLog* log) { sendLog_ = log; }
  void setRecvLogging(STPLog* log) { recvLog_ = log; }
  STPLog* getSendLog() const { return sendLog_; }
  STPLog* getRecvLog() const { return recvLog_; }

  // ---- the peer, as negotiated ----
  const std::string& getPeerSideName() const { return peerSide_; }
  uint32_t getPeerFlags() const { return peerFlags_; }
  const STPInterfaceDesc& description() const { return desc_; }
  int getCommandCount() const { return static_cast<int>(desc_.own.size()); }
  const char* getCommandName(int i) const;

  // Dispatch of an incoming message of kind 12 to 15 (the transport's
  // listener calls it); true when it handled the message, false when the
  // delivery rule defers it (the transport keeps it and offers it again).
  bool handleMessage(STPIMsg* message, bool isOnlyListener);
  // A kind-13 command: its "__action" goes to handleCommandMessage, whose
  // result the reply (when there is one) carries as "__ret".  Shared by
  // the dispatch and by callers that run a command locally.
  int handleCommand(STPAsciiIMsg* in, STPAsciiOMsg* reply, int32_t messageId);
  // How many received messages this endpoint has deferred.
  int getDeferredCount() const { return deferred_; }

  // ---- virtual operations ----
  virtual void setDefaultRetryHandler(RetryHandler* handler);  // takes ownership
  virtual RetryHandler* getDefaultRetryHandler() { return retry_; }
  virtual void hasBeenMarkedDown() {}
  virtual uint32_t getDefaultLocalRN() = 0;
  virtual uint32_t getDefaultRemoteRN() = 0;
  virtual void handleAsciiMessage(STPAsciiIMsg* in, STPAsciiOMsg* reply, int32_t messageId);
  virtual void handleBinaryMessage(STPBinaryIMsg* in, STPBinaryOMsg* reply, int32_t messageId);
  virtual int handleCommandMessage(STPAsciiIMsg* in, STPAsciiOMsg* reply, int32_t messageId,
                                   int32_t action);

 protected:
  virtual ~STPSpecClass();  // only through delRef

 private:
  class Listener;
  void handleNegotiate(STPAsciiIMsg* in);
  void handleGetInterface(STPAsciiOMsg* reply);
  void dispatch(STPIMsg* message, STPAsciiIMsg* text, STPOMsg* reply);
  void addDescriptionFlags(STPIMsg* message) const;
  bool defer(STPIMsg* message, bool isOnlyListener);
  void releaseDeferred(const STPIMsg* message);
  // A new kind-12 message with the given id and flags, or null with the
  // status saying why; postControl queues it (one write attempt when
  // `now`) and deletes it.
  STPAsciiOMsg* newControl(uint32_t messageId, uint32_t flags, TStat* status);
  bool postControl(STPAsciiOMsg* message, bool now, TStat* status);
  // Services the transport until `done` (or the handler gives up, the
  // transport fails or the endpoint goes down).
  template <class Done>
  bool waitFor(RetryHandler* handler, TStat* status, Done done);
  const STPMessageDesc* ownEntry(int32_t id) const;

  STPInterfaceDesc desc_;
  std::vector<int32_t> tagMap_;
  std::vector<STPMessageDesc> extra_;
  std::string peerSide_, peerStamp_;
  uint32_t peerFlags_ = 0;
  int refs_ = 1;
  bool deleting_ = false;
  bool negotiated_ = false, interfaceReceived_ = false, synchronised_ = false;
  bool sendingUp_ = true, receivingUp_ = true;
  STPTransport* transport_ = nullptr;
  uint32_t localRN_ = 0, remoteRN_ = 0;
  STPLog* sendLog_ = nullptr;
  STPLog* recvLog_ = nullptr;
  int callers_ = 0;
  RetryHandler* retry_ = nullptr;
  bool retryFromOwner_ = false;
  Listener* listener_ = nullptr;
  int deferred_ = 0;
  std::set<const STPIMsg*> deferredMessages_;  // offered and declined, not yet handled
};
