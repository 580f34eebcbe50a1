// Editing a single line of bytes by characters, and completing file names
// against one directory listing.
#include "gui/widgets/text_field_model.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cctype>
#include <cstdlib>
#include <memory>
#include <vector>

size_t tf_charLength(std::string_view s, size_t pos) {
  if (pos >= s.size()) return 0;
  unsigned char c = static_cast<unsigned char>(s[pos]);
  size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
  if (n == 0 || (n == 2 && c < 0xC2) || (n == 4 && c > 0xF4)) return 1;
  if (pos + n > s.size()) return 1;
  for (size_t i = 1; i < n; i++)
    if ((static_cast<unsigned char>(s[pos + i]) & 0xC0) != 0x80) return 1;
  return n;
}

std::string tf_displayable(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size();) {
    size_t n = tf_charLength(s, i);
    bool valid = n > 1 || static_cast<unsigned char>(s[i]) < 0x80;
    if (valid) out.append(s.substr(i, n));
    else out.append("\xEF\xBF\xBD");
    i += n;
  }
  return out;
}

std::string tf_trimSpaces(std::string_view s) {
  size_t b = s.find_first_not_of(" \t");
  if (b == std::string_view::npos) return "";
  size_t e = s.find_last_not_of(" \t");
  return std::string(s.substr(b, e - b + 1));
}

std::string tf_oneLine(std::string_view s) {
  std::string out;
  for (char c : s.substr(0, s.find_first_of("\r\n"))) {
    unsigned char u = static_cast<unsigned char>(c);
    if (u >= 0x20 && u != 0x7F) out += c;
    else if (c == '\t') out += ' ';
  }
  return out;
}

// ---- TextFieldModel ---------------------------------------------------------

std::string TextFieldModel::selectedText() const {
  return text_.substr(selectionStart(), selectionEnd() - selectionStart());
}

void TextFieldModel::setText(std::string_view text) {
  text_ = text;
  caret_ = anchor_ = text_.size();
}

void TextFieldModel::insert(std::string_view text) {
  deleteSelection();
  text_.insert(caret_, text);
  caret_ += text.size();
  anchor_ = caret_;
}

bool TextFieldModel::deleteSelection() {
  if (!hasSelection()) return false;
  size_t b = selectionStart();
  text_.erase(b, selectionEnd() - b);
  caret_ = anchor_ = b;
  return true;
}

bool TextFieldModel::deleteBackward() {
  if (deleteSelection()) return true;
  if (caret_ == 0) return false;
  size_t b = previousBoundary(caret_);
  text_.erase(b, caret_ - b);
  caret_ = anchor_ = b;
  return true;
}

bool TextFieldModel::deleteForward() {
  if (deleteSelection()) return true;
  if (caret_ >= text_.size()) return false;
  text_.erase(caret_, tf_charLength(text_, caret_));
  return true;
}

size_t TextFieldModel::snap(size_t pos) const {
  if (pos >= text_.size()) return text_.size();
  size_t at = 0;
  while (at < text_.size()) {
    size_t next = at + tf_charLength(text_, at);
    if (next > pos) return at;
    at = next;
  }
  return text_.size();
}

size_t TextFieldModel::previousBoundary(size_t pos) const {
  if (pos == 0) return 0;
  // A valid sequence is at most four bytes back (its lead byte is always a
  // boundary); otherwise the byte alone.
  for (size_t back = 4; back >= 1; back--)
    if (back <= pos && tf_charLength(text_, pos - back) == back) return pos - back;
  return pos - 1;
}

size_t TextFieldModel::nextBoundary(size_t pos) const {
  return pos >= text_.size() ? text_.size() : pos + tf_charLength(text_, pos);
}

void TextFieldModel::moveTo(size_t pos, bool extend) {
  caret_ = snap(pos);
  if (!extend) anchor_ = caret_;
}

void TextFieldModel::moveLeft(bool extend) {
  if (hasSelection() && !extend) return moveTo(selectionStart(), false);
  moveTo(previousBoundary(caret_), extend);
}

void TextFieldModel::moveRight(bool extend) {
  if (hasSelection() && !extend) return moveTo(selectionEnd(), false);
  moveTo(nextBoundary(caret_), extend);
}

void TextFieldModel::select(size_t anchor, size_t caret) {
  anchor_ = snap(anchor);
  caret_ = snap(caret);
}

namespace {
bool isWordByte(char c) {
  unsigned char u = static_cast<unsigned char>(c);
  return u >= 0x80 || isalnum(u) || c == '_' || c == '.' || c == '-';
}
}  // namespace

void TextFieldModel::selectWordAt(size_t pos) {
  pos = snap(pos);
  size_t b = pos, e = pos;
  while (b > 0 && isWordByte(text_[b - 1])) b--;
  while (e < text_.size() && isWordByte(text_[e])) e++;
  select(b, e);
}

// ---- file-name completion ---------------------------------------------------

namespace {

// The directory to list for the typed directory part ("" is the current one).
std::string lookupDirectory(const std::string& dirPart) {
  if (dirPart.empty()) return ".";
  if (dirPart[0] == '~' && (dirPart.size() == 1 || dirPart[1] == '/')) {
    const char* home = getenv("HOME");
    return std::string(home ? home : "") + dirPart.substr(1);
  }
  return dirPart;
}

struct DirCloser {
  void operator()(DIR* d) const { closedir(d); }
};

// Entries of `dir` beginning with `prefix`; false when the directory cannot
// be read or holds more than `maxEntries` entries.
bool matchingEntries(const std::string& dir, const std::string& prefix, size_t maxEntries,
                     std::vector<std::string>* out) {
  std::unique_ptr<DIR, DirCloser> d(opendir(dir.c_str()));
  if (!d) return false;
  bool dots = !prefix.empty() && prefix[0] == '.';
  size_t seen = 0;
  while (dirent* e = readdir(d.get())) {
    if (++seen > maxEntries) return false;
    std::string_view name = e->d_name;
    if (name == "." || name == ".." || (name[0] == '.' && !dots)) continue;
    if (name.substr(0, prefix.size()) == prefix) out->emplace_back(name);
  }
  return true;
}

bool isDirectory(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

std::string tf_completeFileName(const std::string& typed, size_t maxEntries) {
  size_t slash = typed.rfind('/');
  std::string dirPart = slash == std::string::npos ? "" : typed.substr(0, slash + 1);
  std::string base = typed.substr(dirPart.size());
  if (dirPart.empty() && base == "~") return "";
  std::string dir = lookupDirectory(dirPart);
  std::vector<std::string> matches;
  if (!matchingEntries(dir, base, maxEntries, &matches) || matches.empty()) return "";
  std::string common = matches[0];
  for (const std::string& m : matches) {
    size_t n = 0;
    while (n < common.size() && n < m.size() && common[n] == m[n]) n++;
    common.resize(n);
  }
  // A shared prefix never ends inside a character.
  const std::string& first = matches[0];
  while (common.size() > base.size() && common.size() < first.size() &&
         (static_cast<unsigned char>(first[common.size()]) & 0xC0) == 0x80)
    common.pop_back();
  std::string addition = common.substr(base.size());
  if (matches.size() == 1 && isDirectory((dirPart.empty() ? std::string("./") : dir) + common))
    addition += '/';
  return addition;
}
