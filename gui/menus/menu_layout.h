// Where the parts of a menu go: rows of a drop-down or context menu, the
// titles along a menu bar, and which row or title a point falls on.  Pure
// functions over text widths, so they are tested without a display.
#pragma once

#include <vector>

#include "gui/menus/menu.h"
#include "gui/x11/draw.h"

struct WMenuMetrics {
  int rowHeight;        // an item row
  int separatorHeight;  // a separator row
  int gutter;           // left of the labels: room for the check mark
  int pad;              // around texts and inside the frame
  int accelGap;         // least room between a label and its accelerator
};

// The metrics for a font of the given line height.
WMenuMetrics W_menuMetrics(int fontHeight);

struct WMenuLayout {
  int width = 0, height = 0;
  int titleHeight = 0;          // 0 without a title
  std::vector<DrawRect> rows;   // one per entry, in the popup's coordinates
  int labelX = 0;               // where labels start
  int accelRight = 0;           // where accelerator texts end
};

// Lays a menu out.  labelWidths and accelWidths hold the shown widths of
// each entry's texts; titleWidth < 0 means the menu has no title row.
WMenuLayout W_layoutMenu(const std::vector<WMenuEntry>& entries,
                         const std::vector<int>& labelWidths, const std::vector<int>& accelWidths,
                         int titleWidth, const WMenuMetrics& m);
// The entry whose row holds the point (separators included), or -1.
int W_menuEntryAt(const WMenuLayout& layout, int x, int y);

// The titles of a bar side by side from the left edge, each its text
// width plus `pad` on both sides, all `height` tall.
std::vector<DrawRect> W_layoutMenuBar(const std::vector<int>& titleWidths, int height, int pad);
// The title under the point, or -1.
int W_menuTitleAt(const std::vector<DrawRect>& titles, int x, int y);
