// Character classes over ASCII, independent of the locale.  A "separator"
// ends a word (anything that is not a letter, digit or underscore); the
// arithmetic class holds the operator characters of C-like languages.
#include "base/gen.h"

#include <cstring>

bool gen_isspace(int c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' ||
         c == '\v';
}

bool gen_isupper(int c) { return c >= 'A' && c <= 'Z'; }

bool gen_isalnum(int c) {
  return gen_isupper(c) || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

bool gen_isblank(int c) { return c == ' ' || c == '\t'; }

bool gen_isblankstring(const char* s) {
  for (const char* p = s; p && *p; p++) {
    if (!gen_isspace(static_cast<unsigned char>(*p))) return false;
  }
  return true;
}

bool gen_is_whitespace(int c) { return gen_isspace(c); }

bool gen_is_alphanum(int c) { return gen_isalnum(c) || c == '_'; }

bool gen_is_separator(int c) { return c != '\0' && !gen_is_alphanum(c); }

bool gen_is_arith(int c) {
  return c != '\0' && std::strchr("+-*/%=<>&|^!~", c) != nullptr;
}
