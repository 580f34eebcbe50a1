// Hit-testing, selection moves and keeping a row in view for the column
// list, as plain arithmetic.
#include "gui/lists/mscroll_list_layout.h"

#include <algorithm>

#include "gui/x11/event.h"

int mslColumnAt(const std::vector<int>& widths, int x) {
  if (widths.empty() || x < 0) return -1;
  int left = 0;
  for (size_t c = 0; c < widths.size(); c++) {
    left += std::max(widths[c], 0);
    if (x < left) return static_cast<int>(c);
  }
  return static_cast<int>(widths.size()) - 1;
}

int mslColumnLeft(const std::vector<int>& widths, int column) {
  int left = 0;
  for (int c = 0; c < column && c < static_cast<int>(widths.size()); c++)
    left += std::max(widths[c], 0);
  return left;
}

int mslRowAt(int y, int headerHeight, long top, int rowHeight, int rowCount) {
  if (y < headerHeight || rowHeight <= 0) return -1;
  long row = (y - headerHeight + top) / rowHeight;
  return row < rowCount ? static_cast<int>(row) : -1;
}

bool mslIsMoveKey(int key) {
  switch (key) {
    case WKEY_UP: case WKEY_DOWN: case WKEY_PAGEUP: case WKEY_PAGEDOWN:
    case WKEY_HOME: case WKEY_END:
      return true;
    default:
      return false;
  }
}

int mslMoveSelection(int current, int key, int rowCount, int pageRows) {
  if (!mslIsMoveKey(key)) return current;
  if (rowCount <= 0) return -1;
  int last = rowCount - 1;
  int page = std::max(pageRows, 1);
  if (current < 0 || current > last) return key == WKEY_END ? last : 0;
  int next = current;
  switch (key) {
    case WKEY_UP: next = current - 1; break;
    case WKEY_DOWN: next = current + 1; break;
    case WKEY_PAGEUP: next = current - page; break;
    case WKEY_PAGEDOWN: next = current + page; break;
    case WKEY_HOME: next = 0; break;
    case WKEY_END: next = last; break;
    default: break;
  }
  return std::clamp(next, 0, last);
}

long mslTopShowing(long top, int row, int rowHeight, int bodyHeight) {
  if (row < 0 || rowHeight <= 0) return top;
  long rowTop = static_cast<long>(row) * rowHeight;
  if (rowTop < top) return rowTop;
  long visibleRows = std::max(bodyHeight / rowHeight, 1);
  long lastTop = rowTop - (visibleRows - 1) * rowHeight;
  return std::max(top, lastTop);
}
