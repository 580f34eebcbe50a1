// The runtime of the generated send stubs and parsers: the steps every
// send takes, the trace lines, and the fields of the two encodings.
#include "libs/stp_transport/stub_support.h"

#include <cassert>
#include <cstdio>

#include "base/gen.h"
#include "libs/stp_transport/stp_filename.h"
#include "libs/stp_transport/stp_log.h"

// ---- STPOwnedString -------------------------------------------------------------------

STPOwnedString::~STPOwnedString() { gen_free(s_); }

char** STPOwnedString::out() {
  gen_free(std::exchange(s_, nullptr));
  return &s_;
}

// ---- STPStubCall ----------------------------------------------------------------------

STPStubCall::STPStubCall(STPSpecClass* spec, RetryHandler* handler, TStat* status)
    : spec_(spec),
      handler_(handler ? handler : spec->getDefaultRetryHandler()),
      status_(status ? status : &own_),
      condition_(spec) {
  assert(handler_ && "a send needs a retry handler: the endpoint has no default one");
  spec_->addRef();
  status_->clear();
}

STPStubCall::~STPStubCall() {
  out_.reset();
  reply_.reset();
  spec_->delRef();
}

bool STPStubCall::peerKnows(const char* name) const {
  const STPMessageDesc* e = spec_->getSendableMessageDesc(name);
  return e && e->id != -1;
}

static int32_t sendableId(STPSpecClass* spec, const char* name) {
  const STPMessageDesc* e = spec->getSendableMessageDesc(name);
  return e ? e->id : -1;
}

STPAsciiOMsg* STPStubCall::createAscii(const char* name, uint32_t flags) {
  STPTransport* t = spec_->getTransport();
  auto* m = t->createAsciiMessage(spec_->getLocalRN(), spec_->getRemoteRN(), STP_KIND_ASCII,
                                  static_cast<uint32_t>(sendableId(spec_, name)), flags);
  m->putIdent(name);
  out_.reset(m);
  return m;
}

STPBinaryOMsg* STPStubCall::createBinary(const char* name, uint32_t flags) {
  STPTransport* t = spec_->getTransport();
  auto* m = t->createBinaryMessage(spec_->getLocalRN(), spec_->getRemoteRN(), STP_KIND_BINARY,
                                   static_cast<uint32_t>(sendableId(spec_, name)), flags);
  out_.reset(m);
  return m;
}

STPIMsg* STPStubCall::call() {
  STPTransport* t = spec_->getTransport();
  t->addRef();
  handler_->addRetryCondition(&condition_);
  spec_->enterCall();
  uint32_t sequence = t->sendMessage(out_.get(), handler_, status_);
  spec_->leaveCall();
  STPIMsg* reply = nullptr;
  if (sequence) {
    spec_->enterCall();
    reply = t->awaitResponse(sequence, handler_, status_);
    spec_->leaveCall();
  }
  handler_->removeRetryCondition(&condition_);
  t->delRef();
  return reply;
}

STPAsciiIMsg* STPStubCall::callAscii() {
  std::unique_ptr<STPIMsg> reply(call());
  if (!reply) return nullptr;
  auto* text = new STPAsciiIMsg(*reply);
  reply_.reset(text);
  return text;
}

STPBinaryIMsg* STPStubCall::callBinary() {
  std::unique_ptr<STPIMsg> reply(call());
  if (!reply) return nullptr;
  auto* binary = new STPBinaryIMsg(*reply);
  reply_.reset(binary);
  return binary;
}

bool STPStubCall::sendOneWay(bool synchronous) {
  STPTransport* t = spec_->getTransport();
  if (!synchronous) {
    if (t->enqueueMessage(out_.get())) return true;
    t->getStatus().copyTo(status_);
    return false;
  }
  t->addRef();
  handler_->addRetryCondition(&condition_);
  spec_->enterCall();
  bool sent = t->sendMessage(out_.get(), handler_, status_) != 0;
  spec_->leaveCall();
  handler_->removeRetryCondition(&condition_);
  t->delRef();
  return sent;
}

// ---- STPLogLine -----------------------------------------------------------------------

STPLogLine::STPLogLine(STPSpecClass* spec, STPLogKind kind, const char* message)
    : spec_(spec), message_(message) {
  static const STPTraceKind kinds[] = {STPTraceKind::send, STPTraceKind::recv, STPTraceKind::reply};
  kind_ = kinds[kind];
  STPLog* log = kind == STP_LOG_RECV ? spec->getRecvLog() : spec->getSendLog();
  if (!log) return;
  STPTransport* t = spec->getTransport();
  if (kind == STP_LOG_SEND && t && !t->getStatus().ok()) {
    stp_trace(log, spec, STPTraceKind::send_failed, message, {});
    return;
  }
  log_ = log;
}

STPLogLine::~STPLogLine() {
  if (!log_) return;
  const bool sending = kind_ != STPTraceKind::recv;
  const std::string line = stp_traceLine(kind_, message_, fields_);
  log_->logStart(spec_, sending);
  log_->add(line.data(), static_cast<long>(line.size()));
  log_->logEnd(spec_, sending);
}

const char* STPLogLine::keep(std::string text) {
  texts_.push_back(std::move(text));
  return texts_.back().c_str();
}

void STPLogLine::field(const char* name, const char* value) {
  fields_.push_back(STPTraceField::str(name, value));
}

void STPLogLine::field(const char* name, uint32_t value) {
  fields_.push_back(STPTraceField::num(name, value));
}

void STPLogLine::field(const char* name, const std::vector<std::string>& value) {
  std::string text;
  for (const std::string& s : value) text += (text.empty() ? "" : " ") + s;
  field(name, keep(std::move(text)));
}

void STPLogLine::field(const char* name, const std::vector<uint32_t>& value) {
  std::string text;
  char number[16];
  for (uint32_t v : value) {
    snprintf(number, sizeof number, "%s0x%x", text.empty() ? "" : " ", v);
    text += number;
  }
  field(name, keep(std::move(text)));
}

void STPLogLine::textField(const char* tagged) {
  std::string text = tagged ? tagged : "";
  size_t colon = text.find(':');
  std::string name = colon == std::string::npos ? "" : text.substr(0, colon);
  std::string value = colon == std::string::npos ? text : text.substr(colon + 1);
  while (!value.empty() && value.back() == ' ') value.pop_back();
  const char* n = keep(std::move(name));
  field(n, keep(std::move(value)));
}

// ---- text fields ----------------------------------------------------------------------

const char* stp_leading_name(STPAsciiIMsg* in, size_t* length) {
  int n = 0;
  const char* name = in->getIdent(&n);
  *length = static_cast<size_t>(n);
  return name;
}

void stp_put_fn(STPAsciiOMsg* m, const char* tag, const char* v) {
  STPFilename name(v);
  m->putString(tag, name.get());
}

void stp_put(STPAsciiOMsg* m, const char* tag, const std::vector<std::string>& v) {
  m->putStartStruct(tag);
  m->putNumber("count", static_cast<uint32_t>(v.size()));
  m->putStartArray("data", static_cast<int>(v.size()));
  for (const std::string& s : v) m->putString(s.c_str());
  m->putEndArray();
  m->putEndStruct();
}

void stp_put(STPAsciiOMsg* m, const char* tag, const std::vector<uint32_t>& v) {
  m->putStartArray(tag, static_cast<int>(v.size()));
  for (uint32_t x : v) m->putNumber(x);
  m->putEndArray();
}

void stp_get(STPAsciiIMsg* in, const char* tag, STPOwnedString* out) {
  *out->out() = in->getString(tag);
}

void stp_get(STPAsciiIMsg* in, const char* tag, std::vector<std::string>* out) {
  out->clear();
  STPAsciiIMsgParamState state;
  in->getStartStruct(tag, &state);
  uint32_t count = in->getNumber("count");
  stp_forEachElement(in, "data", [&](int32_t i) {
    char* s = in->getString();
    if (static_cast<uint32_t>(i) < count) out->push_back(s ? s : "");
    gen_free(s);
  });
  in->getEndStruct(&state);
}

void stp_get(STPAsciiIMsg* in, const char* tag, std::vector<uint32_t>* out) {
  out->clear();
  stp_forEachElement(in, tag, [&](int32_t) { out->push_back(in->getNumber()); });
}

// ---- binary fields --------------------------------------------------------------------

void stp_put_fn(STPBinaryOMsg* m, int32_t tag, const char* v) {
  STPFilename name(v);
  m->putS(tag, name.get());
}

void stp_put(STPBinaryOMsg* m, int32_t tag, const std::vector<std::string>& v, int32_t countTag,
             int32_t dataTag) {
  STPBinaryOMsgParamState list, data;
  m->putStartStruct(tag, &list);
  m->put4(countTag, static_cast<uint32_t>(v.size()));
  m->putStartArray(dataTag, &data);
  for (const std::string& s : v) m->putS(0, s.c_str());
  m->putEndArray(&data);
  m->putEndStruct(&list);
}

void stp_put(STPBinaryOMsg* m, int32_t tag, const std::vector<uint32_t>& v) {
  m->putDArray(tag, v.data(), static_cast<long>(v.size()), 4);
}

void stp_get(STPBinaryIMsg* in, int32_t tag, STPOwnedString* out) { *out->out() = in->getS(tag); }

void stp_get(STPBinaryIMsg* in, int32_t tag, std::vector<std::string>* out, int32_t countTag,
             int32_t dataTag) {
  out->clear();
  STPBinaryIMsgParamState list, data;
  in->getStartStruct(tag, &list);
  uint32_t count = in->get4(countTag);
  in->getStartArray(dataTag, &data);
  for (uint32_t i = 0; i < count && in->findTag(0); i++) {
    char* s = in->get_string();
    out->push_back(s ? s : "");
    gen_free(s);
  }
  in->getEndArray(&data);
  in->getEndStruct(&list);
}

void stp_get(STPBinaryIMsg* in, int32_t tag, std::vector<uint32_t>* out) {
  long count = 0;
  auto* values = static_cast<uint32_t*>(in->getDArray(tag, &count, 4));
  out->assign(values, values + (values ? count : 0));
  gen_free(values);
}
