// Batched symbol-table stores (see store_batch.h).
#include "diff/store_batch.h"

#include "diff/engine.h"

namespace diff_engine {

void EnterLine(int side, int32_t number, int32_t slot) {
  diffLineTableStruct& entry = (side == 1 ? tables.first : tables.second)[number];
  entry.matched = 0;
  entry.partner = 0;
  entry.symbol = slot;
  if (side == 1) {
    // Until the duplicate passes build their sets, firstOccurrences holds
    // the last side-1 line of the symbol: for a symbol seen once on side 1,
    // its only line.
    tables.symbols[slot].firstOccurrences = number;
    tables.symbols[slot].firstUnmatched++;
  } else {
    tables.symbols[slot].secondUnmatched++;
  }
}

namespace {

// One step of the line hash (see diff_hash).
inline uint32_t HashStep(uint32_t h, unsigned char c) {
  const uint32_t t = h + c;
  return (t >> 23) + (t << 7);
}

// The hash is a chain of dependent steps, a few cycles per byte; running
// four lines' chains side by side lets them overlap.
void HashFour(const char* const text[4], const long length[4], int32_t out[4]) {
  long common = length[0];
  for (int k = 1; k < 4; ++k) common = length[k] < common ? length[k] : common;
  uint32_t h[4] = {0, 0, 0, 0};
  const auto* a = reinterpret_cast<const unsigned char*>(text[0]);
  const auto* b = reinterpret_cast<const unsigned char*>(text[1]);
  const auto* c = reinterpret_cast<const unsigned char*>(text[2]);
  const auto* d = reinterpret_cast<const unsigned char*>(text[3]);
  for (long k = 0; k < common; ++k) {
    h[0] = HashStep(h[0], a[k]);
    h[1] = HashStep(h[1], b[k]);
    h[2] = HashStep(h[2], c[k]);
    h[3] = HashStep(h[3], d[k]);
  }
  for (int m = 0; m < 4; ++m) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text[m]);
    for (long k = common; k < length[m]; ++k) h[m] = HashStep(h[m], bytes[k]);
    out[m] = static_cast<int32_t>(h[m] & 0x3FFFFFFF);
  }
}

}  // namespace

bool StoreBatch::Add(int32_t number, const char* text, long length) {
  Item& item = items_[count_++];
  item.text = text;
  item.length = length;
  item.number = number;
  return count_ < kSize || Flush();
}

void StoreBatch::HashAll() {
  int k = 0;
  for (; k + 4 <= count_; k += 4) {
    const char* text[4];
    long length[4];
    int32_t hash[4];
    for (int m = 0; m < 4; ++m) {
      text[m] = items_[k + m].text;
      length[m] = items_[k + m].length;
    }
    HashFour(text, length, hash);
    for (int m = 0; m < 4; ++m) items_[k + m].hash = hash[m];
  }
  for (; k < count_; ++k) items_[k].hash = diff_hash(items_[k].text, items_[k].length);
  for (k = 0; k < count_; ++k) {
    __builtin_prefetch(&tables.hashes[items_[k].hash % tables.symbolCount]);
  }
}

bool StoreBatch::Flush() {
  const int32_t* hashes = tables.hashes;
  const int32_t size = tables.symbolCount;
  HashAll();
  // Where each probe will stop, as far as can be told before the earlier
  // lines of the batch are stored; only used to prefetch.
  for (int k = 0; k < count_; ++k) {
    Item& item = items_[k];
    int32_t slot = item.hash % size;
    for (int32_t steps = 0; steps < size; ++steps) {
      const int32_t h = hashes[slot];
      if (h == -1 || h == item.hash) break;
      if (++slot == size) slot = 0;
    }
    item.probe = slot;
    __builtin_prefetch(&tables.symbols[slot]);
  }
  for (int k = 0; k < count_; ++k) {
    const Item& item = items_[k];
    if (hashes[item.probe] == item.hash) __builtin_prefetch(tables.symbols[item.probe].text);
  }
  for (int k = 0; k < count_; ++k) {
    const Item& item = items_[k];
    const int32_t slot = diff_store_hashed(item.text, item.length, item.hash);
    if (slot < 0) return false;
    EnterLine(side_, item.number, slot);
  }
  count_ = 0;
  return true;
}

}  // namespace diff_engine
