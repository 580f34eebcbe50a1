// Painting and mouse handling of the scroll bar; the arithmetic lives in
// the scroller and the thumb functions.
#include "gui/text/scroll_bar.h"

#include "gui/core/pixels.h"

WScrollBar::WScrollBar(WWindowedItem* parent, DrawRect placement, int direction)
    : WWindowedItem(parent, placement, control_pixel), Scroller(direction) {}

int WScrollBar::trackLength() const {
  return getDirection() == SCROLL_VERTICAL ? getHeight() : getWidth();
}

int WScrollBar::along(const xinLibSt* e) const {
  return getDirection() == SCROLL_VERTICAL ? e->y : e->x;
}

ThumbGeometry WScrollBar::thumb() const {
  return thumbGeometry(trackLength(), kMinThumb, getMinimum(), getMaximum(), getPageStep(),
                       getPosition());
}

void WScrollBar::handleScrollerChanged() { invalidate(); }

bool WScrollBar::handleConfigure(int width, int height) {
  WWindowedItem::handleConfigure(width, height);
  invalidate();
  return true;
}

bool WScrollBar::handleExpose(int x, int y, int width, int height) {
  DrawTarget* t = draw_begin(getWindow(), DrawRect{x, y, width, height});
  if (!t) return false;
  draw_fillRect(t, x, y, width, height, control_pixel);
  ThumbGeometry g = thumb();
  bool vertical = getDirection() == SCROLL_VERTICAL;
  int across = vertical ? getWidth() : getHeight();
  DrawRect r = vertical ? DrawRect{1, g.offset, across - 2, g.length}
                        : DrawRect{g.offset, 1, g.length, across - 2};
  draw_fillRect(t, r.x, r.y, r.width, r.height, controlshadow_pixel);
  draw_line(t, r.x, r.y, r.x + r.width - 1, r.y, controlhighlight_pixel);
  draw_line(t, r.x, r.y, r.x, r.y + r.height - 1, controlhighlight_pixel);
  draw_end(t);
  return true;
}

void WScrollBar::pressAt(int at, int button) {
  if (button == 4 || button == 5) {
    scrollByLines(button == 4 ? -kWheelLines : kWheelLines);
    return;
  }
  ThumbGeometry g = thumb();
  if (button == 2) {
    // Centre the thumb on the pointer and keep dragging from there.
    grab_ = g.length / 2;
    dragging_ = true;
    dragTo(at);
    return;
  }
  if (at < g.offset) scrollByPages(-1);
  else if (at >= g.offset + g.length) scrollByPages(1);
  else {
    grab_ = at - g.offset;
    dragging_ = true;
  }
}

void WScrollBar::dragTo(int at) {
  if (!dragging_) return;
  scrollTo(positionForThumb(trackLength(), kMinThumb, getMinimum(), getMaximum(), getPageStep(),
                            at - grab_));
}

void WScrollBar::release() { dragging_ = false; }

bool WScrollBar::handleMousePress(xinLibSt* e) {
  pressAt(along(e), e->button);
  return true;
}

bool WScrollBar::handleMouseMotion(xinLibSt* e) {
  dragTo(along(e));
  return true;
}

bool WScrollBar::handleMouseRelease(xinLibSt*) {
  release();
  return true;
}
