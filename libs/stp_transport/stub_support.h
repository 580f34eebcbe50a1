// What the generated endpoint classes (stpgen) are made of, so that each
// send stub and parser stays a few lines per field:
//  - STPStubCall: one send from start to end (a reference and a retry
//    condition held, the default handler when none is given, the checks,
//    the message, the call and its reply, or the one-way send);
//  - STPLogLine: one "SEND: ", "SEND FAILED: ", "RECV: " or "REPLY: " line;
//  - stp_put / stp_get: a field of each type in either body encoding,
//    where a string read is an STPOwnedString (freed with it) and list
//    readers never trust a count beyond the text.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "libs/stp_transport/endpoint.h"
#include "libs/stp_transport/stp_ascii_imsg.h"
#include "libs/stp_transport/stp_ascii_omsg.h"
#include "libs/stp_transport/stp_binary_imsg.h"
#include "libs/stp_transport/stp_binary_omsg.h"
#include "libs/stp_transport/stp_retry.h"
#include "libs/stp_transport/stp_trace.h"

// A string the caller owns (gen_free), released with the object.
class STPOwnedString {
 public:
  STPOwnedString() = default;
  ~STPOwnedString();
  STPOwnedString(const STPOwnedString&) = delete;
  STPOwnedString& operator=(const STPOwnedString&) = delete;

  const char* get() const { return s_; }
  // Frees the current string; the place for a new one.
  char** out();
  char* release() { return std::exchange(s_, nullptr); }

 private:
  char* s_ = nullptr;
};

class STPStubCall {
 public:
  // A null handler takes the endpoint's default one, which must exist; a
  // null status, a record of the call's own.  The status starts cleared.
  STPStubCall(STPSpecClass* spec, RetryHandler* handler, TStat* status);
  ~STPStubCall();
  STPStubCall(const STPStubCall&) = delete;
  STPStubCall& operator=(const STPStubCall&) = delete;

  bool canSend(bool needReceiving, bool peerKnows) {
    return spec_->canSendMessage(needReceiving, peerKnows, status_);
  }
  // Whether the peer listed the message in its negotiation.
  bool peerKnows(const char* name) const;
  // The outgoing message in the peer's numbering (owned by the call); the
  // text form starts with the message name.
  STPAsciiOMsg* createAscii(const char* name, uint32_t flags);
  STPBinaryOMsg* createBinary(const char* name, uint32_t flags);
  // Sends the message and waits for its reply (owned by the call), or
  // null with the status saying why.
  STPAsciiIMsg* callAscii();
  STPBinaryIMsg* callBinary();
  // A one-way message: written out under the handler when synchronous,
  // else only queued for the event loop to write.
  bool sendOneWay(bool synchronous);
  bool ok() const { return status_->ok(); }

 private:
  STPIMsg* call();

  STPSpecClass* spec_;
  RetryHandler* handler_;
  TStat own_;
  TStat* status_;
  STP_RetryCondition condition_;
  std::unique_ptr<STPOMsg> out_;
  std::unique_ptr<STPIMsg> reply_;
};

enum STPLogKind { STP_LOG_SEND, STP_LOG_RECV, STP_LOG_REPLY };

// One trace line of a message, written when the object ends; inactive
// (and silent) when the endpoint has no log of that direction.  A SEND on
// a transport that already has an error is logged at once as
// "SEND FAILED: <name>" and the line stays inactive.  RECV lines go to the
// receive log, SEND and REPLY lines to the send log.
class STPLogLine {
 public:
  STPLogLine(STPSpecClass* spec, STPLogKind kind, const char* message);
  ~STPLogLine();
  STPLogLine(const STPLogLine&) = delete;
  STPLogLine& operator=(const STPLogLine&) = delete;

  bool active() const { return log_ != nullptr; }
  void field(const char* name, const char* value);
  void field(const char* name, const STPOwnedString& value) { field(name, value.get()); }
  void field(const char* name, uint32_t value);
  void field(const char* name, int value) { field(name, static_cast<uint32_t>(value)); }
  void field(const char* name, uint8_t value) { field(name, uint32_t{value}); }
  // Lists as one quoted text of their items separated by blanks.
  void field(const char* name, const std::vector<std::string>& value);
  void field(const char* name, const std::vector<uint32_t>& value);
  // A hand-written value: `put(scratch)` writes it, tagged, into a scratch
  // text message whose text becomes the field.
  template <class Put>
  void text(Put put) {
    STPAsciiOMsg scratch(0, 0, 0, 0, 0, 0, 0, 0);
    put(&scratch);
    textField(scratch.getAsciiContent());
  }

 private:
  void textField(const char* tagged);
  const char* keep(std::string text);

  STPLog* log_ = nullptr;
  STPSpecClass* spec_;
  STPTraceKind kind_;
  const char* message_;
  std::vector<STPTraceField> fields_;
  std::deque<std::string> texts_;
};

// Calls `each` for every element of the array `tag` of a text message;
// each call reads exactly one element.  A hostile count cannot make it
// loop beyond the text.
template <class Each>
void stp_forEachElement(STPAsciiIMsg* in, const char* tag, Each each) {
  STPAsciiIMsgParamState state;
  in->getStartArray(tag, &state);
  const long limit = in->get_end_pos() - in->getBodyStart();
  int length = 0;
  for (int32_t i = 0; i < limit && (in->peekIdent(&length), length > 0); i++) each(i);
  in->getEndArray(&state);
}

// The leading identifier of a text message (its name) without consuming
// it.
const char* stp_leading_name(STPAsciiIMsg* in, size_t* length);

// ---- text fields -------------------------------------------------------------------
inline void stp_put(STPAsciiOMsg* m, const char* tag, const char* v) { m->putString(tag, v); }
inline void stp_put(STPAsciiOMsg* m, const char* tag, const STPOwnedString& v) {
  m->putString(tag, v.get());
}
void stp_put_fn(STPAsciiOMsg* m, const char* tag, const char* v);  // expanded first
inline void stp_put(STPAsciiOMsg* m, const char* tag, int v) {
  m->putNumber(tag, static_cast<uint32_t>(v));
}
inline void stp_put(STPAsciiOMsg* m, const char* tag, uint32_t v) { m->putNumber(tag, v); }
inline void stp_put(STPAsciiOMsg* m, const char* tag, uint8_t v) { m->putNumber(tag, v); }
// { count:n data:(n)[ "a" ... ] }
void stp_put(STPAsciiOMsg* m, const char* tag, const std::vector<std::string>& v);
// (n)[ 0x1 ... ]
void stp_put(STPAsciiOMsg* m, const char* tag, const std::vector<uint32_t>& v);

void stp_get(STPAsciiIMsg* in, const char* tag, STPOwnedString* out);
inline void stp_get(STPAsciiIMsg* in, const char* tag, int* out) {
  *out = static_cast<int>(in->getNumber(tag));
}
inline void stp_get(STPAsciiIMsg* in, const char* tag, uint32_t* out) { *out = in->getNumber(tag); }
inline void stp_get(STPAsciiIMsg* in, const char* tag, uint8_t* out) {
  *out = static_cast<uint8_t>(in->getNumber(tag));
}
void stp_get(STPAsciiIMsg* in, const char* tag, std::vector<std::string>* out);
void stp_get(STPAsciiIMsg* in, const char* tag, std::vector<uint32_t>* out);

// ---- binary fields (our tag numbers to write, the peer's to read) ------------------
inline void stp_put(STPBinaryOMsg* m, int32_t tag, const char* v) { m->putS(tag, v); }
inline void stp_put(STPBinaryOMsg* m, int32_t tag, const STPOwnedString& v) { m->putS(tag, v.get()); }
void stp_put_fn(STPBinaryOMsg* m, int32_t tag, const char* v);
inline void stp_put(STPBinaryOMsg* m, int32_t tag, int v) {
  m->put4(tag, static_cast<uint32_t>(v));
}
inline void stp_put(STPBinaryOMsg* m, int32_t tag, uint32_t v) { m->put4(tag, v); }
inline void stp_put(STPBinaryOMsg* m, int32_t tag, uint8_t v) { m->put1(tag, v); }
// A struct of the count and an array of untagged strings.
void stp_put(STPBinaryOMsg* m, int32_t tag, const std::vector<std::string>& v, int32_t countTag,
             int32_t dataTag);
void stp_put(STPBinaryOMsg* m, int32_t tag, const std::vector<uint32_t>& v);

void stp_get(STPBinaryIMsg* in, int32_t tag, STPOwnedString* out);
inline void stp_get(STPBinaryIMsg* in, int32_t tag, int* out) {
  *out = static_cast<int>(in->get4(tag));
}
inline void stp_get(STPBinaryIMsg* in, int32_t tag, uint32_t* out) { *out = in->get4(tag); }
inline void stp_get(STPBinaryIMsg* in, int32_t tag, uint8_t* out) { *out = in->get1(tag); }
void stp_get(STPBinaryIMsg* in, int32_t tag, std::vector<std::string>* out, int32_t countTag,
             int32_t dataTag);
void stp_get(STPBinaryIMsg* in, int32_t tag, std::vector<uint32_t>* out);

// ---- out-parameters (any may be null) ----------------------------------------------
template <class T>
void stp_clear(T* out) {
  if (out) *out = T{};
}
inline void stp_take(char** out, STPOwnedString& value) {
  if (out) *out = value.release();
}
template <class T>
void stp_take(T* out, T& value) {
  if (out) *out = std::move(value);
}
