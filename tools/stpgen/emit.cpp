// The generated code follows one pattern for every message (see
// libs/stp_transport/stub_support.h for the runtime it calls):
//   send stub: reference and retry condition; out-parameters cleared;
//     canSendMessage; the SEND line; the message built field by field;
//     a call waits for its reply, reads and logs it (RECV); a one-way
//     message is sent or only queued.
//   parser: the message found by id (or by its leading name), fields read
//     by tag, the RECV line, msg_<Name>, reply fields put and logged
//     (REPLY); strings read are freed on the way out.
#include "tools/stpgen/emit.h"

#include <cstdio>
#include <sstream>

namespace stpgen {
namespace {

std::string hex(uint32_t v) {
  char buf[16];
  snprintf(buf, sizeof buf, "0x%x", v);
  return buf;
}

std::string quote(const std::string& s) {
  std::string out = "\"";
  for (char c : s) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

bool isString(const Field& f) { return f.type == FieldType::Str || f.type == FieldType::Fn; }

// How one field type appears in the generated C++.
class TypeText {
 public:
  TypeText(const Interface& iface, const Field& f) : iface_(iface), f_(f) {}

  std::string value() const {
    switch (f_.type) {
      case FieldType::Str:
      case FieldType::Fn: return "const char*";
      case FieldType::Num: return "int";
      case FieldType::U1: return "uint8_t";
      case FieldType::U4: return "uint32_t";
      case FieldType::StrList: return "std::vector<std::string>";
      case FieldType::U4Array: return "std::vector<uint32_t>";
      case FieldType::Custom: return iface_.types[f_.custom].name;
    }
    return "";
  }
  bool byReference() const {
    return f_.type == FieldType::StrList || f_.type == FieldType::U4Array ||
           f_.type == FieldType::Custom;
  }
  std::string inParam() const { return byReference() ? "const " + value() + "&" : value(); }
  std::string outParam() const { return isString(f_) ? "char**" : value() + "*"; }
  std::string local() const { return isString(f_) ? "STPOwnedString" : value(); }
  std::string passIn(const std::string& local) const {
    return isString(f_) ? local + ".get()" : local;
  }
  std::string passOut(const std::string& local) const {
    return isString(f_) ? local + ".out()" : "&" + local;
  }

 private:
  const Interface& iface_;
  const Field& f_;
};

class SideEmitter {
 public:
  SideEmitter(const Interface& iface, const Side& side)
      : iface_(iface), side_(side), peer_(iface.peerOf(side)), cls_(className(iface, side)) {}

  std::string header(const std::string& source);
  std::string source(const std::string& source, const std::string& includeDir);

 private:
  // Field text: tag expressions, put, get and log statements.
  std::string tag(const std::string& name) const { return cls_ + "::kTag_" + name; }
  std::string putTag(const Field& f) const {
    return iface_.binary ? tag(f.name) : quote(f.name);
  }
  std::string getTag(const Field& f, const std::string& self) const {
    return iface_.binary ? self + "->mapTag(" + tag(f.name) + ")" : quote(f.name);
  }
  std::string listTags(const Field& f, const std::string& self, bool get) const {
    if (!iface_.binary || f.type != FieldType::StrList) return "";
    if (!get) return ", " + tag("count") + ", " + tag("data");
    return ", " + self + "->mapTag(" + tag("count") + "), " + self + "->mapTag(" + tag("data") + ")";
  }
  std::string put(const std::string& msg, const Field& f, const std::string& value) const {
    if (f.type == FieldType::Custom)
      return iface_.types[f.custom].put + "(" + msg + ", " + putTag(f) + ", " + value + ");";
    std::string fn = f.type == FieldType::Fn ? "stp_put_fn" : "stp_put";
    return fn + "(" + msg + ", " + putTag(f) + ", " + value + listTags(f, "", false) + ");";
  }
  std::string get(const std::string& in, const Field& f, const std::string& local,
                  const std::string& self) const {
    if (f.type == FieldType::Custom)
      return iface_.types[f.custom].get + "(" + in + ", " + getTag(f, self) + ", &" + local + ");";
    return "stp_get(" + in + ", " + getTag(f, self) + ", &" + local + listTags(f, self, true) +
           ");";
  }
  std::string logField(const Field& f, const std::string& value) const {
    if (f.type == FieldType::Custom)
      return "stp_log.text([&](STPAsciiOMsg* stp_s) { " + put("stp_s", f, value) + " });";
    return "stp_log.field(" + quote(f.name) + ", " + value + ");";
  }
  void logBlock(std::ostream& o, const std::string& self, const char* kind, const Message& m,
                const std::vector<Field>& fields, const std::string& prefix) const;

  std::string params(const Message& m) const;
  std::string handlerParams(const Message& m, bool named) const;
  void table(std::ostream& o, const char* member, const Side& side) const;
  void sendStub(std::ostream& o, const Message& m) const;
  void parseFunction(std::ostream& o, const Message& m) const;
  void dispatcher(std::ostream& o) const;

  const Interface& iface_;
  const Side& side_;
  const Side& peer_;
  std::string cls_;
};

std::string SideEmitter::params(const Message& m) const {
  std::string p;
  auto add = [&](const std::string& s) { p += (p.empty() ? "" : ", ") + s; };
  for (const Field& f : m.args) add(TypeText(iface_, f).inParam() + " " + f.name);
  for (const Field& f : m.replies) add(TypeText(iface_, f).outParam() + " " + f.name);
  if (!m.wantsReply()) add("bool stp_synchronous");
  return p;
}

std::string SideEmitter::handlerParams(const Message& m, bool named) const {
  std::string p;
  auto add = [&](const std::string& type, const std::string& name) {
    p += (p.empty() ? "" : ", ") + type + (named ? " " + name : "");
  };
  for (const Field& f : m.args) add(TypeText(iface_, f).inParam(), f.name);
  for (const Field& f : m.replies) add(TypeText(iface_, f).outParam(), f.name);
  return p;
}

void SideEmitter::logBlock(std::ostream& o, const std::string& self, const char* kind,
                           const Message& m, const std::vector<Field>& fields,
                           const std::string& prefix) const {
  o << "  if (STPLogLine stp_log(" << self << ", " << kind << ", " << quote(m.name)
    << "); stp_log.active()) {\n";
  for (const Field& f : fields) o << "    " << logField(f, prefix + f.name) << "\n";
  o << "  }\n";
}

std::string SideEmitter::header(const std::string& source) {
  std::ostringstream o;
  o << "// Generated by stpgen from " << source << "; edit the description, not this file.\n"
    << "// The \"" << side_.name << "\" side of the \"" << iface_.name << "\" interface.\n"
    << "#pragma once\n\n#include \"libs/stp_transport/stub_support.h\"\n";
  for (const CustomType& t : iface_.types) o << "#include \"" << t.header << "\"\n";
  o << "\nclass " << cls_ << " : public STPSpecClass {\n public:\n  " << cls_ << "();\n\n"
    << "  uint32_t getDefaultLocalRN() override { return " << side_.localRN << "; }\n"
    << "  uint32_t getDefaultRemoteRN() override { return " << side_.remoteRN << "; }\n";
  if (!peer_.messages.empty())
    o << "\n  // Sending: true when the message went (and a call's reply came back);\n"
      << "  // otherwise the status says why.\n";
  for (const Message& m : peer_.messages)
    o << "  bool send_" << m.name << "(" << params(m) << (params(m).empty() ? "" : ", ")
      << "RetryHandler* stp_handler = nullptr, TStat* stp_status = nullptr);\n";
  o << "\n  // Receiving: each message reaches its handler, which does nothing\n"
    << "  // until a subclass overrides it.\n";
  if (iface_.binary)
    o << "  void handleBinaryMessage(STPBinaryIMsg* in, STPBinaryOMsg* reply, int32_t messageId) "
         "override;\n";
  else
    o << "  void handleAsciiMessage(STPAsciiIMsg* in, STPAsciiOMsg* reply, int32_t messageId) "
         "override;\n";
  for (const Message& m : side_.messages)
    o << "  virtual void msg_" << m.name << "(" << handlerParams(m, true) << ");\n";
  o << "\n  // Ids of the messages this side receives.\n";
  for (size_t i = 0; i < side_.messages.size(); i++)
    o << "  static constexpr int32_t kMsg_" << side_.messages[i].name << " = " << i << ";\n";
  std::vector<std::string> tags = iface_.tagNames();
  if (!tags.empty()) o << "  // Field tag numbers.\n";
  for (size_t i = 0; i < tags.size(); i++)
    o << "  static constexpr int32_t kTag_" << tags[i] << " = " << i << ";\n";
  o << "\n protected:\n  ~" << cls_ << "() override = default;\n};\n";
  return o.str();
}

void SideEmitter::table(std::ostream& o, const char* member, const Side& side) const {
  o << "  d." << member << " = {\n";
  for (size_t i = 0; i < side.messages.size(); i++) {
    const Message& m = side.messages[i];
    o << "      {" << quote(m.name) << ", " << quote(signatureOf(iface_, m)) << ", " << i << ", "
      << hex(m.tableFlags) << "},\n";
  }
  o << "  };\n";
}

void SideEmitter::sendStub(std::ostream& o, const Message& m) const {
  std::string p = params(m);
  o << "\nbool " << cls_ << "::send_" << m.name << "(" << p << (p.empty() ? "" : ", ")
    << "RetryHandler* stp_handler, TStat* stp_status) {\n"
    << "  STPStubCall stp_call(this, stp_handler, stp_status);\n";
  for (const Field& f : m.replies) o << "  stp_clear(" << f.name << ");\n";
  std::string knows = iface_.binary ? "stp_call.peerKnows(" + quote(m.name) + ")" : "true";
  o << "  if (!stp_call.canSend(" << (m.wantsReply() ? "true" : "false") << ", " << knows
    << ")) return false;\n";
  logBlock(o, "this", "STP_LOG_SEND", m, m.args, "");
  const char* create = iface_.binary ? "createBinary" : "createAscii";
  o << "  " << (m.args.empty() ? "" : "auto* stp_m = ") << "stp_call." << create << "("
    << quote(m.name) << ", " << m.sendFlags << ");\n";
  for (const Field& f : m.args) o << "  " << put("stp_m", f, f.name) << "\n";
  if (!m.wantsReply()) {
    o << "  return stp_call.sendOneWay(stp_synchronous);\n}\n";
    return;
  }
  o << "  auto* stp_r = stp_call." << (iface_.binary ? "callBinary" : "callAscii") << "();\n"
    << "  if (!stp_r) return false;\n";
  for (const Field& f : m.replies) {
    o << "  " << TypeText(iface_, f).local() << " stp_v_" << f.name << "{};\n"
      << "  " << get("stp_r", f, "stp_v_" + f.name, "this") << "\n";
  }
  logBlock(o, "this", "STP_LOG_RECV", m, m.replies, "stp_v_");
  for (const Field& f : m.replies) o << "  stp_take(" << f.name << ", stp_v_" << f.name << ");\n";
  o << "  return stp_call.ok();\n}\n";
}

void SideEmitter::parseFunction(std::ostream& o, const Message& m) const {
  const char* in = iface_.binary ? "STPBinaryIMsg" : "STPAsciiIMsg";
  const char* out = iface_.binary ? "STPBinaryOMsg" : "STPAsciiOMsg";
  o << "\nvoid parse_" << m.name << "(" << cls_ << "* self, " << in << "* in, " << out
    << "* reply) {\n";
  if (m.args.empty()) o << "  (void)in;\n";
  if (m.replies.empty() && !m.wantsReply()) o << "  (void)reply;\n";
  for (const Field& f : m.args)
    o << "  " << TypeText(iface_, f).local() << " " << f.name << "{};\n"
      << "  " << get("in", f, f.name, "self") << "\n";
  logBlock(o, "self", "STP_LOG_RECV", m, m.args, "");
  for (const Field& f : m.replies) o << "  " << TypeText(iface_, f).local() << " " << f.name << "{};\n";
  o << "  self->msg_" << m.name << "(";
  std::string sep;
  for (const Field& f : m.args) {
    o << sep << TypeText(iface_, f).passIn(f.name);
    sep = ", ";
  }
  for (const Field& f : m.replies) {
    o << sep << TypeText(iface_, f).passOut(f.name);
    sep = ", ";
  }
  o << ");\n";
  if (!m.wantsReply()) {
    o << "}\n";
    return;
  }
  o << "  if (!reply) return;\n";
  for (const Field& f : m.replies) o << "  " << put("reply", f, f.name) << "\n";
  logBlock(o, "self", "STP_LOG_REPLY", m, m.replies, "");
  o << "}\n";
}

void SideEmitter::dispatcher(std::ostream& o) const {
  if (iface_.binary) {
    o << "\nvoid " << cls_
      << "::handleBinaryMessage(STPBinaryIMsg* in, STPBinaryOMsg* reply, int32_t messageId) {\n";
  } else {
    o << "\nvoid " << cls_
      << "::handleAsciiMessage(STPAsciiIMsg* in, STPAsciiOMsg* reply, int32_t messageId) {\n"
      << "  size_t length = 0;\n"
      << "  const char* name = stp_leading_name(in, &length);\n"
      << "  if (messageId == -1) messageId = getMessageId(name, length);\n";
  }
  o << "  switch (messageId) {\n";
  for (const Message& m : side_.messages)
    o << "    case kMsg_" << m.name << ": parse_" << m.name << "(this, in, reply); break;\n";
  o << "    default: (void)in; (void)reply; break;  // not one of ours: ignored\n  }\n}\n";
}

std::string SideEmitter::source(const std::string& source, const std::string& includeDir) {
  std::ostringstream o;
  o << "// Generated by stpgen from " << source << "; edit the description, not this file.\n"
    << "#include \"" << (includeDir.empty() ? "" : includeDir + "/") << cls_ << ".h\"\n\n"
    << "namespace {\n\nSTPInterfaceDesc describe() {\n  STPInterfaceDesc d;\n"
    << "  d.interfaceName = " << quote(iface_.name) << ";\n"
    << "  d.sideName = " << quote(side_.name) << ";\n"
    << "  d.flags = " << hex(side_.flags) << ";\n  d.tagNames = {";
  std::string sep;
  for (const std::string& t : iface_.tagNames()) {
    o << sep << quote(t);
    sep = ", ";
  }
  o << "};\n";
  table(o, "own", side_);
  table(o, "sendable", peer_);
  o << "  return d;\n}\n";
  for (const Message& m : side_.messages) parseFunction(o, m);
  o << "\n}  // namespace\n\n" << cls_ << "::" << cls_ << "() : STPSpecClass(describe()) {}\n";
  for (const Message& m : peer_.messages) sendStub(o, m);
  dispatcher(o);
  for (const Message& m : side_.messages)
    o << "\nvoid " << cls_ << "::msg_" << m.name << "(" << handlerParams(m, false) << ") {}\n";
  return o.str();
}

}  // namespace

std::string className(const Interface& iface, const Side& side) {
  return iface.name + "_" + side.name + "_Impl";
}

std::string emitHeader(const Interface& iface, const Side& side, const std::string& source) {
  return SideEmitter(iface, side).header(source);
}

std::string emitSource(const Interface& iface, const Side& side, const std::string& source,
                       const std::string& includeDir) {
  return SideEmitter(iface, side).source(source, includeDir);
}

}  // namespace stpgen
