// Menu layout: rows stacked under an optional title inside a one-pixel
// frame, labels after the check-mark gutter, accelerators right-aligned.
#include "gui/menus/menu_layout.h"

#include <algorithm>

namespace {

constexpr int kFrame = 1;

bool inside(const DrawRect& r, int x, int y) {
  return x >= r.x && y >= r.y && x < r.x + r.width && y < r.y + r.height;
}

}  // namespace

WMenuMetrics W_menuMetrics(int fontHeight) {
  int h = std::max(fontHeight, 8);
  return WMenuMetrics{h + 6, 7, h + 4, 6, 3 * h / 2};
}

WMenuLayout W_layoutMenu(const std::vector<WMenuEntry>& entries,
                         const std::vector<int>& labelWidths, const std::vector<int>& accelWidths,
                         int titleWidth, const WMenuMetrics& m) {
  WMenuLayout l;
  int labels = 0, accels = 0;
  for (size_t i = 0; i < entries.size(); i++) {
    if (entries[i].separator) continue;
    if (i < labelWidths.size()) labels = std::max(labels, labelWidths[i]);
    if (i < accelWidths.size()) accels = std::max(accels, accelWidths[i]);
  }
  l.labelX = kFrame + m.gutter;
  int inner = m.gutter + labels + (accels > 0 ? m.accelGap + accels : 0) + m.pad;
  inner = std::max(inner, titleWidth + 2 * m.pad);
  l.width = inner + 2 * kFrame;
  l.accelRight = l.width - kFrame - m.pad;
  l.titleHeight = titleWidth >= 0 ? m.rowHeight + 2 : 0;
  int y = kFrame + l.titleHeight;
  for (const WMenuEntry& e : entries) {
    int h = e.separator ? m.separatorHeight : m.rowHeight;
    l.rows.push_back(DrawRect{kFrame, y, inner, h});
    y += h;
  }
  l.height = y + kFrame;
  return l;
}

int W_menuEntryAt(const WMenuLayout& l, int x, int y) {
  for (size_t i = 0; i < l.rows.size(); i++)
    if (inside(l.rows[i], x, y)) return static_cast<int>(i);
  return -1;
}

std::vector<DrawRect> W_layoutMenuBar(const std::vector<int>& titleWidths, int height, int pad) {
  std::vector<DrawRect> out;
  int x = 0;
  for (int w : titleWidths) {
    out.push_back(DrawRect{x, 0, w + 2 * pad, height});
    x += w + 2 * pad;
  }
  return out;
}

int W_menuTitleAt(const std::vector<DrawRect>& titles, int x, int y) {
  for (size_t i = 0; i < titles.size(); i++)
    if (inside(titles[i], x, y)) return static_cast<int>(i);
  return -1;
}
