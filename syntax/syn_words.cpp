// Splitting a line into words.  A word is a run of non-separators, except
// that numbers such as 1.5e+3 and Ada's 16#FF# stay one word, and the
// preprocessor leader joins the blanks and directive name after it.
#include "syntax/syn_language.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Digits with at most one ".", at least one digit.
bool IsPlainDecimal(const char* s, int n) {
  int digits = 0, dots = 0;
  for (int i = 0; i < n; i++) {
    if (IsDigit(s[i])) {
      digits++;
    } else if (s[i] == '.' && dots == 0) {
      dots++;
    } else {
      return false;
    }
  }
  return digits > 0;
}

bool AllDigits(const char* s, int n) {
  for (int i = 0; i < n; i++) {
    if (!IsDigit(s[i]) && s[i] != '_') return false;
  }
  return n > 0;
}

// The position after the closing "#" of an Ada based literal whose opening
// "#" is at `hash`, or -1 when it is not closed.
int AdaBasedEnd(const char* text, int hash, int length) {
  for (int i = hash + 1; i < length; i++) {
    const char c = text[i];
    if (c == '#') return i + 1;
    const bool based = IsDigit(c) || (c >= 'a' && c <= 'f') ||
                       (c >= 'A' && c <= 'F') || c == '_' || c == '.';
    if (!based) return -1;
  }
  return -1;
}

}  // namespace

int synLanguage::FindWordStart(const char* text, int position) const {
  while (position > 0 && !IsSeparator(text[position - 1])) position--;
  return position;
}

int synLanguage::FindWordEnd(const char* text, int position, int length) const {
  while (position < length && !IsSeparator(text[position])) position++;
  return position;
}

void synLanguage::FindWordExtents(const char* text, int position, int length,
                                  int* start, int* end) const {
  if (start) *start = FindWordStart(text, position);
  if (end) *end = FindWordEnd(text, position, length);
}

int synLanguage::FindSyntaxWordEnd(const char* text, int position,
                                   int length) const {
  if (position >= length) return position;
  const int start = position;
  if (leader && text[position] == static_cast<char>(leader)) {
    position++;
    while (position < length && IsBlank(text[position])) position++;
  } else if (IsSeparator(text[position])) {
    return position + 1;
  }
  while (position < length) {
    const char c = text[position];
    if (!IsSeparator(c)) {
      position++;
      continue;
    }
    const bool inside = position > start && position + 1 < length;
    if (c == '.' && inside && !IsPascal() && IsDigit(text[position - 1]) &&
        IsDigit(text[position + 1])) {
      position++;
      continue;
    }
    if ((c == '+' || c == '-') && inside &&
        (text[position - 1] == 'e' || text[position - 1] == 'E') &&
        IsDigit(text[position + 1]) &&
        IsPlainDecimal(text + start, position - 1 - start)) {
      position++;
      continue;
    }
    if (c == '#' && IsAda() && AllDigits(text + start, position - start)) {
      const int end = AdaBasedEnd(text, position, length);
      if (end > 0) {
        position = end;
        continue;
      }
    }
    break;
  }
  return position;
}
