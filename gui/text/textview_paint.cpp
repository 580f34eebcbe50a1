// Painting a view: the lines that meet the exposed area, each element in
// slices (unselected, selected, unselected), spanners to the right edge,
// and the view's background around and below the text.
#include <algorithm>
#include <climits>

#include "gui/core/pixels.h"
#include "gui/text/text_element.h"
#include "gui/text/text_painter.h"
#include "gui/text/text_painter_draw.h"
#include "gui/text/textview_impl.h"

bool WTextView_Impl::handleExpose(int x, int y, int width, int height) {
  DrawRect area{x, y, width, height};
  DrawTarget* target = draw_begin(getWindow(), area);
  if (!target) return false;
  DrawTextPainter painter(target, area);
  int widthBefore = table_ ? table_->getContentWidth() : 0;
  paintArea(&painter, area);
  draw_end(target);
  paintCount_++;
  // Lines laid out for the first time may be wider than any seen before.
  if (table_ && table_->getContentWidth() != widthBefore && hScroller_) hScroller_->reconfigure();
  return true;
}

void WTextView_Impl::paintArea(TextPainter* painter, DrawRect area) {
  // A read-only view shows the control colour where there is no text.
  painter->fillRect(area.x, area.y, area.width, area.height,
                    readOnlyBackground_ ? control_pixel : backgroundPixel_);
  if (!table_) return;
  long top = scrollY_ + area.y, bottom = top + area.height;
  int line = std::max(1, table_->getLineAt(top));
  for (;; line++) {
    const PositionTable::LinePos* lp = table_->getLine(line);
    if (!lp || lp->top >= bottom) break;
    paintLine(painter, *lp, line, area);
  }
}

void WTextView_Impl::paintLine(TextPainter* painter, const PositionTable::LinePos& line,
                               int lineNo, DrawRect area) {
  int selFrom = 0, selTo = 0;
  bool lineEnd = false;
  if (hasSelection_) {
    int first, last;
    selectionLines(&first, &last);
    if (lineNo >= first && lineNo <= last) selectionSpan(lineNo, &selFrom, &selTo, &lineEnd);
  }
  for (size_t i = 0; i < line.elements.size(); i++)
    paintElement(painter, line, i, lineNo, area, selFrom, selTo);
  // A selected line end shows as selection colour to the right edge.
  if (lineEnd && line.end && line.firstSpanner < 0) {
    int x = static_cast<int>(line.width - scrollX_);
    int y = static_cast<int>(line.top - scrollY_);
    int right = area.x + area.width;
    if (x < right) painter->fillRect(std::max(x, area.x), y, right - std::max(x, area.x),
                                     line.height, select_pixel);
  }
}

void WTextView_Impl::paintElement(TextPainter* painter, const PositionTable::LinePos& line,
                                  size_t index, int, DrawRect area, int selFrom, int selTo) {
  const PositionTable::ElementPos& e = line.elements[index];
  TextElement* el = store_->getElement(e.ref);
  if (!el) return;
  int width = e.width;
  if (el->isSpanner()) {
    // To the next element that is not a spanner, or to the right edge.
    int end = INT_MAX / 2;
    for (size_t j = index + 1; j < line.elements.size(); j++) {
      TextElement* next = store_->getElement(line.elements[j].ref);
      if (next && !next->isSpanner() && line.elements[j].width > 0) {
        end = line.elements[j].x;
        break;
      }
    }
    int right = static_cast<int>(std::max<long>(area.x + area.width + scrollX_, viewWidth() + scrollX_));
    width = std::min(end, right) - e.x;
  }
  if (width <= 0) return;
  int screenX = static_cast<int>(e.x - scrollX_), y = static_cast<int>(line.top - scrollY_);
  // The part of the element inside the area, cut where the selection
  // starts and ends.
  int lo = std::max(0, area.x - screenX), hi = std::min(width, area.x + area.width - screenX);
  if (lo >= hi) return;
  int cuts[4] = {lo, std::clamp(selFrom - e.x, lo, hi), std::clamp(selTo - e.x, lo, hi), hi};
  if (selFrom >= selTo) cuts[1] = cuts[2] = hi;
  for (int k = 0; k < 3; k++) {
    if (cuts[k + 1] <= cuts[k]) continue;
    el->paintPortion(this, painter, screenX + cuts[k], y, cuts[k], cuts[k + 1] - cuts[k], k == 1);
  }
}
