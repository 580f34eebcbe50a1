// Joining strings into new ones.  Null parts are skipped; a result made only
// of null parts is null.  The gen_fconcat forms free their first argument,
// so a string can be grown in place: s = gen_fconcat(s, more).
#include "base/gen.h"

#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <string>

namespace {

bool empty(const char* s) { return !s || !*s; }

char* join(std::initializer_list<const char*> parts) {
  std::string out;
  bool any = false;
  for (const char* p : parts) {
    if (!p) continue;
    any = true;
    out += p;
  }
  if (!any) return nullptr;
  return gen_copyn(out.c_str(), static_cast<long>(out.size()));
}

char* free_first(char* a, char* result) {
  gen_free(a);
  return result;
}

}  // namespace

char* gen_concat(const char* a, const char* b) {
  if (empty(a)) return gen_copy(b);
  if (empty(b)) return gen_copy(a);
  return join({a, b});
}

char* gen_concatn(const char* a, const char* b, long n) {
  if (!b || n <= 0) return gen_copy(a);
  char* tail = gen_copyn(b, n);
  char* result = gen_concat(a, tail);
  gen_free(tail);
  return result;
}

char* gen_concat3(const char* a, const char* b, const char* c) {
  return join({a, b, c});
}
char* gen_concat4(const char* a, const char* b, const char* c, const char* d) {
  return join({a, b, c, d});
}
char* gen_concat5(const char* a, const char* b, const char* c, const char* d,
                  const char* e) {
  return join({a, b, c, d, e});
}
char* gen_concat6(const char* a, const char* b, const char* c, const char* d,
                  const char* e, const char* f) {
  return join({a, b, c, d, e, f});
}
char* gen_concat7(const char* a, const char* b, const char* c, const char* d,
                  const char* e, const char* f, const char* g) {
  return join({a, b, c, d, e, f, g});
}
char* gen_concat8(const char* a, const char* b, const char* c, const char* d,
                  const char* e, const char* f, const char* g, const char* h) {
  return join({a, b, c, d, e, f, g, h});
}
char* gen_concat9(const char* a, const char* b, const char* c, const char* d,
                  const char* e, const char* f, const char* g, const char* h,
                  const char* i) {
  return join({a, b, c, d, e, f, g, h, i});
}

char* gen_concat_sep(const char* a, char c, const char* b) {
  if (!a) return gen_copy(b);
  if (c == '\0') return gen_concat(a, b);
  if (!b) return gen_copy(a);
  const char sep[2] = {c, '\0'};
  return join({a, sep, b});
}

char* gen_concat_int(const char* a, long i) {
  char digits[32];
  std::snprintf(digits, sizeof digits, "%ld", i);
  return gen_concat(a, digits);
}

char* gen_fconcat(char* a, const char* b) { return free_first(a, gen_concat(a, b)); }
char* gen_fconcatn(char* a, const char* b, long n) {
  return free_first(a, gen_concatn(a, b, n));
}
char* gen_fconcat3(char* a, const char* b, const char* c) {
  return free_first(a, gen_concat3(a, b, c));
}
char* gen_fconcat4(char* a, const char* b, const char* c, const char* d) {
  return free_first(a, gen_concat4(a, b, c, d));
}
char* gen_fconcat5(char* a, const char* b, const char* c, const char* d,
                   const char* e) {
  return free_first(a, gen_concat5(a, b, c, d, e));
}
char* gen_fconcat6(char* a, const char* b, const char* c, const char* d,
                   const char* e, const char* f) {
  return free_first(a, gen_concat6(a, b, c, d, e, f));
}
char* gen_fconcat7(char* a, const char* b, const char* c, const char* d,
                   const char* e, const char* f, const char* g) {
  return free_first(a, gen_concat7(a, b, c, d, e, f, g));
}
char* gen_fconcat8(char* a, const char* b, const char* c, const char* d,
                   const char* e, const char* f, const char* g, const char* h) {
  return free_first(a, gen_concat8(a, b, c, d, e, f, g, h));
}
char* gen_fconcat9(char* a, const char* b, const char* c, const char* d,
                   const char* e, const char* f, const char* g, const char* h,
                   const char* i) {
  return free_first(a, gen_concat9(a, b, c, d, e, f, g, h, i));
}
char* gen_fconcat_sep(char* a, char c, const char* b) {
  return free_first(a, gen_concat_sep(a, c, b));
}
char* gen_fconcat_int(char* a, long i) { return free_first(a, gen_concat_int(a, i)); }
