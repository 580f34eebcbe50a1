// Toggle columns of a column list: each cell is a small check box, filled
// when the owner says the cell is on; a mouse click on one toggles through
// the owner, every other call of the click path goes to the owner as is.
#include <algorithm>

#include "gui/core/pixels.h"
#include "gui/lists/mscroll_list.h"

namespace {
constexpr int kBoxSize = 10;  // the check box's side, in pixels
}

MScrollListAutoToggler::MScrollListAutoToggler(MScrollList* list, std::vector<int> toggleColumns,
                                               MScrollListAutoToggleHandler* handler)
    : list_(list), columns_(std::move(toggleColumns)), handler_(handler) {
  if (!list_) return;
  if (list_->toggler_) list_->toggler_->listGone();
  list_->toggler_ = this;
  list_->invalidate();
}

MScrollListAutoToggler::~MScrollListAutoToggler() {
  if (!list_ || list_->toggler_ != this) return;
  list_->toggler_ = nullptr;
  list_->invalidate();
}

bool MScrollListAutoToggler::isToggleColumn(int column) const {
  return std::find(columns_.begin(), columns_.end(), column) != columns_.end();
}

void MScrollListAutoToggler::drawToggle(DrawTarget* t, DrawRect cell, int row, int column,
                                        bool selected) {
  int side = std::min({kBoxSize, cell.width - 2, cell.height - 2});
  if (side < 3 || !handler_) return;
  int x = cell.x + (cell.width - side) / 2;
  int y = cell.y + (cell.height - side) / 2;
  Pixel frame = selected ? selectreverse_pixel : fg_pixel;
  draw_fillRect(t, x, y, side, side, bg_pixel);
  draw_line(t, x, y, x + side - 1, y, frame);
  draw_line(t, x, y + side - 1, x + side - 1, y + side - 1, frame);
  draw_line(t, x, y, x, y + side - 1, frame);
  draw_line(t, x + side - 1, y, x + side - 1, y + side - 1, frame);
  if (handler_->isMSLCellOn(list_, row, column))
    draw_fillRect(t, x + 2, y + 2, side - 4, side - 4, fg_pixel);
}

void MScrollListAutoToggler::click(int row, int column, int clicks, xinLibSt* event) {
  if (!handler_ || !list_) return;
  bool mouse = event && event->type == WEV_MOUSE;
  if (mouse && clicks == 1 && isToggleColumn(column)) {
    handler_->handleToggle(list_, row, column);
    return;
  }
  handler_->handleMSLClicks(list_, row, column, clicks, event);
}
