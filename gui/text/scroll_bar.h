// The scroll-bar widget: a trough with a thumb, driving a Scroller.  A
// press above or below the thumb pages, dragging the thumb moves to the
// matching position, the middle button jumps there, the wheel steps lines.
#pragma once

#include "gui/core/item.h"
#include "gui/text/scroller.h"

class WScrollBar : public WWindowedItem, public Scroller {
 public:
  static constexpr int kMinThumb = 12;
  static constexpr int kWheelLines = 3;

  WScrollBar(WWindowedItem* parent, DrawRect placement, int direction);

  bool handleExpose(int x, int y, int width, int height) override;
  bool handleConfigure(int width, int height) override;
  bool handleMousePress(xinLibSt* event) override;
  bool handleMouseMotion(xinLibSt* event) override;
  bool handleMouseRelease(xinLibSt* event) override;

  // The thumb as it is drawn now (along the bar's direction).
  ThumbGeometry thumb() const;
  // What a press at `along` pixels down (or across) the trough does, without
  // a display: pages, starts a thumb drag, or jumps (button 2).
  void pressAt(int along, int button);
  void dragTo(int along);
  void release();

 protected:
  void handleScrollerChanged() override;

 private:
  int trackLength() const;
  int along(const xinLibSt* event) const;
  bool dragging_ = false;
  int grab_ = 0;  // where in the thumb the drag took hold
};
