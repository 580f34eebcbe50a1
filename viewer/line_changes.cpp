#include "viewer/line_changes.h"

#include <algorithm>
#include <cctype>
#include <cstdint>

#include "diff/diff.h"

namespace {

// Beyond this many cells the middle of the two lines is marked whole.
constexpr size_t kMaxCells = 1u << 18;

struct Token {
  int start, end;
  bool blank;
};

bool wordByte(unsigned char c) { return std::isalnum(c) || c == '_' || c >= 0x80; }

void tokenize(std::string_view s, bool dropBlanks, std::vector<Token>* out) {
  out->clear();
  for (size_t i = 0; i < s.size();) {
    auto c = static_cast<unsigned char>(s[i]);
    size_t j = i + 1;
    bool blank = c == ' ' || c == '\t' || c == '\r';
    if (blank) {
      while (j < s.size() && (s[j] == ' ' || s[j] == '\t' || s[j] == '\r')) j++;
    } else if (wordByte(c)) {
      while (j < s.size() && wordByte(static_cast<unsigned char>(s[j]))) j++;
    }
    if (!(blank && dropBlanks))
      out->push_back({static_cast<int>(i), static_cast<int>(j), blank});
    i = j;
  }
}

class Matcher {
 public:
  Matcher(std::string_view a, std::string_view b, int options)
      : a_(a), b_(b),
        anyBlank_(options & DIFF_IGNORE_SPACE_AMOUNT),
        caseless_(options & DIFF_IGNORE_CASE) {}
  bool same(const Token& x, const Token& y) const {
    if (x.blank || y.blank) {
      if (x.blank != y.blank) return false;
      if (anyBlank_) return true;
    }
    if (x.end - x.start != y.end - y.start) return false;
    for (int i = 0; i < x.end - x.start; i++) {
      char p = a_[x.start + i], q = b_[y.start + i];
      if (p == q) continue;
      if (!caseless_ || std::tolower(static_cast<unsigned char>(p)) !=
                            std::tolower(static_cast<unsigned char>(q)))
        return false;
    }
    return true;
  }

 private:
  std::string_view a_, b_;
  bool anyBlank_, caseless_;
};

// Marks in `kept` the tokens of a[from, to) that belong to a longest common
// subsequence with b[bFrom, bTo).
void commonTokens(const std::vector<Token>& a, size_t from, size_t to,
                  const std::vector<Token>& b, size_t bFrom, size_t bTo, const Matcher& m,
                  std::vector<bool>* kept) {
  size_t n = to - from, w = bTo - bFrom;
  if (n == 0 || w == 0 || n * w > kMaxCells) return;
  // lengths[i][j]: the longest common subsequence of a's tokens from i on
  // and b's from j on.
  std::vector<uint32_t> lengths((n + 1) * (w + 1), 0);
  auto at = [&](size_t i, size_t j) -> uint32_t& { return lengths[i * (w + 1) + j]; };
  for (size_t i = n; i-- > 0;)
    for (size_t j = w; j-- > 0;)
      at(i, j) = m.same(a[from + i], b[bFrom + j]) ? at(i + 1, j + 1) + 1
                                                     : std::max(at(i + 1, j), at(i, j + 1));
  for (size_t i = 0, j = 0; i < n && j < w;) {
    if (m.same(a[from + i], b[bFrom + j])) {
      (*kept)[from + i] = true;
      i++, j++;
    } else if (at(i + 1, j) >= at(i, j + 1)) {
      i++;
    } else {
      j++;
    }
  }
}

}  // namespace

void dv_LineChanges(std::string_view line, std::string_view other, int options,
                    std::vector<LineChange>* out) {
  out->clear();
  bool dropBlanks = options & (DIFF_IGNORE_ALL_SPACE | DIFF_C_TOKENS);
  std::vector<Token> a, b;
  tokenize(line, dropBlanks, &a);
  tokenize(other, dropBlanks, &b);
  Matcher m(line, other, options);
  size_t head = 0, tailA = a.size(), tailB = b.size();
  while (head < a.size() && head < b.size() && m.same(a[head], b[head])) head++;
  while (tailA > head && tailB > head && m.same(a[tailA - 1], b[tailB - 1])) tailA--, tailB--;
  std::vector<bool> kept(a.size(), false);
  std::fill(kept.begin(), kept.begin() + head, true);
  std::fill(kept.begin() + tailA, kept.end(), true);
  commonTokens(a, head, tailA, b, head, tailB, m, &kept);
  // A blank between two changes joins them, which reads as one change.
  for (size_t i = 0; i < a.size(); i++) {
    if (kept[i]) continue;
    if (!out->empty() && a[i - 1].end == a[i].start && !kept[i - 1]) {
      out->back().end = a[i].end;
    } else if (out->size() && i >= 2 && a[i - 1].blank && !kept[i - 2] &&
               out->back().end == a[i - 1].start) {
      out->back().end = a[i].end;
    } else {
      out->push_back({a[i].start, a[i].end});
    }
  }
}
