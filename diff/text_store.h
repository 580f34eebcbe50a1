// Storage for the symbols' canonical texts: large blocks filled one after
// the other, so storing a million distinct lines costs a few hundred
// allocations and freeing them costs as many.
#pragma once

#include <cstddef>

namespace diff_engine {

class TextStore {
 public:
  TextStore() = default;
  ~TextStore();
  TextStore(const TextStore&) = delete;
  TextStore& operator=(const TextStore&) = delete;

  static constexpr long kFirstBlockBytes = 256L << 10;

  // A NUL-terminated copy of `length` bytes, valid until the store dies.
  char* Copy(const char* text, long length);

 private:
  struct Block {
    Block* previous;
    long capacity;
    long used;
    // the bytes follow the header
  };
  static Block* NewBlock(long capacity);
  Block* current_ = nullptr;
  long nextBlockBytes_ = kFirstBlockBytes;
};

}  // namespace diff_engine
