// The element pools: one free list per 8-byte size class up to 64 bytes,
// refilled from 64 KB chunks; larger elements use the general allocator.
// The program is single-threaded, so the lists need no locking.
#include <new>
#include <vector>

#include "gui/text/text_element.h"

namespace {

constexpr std::size_t kGranule = 8;
constexpr std::size_t kLargest = 64;
constexpr std::size_t kChunk = 64 * 1024;

struct FreeBlock {
  FreeBlock* next;
};

FreeBlock* freeLists[kLargest / kGranule + 1];

std::size_t sizeClass(std::size_t size) { return (size + kGranule - 1) / kGranule; }

void refill(std::size_t cls) {
  std::size_t block = cls * kGranule;
  char* chunk = static_cast<char*>(::operator new(kChunk));
  for (std::size_t at = 0; at + block <= kChunk; at += block) {
    auto* b = reinterpret_cast<FreeBlock*>(chunk + at);
    b->next = freeLists[cls];
    freeLists[cls] = b;
  }
}

}  // namespace

void* TextElement::operator new(std::size_t size) {
  if (size > kLargest) return ::operator new(size);
  std::size_t cls = sizeClass(size);
  if (!freeLists[cls]) refill(cls);
  FreeBlock* b = freeLists[cls];
  freeLists[cls] = b->next;
  return b;
}

void TextElement::operator delete(void* block, std::size_t size) {
  if (!block) return;
  if (size > kLargest) {
    ::operator delete(block);
    return;
  }
  auto* b = static_cast<FreeBlock*>(block);
  std::size_t cls = sizeClass(size);
  b->next = freeLists[cls];
  freeLists[cls] = b;
}
