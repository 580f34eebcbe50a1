// Rectangle intersection, which clipping is made of.
#include "gui/text/text_painter.h"

#include <algorithm>

DrawRect intersectRects(DrawRect a, DrawRect b) {
  int x1 = std::max(a.x, b.x), y1 = std::max(a.y, b.y);
  int x2 = std::min(a.x + a.width, b.x + b.width);
  int y2 = std::min(a.y + a.height, b.y + b.height);
  return DrawRect{x1, y1, std::max(0, x2 - x1), std::max(0, y2 - y1)};
}
