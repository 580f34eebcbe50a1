// Delimited items: blocks, block comments, line comments, strings and
// characters.  Finding where one begins and where it ends is shared by the
// colourer and by the quick line-to-line parser, so that both agree on
// what is open at the end of a line.
#include <strings.h>

#include <cstring>

#include "syntax/syn_colors.h"
#include "syntax/syn_language.h"

namespace {

// The end of the line's text: a trailing carriage return or newline is not
// part of it.
int LineEnd(const char* text, int length) {
  while (length > 0 && (text[length - 1] == '\n' || text[length - 1] == '\r')) {
    length--;
  }
  return length;
}

bool StartsWith(const char* text, int position, int length, const std::string& s) {
  const int n = static_cast<int>(s.size());
  return length - position >= n && std::memcmp(text + position, s.data(), n) == 0;
}

bool BeginsAt(const synDelimiterPair& p, const char* text, int position, int length) {
  if (p.beginAtLineStart && position != 0) return false;
  return StartsWith(text, position, length, p.begin);
}

// Whether the pair's end delimiter ends the item at `position`.
bool EndsAt(const synDelimiterPair& p, const char* text, int position, int length,
            int lineEnd) {
  if (!StartsWith(text, position, length, p.end)) return false;
  return !p.endAtLineEnd || position + static_cast<int>(p.end.size()) == lineEnd;
}

}  // namespace

bool synLanguage::LineCommentsActive() const {
  return !IsC() || syn_Settings().cppCommentsInC;
}

int synLanguage::FindItemEnd(synState cls, int pair, const char* text, int position,
                             int length, bool* closed) const {
  const int lineEnd = LineEnd(text, length);
  *closed = false;
  if (cls == SYN_LINE_COMMENT || cls == SYN_DEAD_CODE) return length;
  if (cls == SYN_COMMENT) {
    for (int q = position; q <= lineEnd; q++) {
      for (const synDelimiterPair& p : comments) {
        if (EndsAt(p, text, q, length, lineEnd)) {
          *closed = true;
          return q + static_cast<int>(p.end.size());
        }
      }
    }
    return length;
  }
  const std::vector<synDelimiterPair>& pairs =
      cls == SYN_BLOCK ? blocks : (cls & (SYN_STRING | SYN_STRING2)) ? strings : characters;
  if (pair < 0 || pair >= static_cast<int>(pairs.size())) return length;
  const synDelimiterPair& p = pairs[pair];
  for (int q = position; q <= lineEnd;) {
    if (escape >= 0 && q < lineEnd && text[q] == static_cast<char>(escape)) {
      q += 2;
      continue;
    }
    if (EndsAt(p, text, q, length, lineEnd)) {
      *closed = true;
      return q + static_cast<int>(p.end.size());
    }
    q++;
  }
  return length;
}

namespace {

// The first pair of `pairs` beginning at `position`, or -1.
int PairBeginningAt(const std::vector<synDelimiterPair>& pairs, const char* text,
                    int position, int length) {
  for (size_t i = 0; i < pairs.size(); i++) {
    if (BeginsAt(pairs[i], text, position, length)) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace

bool synLanguage::MatchDelimitedItem(const char* text, int position, int length,
                                     Item* item) const {
  if (position > 0 && !itemStart[static_cast<unsigned char>(text[position])]) return false;
  const auto take = [&](synState cls, int pair, const synDelimiterPair& p) {
    item->cls = cls;
    item->pair = pair;
    const int from = position + static_cast<int>(p.begin.size());
    item->end = FindItemEnd(cls, pair, text, from, length, &item->closed);
    return true;
  };
  int i = PairBeginningAt(blocks, text, position, length);
  if (i >= 0) return take(SYN_BLOCK, i, blocks[i]);
  i = PairBeginningAt(comments, text, position, length);
  if (i >= 0) return take(SYN_COMMENT, i, comments[i]);
  if (LineCommentsActive()) {
    for (const synLeader& l : lineComments) {
      if (l.atLineStart && position != 0) continue;
      const int n = static_cast<int>(l.text.size());
      if (length - position < n) continue;
      const bool same = caseSensitive
                            ? std::memcmp(text + position, l.text.data(), n) == 0
                            : strncasecmp(text + position, l.text.data(), n) == 0;
      if (!same) continue;
      if (l.text[0] == '#' && position > 0 && text[position - 1] == '$' &&
          (name == "Perl" || name == "bsh" || name == "bash" || name == "csh")) {
        continue;
      }
      *item = {SYN_LINE_COMMENT, 0, length, false};
      return true;
    }
  }
  i = PairBeginningAt(strings, text, position, length);
  if (i >= 0) return take(i == 0 ? SYN_STRING : SYN_STRING2, i, strings[i]);
  i = PairBeginningAt(characters, text, position, length);
  if (i >= 0) {
    take(i == 0 ? SYN_CHARACTER : SYN_CHARACTER2, i, characters[i]);
    return !IsAda() || (item->closed && item->end - position == 3);
  }
  return false;
}
