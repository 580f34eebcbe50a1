// Reads the options-file format into a tree.  A cursor walks the text once;
// a stack of open blocks gives the node that a new line starts in, and the
// current node follows dotted paths until the line ends.  Errors are
// reported with file and line; compatibility mode skips the rest of the line.
#include "libs/libcxxutil/options_reader.h"

#include <cstdint>
#include <string>
#include <vector>

#include "base/gen.h"

namespace {

bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v';
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Shows a byte of an operator in a message; control bytes become "?".
char printable(char c) {
  unsigned char u = static_cast<unsigned char>(c);
  return (u < 0x20 || u == 0x7f) ? '?' : c;
}

bool boolWord(const std::string& word, bool* value) {
  static const char* const onWords[] = {"true", "yes", "on"};
  static const char* const offWords[] = {"false", "no", "off"};
  for (const char* w : onWords) {
    if (!gen_strequal(word.c_str(), w)) continue;
    *value = true;
    return true;
  }
  for (const char* w : offWords) {
    if (!gen_strequal(word.c_str(), w)) continue;
    *value = false;
    return true;
  }
  return false;
}

int digitValue(char c, int base) {
  int d = -1;
  if (isDigit(c)) d = c - '0';
  else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
  else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
  return d < base ? d : -1;
}

ut_list_item itemOf(const ut_options_attribute& a) {
  if (a.kind == ut_value_kind::string) return ut_list_item::of_string(a.text);
  return ut_list_item::of_int(a.number);
}

// Nesting deeper than this is no options file but an attack on the stack
// of whoever walks the tree; the reader refuses it.
constexpr size_t kMaxDepth = 200;

class Reader {
 public:
  Reader(std::string_view text, const char* source,
         const ut_reader_settings& settings, ut_options_node* root)
      : text_(text), source_(source ? source : "options"), settings_(settings),
        blocks_{{root, 0}}, current_(root) {}

  ut_reader_result run();

 private:
  bool atEnd() const { return pos_ >= text_.size(); }
  char peek(size_t ahead = 0) const {
    return pos_ + ahead < text_.size() ? text_[pos_ + ahead] : '\0';
  }
  bool atComment() const {
    return !atEnd() && (peek() == '#' || (peek() == '/' && peek(1) == '/'));
  }
  bool atLineEnd() const { return atEnd() || peek() == '\n' || atComment(); }
  void skipBlanks() {
    while (!atEnd() && isBlank(peek())) pos_++;
  }
  void skipToLineEnd() {
    while (!atEnd() && peek() != '\n') pos_++;
  }

  bool fail(const std::string& message);
  bool failEndOfInput();
  bool statement();
  bool closeBlock();
  // The node one level down is made only when that level is allowed.
  bool roomBelow();
  void openBlock(ut_options_node* node);
  void descend(ut_options_node* node);
  void backToBlock() {
    current_ = blocks_.back().node;
    depth_ = blocks_.back().depth;
  }
  bool assign(const std::string& name, bool append);
  bool endOfStatement();
  bool parseName(std::string& out);
  bool parseString(std::string& out, bool expand);
  bool expandInString(std::string& out);
  bool parseValue(ut_options_attribute& out);
  bool parseScalar(ut_options_attribute& out);
  bool parseWordValue(const std::string& word, bool negative,
                      ut_options_attribute& out);
  bool parseInteger(const std::string& word, bool negative, int32_t* out);
  bool parseList(std::vector<ut_list_item>& out);
  void skipListSpace();
  std::string readWord();
  const ut_options_database::macro* findMacro(const std::string& name) const;

  std::string_view text_;
  const char* source_;
  const ut_reader_settings& settings_;
  size_t pos_ = 0;
  int line_ = 1;
  int errors_ = 0;
  struct OpenBlock {
    ut_options_node* node;
    size_t depth;  // the root is 0
  };
  std::vector<OpenBlock> blocks_;  // the open blocks, root first
  ut_options_node* current_;       // where the next name applies
  size_t depth_ = 0;               // current_'s depth
};

ut_reader_result Reader::run() {
  for (;;) {
    skipBlanks();
    if (atEnd()) break;
    char c = peek();
    if (c == '\n') {
      pos_++;
      line_++;
      backToBlock();
      continue;
    }
    if (c == ';') {
      pos_++;
      continue;
    }
    if (atComment()) {
      skipToLineEnd();
      continue;
    }
    bool ok = true;
    if (c == '}') {
      ok = closeBlock();
    } else if (c == '{') {
      pos_++;
      ok = roomBelow();
      if (ok) openBlock(current_->add_child(""));
    } else {
      ok = statement();
    }
    if (ok) continue;
    if (!settings_.compatibility) return {false, errors_};
    skipToLineEnd();
    backToBlock();
  }
  if (blocks_.size() > 1) {
    if (!text_.empty() && text_.back() == '\n' && line_ > 1) line_--;
    fail("expected '}'");
    return {settings_.compatibility, errors_};
  }
  return {true, errors_};
}

bool Reader::fail(const std::string& message) {
  errors_++;
  gen_error("%s:%d: parse error: %s", source_, line_, message.c_str());
  return false;
}

// Where a statement cannot end: at the end of the text or of the line.
bool Reader::failEndOfInput() {
  return fail(atEnd() ? "unexpected end of file" : "unexpected end of line");
}

bool Reader::roomBelow() {
  if (depth_ < kMaxDepth) return true;
  return fail("nested deeper than " + std::to_string(kMaxDepth) + " levels");
}

// Makes `node`, one level below the current one, the place the next name
// applies.
void Reader::descend(ut_options_node* node) {
  current_ = node;
  depth_++;
}

void Reader::openBlock(ut_options_node* node) {
  descend(node);
  blocks_.push_back({node, depth_});
}

bool Reader::closeBlock() {
  if (blocks_.size() == 1) return fail("unmatched '}'");
  pos_++;
  blocks_.pop_back();
  backToBlock();
  return true;
}

bool Reader::statement() {
  std::string name;
  for (;;) {
    if (!parseName(name)) return false;
    if (name.empty()) return fail("empty attribute name");
    skipBlanks();
    if (atLineEnd() || peek() == ';') return failEndOfInput();
    char c = peek();
    if (c == '.') {
      pos_++;
      if (!roomBelow()) return false;
      descend(current_->find_or_add_child(name));
      skipBlanks();
      if (atLineEnd() || peek() == ';') return failEndOfInput();
      continue;
    }
    if (c == '{') {
      pos_++;
      if (!roomBelow()) return false;
      openBlock(current_->find_or_add_child(name));
      return true;
    }
    if (c == '=') {
      pos_++;
      return assign(name, false);
    }
    if (c == '+' && peek(1) == '=') {
      pos_ += 2;
      return assign(name, true);
    }
    std::string op = "unknown operator sequence \"";
    op += printable(c);
    op += printable(peek(1));
    return fail(op + "\" ");
  }
}

bool Reader::assign(const std::string& name, bool append) {
  ut_options_attribute value;
  if (!parseValue(value) || !endOfStatement()) return false;
  value.name = name;
  if (!append) {
    current_->set_attribute(std::move(value));
  } else if (value.kind == ut_value_kind::list) {
    for (const auto& item : value.items) current_->append_to_list(name, item);
  } else {
    current_->append_to_list(name, itemOf(value));
  }
  return true;
}

bool Reader::endOfStatement() {
  skipBlanks();
  if (atLineEnd() || peek() == ';' || peek() == '}') return true;
  return fail("unexpected text after value");
}

bool Reader::parseName(std::string& out) {
  skipBlanks();
  out.clear();
  if (!atEnd() && peek() == '"') return parseString(out, false);
  while (!atEnd() && ut_is_name_char(peek())) out += text_[pos_++];
  return true;
}

bool Reader::parseString(std::string& out, bool expand) {
  pos_++;  // the opening quote
  for (;;) {
    if (atEnd()) return fail("unexpected end of file");
    char c = peek();
    if (c == '\n') return fail("unexpected end of line");
    if (c == '"') {
      pos_++;
      return true;
    }
    if (c == '\\') {
      pos_++;
      if (atEnd()) return fail("unexpected end of file");
      char e = peek();
      if (e == '\n') return fail("unexpected end of line");
      out += e == 'n' ? '\n' : e == 't' ? '\t' : e;
      pos_++;
      continue;
    }
    if (expand && c == '$' && (peek(1) == '(' || peek(1) == '{')) {
      if (!expandInString(out)) return false;
      continue;
    }
    out += c;
    pos_++;
  }
}

// At "$(" or "${" inside a string: appends the macro's text.  Without a
// closing bracket on the line the "$" is kept as it stands.
bool Reader::expandInString(std::string& out) {
  char close = peek(1) == '(' ? ')' : '}';
  size_t end = pos_ + 2;
  while (end < text_.size() && text_[end] != close && text_[end] != '"' &&
         text_[end] != '\n') {
    end++;
  }
  if (end >= text_.size() || text_[end] != close) {
    out += '$';
    pos_++;
    return true;
  }
  std::string name(text_.substr(pos_ + 2, end - pos_ - 2));
  const ut_options_database::macro* m = findMacro(name);
  if (!m) return fail("macro not defined(" + name + ") ...");
  out += m->text;
  pos_ = end + 1;
  return true;
}

bool Reader::parseValue(ut_options_attribute& out) {
  skipBlanks();
  if (atEnd()) return fail("unexpected end of file");
  if (atLineEnd() || peek() == ';' || peek() == '}') {
    return fail("empty attribute value");
  }
  if (peek() == '"') {
    out.kind = ut_value_kind::string;
    return parseString(out.text, true);
  }
  if (peek() == '{') {
    if (!settings_.allow_lists) return fail("lists are not allowed here");
    out.kind = ut_value_kind::list;
    return parseList(out.items);
  }
  return parseScalar(out);
}

// An integer, boolean word or macro, possibly after a separate minus sign.
bool Reader::parseScalar(ut_options_attribute& out) {
  bool negative = false;
  if (peek() == '-') {
    negative = true;
    pos_++;
    skipBlanks();
  }
  std::string word = readWord();
  if (word.empty()) {
    if (atEnd()) return fail("unexpected end of file");
    return fail("empty attribute value");
  }
  return parseWordValue(word, negative, out);
}

bool Reader::parseWordValue(const std::string& word, bool negative,
                            ut_options_attribute& out) {
  bool flag = false;
  if (!negative && boolWord(word, &flag)) {
    out.kind = ut_value_kind::boolean;
    out.number = flag ? 1 : 0;
    return true;
  }
  if (isDigit(word[0])) {
    out.kind = ut_value_kind::integer;
    return parseInteger(word, negative, &out.number);
  }
  std::string name = word;
  if (word.size() > 3 && word[0] == '$' &&
      ((word[1] == '(' && word.back() == ')') ||
       (word[1] == '{' && word.back() == '}'))) {
    name = word.substr(2, word.size() - 3);
  }
  for (char c : name) {
    if (!ut_is_name_char(c)) return fail("invalid value \"" + word + "\"");
  }
  const ut_options_database::macro* m = findMacro(name);
  if (!m) return fail("macro not defined(" + name + ") ...");
  if (m->is_int) {
    out.kind = ut_value_kind::integer;
    out.number = negative ? static_cast<int32_t>(0u - static_cast<uint32_t>(m->number))
                          : m->number;
    return true;
  }
  if (negative) return fail("invalid value \"-" + word + "\"");
  out.kind = ut_value_kind::string;
  out.text = m->text;
  return true;
}

// Decimal values must fit a signed 32-bit integer; hexadecimal and octal
// ones may use all 32 bits (0xffffffff reads as -1).
bool Reader::parseInteger(const std::string& word, bool negative, int32_t* out) {
  size_t i = 0;
  int base = 10;
  if (word.size() > 1 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X')) {
    base = 16;
    i = 2;
  } else if (word.size() > 1 && word[0] == '0' && isDigit(word[1])) {
    base = 8;
    i = 1;
  }
  size_t first = i;
  uint64_t value = 0;
  for (; i < word.size() && digitValue(word[i], base) >= 0; i++) {
    value = value * base + digitValue(word[i], base);
    if (value > 0xffffffffull) value = 0x100000000ull;  // saturate
  }
  if (settings_.memory_size && i > first && i + 1 == word.size()) {
    char suffix = word[i];
    uint64_t scale = (suffix == 'k' || suffix == 'K')   ? 1024
                     : (suffix == 'm' || suffix == 'M') ? 1048576
                                                        : 0;
    if (scale) {
      value *= scale;
      i++;
    }
  }
  if (i == first || i != word.size()) return fail("invalid value \"" + word + "\"");
  uint64_t limit = base == 10 ? (negative ? 0x80000000ull : 0x7fffffffull)
                              : 0xffffffffull;
  if (value > limit) return fail("integer out of range \"" + word + "\"");
  uint32_t bits = static_cast<uint32_t>(value);
  if (negative) bits = 0u - bits;
  *out = static_cast<int32_t>(bits);
  return true;
}

bool Reader::parseList(std::vector<ut_list_item>& out) {
  pos_++;  // the opening brace
  for (;;) {
    skipListSpace();
    if (atEnd()) return fail("unexpected end of file");
    if (peek() == '}') {
      pos_++;
      return true;
    }
    ut_options_attribute item;
    if (peek() == '"') {
      item.kind = ut_value_kind::string;
      if (!parseString(item.text, true)) return false;
    } else if (peek() == ',' || peek() == '{' || peek() == ';') {
      return fail("empty attribute value");
    } else if (!parseScalar(item)) {
      return false;
    }
    out.push_back(itemOf(item));
    skipListSpace();
    if (atEnd()) return fail("unexpected end of file");
    if (peek() == ',') {
      pos_++;
      continue;
    }
    if (peek() != '}') return fail("expected '}'");
  }
}

// Inside a list, line ends and comments count as blanks.
void Reader::skipListSpace() {
  for (;;) {
    skipBlanks();
    if (atComment()) skipToLineEnd();
    if (atEnd() || peek() != '\n') return;
    pos_++;
    line_++;
  }
}

// A bare value runs to a blank, a line end, a comment or a delimiter;
// "${NAME}" is taken whole.
std::string Reader::readWord() {
  std::string word;
  if (peek() == '$' && peek(1) == '{') {
    size_t end = text_.find('}', pos_);
    size_t eol = text_.find('\n', pos_);
    if (end != std::string_view::npos && end < eol) {
      word = std::string(text_.substr(pos_, end + 1 - pos_));
      pos_ = end + 1;
      return word;
    }
  }
  while (!atEnd()) {
    char c = peek();
    if (isBlank(c) || c == '\n' || c == ';' || c == ',' || c == '{' ||
        c == '}' || c == '"' || atComment()) {
      break;
    }
    word += c;
    pos_++;
  }
  return word;
}

const ut_options_database::macro* Reader::findMacro(const std::string& name) const {
  if (!settings_.macros) return nullptr;
  auto it = settings_.macros->find(name);
  return it == settings_.macros->end() ? nullptr : &it->second;
}

}  // namespace

bool ut_is_name_char(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || isDigit(c) ||
         c == '_';
}

ut_reader_result ut_read_options(std::string_view text, const char* source,
                                 const ut_reader_settings& settings,
                                 ut_options_node* root) {
  Reader reader(text, source, settings, root);
  return reader.run();
}
