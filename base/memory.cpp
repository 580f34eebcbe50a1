// The replaceable allocation hooks and their defaults, the out-of-memory
// exit (which must work when nothing more can be allocated) and the counted
// string array.  Every block handed out here is zero-filled and released
// with gen_free.
#include "base/gen.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

gen_alloc_fn gen_alloc = gen_default_alloc;
gen_realloc_fn gen_realloc = gen_default_realloc;

void* gen_default_alloc(long count, long size) {
  if (count <= 0 || size <= 0) return nullptr;
  void* p = calloc(static_cast<size_t>(count), static_cast<size_t>(size));
  if (!p) gen_out_of_memory();
  return p;
}

void* gen_default_realloc(void* ptr, long size) {
  if (size < 1) {
    free(ptr);
    return nullptr;
  }
  if (!ptr) return gen_default_alloc(1, size);
  void* p = realloc(ptr, static_cast<size_t>(size));
  if (!p) gen_out_of_memory();
  return p;
}

void* gen_allocate(void* ptr, long count, long size) {
  if (count < 0 || size < 0) return gen_realloc(ptr, 0);
  return gen_realloc(ptr, count * size);
}

void gen_free(void* ptr) { free(ptr); }

void* gen_structcopy(const void* p, long size) {
  if (!p || size <= 0) return nullptr;
  void* copy = gen_alloc(1, size);
  if (copy) std::memcpy(copy, p, static_cast<size_t>(size));
  return copy;
}

namespace {

// Writes all of s to standard error, retrying interrupted writes.
void raw_write(const char* s) {
  size_t left = std::strlen(s);
  while (left > 0) {
    ssize_t n = write(2, s, left);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    s += n;
    left -= static_cast<size_t>(n);
  }
}

}  // namespace

void gen_out_of_memory() {
  const char* name = gen_getprogname();
  if (*name) {
    raw_write(name);
    raw_write(": ");
  }
  raw_write("fatal: Out of memory\n");
  gen_exit(3);
  gen_default_exit(3);
}

void gen_strarray_init(gen_strarray* a) {
  if (!a) return;
  a->strs = nullptr;
  a->count = 0;
}

void gen_strarray_free(gen_strarray* a) {
  if (!a) return;
  for (int i = 0; i < a->count; i++) gen_free(a->strs[i]);
  gen_free(a->strs);
  gen_strarray_init(a);
}

void gen_strarray_add_strn(gen_strarray* a, const char* s, int n) {
  if (!a) return;
  a->strs = static_cast<char**>(
      gen_allocate(a->strs, a->count + 1, static_cast<long>(sizeof(char*))));
  a->strs[a->count++] = gen_copyn(s, n);
}

void gen_strarray_add_str(gen_strarray* a, const char* s) {
  if (!a) return;
  a->strs = static_cast<char**>(
      gen_allocate(a->strs, a->count + 1, static_cast<long>(sizeof(char*))));
  a->strs[a->count++] = gen_copy(s);
}
