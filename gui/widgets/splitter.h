// Splitter bars.  A vertical bar stands between a left and a right area and
// is dragged sideways; a horizontal bar lies between a top and a bottom area
// and is dragged up and down.  The bar's position is its left (top) edge in
// the parent; it stays between the limits its owner's guides give (a
// minimum size for the area on each side) and tells the owner each time it
// moves, so that the owner lays the two areas out again.
#pragma once

#include "gui/core/item.h"

class WSplitter;

// The owner finds its object through splitter->getTopLevel()->returnData.
using WSplitterCallback = void (*)(WSplitter* splitter);

// The pure rules, without a display.
// The nearest position to `wanted` that leaves `minBefore` and `minAfter`
// pixels on either side of a bar of `thickness` within [start, end); when
// the area is too small for both minimums, the even split.
int splitter_clamp(int wanted, int start, int end, int thickness, int minBefore, int minAfter);
// The position that gives both sides the same size.
int splitter_even(int start, int end, int thickness);

class WSplitter : public WWindowedItem {
 public:
  enum Orientation { kVerticalBar, kHorizontalBar };
  static constexpr int kThickness = 6;

  // `placement` gives the bar's first position and its length across.
  WSplitter(WWindowedItem* parent, DrawRect placement, Orientation orientation);

  Orientation orientation() const { return orientation_; }
  // The span the bar divides (parent coordinates along the drag direction)
  // and the minimum room on each side; the bar is clamped at once.
  void setArea(int start, int end);
  void setMinimums(int before, int after);
  int minPosition() const;
  int maxPosition() const;
  // Moves the bar (clamped); no callback.
  void setPosition(int position);
  int position() const;
  // Both sides the same size; the bar centred between its limits.
  void splitEvenly();
  void centre();
  void setCallback(WSplitterCallback callback) { callback_ = callback; }
  void setDimmed(bool dimmed) { dimmed_ = dimmed; }
  bool isDimmed() const { return dimmed_; }

  // A drag in parent coordinates, as the mouse does it; the callback runs
  // whenever the position changes.
  void beginDrag(int pointer);
  void dragTo(int pointer);
  void endDrag();
  bool isDragging() const { return dragging_; }

  bool handleExpose(int x, int y, int width, int height) override;
  bool handleMousePress(xinLibSt* event) override;
  bool handleMouseMotion(xinLibSt* event) override;
  bool handleMouseRelease(xinLibSt* event) override;

 private:
  int clamp(int wanted) const;
  void moveBar(int position, bool tell);
  int pointerInParent(const xinLibSt* event) const;

  Orientation orientation_;
  int start_ = 0, end_ = 0, minBefore_ = 0, minAfter_ = 0;
  bool dragging_ = false, dimmed_ = false;
  int grab_ = 0;  // pointer offset from the bar's edge when the drag began
  WSplitterCallback callback_ = nullptr;
};
