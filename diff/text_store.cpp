// Block storage for symbol texts (see text_store.h).
#include "diff/text_store.h"

#include <cstring>

#include "base/gen.h"

namespace diff_engine {

namespace {

// Big enough that allocations are rare, small enough that a short
// comparison does not hold much unused memory.
constexpr long kBlockBytes = 1L << 20;
// Texts longer than this get a block of their own.
constexpr long kLongText = kBlockBytes / 4;

}  // namespace

TextStore::~TextStore() {
  while (current_) {
    Block* previous = current_->previous;
    gen_free(current_);
    current_ = previous;
  }
}

TextStore::Block* TextStore::NewBlock(long capacity) {
  auto* block = static_cast<Block*>(gen_alloc(1, sizeof(Block) + capacity));
  block->previous = nullptr;
  block->capacity = capacity;
  block->used = 0;
  return block;
}

char* TextStore::Copy(const char* text, long length) {
  const long need = length + 1;
  char* out;
  if (need > kLongText) {
    // Kept behind the current block, whose free space stays in use.
    Block* block = NewBlock(need);
    block->used = need;
    if (current_) {
      block->previous = current_->previous;
      current_->previous = block;
    } else {
      current_ = block;
    }
    out = reinterpret_cast<char*>(block + 1);
  } else {
    if (!current_ || current_->capacity - current_->used < need) {
      Block* block = NewBlock(kBlockBytes);
      block->previous = current_;
      current_ = block;
    }
    out = reinterpret_cast<char*>(current_ + 1) + current_->used;
    current_->used += need;
  }
  memcpy(out, text, length);
  out[length] = '\0';
  return out;
}

}  // namespace diff_engine
