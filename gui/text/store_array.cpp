// Parallel arrays of line-end flags and element pointers, grown to twice
// the needed size when full; insertion shifts the tail up by one.
#include "gui/text/store_array.h"

#include <cstring>

#include "base/gen.h"
#include "gui/text/text_element.h"

TextReference ArrayStore::refFromIndex(long index) {
  return reinterpret_cast<TextReference>(static_cast<intptr_t>(index));
}

long ArrayStore::indexFromRef(TextReference ref) {
  return static_cast<long>(reinterpret_cast<intptr_t>(ref));
}

ArrayStore::ArrayStore() {
  lineEnds_ = static_cast<uint8_t*>(gen_alloc(capacity_, sizeof(uint8_t)));
  elements_ = static_cast<TextElement**>(gen_alloc(capacity_, sizeof(TextElement*)));
}

ArrayStore::~ArrayStore() {
  disconnectListeners();
  for (long i = 0; i < count_; i++) delete elements_[i];
  gen_free(lineEnds_);
  gen_free(elements_);
}

bool ArrayStore::valid(TextReference ref) const {
  long i = indexFromRef(ref);
  return i >= 1 && i <= count_;
}

TextElement* ArrayStore::getElement(TextReference ref) {
  return valid(ref) ? elements_[indexFromRef(ref) - 1] : nullptr;
}

bool ArrayStore::isLineEnd(TextReference ref) {
  return valid(ref) && lineEnds_[indexFromRef(ref) - 1];
}

TextReference ArrayStore::getFirstElement() {
  return count_ > 0 ? refFromIndex(1) : nullptr;
}

TextReference ArrayStore::getLastElement() { return refFromIndex(count_); }

TextReference ArrayStore::getNextElement(TextReference ref) {
  long i = indexFromRef(ref);
  return i >= 1 && i < count_ ? refFromIndex(i + 1) : nullptr;
}

TextReference ArrayStore::getPrevElement(TextReference ref) {
  long i = indexFromRef(ref);
  return i > 1 && i <= count_ ? refFromIndex(i - 1) : nullptr;
}

TextReference ArrayStore::insertAt(TextElement* element, bool lineEnd,
                                   TextReference before) {
  if (count_ + 1 > capacity_) {
    capacity_ = 2 * (count_ + 1);
    lineEnds_ = static_cast<uint8_t*>(gen_realloc(lineEnds_, capacity_ * sizeof(uint8_t)));
    elements_ = static_cast<TextElement**>(
        gen_realloc(elements_, capacity_ * sizeof(TextElement*)));
  }
  long at = valid(before) ? indexFromRef(before) - 1 : count_;
  long tail = count_ - at;
  std::memmove(lineEnds_ + at + 1, lineEnds_ + at, tail * sizeof(uint8_t));
  std::memmove(elements_ + at + 1, elements_ + at, tail * sizeof(TextElement*));
  lineEnds_[at] = lineEnd ? 1 : 0;
  elements_[at] = element;
  count_++;
  TextReference ref = refFromIndex(at + 1);
  notifyAdded(ref);
  return ref;
}

TextReference ArrayStore::insertText(TextElement* element, TextReference before) {
  return insertAt(element, false, before);
}

TextReference ArrayStore::insertBreak(TextReference before) {
  return insertAt(nullptr, true, before);
}

void ArrayStore::removeText(TextReference ref) {
  if (!valid(ref)) return;
  long at = indexFromRef(ref) - 1;
  delete elements_[at];
  long tail = count_ - at - 1;
  std::memmove(lineEnds_ + at, lineEnds_ + at + 1, tail * sizeof(uint8_t));
  std::memmove(elements_ + at, elements_ + at + 1, tail * sizeof(TextElement*));
  count_--;
  notifyRemoved(ref, refFromIndex(at));
}

void ArrayStore::changeText(TextReference ref) { notifyChanged(ref); }

void ArrayStore::clearText() {
  for (long i = 0; i < count_; i++) delete elements_[i];
  count_ = 0;
  capacity_ = kInitialCapacity;
  lineEnds_ = static_cast<uint8_t*>(gen_realloc(lineEnds_, capacity_ * sizeof(uint8_t)));
  elements_ = static_cast<TextElement**>(
      gen_realloc(elements_, capacity_ * sizeof(TextElement*)));
  notifyWholeChange();
}
