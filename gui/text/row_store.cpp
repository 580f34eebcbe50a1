#include "gui/text/row_store.h"

#include "gui/text/text_element.h"
#include "gui/text/text_elements.h"

namespace {

// A position is (row << kSlotBits | slot) + 1; the slot kEnd is the row's
// line end, so walking from row to row needs no row to be built.
constexpr int kSlotBits = 24;
constexpr uintptr_t kEnd = (uintptr_t{1} << kSlotBits) - 1;

TextReference encode(int row, uintptr_t slot) {
  return reinterpret_cast<TextReference>(((static_cast<uintptr_t>(row) << kSlotBits) | slot) + 1);
}

int rowOf(TextReference ref) {
  return static_cast<int>((reinterpret_cast<uintptr_t>(ref) - 1) >> kSlotBits);
}

uintptr_t slotOf(TextReference ref) { return (reinterpret_cast<uintptr_t>(ref) - 1) & kEnd; }

}  // namespace

RowStore::RowStore(RowSource* source, int cachedRows)
    : source_(source), limit_(cachedRows > 16 ? cachedRows : 16) {}

RowStore::~RowStore() { disconnectListeners(); }

void RowStore::reset() {
  cache_.clear();
  ages_.clear();
  notifyWholeChange();
}

void RowStore::rowsChanged(int first, int last) {
  for (int r = first; r <= last; r++) {
    auto it = cache_.find(r);
    if (it == cache_.end()) continue;
    ages_.erase(it->second.age);
    cache_.erase(it);
  }
  if (first >= 1 && first <= source_->rowCount()) notifyChanged(encode(first, 0));
}

// The row's elements, built when not cached; the least recently used row
// makes room.
RowContents& RowStore::row(int number) {
  auto it = cache_.find(number);
  if (it != cache_.end()) {
    ages_.splice(ages_.begin(), ages_, it->second.age);
    return it->second.contents;
  }
  if (cache_.size() >= limit_) {
    cache_.erase(ages_.back());
    ages_.pop_back();
  }
  ages_.push_front(number);
  Cached& c = cache_[number];
  c.age = ages_.begin();
  source_->buildRow(number, c.contents);
  // Every row has an element, so that the row after a line end is known
  // to start at its element 0 without being built.
  if (c.contents.elements.empty()) c.contents.elements.push_back(std::make_unique<FakeBreak>());
  return c.contents;
}

TextElement* RowStore::getElement(TextReference ref) {
  if (!ref || isLineEnd(ref)) return nullptr;
  int number = rowOf(ref);
  if (number < 1 || number > source_->rowCount()) return nullptr;
  RowContents& r = row(number);
  uintptr_t slot = slotOf(ref);
  return slot < r.elements.size() ? r.elements[slot].get() : nullptr;
}

bool RowStore::isLineEnd(TextReference ref) { return ref && slotOf(ref) == kEnd; }

TextReference RowStore::getFirstElement() {
  return source_->rowCount() < 1 ? nullptr : encode(1, 0);
}

TextReference RowStore::getLastElement() {
  int count = source_->rowCount();
  return count < 1 ? nullptr : encode(count, kEnd);
}

TextReference RowStore::getNextElement(TextReference ref) {
  if (!ref) return nullptr;
  int number = rowOf(ref);
  uintptr_t slot = slotOf(ref);
  if (slot != kEnd) {
    return slot + 1 < static_cast<uintptr_t>(elementCount(number)) ? encode(number, slot + 1)
                                                                     : encode(number, kEnd);
  }
  return number >= source_->rowCount() ? nullptr : encode(number + 1, 0);
}

TextReference RowStore::getPrevElement(TextReference ref) {
  if (!ref) return nullptr;
  int number = rowOf(ref);
  uintptr_t slot = slotOf(ref);
  if (slot == kEnd) return encode(number, elementCount(number) - 1);
  if (slot > 0) return encode(number, slot - 1);
  return number > 1 ? encode(number - 1, kEnd) : nullptr;
}

TextReference RowStore::insertText(TextElement* element, TextReference) {
  delete element;
  return nullptr;
}

TextReference RowStore::insertBreak(TextReference) { return nullptr; }
void RowStore::removeText(TextReference) {}
void RowStore::changeText(TextReference ref) {
  if (ref) notifyChanged(ref);
}
void RowStore::clearText() { reset(); }

// The first position of a row is always its element 0.
int RowStore::knownLineOf(TextReference lineStart) {
  if (!lineStart || slotOf(lineStart) != 0) return 0;
  int number = rowOf(lineStart);
  return number >= 1 && number <= source_->rowCount() ? number : 0;
}

int RowStore::knownLineHeight(int line) { return source_->rowHeight(line); }

TextReference RowStore::knownLineEnd(int line) { return encode(line, kEnd); }
