// Negotiation between the two sides of an interface.  Each side sends its
// name, version stamp, flags, tag names and own message table (kind 12,
// id 1); the receiver maps its tags to the peer's tag numbers and takes
// the peer's ids and flags into its sendable table, so that it sends in
// the peer's numbering and reads the peer's tags through the map.  Also
// the synchronize handshake (id 3) and the signature request (id 2).
#include "libs/stp_transport/endpoint.h"

#include <algorithm>
#include <memory>

#include "base/gen.h"
#include "libs/libcxxutil/retry_handler.h"
#include "libs/stp_transport/stp_ascii_imsg.h"
#include "libs/stp_transport/stp_ascii_omsg.h"
#include "libs/stp_transport/stp_retry.h"
#include "libs/stp_transport/stub_support.h"

namespace {

enum : uint32_t { kNegotiate = 1, kGetInterface = 2, kSynchronize = 3 };
constexpr long kServiceMs = 10000;
constexpr int32_t kMaxTagNumber = 0xFFFFFF;  // tag numbers are 24-bit

bool fail(TStat* status, int code, const char* message) {
  if (status) status->set(code, message);
  return false;
}

std::string takeString(char* s) {
  std::string out = s ? s : "";
  gen_free(s);
  return out;
}

}  // namespace

bool STPSpecClass::negotiate(RetryHandler* handler, TStat* status) {
  return sendNegotiate(true, status) && awaitNegotiate(handler, status);
}

STPAsciiOMsg* STPSpecClass::newControl(uint32_t messageId, uint32_t flags, TStat* status) {
  if (!transport_) {
    fail(status, TSTAT_USAGE, "[sendNegotiate]: cannot send with NULL transport");
    return nullptr;
  }
  if (!sendingUp_) {
    fail(status, TSTAT_CONNECTION, "[sendNegotiate]: virtual connection is down");
    return nullptr;
  }
  return transport_->createAsciiMessage(localRN_, remoteRN_, STP_KIND_INTERFACE, messageId, flags);
}

bool STPSpecClass::postControl(STPAsciiOMsg* message, bool now, TStat* status) {
  std::unique_ptr<STPAsciiOMsg> m(message);
  if (now) return transport_->enqueueAndTryMessage(m.get(), 1, status);
  if (transport_->enqueueMessage(m.get())) return true;
  transport_->getStatus().copyTo(status);
  return false;
}

bool STPSpecClass::sendNegotiate(bool now, TStat* status) {
  STPAsciiOMsg* m = newControl(kNegotiate, STP_FLAG_ONE_WAY, status);
  if (!m) return false;
  m->putIdent("name", desc_.sideName.c_str());
  m->putString("vstamp", desc_.versionStamp.c_str());
  m->putNumber("flags", desc_.flags);
  m->putStartArray("tags", static_cast<int>(desc_.tagNames.size()));
  for (const std::string& tag : desc_.tagNames) m->putIdent(tag.c_str());
  m->putEndArray();
  m->putStartArray("msgs", static_cast<int>(desc_.own.size()));
  for (const STPMessageDesc& e : desc_.own) {
    m->putStartStruct();
    m->putNumber("id", static_cast<uint32_t>(e.id));
    m->putIdent("name", e.name.c_str());
    m->putNumber("flags", e.flags);
    m->putEndStruct();
  }
  m->putEndArray();
  return postControl(m, now, status);
}

void STPSpecClass::handleNegotiate(STPAsciiIMsg* in) {
  int length = 0;
  const char* name = in->getIdent("name", &length);
  peerSide_.assign(name, static_cast<size_t>(length));
  peerStamp_ = takeString(in->getString("vstamp"));
  peerFlags_ = in->getNumber("flags");

  std::fill(tagMap_.begin(), tagMap_.end(), -1);
  stp_forEachElement(in, "tags", [&](int32_t position) {
    const char* tag = in->getIdent(&length);
    auto& names = desc_.tagNames;
    auto it = std::lower_bound(names.begin(), names.end(), std::string_view(tag, length));
    if (it != names.end() && *it == std::string_view(tag, length) && position <= kMaxTagNumber)
      tagMap_[it - names.begin()] = position;
  });

  // The peer's table replaces what we knew: a message it does not list
  // keeps id -1 and cannot be sent.
  for (STPMessageDesc& e : desc_.sendable) e.id = -1;
  extra_.clear();
  stp_forEachElement(in, "msgs", [&](int32_t) {
    STPAsciiIMsgParamState state;
    in->getStartStruct(&state);
    STPMessageDesc peer;
    peer.id = static_cast<int32_t>(in->getNumber("id"));
    const char* n = in->getIdent("name", &length);
    peer.name.assign(n, static_cast<size_t>(length));
    peer.flags = in->getNumber("flags");
    in->getEndStruct(&state);
    auto& table = desc_.sendable;
    auto it = std::lower_bound(table.begin(), table.end(), peer.name,
                               [](const STPMessageDesc& e, const std::string& k) { return e.name < k; });
    if (it != table.end() && it->name == peer.name) {
      it->id = peer.id;
      it->flags = peer.flags;
      return;
    }
    auto known = std::find_if(extra_.begin(), extra_.end(), [&](auto& e) { return e.name == peer.name; });
    if (known == extra_.end()) extra_.push_back(peer);
  });
  negotiated_ = true;
}

template <class Done>
bool STPSpecClass::waitFor(RetryHandler* handler, TStat* status, Done done) {
  STPTransport* transport = transport_;
  transport->addRef();
  if (handler) {
    STP_RetryCondition condition(this);
    handler->addRetryCondition(&condition);
    handler->beginOp();
    while (!done() && transport->isAlive() && transport->getStatus().ok()) {
      handler->idle();
      if (done() || !handler->retryOp()) break;
    }
    handler->completedOp();
    handler->removeRetryCondition(&condition);
  } else {
    while (!done() && !isReceivingDown() && transport->isAlive() && transport->getStatus().ok())
      transport->serviceOnce(kServiceMs, nullptr);
  }
  bool ok = done();
  if (!ok && !transport->getStatus().ok()) transport->getStatus().copyTo(status);
  transport->delRef();
  return ok;
}

bool STPSpecClass::awaitNegotiate(RetryHandler* handler, TStat* status) {
  if (!transport_) return fail(status, TSTAT_USAGE, "[awaitTags]: cannot receive tags on NULL transport");
  if (!receivingUp_) return fail(status, TSTAT_CONNECTION, "[awaitTags]: virtual connection is down");
  addRef();
  transport_->dequeueAndDeliverMessage(remoteRN_, localRN_, STP_KIND_INTERFACE);
  TStat own;
  bool ok = negotiated_ || waitFor(handler, &own, [this] { return negotiated_; });
  if (!ok && own.ok()) {
    if (receivingUp_) own.set(TSTAT_TIMEOUT, "awaitNegotiate: timed out waiting for reply.");
    else own.set(TSTAT_CONNECTION, "[awaitTags]: virtual connection is down");
  }
  if (!ok) own.copyTo(status);
  delRef();
  return ok;
}

void STPSpecClass::negotiate_local() {
  for (size_t i = 0; i < tagMap_.size(); i++) tagMap_[i] = static_cast<int32_t>(i);
  for (size_t i = 0; i < desc_.sendable.size(); i++) desc_.sendable[i].id = static_cast<int32_t>(i);
  negotiated_ = true;
}

bool STPSpecClass::synchronize(RetryHandler* handler, TStat* status) {
  STPAsciiOMsg* m = newControl(kSynchronize, STP_FLAG_ONE_WAY, status);
  if (!m || !postControl(m, false, status)) return false;
  addRef();
  TStat own;
  bool ok = waitFor(handler, &own, [this] { return synchronised_; });
  synchronised_ = false;
  if (!ok && own.ok()) own.set(TSTAT_TIMEOUT, "awaitNegotiate: timed out waiting for reply.");
  if (!ok) own.copyTo(status);
  delRef();
  return ok;
}

bool STPSpecClass::request_interface(RetryHandler* handler, TStat* status) {
  std::unique_ptr<STPAsciiOMsg> m(newControl(kGetInterface, STP_FLAG_WANTS_REPLY, status));
  if (!m) return false;
  addRef();
  STPTransport* transport = transport_;
  transport->addRef();
  std::unique_ptr<STPIMsg> reply;
  enterCall();
  if (uint32_t sequence = transport->sendMessage(m.get(), handler, status))
    reply.reset(transport->awaitResponse(sequence, handler, status));
  leaveCall();
  if (reply) {
    STPAsciiIMsg in(*reply);
    stp_forEachElement(&in, "msgs", [&](int32_t) {
      STPAsciiIMsgParamState state;
      in.getStartStruct(&state);
      int length = 0;
      const char* n = in.getIdent("name", &length);
      std::string name(n, static_cast<size_t>(length));
      const char* fmt = in.getQuotedIdent("fmt", &length);
      std::string signature(fmt, static_cast<size_t>(length));
      in.getEndStruct(&state);
      auto set = [&](std::vector<STPMessageDesc>& table) {
        for (STPMessageDesc& e : table)
          if (e.name == name) e.signature = signature;
      };
      set(desc_.sendable);
      set(extra_);
    });
    interfaceReceived_ = true;
  }
  transport->delRef();
  delRef();
  return reply != nullptr;
}

void STPSpecClass::handleGetInterface(STPAsciiOMsg* reply) {
  if (!reply) return;
  reply->putStartArray("msgs", static_cast<int>(desc_.own.size()));
  for (const STPMessageDesc& e : desc_.own) {
    reply->putStartStruct();
    reply->putIdent("name", e.name.c_str());
    reply->putQuotedIdent("fmt", e.signature.c_str());
    reply->putEndStruct();
  }
  reply->putEndArray();
}
