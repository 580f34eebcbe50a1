// Canonical form of a line under the comparison options, in their order of
// precedence: whitespace (all, or its amount) first, else C tokenisation,
// else case alone.  Two lines are equal under the options exactly when
// their canonical forms are equal.
#include "diff/diff.h"

#include <cstring>

namespace {

bool IsSpace(unsigned char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool IsWordChar(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
         c == '_' || c == '$';
}

unsigned char Fold(unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c; }

// Whitespace dropped (bit 1 alone) or runs made one blank (bit 2); no blank
// at the start or the end.
long CanonSpace(const unsigned char* in, long length, bool keepBlank, bool fold,
                char* out) {
  long n = 0;
  bool pending = false;
  for (long k = 0; k < length; ++k) {
    const unsigned char c = in[k];
    if (IsSpace(c)) {
      pending = keepBlank && n > 0;
      continue;
    }
    if (pending) out[n++] = ' ';
    pending = false;
    out[n++] = static_cast<char>(fold ? Fold(c) : c);
  }
  return n;
}

// A whitespace run becomes one blank only between two word characters.
long CanonCTokens(const unsigned char* in, long length, bool fold, char* out) {
  long n = 0;
  bool pending = false;
  for (long k = 0; k < length; ++k) {
    const unsigned char c = in[k];
    if (IsSpace(c)) {
      pending = n > 0;
      continue;
    }
    if (pending && IsWordChar(c) && IsWordChar(static_cast<unsigned char>(out[n - 1]))) {
      out[n++] = ' ';
    }
    pending = false;
    out[n++] = static_cast<char>(fold ? Fold(c) : c);
  }
  return n;
}

}  // namespace

long diff_canonicalize(const char* text, long length, int options, char* out) {
  const auto* in = reinterpret_cast<const unsigned char*>(text);
  const bool fold = options & DIFF_IGNORE_CASE;
  if (options & (DIFF_IGNORE_ALL_SPACE | DIFF_IGNORE_SPACE_AMOUNT)) {
    return CanonSpace(in, length, options & DIFF_IGNORE_SPACE_AMOUNT, fold, out);
  }
  if (options & DIFF_C_TOKENS) return CanonCTokens(in, length, fold, out);
  if (options == DIFF_IGNORE_CASE) {
    for (long k = 0; k < length; ++k) out[k] = static_cast<char>(Fold(in[k]));
    return length;
  }
  memcpy(out, text, length);
  return length;
}
