// Large zeroed blocks in huge pages (see big_alloc.h).  Each block starts
// with a header recording how it was obtained and its mapped size.
#include "diff/big_alloc.h"

#include <sys/mman.h>

#include <cstdint>
#include <cstdlib>

namespace diff_engine {

namespace {

constexpr size_t kHugePage = size_t{2} << 20;
// Below this a block is not worth a mapping of its own.
constexpr size_t kMapThreshold = size_t{4} << 20;
constexpr size_t kHeader = 64;  // keeps the table cache-line aligned

struct Header {
  size_t mapped;  // 0: from calloc
};

}  // namespace

void* BigAlloc(size_t count, size_t size) {
  if (count != 0 && size > (SIZE_MAX - 2 * kHugePage) / count) return nullptr;
  const size_t bytes = count * size + kHeader;
  char* base;
  size_t mapped = 0;
  if (bytes < kMapThreshold) {
    base = static_cast<char*>(calloc(1, bytes));
    if (!base) return nullptr;
  } else {
    mapped = (bytes + kHugePage - 1) / kHugePage * kHugePage;
    void* p = mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS,
                   -1, 0);
    if (p == MAP_FAILED) return nullptr;
    if (!getenv("NOHUGE")) madvise(p, mapped, MADV_HUGEPAGE);
    base = static_cast<char*>(p);
  }
  reinterpret_cast<Header*>(base)->mapped = mapped;
  return base + kHeader;
}

void BigFree(void* block) {
  if (!block) return;
  char* base = static_cast<char*>(block) - kHeader;
  const size_t mapped = reinterpret_cast<Header*>(base)->mapped;
  if (mapped) {
    munmap(base, mapped);
  } else {
    free(base);
  }
}

}  // namespace diff_engine
