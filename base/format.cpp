// Formatted output into new strings and bounded buffers, through the
// library's own formatter, so %r and %R (Roman numerals) work everywhere.
// Short results are built on the stack; longer ones spill to the heap.
#include "base/gen.h"

#include <cstring>
#include <string>

#include "libs/libadt/format.h"

namespace {

constexpr long kStackBytes = 512;

// Collects output in a stack buffer, moving to `overflow` once it is full.
struct StackThenHeap {
  char stack[kStackBytes];
  long used = 0;
  std::string overflow;
  bool spilled = false;
};

void collect(void* ctx, const char* s, long n) {
  auto* out = static_cast<StackThenHeap*>(ctx);
  if (!out->spilled && out->used + n <= kStackBytes) {
    std::memcpy(out->stack + out->used, s, static_cast<size_t>(n));
    out->used += n;
    return;
  }
  if (!out->spilled) {
    out->overflow.assign(out->stack, static_cast<size_t>(out->used));
    out->spilled = true;
  }
  out->overflow.append(s, static_cast<size_t>(n));
}

// Copies what fits (leaving room for the NUL) into a bounded buffer.
struct Bounded {
  char* buf;
  long size;
  long used = 0;
};

void fill_bounded(void* ctx, const char* s, long n) {
  auto* out = static_cast<Bounded*>(ctx);
  const long room = out->size - 1 - out->used;
  const long take = n < room ? n : (room > 0 ? room : 0);
  if (take > 0) std::memcpy(out->buf + out->used, s, static_cast<size_t>(take));
  out->used += take;
}

}  // namespace

char* gen_avsprintf(const char* format, va_list args) {
  if (!format) {
    gen_error("[gen_asprintf]: Format was NULL (illegal).");
    return nullptr;
  }
  StackThenHeap out;
  if (MT_Vsprintf(collect, &out, format, args) < 0) return nullptr;
  if (out.spilled) {
    return gen_copyn(out.overflow.data(), static_cast<long>(out.overflow.size()));
  }
  return gen_copyn(out.stack, out.used);
}

char* gen_asprintf(const char* format, ...) {
  va_list args;
  va_start(args, format);
  char* result = gen_avsprintf(format, args);
  va_end(args);
  return result;
}

char* gen_msprintf(const char* format, ...) {
  va_list args;
  va_start(args, format);
  char* result = gen_avsprintf(format, args);
  va_end(args);
  return result;
}

// Like vsnprintf: the full length the result would have, or -1.
int gen_vsnprintf(char* buf, long size, const char* format, va_list args) {
  if (!format) return -1;
  Bounded out{buf, buf ? size : 0};
  const int n = MT_Vsprintf(fill_bounded, &out, format, args);
  if (buf && size > 0) buf[out.used] = '\0';
  return n;
}

int gen_snprintf(char* buf, long size, const char* format, ...) {
  va_list args;
  va_start(args, format);
  const int n = gen_vsnprintf(buf, size, format, args);
  va_end(args);
  return n;
}
