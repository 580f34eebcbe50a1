// Reading an interface description into the model, with every mistake
// reported at its file and line, and the checks that keep the generated
// code compilable (identifiers, unique names, consistent flags).
#include "tools/stpgen/description.h"

#include <algorithm>
#include <set>
#include <sstream>

namespace stpgen {
namespace {

struct BuiltinType {
  const char* word;
  FieldType type;
  const char* signature;
};

const BuiltinType kBuiltins[] = {
    {"str", FieldType::Str, "%str%"},
    {"fn", FieldType::Fn, "%fn%"},
    {"num", FieldType::Num, "%num%"},
    {"u1", FieldType::U1, "%u1%"},
    {"u4", FieldType::U4, "%u4%"},
    {"strlist", FieldType::StrList, "{count:%u4% data:*(count)[%str%] }"},
    {"u4array", FieldType::U4Array, "%dar%(count, %u4%)"},
};

// Words that cannot name a generated parameter or function.
const char* const kReserved[] = {
    "alignas", "alignof", "and", "asm", "auto", "bool", "break", "case", "catch", "char",
    "class", "const", "continue", "default", "delete", "do", "double", "else", "enum",
    "explicit", "export", "extern", "false", "float", "for", "friend", "goto", "if",
    "inline", "int", "long", "namespace", "new", "not", "nullptr", "operator", "or",
    "private", "protected", "public", "register", "return", "short", "signed", "sizeof",
    "static", "struct", "switch", "template", "this", "throw", "true", "try", "typedef",
    "typename", "union", "unsigned", "using", "virtual", "void", "volatile", "while",
    "in", "reply", "self"};

bool isIdentifier(const std::string& s) {
  if (s.empty() || !(isalpha(static_cast<unsigned char>(s[0])) || s[0] == '_')) return false;
  return std::all_of(s.begin(), s.end(),
                     [](char c) { return isalnum(static_cast<unsigned char>(c)) || c == '_'; });
}

class Parser {
 public:
  Parser(const std::string& path, Interface* out) : path_(path), out_(out) {}

  bool run(const std::string& text, std::string* error) {
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
      line_++;
      if (!parseLine(line)) break;
    }
    if (error_.empty()) finish();
    if (error_.empty()) return true;
    *error = error_;
    return false;
  }

 private:
  bool fail(const std::string& what) {
    error_ = path_ + ":" + std::to_string(line_) + ": error: " + what;
    return false;
  }

  static std::vector<std::string> split(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    return words;
  }

  bool number(const std::string& word, uint32_t* value) {
    char* end = nullptr;
    errno = 0;
    unsigned long long v = strtoull(word.c_str(), &end, 0);
    if (word.empty() || word[0] == '-' || *end || errno || v > 0xFFFFFFFFull)
      return fail("'" + word + "' is not a 32-bit number");
    *value = static_cast<uint32_t>(v);
    return true;
  }

  bool name(const std::string& word, const char* what) {
    if (!isIdentifier(word)) return fail("'" + word + "' cannot name " + what);
    for (const char* r : kReserved)
      if (word == r) return fail("'" + word + "' is a reserved word and cannot name " + what);
    if (word.rfind("stp_", 0) == 0) return fail("names beginning with stp_ are reserved");
    return true;
  }

  // keyword value pairs after the first words: "local 1 remote 2 ..."
  bool pairs(const std::vector<std::string>& w, size_t from,
             const std::vector<std::pair<const char*, uint32_t*>>& keys) {
    std::set<std::string> seen;
    for (size_t i = from; i < w.size(); i += 2) {
      auto k = std::find_if(keys.begin(), keys.end(), [&](auto& p) { return w[i] == p.first; });
      if (k == keys.end()) return fail("unexpected '" + w[i] + "'");
      if (i + 1 >= w.size()) return fail("'" + w[i] + "' needs a value");
      if (!number(w[i + 1], k->second)) return false;
      seen.insert(w[i]);
    }
    for (auto& k : keys)
      if (!seen.count(k.first)) return fail(std::string("missing '") + k.first + "'");
    return true;
  }

  bool parseLine(const std::string& line) {
    std::vector<std::string> w = split(line);
    if (w.empty() || w[0][0] == '#') return true;
    if (w[0] == "interface") return parseInterface(w);
    if (out_->name.empty()) return fail("the description must begin with 'interface'");
    if (w[0] == "type") return parseType(line, w);
    if (w[0] == "side") return parseSide(w);
    if (w[0] == "message") return parseMessage(w);
    if (w[0] == "reply" || w[0].find(':') != std::string::npos) return parseFields(w);
    return fail("unknown keyword '" + w[0] + "'");
  }

  bool parseInterface(const std::vector<std::string>& w) {
    if (!out_->name.empty()) return fail("a second 'interface' line");
    if (w.size() != 3 || (w[2] != "text" && w[2] != "binary"))
      return fail("expected 'interface <Name> text|binary'");
    if (!name(w[1], "an interface")) return false;
    out_->name = w[1];
    interfaceLine_ = line_;
    out_->binary = w[2] == "binary";
    return true;
  }

  bool parseType(const std::string& line, const std::vector<std::string>& w) {
    if (out_->binary) return fail("hand-written types are for text interfaces only");
    if (!out_->sides.empty()) return fail("types are declared before the first side");
    if (w.size() < 10 || w[2] != "header" || w[4] != "put" || w[6] != "get" || w[8] != "sig")
      return fail("expected 'type <Name> header <file> put <function> get <function> sig <text>'");
    if (!name(w[1], "a type") || !name(w[5], "a function") || !name(w[7], "a function"))
      return false;
    if (typeIndex(w[1]) >= 0 || builtin(w[1])) return fail("type '" + w[1] + "' is already known");
    CustomType t{w[1], w[3], w[5], w[7], line.substr(line.find(" sig ") + 5)};
    t.signature.erase(0, t.signature.find_first_not_of(" \t"));
    out_->types.push_back(t);
    return true;
  }

  bool parseSide(const std::vector<std::string>& w) {
    if (w.size() < 2) return fail("expected 'side <name> local <RN> remote <RN> flags <n>'");
    if (!name(w[1], "a side")) return false;
    for (const Side& s : out_->sides)
      if (s.name == w[1]) return fail("side '" + w[1] + "' appears twice");
    if (out_->sides.size() == 2) return fail("an interface has two sides");
    Side side;
    side.name = w[1];
    if (!pairs(w, 2, {{"local", &side.localRN}, {"remote", &side.remoteRN}, {"flags", &side.flags}}))
      return false;
    out_->sides.push_back(side);
    return true;
  }

  bool parseMessage(const std::vector<std::string>& w) {
    if (out_->sides.empty()) return fail("a message outside a side");
    if (w.size() < 2) return fail("a message needs a name");
    if (!name(w[1], "a message")) return false;
    Side& side = out_->sides.back();
    for (const Message& m : side.messages)
      if (m.name == w[1]) return fail("message '" + w[1] + "' appears twice in side '" + side.name + "'");
    Message m;
    m.name = w[1];
    if (!pairs(w, 2, {{"table", &m.tableFlags}, {"send", &m.sendFlags}})) return false;
    uint32_t kind = m.tableFlags & 3;
    if (kind != 1 && kind != 2) return fail("table flags must have exactly one of 1 (call) and 2 (one-way)");
    if ((m.sendFlags & 3) != kind) return fail("send flags and table flags disagree on call or one-way");
    side.messages.push_back(m);
    return true;
  }

  // "[reply] name:type name:type ..."
  bool parseFields(const std::vector<std::string>& words) {
    bool reply = words[0] == "reply";
    if (reply && words.size() == 1) return fail("'reply' needs fields");
    if (out_->sides.empty() || out_->sides.back().messages.empty())
      return fail("a field outside a message");
    Message& m = out_->sides.back().messages.back();
    if (reply && !m.wantsReply()) return fail("a reply field in the one-way message '" + m.name + "'");
    for (size_t i = reply ? 1 : 0; i < words.size(); i++)
      if (!parseField(words[i], &m, reply)) return false;
    return true;
  }

  bool parseField(const std::string& word, Message* m, bool reply) {
    size_t colon = word.find(':');
    if (colon == std::string::npos) return fail("expected <field>:<type>, got '" + word + "'");
    Field f;
    f.name = word.substr(0, colon);
    std::string type = word.substr(colon + 1);
    if (!name(f.name, "a field")) return false;
    for (const auto* list : {&m->args, &m->replies})
      for (const Field& g : *list)
        if (g.name == f.name) return fail("field '" + f.name + "' appears twice in '" + m->name + "'");
    if (const BuiltinType* b = builtin(type)) {
      f.type = b->type;
    } else if ((f.custom = typeIndex(type)) >= 0) {
      f.type = FieldType::Custom;
    } else {
      return fail("unknown type '" + type + "'");
    }
    (reply ? m->replies : m->args).push_back(f);
    return true;
  }

  void finish() {
    line_ = std::max(interfaceLine_, 1);
    if (out_->name.empty()) {
      fail("no 'interface' line");
      return;
    }
    if (out_->sides.size() != 2) {
      fail("an interface has two sides, found " + std::to_string(out_->sides.size()));
      return;
    }
    for (Side& s : out_->sides)
      std::sort(s.messages.begin(), s.messages.end(),
                [](const Message& a, const Message& b) { return a.name < b.name; });
  }

  static const BuiltinType* builtin(const std::string& word) {
    for (const BuiltinType& b : kBuiltins)
      if (word == b.word) return &b;
    return nullptr;
  }
  int typeIndex(const std::string& word) const {
    for (size_t i = 0; i < out_->types.size(); i++)
      if (out_->types[i].name == word) return static_cast<int>(i);
    return -1;
  }

  std::string path_;
  Interface* out_;
  int line_ = 0;
  int interfaceLine_ = 0;
  std::string error_;
};

const char* builtinSignature(FieldType type) {
  for (const BuiltinType& b : kBuiltins)
    if (b.type == type) return b.signature;
  return "";
}

}  // namespace

bool parseDescription(const std::string& path, const std::string& text, Interface* out,
                      std::string* error) {
  *out = Interface();
  return Parser(path, out).run(text, error);
}

std::vector<std::string> Interface::tagNames() const {
  std::set<std::string> names;
  if (!binary) return {};
  for (const Side& s : sides)
    for (const Message& m : s.messages)
      for (const auto* list : {&m.args, &m.replies})
        for (const Field& f : *list) {
          names.insert(f.name);
          if (f.type == FieldType::StrList) names.insert({"count", "data"});
        }
  return {names.begin(), names.end()};
}

const Side& Interface::peerOf(const Side& side) const {
  return &side == &sides[0] ? sides[1] : sides[0];
}

std::string signatureOf(const Interface& iface, const Message& message) {
  std::string sig;
  auto add = [&](const Field& f) {
    if (!sig.empty() && sig.back() != ' ') sig += ' ';
    sig += f.name + ":";
    sig += f.type == FieldType::Custom ? iface.types[f.custom].signature : builtinSignature(f.type);
  };
  for (const Field& f : message.args) add(f);
  if (!message.replies.empty()) sig += sig.empty() ? "| " : " | ";
  for (const Field& f : message.replies) add(f);
  return sig;
}

}  // namespace stpgen
