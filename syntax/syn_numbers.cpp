// Recognising integers, floats and Ada literals within one word.  A number
// followed directly by letters that begin none of the language's suffixes
// is no number.
#include "syntax/syn_numbers.h"

#include <strings.h>

#include <cstring>

#include "syntax/syn_language.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(char c) {
  return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// True when s[0, n) is empty or begins one of the suffixes.
bool IsSuffixPrefix(const synWordList& suffixes, const char* s, int n) {
  if (n == 0) return true;
  for (const std::string& suffix : suffixes.words) {
    if (static_cast<int>(suffix.size()) < n) continue;
    const int c = suffixes.caseSensitive ? std::memcmp(suffix.data(), s, n)
                                         : strncasecmp(suffix.data(), s, n);
    if (c == 0) return true;
  }
  return false;
}

int SkipDigits(const char* w, int i, int n, bool underscores) {
  while (i < n && (IsDigit(w[i]) || (underscores && w[i] == '_'))) i++;
  return i;
}

// Past an exponent ("e", optional sign, digits) at i, or i when none.
int SkipExponent(const char* w, int i, int n, bool underscores) {
  if (i >= n || (w[i] != 'e' && w[i] != 'E')) return i;
  int j = i + 1;
  if (j < n && (w[j] == '+' || w[j] == '-')) j++;
  const int k = SkipDigits(w, j, n, underscores);
  return k > j ? k : i;
}

}  // namespace

bool syn_IsInteger(const synLanguage& l, const char* w, int n) {
  if (n <= 0) return false;
  if (l.integerHex && n > 2 && w[0] == '0' && (w[1] == 'x' || w[1] == 'X')) {
    int i = 2;
    while (i < n && IsHexDigit(w[i])) i++;
    if (i > 2 && IsSuffixPrefix(l.hexSuffixes, w + i, n - i)) return true;
  }
  const int i = SkipDigits(w, 0, n, false);
  return i > 0 && IsSuffixPrefix(l.decimalSuffixes, w + i, n - i);
}

bool syn_IsFloat(const synLanguage& l, const char* w, int n) {
  if (n <= 0) return false;
  if (!IsDigit(w[0]) && !(w[0] == '.' && n > 1 && IsDigit(w[1]))) return false;
  int i = 0;
  bool dot = false;
  while (i < n && (IsDigit(w[i]) || (w[i] == '.' && !dot))) {
    if (w[i] == '.') dot = true;
    i++;
  }
  if (l.floatScientific) i = SkipExponent(w, i, n, false);
  return i == n || IsSuffixPrefix(l.floatSuffixes, w + i, n - i);
}

bool syn_IsAdaNumber(const char* w, int n) {
  if (n <= 0 || !IsDigit(w[0])) return false;
  int i = SkipDigits(w, 0, n, true);
  if (i < n && w[i] == '#') {
    int j = i + 1;
    while (j < n && (IsHexDigit(w[j]) || w[j] == '_' || w[j] == '.')) j++;
    if (j == i + 1 || j >= n || w[j] != '#') return false;
    i = j + 1;
  } else if (i < n && w[i] == '.') {
    const int j = SkipDigits(w, i + 1, n, true);
    if (j == i + 1) return false;
    i = j;
  }
  i = SkipExponent(w, i, n, true);
  return i == n;
}
