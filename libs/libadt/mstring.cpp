// The growable string.  Capacity doubles past what an append needs, so
// building a string piece by piece costs amortised linear time.  Calls on a
// null MString report "[MString_<operation>]: cannot operate on NULL".
#include "libs/libadt/mstring.h"

#include <climits>
#include <cstdarg>
#include <cstdlib>
#include <cstring>

#include "libs/libadt/adt_report.h"
#include "libs/libadt/format.h"

namespace {

bool refuse(const MString* m, const char* message) {
  if (m != nullptr) return false;
  adt_report(3, message);
  return true;
}

void append_sink(void* ctx, const char* s, long n) {
  auto* m = static_cast<MString*>(ctx);
  if (m->len >= 0 && MString_appendn(m, s, static_cast<int>(n)) < 0) m->len = -1;
}

}  // namespace

MString* MString_new(int capacity) {
  if (capacity < 1) capacity = 1;
  auto* m = static_cast<MString*>(std::calloc(1, sizeof(MString)));
  char* buf = static_cast<char*>(std::calloc(static_cast<size_t>(capacity), 1));
  if (m == nullptr || buf == nullptr) {
    std::free(m);
    std::free(buf);
    adt_report(3, "[MString_new]: out of memory");
    return nullptr;
  }
  *m = MString{buf, 0, capacity};
  return m;
}

void MString_delete(MString* m) {
  if (m == nullptr) return;
  std::free(m->buf);
  std::free(m);
}

int MString_ensureCapacity(MString* m, int n) {
  if (refuse(m, "[MString_ensureCapacity]: cannot operate on NULL")) return -1;
  if (m->capacity > n) return 0;
  if (n > INT_MAX / 2) return -1;
  char* grown = static_cast<char*>(std::realloc(m->buf, 2 * static_cast<size_t>(n)));
  if (grown == nullptr) {
    adt_report(3, "[MString_ensureCapacity]: out of memory");
    return -1;
  }
  m->buf = grown;
  m->capacity = 2 * n;
  return 0;
}

int MString_append(MString* m, const char* s) {
  if (refuse(m, "[MString_append]: cannot operate on NULL")) return -1;
  if (s == nullptr) return m->len;
  size_t n = std::strlen(s);
  if (n > INT_MAX) return -1;
  return MString_appendn(m, s, static_cast<int>(n));
}

int MString_appendn(MString* m, const char* s, int n) {
  if (refuse(m, "[MString_appendn]: cannot operate on NULL")) return -1;
  if (s == nullptr || n <= 0) return m->len;
  int k = static_cast<int>(strnlen(s, static_cast<size_t>(n)));
  if (k > INT_MAX - 1 - m->len || MString_ensureCapacity(m, m->len + k) < 0) return -1;
  std::memcpy(m->buf + m->len, s, static_cast<size_t>(k));
  m->len += k;
  m->buf[m->len] = '\0';
  return m->len;
}

int MString_appendf(MString* m, const char* format, ...) {
  if (refuse(m, "[MString_appendf]: cannot operate on NULL")) return -1;
  int before = m->len;
  va_list ap;
  va_start(ap, format);
  int n = MT_Vsprintf(append_sink, m, format, ap);
  va_end(ap);
  if (m->len < 0 || n < 0) {  // keep what was there before the call
    m->len = before;
    m->buf[before] = '\0';
    return -1;
  }
  return m->len;
}

char* MString_peel(MString* m) {
  if (refuse(m, "[MString_peel]: cannot operate on NULL")) return nullptr;
  char* buf = m->buf;
  std::free(m);
  return buf;
}

char* MString_copy(const MString* m) {
  if (refuse(m, "[MString_copy]: cannot operate on NULL")) return nullptr;
  char* copy = static_cast<char*>(std::malloc(static_cast<size_t>(m->len) + 1));
  if (copy != nullptr) std::memcpy(copy, m->buf, static_cast<size_t>(m->len) + 1);
  return copy;
}

const char* MString_str(const MString* m) {
  if (refuse(m, "[MString_str]: cannot operate on NULL")) return nullptr;
  return m->buf;
}

int MString_removeTrailingWhiteSpace(MString* m) {
  if (refuse(m, "[MString_removeTrailingWhiteSpace]: cannot operate on NULL")) return -1;
  while (m->len > 0 && std::strchr(" \t\n\r\f\v", m->buf[m->len - 1]) != nullptr)
    m->len--;
  m->buf[m->len] = '\0';
  return m->len;
}

int MString_len(const MString* m) {
  if (refuse(m, "[MString_len]: cannot operate on NULL")) return -1;
  return m->len;
}
