// Block storage for symbol texts (see text_store.h).
#include "diff/text_store.h"

#include <cstring>

#include "base/gen.h"
#include "diff/big_alloc.h"

namespace diff_engine {

namespace {

// Blocks grow from small, so that a short comparison holds little unused
// memory, to large, so that big inputs need few blocks (and get huge pages).
constexpr long kLastBlockBytes = 16L << 20;
// Texts longer than this get a block of their own.
constexpr long kLongText = TextStore::kFirstBlockBytes / 4;

}  // namespace

TextStore::~TextStore() {
  while (current_) {
    Block* previous = current_->previous;
    BigFree(current_);
    current_ = previous;
  }
}

TextStore::Block* TextStore::NewBlock(long capacity) {
  // Running out of memory here ends the process, as the foundation
  // allocator would.
  auto* block = static_cast<Block*>(BigAlloc(1, sizeof(Block) + capacity));
  if (!block) gen_out_of_memory();
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
      Block* block = NewBlock(nextBlockBytes_);
      if (nextBlockBytes_ < kLastBlockBytes) nextBlockBytes_ *= 2;
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
