// Painting the column list: the header in the control colours, then the
// rows that cross the damaged area, each cell clipped to itself.  The
// toggler paints its columns; the owner's drawer may take any other cell.
#include <algorithm>

#include "gui/core/fonts.h"
#include "gui/core/pixels.h"
#include "gui/lists/mscroll_list.h"
#include "gui/lists/mscroll_list_layout.h"

namespace {

bool intersects(DrawRect a, DrawRect b) {
  return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height &&
         b.y < a.y + a.height;
}

void drawClippedText(DrawTarget* t, DrawRect cell, Pixel colour, const std::string& text) {
  const DrawFont* font = draw_defaultFont();
  if (!font || text.empty()) return;
  int baseline = cell.y + (cell.height - font_h) / 2 + font_ascent;
  draw_text(t, font, colour, cell.x + MScrollList::kCellPadding, baseline, text.c_str(),
            static_cast<int>(text.size()));
}

}  // namespace

DrawRect MScrollList::cellRect(int row, int column) const {
  std::vector<int> w = widths();
  int x = mslColumnLeft(w, column);
  int width = column >= 0 && column < getColumnCount() ? columns_[column].width : 0;
  // The last column reaches the scroll bar.
  if (column == getColumnCount() - 1) width = std::max(width, bodyWidth() - x);
  long y = getHeaderHeight() + static_cast<long>(row) * rowHeight_ - top_;
  return DrawRect{x, static_cast<int>(std::clamp(y, -100000L, 100000L)), width, rowHeight_};
}

void MScrollList::redrawCell(int row, int column) {
  if (!validCell(row, column)) return;
  DrawRect r = cellRect(row, column);
  if (r.y + r.height > getHeaderHeight() && r.y < getHeight()) invalidate(r);
}

void MScrollList::redrawRow(int row) {
  if (row < 0 || row >= getRowCount()) return;
  DrawRect r = cellRect(row, 0);
  r.width = bodyWidth();
  if (r.y + r.height > getHeaderHeight() && r.y < getHeight()) invalidate(r);
}

bool MScrollList::handleExpose(int x, int y, int width, int height) {
  DrawRect area{x, y, width, height};
  DrawTarget* t = draw_begin(getWindow(), area);
  if (!t) return false;
  draw_fillRect(t, x, y, width, height, bg_pixel);
  if (header_) paintHeader(t);
  int first = firstVisibleRow();
  for (int r = first; r < getRowCount(); r++) {
    DrawRect row = cellRect(r, 0);
    if (row.y >= getHeight()) break;
    row.x = 0, row.width = bodyWidth();
    if (intersects(row, area)) paintRow(t, r);
  }
  draw_setClip(t, nullptr, 0);
  draw_end(t);
  return true;
}

void MScrollList::paintHeader(DrawTarget* t) {
  int body = bodyWidth();
  draw_setClip(t, nullptr, 0);
  draw_fillRect(t, 0, 0, getWidth(), rowHeight_, control_pixel);
  draw_line(t, 0, rowHeight_ - 1, getWidth() - 1, rowHeight_ - 1, controlshadow_pixel);
  for (int c = 0; c < getColumnCount(); c++) {
    DrawRect cell = cellRect(0, c);
    cell.y = 0;
    cell.width = std::min(cell.width, body - cell.x);
    if (cell.width <= 0) continue;
    draw_setClip(t, &cell, 1);
    drawClippedText(t, cell, fg_pixel, columns_[c].label);
    draw_line(t, cell.x + cell.width - 1, 0, cell.x + cell.width - 1, rowHeight_ - 2,
              controlshadow_pixel);
  }
}

void MScrollList::paintRow(DrawTarget* t, int row) {
  bool selected = row == selected_;
  int body = bodyWidth();
  int headerHeight = getHeaderHeight();
  for (int c = 0; c < getColumnCount(); c++) {
    DrawRect cell = cellRect(row, c);
    // Rows scrolled half under the header are cut at its edge.
    int top = std::max(cell.y, headerHeight);
    DrawRect clip{cell.x, top, std::min(cell.width, body - cell.x), cell.y + cell.height - top};
    if (clip.width <= 0 || clip.height <= 0) continue;
    draw_setClip(t, &clip, 1);
    paintCell(t, row, c, cell, selected);
  }
}

void MScrollList::paintCell(DrawTarget* t, int row, int column, DrawRect cell, bool selected) {
  const Cell& c = rows_[row].cells[column];
  Pixel bg = selected ? select_pixel : c.coloured ? c.bg : bg_pixel;
  Pixel fg = selected ? selectreverse_pixel : c.coloured ? c.fg : fg_pixel;
  draw_fillRect(t, cell.x, cell.y, cell.width, cell.height, bg);
  if (toggler_ && toggler_->isToggleColumn(column)) {
    toggler_->drawToggle(t, cell, row, column, selected);
    return;
  }
  if (drawCell_ && drawCell_(this, t, cell, row, column)) return;
  drawClippedText(t, cell, fg, c.text);
}
