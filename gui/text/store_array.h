// The compact text store: two parallel arrays, line-end flags and element
// pointers, so a text of a million lines costs a few bytes per position.
// A reference is the 1-based index of its position.  The store owns every
// element until it is removed, and removal deletes it.
#pragma once

#include <cstdint>

#include "gui/text/text_store.h"

class ArrayStore : public TextBuilder {
 public:
  ArrayStore();
  ~ArrayStore() override;
  ArrayStore(const ArrayStore&) = delete;
  ArrayStore& operator=(const ArrayStore&) = delete;

  TextElement* getElement(TextReference ref) override;
  bool isLineEnd(TextReference ref) override;
  TextReference getFirstElement() override;
  TextReference getLastElement() override;
  TextReference getNextElement(TextReference ref) override;
  TextReference getPrevElement(TextReference ref) override;
  TextReference insertText(TextElement* element, TextReference before) override;
  TextReference insertBreak(TextReference before) override;
  void removeText(TextReference ref) override;
  void changeText(TextReference ref) override;
  void clearText() override;

  long getCount() const { return count_; }
  long getCapacity() const { return capacity_; }

  static TextReference refFromIndex(long index);
  static long indexFromRef(TextReference ref);

 private:
  static constexpr long kInitialCapacity = 16;
  TextReference insertAt(TextElement* element, bool lineEnd, TextReference before);
  bool valid(TextReference ref) const;

  uint8_t* lineEnds_ = nullptr;
  TextElement** elements_ = nullptr;
  long count_ = 0;
  long capacity_ = kInitialCapacity;
};
