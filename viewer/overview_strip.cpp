#include "viewer/overview_strip.h"

#include <algorithm>

#include "gui/core/pixels.h"
#include "gui/x11/draw.h"
#include "gui/x11/event.h"

namespace {

constexpr int kMinMark = 3;  // a one-line difference stays visible

// The line colours are made to be read behind text; on the narrow strip
// they need more weight.
Pixel stronger(Pixel p) {
  unsigned r, g, b;
  draw_pixelRGB(p, &r, &g, &b);
  return draw_allocRGB(r * 3 / 4, g * 3 / 4, b * 3 / 4);
}

}  // namespace

OverviewStrip::OverviewStrip(WWindowedItem* parent, DrawRect placement, ClickFn click,
                             void* owner)
    : WWindowedItem(parent, placement, bg_pixel), click_(click), owner_(owner) {}

void OverviewStrip::setMarks(std::vector<Mark> marks, int rows) {
  marks_ = std::move(marks);
  for (Mark& m : marks_) m.colour = stronger(m.colour);
  rows_ = std::max(1, rows);
  current_ = -1;
  invalidate();
}

void OverviewStrip::setCurrent(int index) {
  if (index == current_) return;
  current_ = index;
  invalidate();
}

void OverviewStrip::setVisible(int first, int last) {
  if (first == first_ && last == last_) return;
  first_ = first, last_ = last;
  invalidate();
}

int OverviewStrip::yOf(int row) const {
  return static_cast<int>(static_cast<long long>(row - 1) * getHeight() / rows_);
}

int OverviewStrip::rowAt(int y) const {
  return std::clamp(static_cast<int>(static_cast<long long>(y) * rows_ / std::max(1, getHeight())) + 1,
                    1, rows_);
}

bool OverviewStrip::handleExpose(int, int, int, int) {
  int w = getWidth(), h = getHeight();
  DrawTarget* t = draw_begin(getWindow(), DrawRect{0, 0, w, h});
  if (!t) return false;
  draw_fillRect(t, 0, 0, w, h, bg_pixel);
  for (const Mark& m : marks_) {
    int top = yOf(m.first), bottom = std::max(yOf(m.last + 1), top + kMinMark);
    draw_fillRect(t, 1, top, w - 2, bottom - top, m.colour);
  }
  if (current_ >= 0 && current_ < static_cast<int>(marks_.size())) {
    const Mark& m = marks_[current_];
    int top = yOf(m.first), bottom = std::max(yOf(m.last + 1), top + kMinMark + 2);
    draw_fillRect(t, 0, top, w, bottom - top, fg_pixel);
    draw_fillRect(t, 1, top + 1, w - 2, bottom - top - 2, m.colour);
  }
  int top = yOf(first_), bottom = std::max(yOf(last_ + 1), top + 3) - 1;
  draw_line(t, 0, top, w - 1, top, controlshadow_pixel);
  draw_line(t, 0, bottom, w - 1, bottom, controlshadow_pixel);
  draw_line(t, 0, top, 0, bottom, controlshadow_pixel);
  draw_line(t, w - 1, top, w - 1, bottom, controlshadow_pixel);
  draw_end(t);
  return true;
}

bool OverviewStrip::handleMousePress(xinLibSt* event) {
  if (event->button == 1 && click_) click_(owner_, rowAt(event->y));
  return true;
}
