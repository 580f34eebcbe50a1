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

bool StoreBatch::Add(int32_t number, const char* text, long length) {
  Item& item = items_[count_++];
  item.text = text;
  item.length = length;
  item.number = number;
  return count_ < kSize || Flush();
}

bool StoreBatch::Flush() {
  for (int k = 0; k < count_; ++k) {
    Item& item = items_[k];
    item.fingerprint = diff_fingerprint(item.text, item.length);
    __builtin_prefetch(&tables.slots[FirstSlot(item.fingerprint)]);
  }
  // The symbols the probes will meet first; only used to prefetch.
  for (int k = 0; k < count_; ++k) {
    const int32_t held = tables.slots[FirstSlot(items_[k].fingerprint)];
    if (held > 0) __builtin_prefetch(&tables.symbols[held - 1]);
  }
  for (int k = 0; k < count_; ++k) {
    const Item& item = items_[k];
    const int32_t symbol = diff_store_keyed(item.text, item.length, item.fingerprint);
    if (symbol < 0) return false;
    EnterLine(side_, item.number, symbol);
  }
  count_ = 0;
  return true;
}

}  // namespace diff_engine
