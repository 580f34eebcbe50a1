// The damage collection: a bounding box per window, kept in the order the
// windows were first damaged; and scrolling, which copies what is still
// shown and damages only the strips that come into view.
#include "gui/x11/damage.h"

#include <algorithm>
#include <cstdlib>

#include "gui/x11/xdisplay.h"

namespace {

struct Box {
  WindowId window;
  int x0, y0, x1, y1;  // x1/y1 exclusive
};
std::vector<Box> boxes;

Box* findBox(WindowId window) {
  for (Box& b : boxes)
    if (b.window == window) return &b;
  return nullptr;
}

}  // namespace

void gui_addDamage(WindowId window, int x, int y, int width, int height) {
  if (width <= 0 || height <= 0) return;
  Box* b = findBox(window);
  if (!b) {
    boxes.push_back(Box{window, x, y, x + width, y + height});
    return;
  }
  b->x0 = std::min(b->x0, x), b->y0 = std::min(b->y0, y);
  b->x1 = std::max(b->x1, x + width), b->y1 = std::max(b->y1, y + height);
}

void gui_forgetDamage(WindowId window) {
  std::erase_if(boxes, [window](const Box& b) { return b.window == window; });
}

void gui_scrollWindow(WindowId window, DrawRect area, int dx, int dy) {
  XState& xs = xstate();
  if (!xs.display || area.width <= 0 || area.height <= 0) return;
  if (std::abs(dx) >= area.width || std::abs(dy) >= area.height) {
    gui_addDamage(window, area.x, area.y, area.width, area.height);
    return;
  }
  if (Box* b = findBox(window))
    gui_addDamage(window, b->x0 + dx, b->y0 + dy, b->x1 - b->x0, b->y1 - b->y0);
  int sx = area.x + std::max(-dx, 0), sy = area.y + std::max(-dy, 0);
  int w = area.width - std::abs(dx), h = area.height - std::abs(dy);
  XCopyArea(xs.display, window, window, xs.scrollGc, sx, sy, w, h, sx + dx, sy + dy);
  if (dy > 0) gui_addDamage(window, area.x, area.y, area.width, dy);
  if (dy < 0) gui_addDamage(window, area.x, area.y + area.height + dy, area.width, -dy);
  if (dx > 0) gui_addDamage(window, area.x, area.y, dx, area.height);
  if (dx < 0) gui_addDamage(window, area.x + area.width + dx, area.y, -dx, area.height);
}

std::vector<WDamage> gui_takeDamage() {
  std::vector<WDamage> out;
  out.reserve(boxes.size());
  for (const Box& b : boxes)
    out.push_back(WDamage{b.window, DrawRect{b.x0, b.y0, b.x1 - b.x0, b.y1 - b.y0}});
  boxes.clear();
  return out;
}
