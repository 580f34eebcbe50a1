// Splitter bars: the clamping rules, the bar's resize cursor and raised
// look, and dragging it with the first button.  Positions during a drag
// come from the pointer as the server sees it now in the parent window, so
// that the bar's own moves never shift the coordinates under it.
#include "gui/widgets/splitter.h"

#include <algorithm>

#include "gui/core/pixels.h"
#include "gui/x11/window.h"

int splitter_even(int start, int end, int thickness) {
  return start + (end - start - thickness) / 2;
}

int splitter_clamp(int wanted, int start, int end, int thickness, int minBefore, int minAfter) {
  int lo = start + minBefore, hi = end - minAfter - thickness;
  if (hi < lo) return splitter_even(start, end, thickness);
  return std::clamp(wanted, lo, hi);
}

WSplitter::WSplitter(WWindowedItem* parent, DrawRect placement, Orientation orientation)
    : WWindowedItem(parent, placement, control_pixel), orientation_(orientation) {
  bool vertical = orientation == kVerticalBar;
  start_ = 0;
  end_ = parent ? (vertical ? parent->getWidth() : parent->getHeight()) : 0;
  xwin_setCursor(getWindow(), vertical ? WCURSOR_RESIZE_H : WCURSOR_RESIZE_V);
}

int WSplitter::clamp(int wanted) const {
  int thickness = orientation_ == kVerticalBar ? getWidth() : getHeight();
  return splitter_clamp(wanted, start_, end_, thickness, minBefore_, minAfter_);
}

int WSplitter::minPosition() const { return clamp(start_); }
int WSplitter::maxPosition() const { return clamp(end_); }
int WSplitter::position() const { return orientation_ == kVerticalBar ? getX() : getY(); }

void WSplitter::setArea(int start, int end) {
  start_ = start, end_ = end;
  moveBar(position(), false);
}

void WSplitter::setMinimums(int before, int after) {
  minBefore_ = std::max(before, 0), minAfter_ = std::max(after, 0);
  moveBar(position(), false);
}

void WSplitter::setPosition(int position) { moveBar(position, false); }

void WSplitter::splitEvenly() {
  int thickness = orientation_ == kVerticalBar ? getWidth() : getHeight();
  moveBar(splitter_even(start_, end_, thickness), false);
}

void WSplitter::centre() { moveBar((minPosition() + maxPosition()) / 2, false); }

void WSplitter::moveBar(int wanted, bool tell) {
  int p = clamp(wanted);
  if (p == position()) return;
  if (orientation_ == kVerticalBar) setGeometry(DrawRect{p, getY(), getWidth(), getHeight()});
  else setGeometry(DrawRect{getX(), p, getWidth(), getHeight()});
  auto alive = aliveToken();
  if (tell && callback_) callback_(this);
  if (!alive.expired()) invalidate();
}

void WSplitter::beginDrag(int pointer) {
  if (dimmed_) return;
  dragging_ = true;
  grab_ = pointer - position();
}

void WSplitter::dragTo(int pointer) {
  if (dragging_) moveBar(pointer - grab_, true);
}

void WSplitter::endDrag() { dragging_ = false; }

int WSplitter::pointerInParent(const xinLibSt* e) const {
  int fallback = orientation_ == kVerticalBar ? getX() + e->x : getY() + e->y;
  int wx, wy;
  if (!getParent() || !xwin_pointerIn(getParent()->getWindow(), &wx, &wy)) return fallback;
  return orientation_ == kVerticalBar ? wx : wy;
}

bool WSplitter::handleMousePress(xinLibSt* e) {
  if (dimmed_ || e->button != 1) return true;
  beginDrag(orientation_ == kVerticalBar ? getX() + e->x : getY() + e->y);
  return true;
}

bool WSplitter::handleMouseMotion(xinLibSt* e) {
  if (!dragging_) return false;
  dragTo(pointerInParent(e));
  return true;
}

bool WSplitter::handleMouseRelease(xinLibSt* e) {
  if (!dragging_ || e->button != 1) return false;
  auto alive = aliveToken();  // the callback may delete the bar
  dragTo(pointerInParent(e));
  if (!alive.expired()) endDrag();
  return true;
}

// A raised bar with a grip of three short grooves in the middle.
bool WSplitter::handleExpose(int, int, int, int) {
  int w = getWidth(), h = getHeight();
  DrawTarget* t = draw_begin(getWindow(), DrawRect{0, 0, w, h});
  if (!t) return false;
  draw_fillRect(t, 0, 0, w, h, control_pixel);
  bool vertical = orientation_ == kVerticalBar;
  draw_line(t, 0, 0, vertical ? 0 : w - 1, vertical ? h - 1 : 0, controlhighlight_pixel);
  draw_line(t, vertical ? w - 1 : 0, vertical ? 0 : h - 1, w - 1, h - 1, controlshadow_pixel);
  for (int i = -1; i <= 1; i++) {
    int c = (vertical ? h : w) / 2 + 4 * i;
    if (vertical) draw_line(t, 2, c, w - 3, c, controlshadow_pixel);
    else draw_line(t, c, 2, c, h - 3, controlshadow_pixel);
  }
  draw_end(t);
  return true;
}
