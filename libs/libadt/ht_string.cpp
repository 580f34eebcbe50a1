// Hash table functions for NUL-terminated string keys, the common case:
// a rotate-and-xor hash, strcmp ordering, and malloc/free ownership.
#include "libs/libadt/ht.h"

#include <cstdlib>
#include <cstring>

unsigned HT_StringHashFunc(const void* key) {
  unsigned h = 0;
  if (key == nullptr) return 0;
  for (auto* p = static_cast<const unsigned char*>(key); *p != 0; p++)
    h = ((h << 7) | (h >> 25)) ^ *p;
  return h;
}

int HT_StringCompareFunc(const void* a, const void* b) {
  if (a == nullptr || b == nullptr) return (a != nullptr) - (b != nullptr);
  return std::strcmp(static_cast<const char*>(a), static_cast<const char*>(b));
}

void HT_StringDeleteFunc(void* key) { std::free(key); }

void* HT_StringCloneFunc(const void* key) {
  if (key == nullptr) return nullptr;
  size_t n = std::strlen(static_cast<const char*>(key)) + 1;
  void* copy = std::malloc(n);
  if (copy != nullptr) std::memcpy(copy, key, n);
  return copy;
}
