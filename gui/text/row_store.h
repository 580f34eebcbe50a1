// A read-only text store whose rows are built only when a view looks at
// them.  The owner describes the text as a number of rows of known height
// (a RowSource); a row's elements are made on demand and kept in a small
// cache, so a text of millions of rows costs a few bytes per row until it
// is shown, and a view measures it without building anything.
//
// Positions encode the row and the element's index, so they stay valid
// while rows are rebuilt.  When what a row shows changes (its colours, its
// text), the owner calls rowsChanged and the views lay those rows out
// again.
#pragma once

#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "gui/text/text_store.h"

class TextElement;

// The elements of one row, in order, and any text they point into (a
// ColorText does not copy its text).
struct RowContents {
  std::vector<std::unique_ptr<TextElement>> elements;
  std::string text;
};

class RowSource {
 public:
  virtual ~RowSource() = default;
  virtual int rowCount() = 0;
  // Rows are numbered from 1.
  virtual int rowHeight(int row) = 0;
  virtual void buildRow(int row, RowContents& out) = 0;
};

class RowStore : public TextBuilder {
 public:
  explicit RowStore(RowSource* source, int cachedRows = 4096);
  ~RowStore() override;

  // The source's rows are all new (a new text): views start over.
  void reset();
  // Rows first..last show something else now.
  void rowsChanged(int first, int last);
  int builtRows() const { return static_cast<int>(cache_.size()); }

  TextElement* getElement(TextReference ref) override;
  bool isLineEnd(TextReference ref) override;
  TextReference getFirstElement() override;
  TextReference getLastElement() override;
  TextReference getNextElement(TextReference ref) override;
  TextReference getPrevElement(TextReference ref) override;
  // The text comes from the source alone: these change nothing.
  TextReference insertText(TextElement* element, TextReference before) override;
  TextReference insertBreak(TextReference before) override;
  void removeText(TextReference ref) override;
  void changeText(TextReference ref) override;
  void clearText() override;

  int knownLineOf(TextReference lineStart) override;
  int knownLineHeight(int line) override;
  TextReference knownLineEnd(int line) override;

 private:
  struct Cached {
    RowContents contents;
    std::list<int>::iterator age;
  };
  RowContents& row(int number);
  int elementCount(int number) { return static_cast<int>(row(number).elements.size()); }

  RowSource* source_;
  size_t limit_;
  std::unordered_map<int, Cached> cache_;
  std::list<int> ages_;  // most recently used first
};
