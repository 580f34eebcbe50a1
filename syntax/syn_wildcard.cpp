// Wildcard matching without recursion: on a mismatch the last "*" takes one
// more character, so matching stays linear in practice even on long words.
#include "syntax/syn_wildcard.h"

#include <cctype>
#include <cstring>

namespace {

char Fold(char c, bool caseSensitive) {
  return caseSensitive ? c
                       : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

// Matches one character against the set starting after "[" at *p; moves *p
// past the closing "]".  An unclosed "[" is a plain character.
bool MatchSet(const char** p, char c, bool caseSensitive) {
  const char* q = *p + 1;
  const bool negate = *q == '!' || *q == '^';
  if (negate) q++;
  bool found = false;
  const char* first = q;
  for (; *q && (*q != ']' || q == first); q++) {
    if (q[1] == '-' && q[2] && q[2] != ']') {
      const char lo = Fold(q[0], caseSensitive), hi = Fold(q[2], caseSensitive);
      if (Fold(c, caseSensitive) >= lo && Fold(c, caseSensitive) <= hi) found = true;
      q += 2;
    } else if (Fold(*q, caseSensitive) == Fold(c, caseSensitive)) {
      found = true;
    }
  }
  if (!*q) {
    *p += 1;
    return Fold('[', caseSensitive) == Fold(c, caseSensitive);
  }
  *p = q + 1;
  return found != negate;
}

}  // namespace

bool syn_HasWildcard(const char* pattern) {
  return std::strpbrk(pattern, "*?[") != nullptr;
}

bool syn_WildcardMatch(const char* pattern, const char* text, int length,
                       bool caseSensitive) {
  const char* p = pattern;
  int t = 0;
  const char* starP = nullptr;
  int starT = 0;
  while (t < length) {
    if (*p == '*') {
      starP = ++p;
      starT = t;
      continue;
    }
    if (*p == '?') {
      p++;
      t++;
      continue;
    }
    if (*p == '[') {
      const char* q = p;
      if (MatchSet(&q, text[t], caseSensitive)) {
        p = q;
        t++;
        continue;
      }
    } else if (*p && Fold(*p, caseSensitive) == Fold(text[t], caseSensitive)) {
      p++;
      t++;
      continue;
    }
    if (!starP) return false;
    p = starP;
    t = ++starT;
  }
  while (*p == '*') p++;
  return *p == '\0';
}
