// The overview strip beside the shared scroll bar: every difference of the
// whole comparison drawn at its place in proportion to the rows (inserted,
// deleted and changed in their colours), the current one drawn across the
// whole strip and framed, and the rows in view outlined.  Painting looks at
// each difference once, however long the files, so the strip stays
// instant on a million lines.  A click hands the row under the pointer to
// the owner.
#pragma once

#include <vector>

#include "gui/core/item.h"

class OverviewStrip : public WWindowedItem {
 public:
  struct Mark {
    int first, last;  // display rows
    Pixel colour;
  };
  using ClickFn = void (*)(void* owner, int row);

  OverviewStrip(WWindowedItem* parent, DrawRect placement, ClickFn click, void* owner);

  // A new comparison: its differences in order and its number of rows.
  void setMarks(std::vector<Mark> marks, int rows);
  void setCurrent(int index);               // -1: none
  void setVisible(int first, int last);     // the rows in view
  // The row shown at strip height y, and the strip height of a row.
  int rowAt(int y) const;
  int yOf(int row) const;

  bool handleExpose(int x, int y, int width, int height) override;
  bool handleMousePress(xinLibSt* event) override;

 private:
  std::vector<Mark> marks_;
  int rows_ = 1, current_ = -1, first_ = 1, last_ = 1;
  ClickFn click_;
  void* owner_;
};
