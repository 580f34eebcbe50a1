// The symbol table: one slot per distinct canonical line, found by linear
// probing from hash mod table size.  The hash clusters on some inputs, so
// probes compare the dense array of slot hashes first and look at a slot's
// length and text only when the hashes agree.
#include "diff/engine.h"

#include <cstring>

#include "diff/text_store.h"

int32_t diff_hash(const char* text, long length) {
  uint32_t h = 0;
  const auto* bytes = reinterpret_cast<const unsigned char*>(text);
  for (long k = 0; k < length; ++k) {
    const uint32_t t = h + bytes[k];
    h = (t >> 23) + (t << 7);
  }
  return static_cast<int32_t>(h & 0x3FFFFFFF);
}

namespace diff_engine {

int32_t diff_store(const char* text, long length) {
  return diff_store_hashed(text, length, diff_hash(text, length));
}

int32_t diff_store_hashed(const char* text, long length, int32_t hash) {
  const int32_t size = tables.symbolCount;
  int32_t* hashes = tables.hashes;
  // The probe starts from a mixed copy of the hash: the line hash is a
  // rotate-and-add that leaves similar lines (counters, numbered records)
  // in neighbouring slots, and linear probing would walk long clusters.
  const int32_t first = static_cast<int32_t>((static_cast<uint32_t>(hash) * 2654435761u) % static_cast<uint32_t>(size));
  int32_t slot = first;
  for (;;) {
    const int32_t h = hashes[slot];
    if (h == -1) break;
    if (h == hash) {
      const diffSymTableStruct& s = tables.symbols[slot];
      if (s.length == static_cast<size_t>(length) && memcmp(s.text, text, length) == 0)
        return slot;
    }
    if (++slot == size) slot = 0;
    if (slot == first) return -1;
  }
  hashes[slot] = hash;
  diffSymTableStruct& s = tables.symbols[slot];
  s.text = tables.texts->Copy(text, length);
  s.length = static_cast<size_t>(length);
  return slot;
}

}  // namespace diff_engine
