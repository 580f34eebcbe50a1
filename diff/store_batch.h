// Entering lines into the symbol table a few at a time.  Each lookup is a
// cache miss or two (the index slot, the symbol) on big inputs;
// fingerprinting a batch of lines first and prefetching what their probes
// will touch lets those misses overlap instead of following one another.
// Lines are still stored strictly in order, so the result is the same as
// storing them one by one.
#pragma once

#include <cstdint>

namespace diff_engine {

class StoreBatch {
 public:
  explicit StoreBatch(int side) : side_(side) {}

  // Queues line `number` of the side; its text must stay valid until the
  // next Flush.  False when a flush made necessary by a full batch failed.
  bool Add(int32_t number, const char* text, long length);
  // Stores every queued line in order; false when the table is full.
  bool Flush();
  bool Empty() const { return count_ == 0; }

 private:
  struct Item {
    const char* text;
    long length;
    uint64_t fingerprint;
    int32_t number;
  };
  static constexpr int kSize = 16;  // enough misses in flight to hide latency

  Item items_[kSize];
  int count_ = 0;
  int side_;
};

// Records line `number` of `side` as an unpaired line of symbol `slot`.
void EnterLine(int side, int32_t number, int32_t slot);

}  // namespace diff_engine
