// Copying, comparing and searching strings.  Comparisons "ignoring case"
// fold only the ASCII letters A-Z, so results never depend on the locale.
// A null argument counts as absent: it is copied as null, never matched.
#include "base/gen.h"

#include <cstring>

namespace {

int fold(unsigned char c) { return (c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c; }

bool equal_at(const char* s, const char* sub, size_t n, bool ignore_case) {
  if (!ignore_case) return std::strncmp(s, sub, n) == 0;
  return gen_strnicmp(s, sub, static_cast<long>(n)) == 0;
}

const char* find(const char* s, const char* sub, bool ignore_case, bool last) {
  if (!s || !sub) return nullptr;
  const size_t n = std::strlen(sub);
  const size_t len = std::strlen(s);
  if (n > len) return nullptr;
  const char* found = nullptr;
  for (size_t i = 0; i + n <= len; i++) {
    if (!equal_at(s + i, sub, n, ignore_case)) continue;
    found = s + i;
    if (!last) break;
  }
  return found;
}

}  // namespace

char* gen_copy(const char* s) {
  if (!s) return nullptr;
  return gen_copyn(s, static_cast<long>(std::strlen(s)));
}

char* gen_copyn(const char* s, long n) {
  if (!s || n < 0) return nullptr;
  const size_t len = strnlen(s, static_cast<size_t>(n));
  char* copy = static_cast<char*>(gen_alloc(1, static_cast<long>(len) + 1));
  std::memcpy(copy, s, len);
  copy[len] = '\0';
  return copy;
}

void gen_strchange(char** p, const char* s) {
  if (!p || *p == s) return;
  char* copy = gen_copy(s);
  gen_free(*p);
  *p = copy;
}

void gen_strchangen(char** p, const char* s, long n) {
  if (!p || *p == s) return;
  char* copy = gen_copyn(s, n);
  gen_free(*p);
  *p = copy;
}

bool gen_strequal(const char* a, const char* b) {
  if (!a || !b) return a == b;
  return gen_stricmp(a, b) == 0;
}

int gen_stricmp(const char* a, const char* b) {
  return gen_strnicmp(a, b, -1);
}

// A negative n compares the whole strings; a null sorts before any string.
int gen_strnicmp(const char* a, const char* b, long n) {
  if (!a || !b) return (a ? 1 : 0) - (b ? 1 : 0);
  for (long i = 0; n < 0 || i < n; i++) {
    const int ca = fold(static_cast<unsigned char>(a[i]));
    const int cb = fold(static_cast<unsigned char>(b[i]));
    if (ca != cb) return ca - cb;
    if (ca == 0) return 0;
  }
  return 0;
}

bool gen_strprefix(const char* s, const char* prefix) {
  if (!s || !prefix) return false;
  return std::strncmp(s, prefix, std::strlen(prefix)) == 0;
}

bool gen_strcaseprefix(const char* s, const char* prefix) {
  if (!s || !prefix) return false;
  return gen_strnicmp(s, prefix, static_cast<long>(std::strlen(prefix))) == 0;
}

bool gen_strsuffix(const char* s, const char* suffix) {
  if (!s || !suffix) return false;
  const size_t len = std::strlen(s);
  const size_t n = std::strlen(suffix);
  return n <= len && std::strcmp(s + len - n, suffix) == 0;
}

const char* gen_strstr(const char* s, const char* sub) {
  return find(s, sub, false, false);
}

const char* gen_strcasestr(const char* s, const char* sub) {
  return find(s, sub, true, false);
}

const char* gen_strrstr(const char* s, const char* sub) {
  return find(s, sub, false, true);
}

const char* gen_strrcasestr(const char* s, const char* sub) {
  return find(s, sub, true, true);
}

char* gen_strlower(char* s) {
  for (char* p = s; p && *p; p++) {
    if (*p >= 'A' && *p <= 'Z') *p = static_cast<char>(*p - 'A' + 'a');
  }
  return s;
}

char* gen_strupper(char* s) {
  for (char* p = s; p && *p; p++) {
    if (*p >= 'a' && *p <= 'z') *p = static_cast<char>(*p - 'a' + 'A');
  }
  return s;
}

// Like strtok_r: splits s at any of the delimiters, skipping empty tokens.
char* gen_strtok_r(char* s, const char* delim, char** save) {
  if (!save || !delim) return nullptr;
  char* p = s ? s : *save;
  if (!p) return nullptr;
  p += std::strspn(p, delim);
  if (!*p) {
    *save = p;
    return nullptr;
  }
  char* end = p + std::strcspn(p, delim);
  if (*end) *end++ = '\0';
  *save = end;
  return p;
}
