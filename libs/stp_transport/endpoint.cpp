// The interface endpoint's life (references, transport, up and down), its
// checks before a send, and the dispatch of incoming messages: flags from
// the description, the transport's delivery rule (a refused message is
// deferred and offered again later), then the handler of its kind and the
// reply.  Negotiation is in endpoint_negotiate.cpp.
#include "libs/stp_transport/endpoint.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <memory>
#include <optional>
#include <string_view>

#include "base/gen.h"
#include "libs/stp_transport/stp_ascii_imsg.h"
#include "libs/stp_transport/stp_ascii_omsg.h"
#include "libs/stp_transport/stp_binary_imsg.h"
#include "libs/stp_transport/stp_binary_omsg.h"
#include "libs/stp_transport/stp_retry.h"

namespace {

constexpr uint32_t kNoId = 0xFFFFFFFF;
// Kind-12 messages from this id on are transaction-bound, the lower ones
// (negotiate, get interface, synchronize) safe.
constexpr uint32_t kFirstBoundControl = 9;

bool byName(const STPMessageDesc& e, std::string_view name) { return e.name < name; }

const STPMessageDesc* findByName(const std::vector<STPMessageDesc>& table, std::string_view name) {
  auto it = std::lower_bound(table.begin(), table.end(), name, byName);
  return it != table.end() && it->name == name ? &*it : nullptr;
}

// Keeps an object alive across a call that may drop the last reference.
template <class T>
class Hold {
 public:
  explicit Hold(T* t) : t_(t) { t_->addRef(); }
  ~Hold() { t_->delRef(); }
  Hold(const Hold&) = delete;
  Hold& operator=(const Hold&) = delete;

 private:
  T* t_;
};

}  // namespace

class STPSpecClass::Listener : public ResponseListener {
 public:
  explicit Listener(STPSpecClass* spec) : spec_(spec) {}
  bool handleResponse(STPIMsg* message, bool isOnlyListener) override {
    return spec_->handleMessage(message, isOnlyListener);
  }

 private:
  STPSpecClass* spec_;
};

STPSpecClass::STPSpecClass(STPInterfaceDesc description)
    : desc_(std::move(description)), listener_(new Listener(this)) {
  auto sortByName = [](std::vector<STPMessageDesc>& table) {
    std::sort(table.begin(), table.end(),
              [](const STPMessageDesc& a, const STPMessageDesc& b) { return a.name < b.name; });
  };
  sortByName(desc_.own);
  sortByName(desc_.sendable);
  std::sort(desc_.tagNames.begin(), desc_.tagNames.end());
  tagMap_.assign(desc_.tagNames.size(), -1);
}

STPSpecClass::~STPSpecClass() {
  assert(refs_ == 0 && "refCount == 0");
  if (transport_) {
    transport_->unregisterMessageListener(listener_);
    transport_->delRef();
  }
  delete listener_;
  delete retry_;
}

void STPSpecClass::delRef() {
  assert(refs_ > 0 && "delRef without a reference");
  if (--refs_ > 0 || deleting_) return;
  deleting_ = true;
  delete this;
}

void STPSpecClass::setTransport(STPTransport* transport, uint32_t localRN, uint32_t remoteRN) {
  Hold<STPSpecClass> hold(this);
  if (transport) transport->addRef();
  if (transport_) {
    transport_->unregisterMessageListener(listener_);
    transport_->delRef();
  }
  // Messages deferred on the old transport will not come back to us.
  bool heldForDeferred = deferred_ > 0;
  deferred_ = 0;
  deferredMessages_.clear();
  transport_ = transport;
  localRN_ = localRN ? localRN : getDefaultLocalRN();
  remoteRN_ = remoteRN ? remoteRN : getDefaultRemoteRN();
  if (transport_)
    for (uint32_t kind : {STP_KIND_INTERFACE, STP_KIND_COMMAND, STP_KIND_ASCII, STP_KIND_BINARY})
      transport_->registerMessageListener(remoteRN_, localRN_, listener_, kind);
  if (!retryFromOwner_) {
    delete retry_;
    retry_ = new STPRetryHandler(transport_);
  }
  if (heldForDeferred) delRef();
}

void STPSpecClass::setDefaultRetryHandler(RetryHandler* handler) {
  if (handler == retry_) return;
  delete retry_;
  retry_ = handler;
  retryFromOwner_ = true;
}

void STPSpecClass::markAsDown() {
  bool wasUp = sendingUp_ || receivingUp_;
  sendingUp_ = receivingUp_ = false;
  if (wasUp) hasBeenMarkedDown();
}

// ---- sending ------------------------------------------------------------------------

bool STPSpecClass::canSendMessage(bool needReceiving, bool peerKnowsMessage, TStat* status) {
  auto refuse = [status](int code, const char* message) {
    if (status) status->set(code, message);
    return false;
  };
  if (!transport_ || !negotiated_)
    return refuse(TSTAT_USAGE, "Attempted send before negotiation is complete.");
  if (!sendingUp_ || (needReceiving && !receivingUp_))
    return refuse(TSTAT_CONNECTION, "[send]: virtual connection is down");
  if (!peerKnowsMessage && !(peerFlags_ & 1))
    return refuse(TSTAT_NOT_SUPPORTED, "[send]: sending a message the other side does not support");
  return true;
}

int32_t STPSpecClass::getMessageId(const char* name) const {
  return name ? getMessageId(name, strlen(name)) : -1;
}

int32_t STPSpecClass::getMessageId(const char* name, size_t length) const {
  const STPMessageDesc* e = name ? findByName(desc_.own, std::string_view(name, length)) : nullptr;
  return e ? e->id : -1;
}

const STPMessageDesc* STPSpecClass::getSendableMessageDesc(const char* name) const {
  return name ? getSendableMessageDesc(name, strlen(name)) : nullptr;
}

const STPMessageDesc* STPSpecClass::getSendableMessageDesc(const char* name, size_t length) const {
  if (!name) return nullptr;
  std::string_view n(name, length);
  if (const STPMessageDesc* e = findByName(desc_.sendable, n)) return e;
  auto it = std::find_if(extra_.begin(), extra_.end(), [&](const auto& e) { return e.name == n; });
  return it != extra_.end() ? &*it : nullptr;
}

int32_t STPSpecClass::mapTag(int32_t ownTag) const {
  if (ownTag < 0 || static_cast<size_t>(ownTag) >= tagMap_.size()) return -1;
  return tagMap_[ownTag];
}

const char* STPSpecClass::getCommandName(int i) const {
  if (i < 0 || i >= getCommandCount()) return nullptr;
  return desc_.own[i].name.c_str();
}

const STPMessageDesc* STPSpecClass::ownEntry(int32_t id) const {
  if (id < 0) return nullptr;
  if (static_cast<size_t>(id) < desc_.own.size() && desc_.own[id].id == id) return &desc_.own[id];
  auto it = std::find_if(desc_.own.begin(), desc_.own.end(), [id](auto& e) { return e.id == id; });
  return it != desc_.own.end() ? &*it : nullptr;
}

// ---- dispatch -----------------------------------------------------------------------

void STPSpecClass::addDescriptionFlags(STPIMsg* message) const {
  STPHeader& h = message->header();
  if (h.kind == STP_KIND_INTERFACE) {
    h.flags |= h.message_id >= kFirstBoundControl ? STP_FLAG_TRANSACTION : STP_FLAG_SAFE;
    return;
  }
  if (const STPMessageDesc* e = ownEntry(static_cast<int32_t>(h.message_id)))
    h.flags |= e->flags & (STP_ENTRY_TRANSACTION | STP_ENTRY_SAFE);
}

bool STPSpecClass::defer(STPIMsg* message, bool isOnlyListener) {
  // Only a sole listener's message waits in the transport's deferred
  // list; with several listeners the transport drops what is declined.
  if (isOnlyListener && deferredMessages_.insert(message).second && deferred_++ == 0) addRef();
  return false;
}

void STPSpecClass::releaseDeferred(const STPIMsg* message) {
  if (deferredMessages_.erase(message) && --deferred_ == 0) delRef();
}

bool STPSpecClass::handleMessage(STPIMsg* message, bool isOnlyListener) {
  Hold<STPSpecClass> hold(this);
  STPHeader& h = message->header();
  const bool isText =
      h.kind == STP_KIND_INTERFACE || h.kind == STP_KIND_COMMAND || h.kind == STP_KIND_ASCII;
  if (isText && h.kind != STP_KIND_INTERFACE && h.message_id == kNoId) {
    STPBorrowedReader<STPAsciiIMsg> peek(message);
    int length = 0;
    const char* name = peek.get()->peekIdent(&length);
    h.message_id = static_cast<uint32_t>(getMessageId(name, static_cast<size_t>(length)));
  }
  addDescriptionFlags(message);
  STPTransport* transport = transport_;
  if (!transport->shouldDeliverMessage(message)) return defer(message, isOnlyListener);
  std::optional<STPBorrowedReader<STPAsciiIMsg>> text;
  if (isText) text.emplace(message);

  Hold<STPTransport> holdTransport(transport);
  STPTransport::enterMessageDepth();
  transport->pushToken(h.token_origin, h.token_depth, h.flags);
  std::unique_ptr<STPOMsg> reply;
  if (h.flags & STP_FLAG_WANTS_REPLY) {
    if (h.kind == STP_KIND_BINARY)
      reply.reset(transport->createBinaryReply(localRN_, remoteRN_, h.sequence, 0));
    else
      reply.reset(transport->createAsciiReply(localRN_, remoteRN_, h.sequence, 0));
  }
  enterCall();
  dispatch(message, text ? text->get() : nullptr, reply.get());
  leaveCall();
  text.reset();
  if (reply && sendingUp_) transport->enqueueAndTryMessage(reply.get(), 2, nullptr);
  transport->popToken();
  STPTransport::leaveMessageDepth();
  releaseDeferred(message);
  return true;
}

void STPSpecClass::dispatch(STPIMsg* message, STPAsciiIMsg* text, STPOMsg* reply) {
  const STPHeader& h = message->header();
  const int32_t id = static_cast<int32_t>(h.message_id);
  auto* textReply = dynamic_cast<STPAsciiOMsg*>(reply);
  switch (h.kind) {
    case STP_KIND_INTERFACE:
      if (id == 1) handleNegotiate(text);
      if (id == 2) handleGetInterface(textReply);
      if (id == 3) synchronised_ = true;
      return;
    case STP_KIND_COMMAND:
      handleCommand(text, textReply, id);
      return;
    case STP_KIND_ASCII:
      handleAsciiMessage(text, textReply, id);
      return;
    case STP_KIND_BINARY: {
      STPBorrowedReader<STPBinaryIMsg> binary(message);
      handleBinaryMessage(binary.get(), dynamic_cast<STPBinaryOMsg*>(reply), id);
      return;
    }
  }
  gen_warning("oops");
}

int STPSpecClass::handleCommand(STPAsciiIMsg* in, STPAsciiOMsg* reply, int32_t messageId) {
  int32_t action = static_cast<int32_t>(in->getNumber("__action"));
  int ret = handleCommandMessage(in, reply, messageId, action);
  if (reply) reply->putNumber("__ret", static_cast<uint32_t>(ret));
  return ret;
}

void STPSpecClass::handleAsciiMessage(STPAsciiIMsg*, STPAsciiOMsg*, int32_t) {
  gen_warning("unexpected stp ascii message");
}

void STPSpecClass::handleBinaryMessage(STPBinaryIMsg*, STPBinaryOMsg*, int32_t) {
  gen_warning("unexpected stp binary message");
}

int STPSpecClass::handleCommandMessage(STPAsciiIMsg*, STPAsciiOMsg*, int32_t, int32_t) {
  gen_warning("unexpected stp command message");
  return 0;
}
