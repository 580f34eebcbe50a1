// The log's bytes.  A log reads
//   KVC log 1\n  head N\n
// then one record per version from N down to 1:
//   version V DATE AUTHOR-BYTES COMMENT-BYTES BODY-BYTES\n AUTHOR COMMENT BODY \n
// The head's body is its text; every other body is the script that
// rebuilds that version from the next: "m FIRST LAST\n" copies lines,
// "a COUNT BYTES\n" is followed by BYTES bytes holding COUNT lines.  Every
// count and length is checked against what is really there.
#include <algorithm>
#include <cstring>

#include "kvc/kvc.h"

namespace {

constexpr const char* kMagic = "KVC log 1\n";

// A reader over the log's bytes that remembers the first problem.
class Cursor {
 public:
  explicit Cursor(std::string_view s) : s_(s) {}
  bool word(std::string_view w) {
    if (s_.substr(pos_, w.size()) != w) return fail("expected \"" + std::string(w) + "\"");
    pos_ += w.size();
    return true;
  }
  // A decimal number up to `max`, then `end`.
  bool number(int64_t max, char end, int64_t* v) {
    size_t digits = 0;
    *v = 0;
    while (pos_ < s_.size() && s_[pos_] >= '0' && s_[pos_] <= '9' && digits < 18) {
      *v = *v * 10 + (s_[pos_++] - '0');
      digits++;
    }
    if (digits == 0 || *v > max) return fail("bad number");
    if (pos_ >= s_.size() || s_[pos_] != end) return fail("bad separator");
    pos_++;
    return true;
  }
  bool bytes(int64_t n, std::string_view* out) {
    if (static_cast<uint64_t>(n) > s_.size() - pos_) return fail("text cut short");
    *out = s_.substr(pos_, static_cast<size_t>(n));
    pos_ += static_cast<size_t>(n);
    return true;
  }
  // Takes `w` when it comes next.
  bool take(std::string_view w) {
    if (s_.substr(pos_, w.size()) != w) return false;
    pos_ += w.size();
    return true;
  }
  bool atEnd() const { return pos_ == s_.size(); }
  bool fail(const std::string& why) {
    if (problem_.empty()) problem_ = why + " at byte " + std::to_string(pos_);
    return false;
  }
  const std::string& problem() const { return problem_; }

 private:
  std::string_view s_;
  size_t pos_ = 0;
  std::string problem_;
};

constexpr int64_t kMaxVersions = 1000000;
constexpr int64_t kMaxBytes = INT64_C(1) << 40;

bool readScript(std::string_view body, std::vector<KvcOp>* ops, std::string* why) {
  Cursor c(body);
  while (!c.atEnd()) {
    KvcOp op;
    int64_t a = 0, b = 0;
    if (c.take("m ")) {
      if (!c.number(INT32_MAX, ' ', &a) || !c.number(INT32_MAX, '\n', &b)) break;
      if (a < 1 || b < a) {
        c.fail("bad line range");
        break;
      }
      op = KvcOp{true, static_cast<int>(a), static_cast<int>(b), 0, {}};
    } else if (c.take("a ")) {
      if (!c.number(INT32_MAX, ' ', &a) || !c.number(kMaxBytes, '\n', &b) ||
          !c.bytes(b, &op.text))
        break;
      op.count = static_cast<int>(a);
    } else {
      c.fail("unknown script step");
      break;
    }
    ops->push_back(op);
  }
  *why = c.problem();
  return why->empty();
}

void writeScript(const std::vector<KvcOp>& ops, std::string* out) {
  for (const KvcOp& op : ops) {
    if (op.copy) {
      *out += "m " + std::to_string(op.first) + " " + std::to_string(op.last) + "\n";
    } else {
      *out += "a " + std::to_string(op.count) + " " + std::to_string(op.text.size()) + "\n";
      out->append(op.text);
    }
  }
}

void writeRecord(const KvcVersion& v, std::string_view body, std::string* out) {
  *out += "version " + std::to_string(v.number) + " " + std::to_string(v.date) + " " +
          std::to_string(v.author.size()) + " " + std::to_string(v.comment.size()) + " " +
          std::to_string(body.size()) + "\n";
  *out += v.author;
  *out += v.comment;
  out->append(body);
  *out += "\n";
}

// One record; false with the cursor's problem.
bool readRecord(Cursor& c, int expected, KvcVersion* v, std::string_view* body) {
  int64_t number = 0, date = 0, authorLength = 0, commentLength = 0, bodyLength = 0;
  std::string_view author, comment;
  if (!c.word("version ") || !c.number(kMaxVersions, ' ', &number)) return false;
  if (number != expected) return c.fail("version " + std::to_string(expected) + " expected");
  if (!c.number(INT64_MAX / 2, ' ', &date) || !c.number(kMaxBytes, ' ', &authorLength) ||
      !c.number(kMaxBytes, ' ', &commentLength) || !c.number(kMaxBytes, '\n', &bodyLength) ||
      !c.bytes(authorLength, &author) || !c.bytes(commentLength, &comment) ||
      !c.bytes(bodyLength, body) || !c.word("\n"))
    return false;
  *v = KvcVersion{static_cast<int>(number), date, std::string(author), std::string(comment)};
  return true;
}

}  // namespace

std::unique_ptr<KvcLog> KvcLog::parse(std::string bytes, const std::string& name,
                                      std::string* error) {
  std::unique_ptr<KvcLog> log(new KvcLog);
  log->bytes_ = std::move(bytes);
  log->name_ = name;
  Cursor c(log->bytes_);
  int64_t head = 0;
  std::string why;
  bool ok = c.word(kMagic) && c.word("head ") && c.number(kMaxVersions, '\n', &head);
  if (ok && head < 1) ok = c.fail("no versions");
  // Every record takes at least 19 bytes ("version 1 0 0 0 0\n\n").
  if (ok && static_cast<uint64_t>(head) > log->bytes_.size() / 19)
    ok = c.fail("more versions than the log can hold");
  log->versions_.resize(ok ? static_cast<size_t>(head) : 0);
  log->scripts_.resize(log->versions_.size());
  for (int v = static_cast<int>(head); ok && v >= 1; v--) {
    std::string_view body;
    ok = readRecord(c, v, &log->versions_[v - 1], &body);
    if (ok && v == head) log->headText_ = body;
    if (ok && v != head && !readScript(body, &log->scripts_[v - 1], &why))
      ok = c.fail("version " + std::to_string(v) + ": " + why);
  }
  if (ok && !c.atEnd()) ok = c.fail("unexpected text after version 1");
  if (ok) return log;
  *error = "damaged version log " + name + ": " + c.problem();
  return nullptr;
}

bool KvcLog::text(int number, std::string* out, std::string* error) const {
  if (number < 1 || number > head()) {
    *error = "no version " + std::to_string(number) + " in " + name_ + " (versions 1 to " +
             std::to_string(head()) + ")";
    return false;
  }
  std::vector<std::string_view> lines = kvc_SplitLines(headText_), older;
  for (int v = head() - 1; v >= number; v--) {
    if (!kvc_ApplyScript(lines, scripts_[v - 1], &older)) {
      *error = "damaged version log " + name_ + ": the script of version " + std::to_string(v) +
               " does not fit version " + std::to_string(v + 1);
      return false;
    }
    lines.swap(older);
  }
  out->clear();
  for (std::string_view l : lines) out->append(l);
  return true;
}

int KvcLog::versionAt(int64_t date) const {
  int best = 0;
  for (const KvcVersion& v : versions_)
    if (v.date <= date) best = v.number;
  return best;
}

std::string KvcLog::first(const std::string& text, const KvcVersion& info) {
  std::string out = std::string(kMagic) + "head 1\n";
  KvcVersion v = info;
  v.number = 1;
  writeRecord(v, text, &out);
  return out;
}

bool KvcLog::withNewHead(const std::string& text, const KvcVersion& info, std::string* bytes,
                         std::string* error) const {
  std::vector<KvcOp> ops;
  if (!kvc_MakeScript(text, headText_, &ops, error)) return false;
  const int n = head() + 1;
  *bytes = std::string(kMagic) + "head " + std::to_string(n) + "\n";
  KvcVersion v = info;
  v.number = n;
  writeRecord(v, text, bytes);
  std::string script;
  writeScript(ops, &script);
  writeRecord(versions_[n - 2], script, bytes);
  for (int k = n - 2; k >= 1; k--) {
    script.clear();
    writeScript(scripts_[k - 1], &script);
    writeRecord(versions_[k - 1], script, bytes);
  }
  return true;
}
