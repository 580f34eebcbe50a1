// The zone of the position table: lines laid out element by element,
// extended one line at a time as painting walks up or down, and refilled
// around a line that is far away.
#include "gui/text/position_table.h"

#include <algorithm>

#include "gui/text/text_element.h"

PositionTable::PositionTable(TextStore* store, WTextView* view) : store_(store), view_(view) {}

void PositionTable::setZoneLimit(int lines) {
  zoneLimit_ = std::max(1, lines);
  bool had = !zone_.empty();
  int first = zoneFirst_;
  zone_.clear();
  if (had) getLine(first);
}

void PositionTable::setTabWidth(int pixels) {
  tabWidth_ = pixels;
  invalidateAll();
}

void PositionTable::setMinLineHeight(int pixels) {
  minLineHeight_ = pixels;
  invalidateAll();
}

void PositionTable::setDisplaySize(int width, int height) {
  displayWidth_ = width;
  displayHeight_ = height;
}

PositionTable::LinePos PositionTable::layoutLine(TextReference first, long top) {
  LinePos line{top, minLineHeight_, 0, -1, {}, first, nullptr};
  int x = 0;
  for (TextReference r = first; r; r = store_->getNextElement(r)) {
    if (store_->isLineEnd(r)) {
      line.end = r;
      break;
    }
    TextElement* el = store_->getElement(r);
    if (!el) continue;
    int w = el->getWidth(view_);
    if (el->isTab()) w = tabWidth_ > 0 ? tabWidth_ - x % tabWidth_ : 0;
    int h = el->getHeight(view_);
    if (el->isSpanner() && line.firstSpanner < 0)
      line.firstSpanner = static_cast<int>(line.elements.size());
    line.elements.push_back({x, w, h, r});
    line.height = std::max(line.height, h);
    x += w;
  }
  line.width = x;
  maxWidth_ = std::max(maxWidth_, x);
  return line;
}

TextReference PositionTable::firstOfPreviousLine(TextReference first) {
  TextReference r = store_->getPrevElement(first);  // the previous line's end
  for (TextReference p = store_->getPrevElement(r); p && !store_->isLineEnd(p);
       p = store_->getPrevElement(p))
    r = p;
  return r;
}

const PositionTable::LinePos* PositionTable::extendZone(int line) {
  int size = getZoneSize();
  if (line == zoneFirst_ + size) {
    const LinePos& last = zone_.back();
    TextReference next = last.end ? store_->getNextElement(last.end) : nullptr;
    if (!next) return nullptr;
    zone_.push_back(layoutLine(next, last.top + last.height));
    if (getZoneSize() > zoneLimit_) {
      zone_.pop_front();
      zoneFirst_++;
    }
    return &zone_.back();
  }
  LinePos before = layoutLine(firstOfPreviousLine(zone_.front().first), 0);
  before.top = zone_.front().top - before.height;
  zone_.push_front(std::move(before));
  zoneFirst_--;
  if (getZoneSize() > zoneLimit_) zone_.pop_back();
  return &zone_.front();
}

const PositionTable::LinePos* PositionTable::getLine(int line) {
  if (line < 1) return nullptr;
  int size = getZoneSize();
  if (size && line >= zoneFirst_ && line < zoneFirst_ + size) return &zone_[line - zoneFirst_];
  if (size && (line == zoneFirst_ + size || line == zoneFirst_ - 1)) return extendZone(line);
  scanTo(line);
  if (line > scanLines_) return nullptr;
  Location at = locate(line);
  zone_.clear();
  zoneFirst_ = line;
  zone_.push_back(layoutLine(at.first, at.top));
  return &zone_.back();
}

int PositionTable::lineAtInZone(long y) const {
  if (zone_.empty() || y < zone_.front().top || y >= zone_.back().top + zone_.back().height)
    return 0;
  auto it = std::upper_bound(zone_.begin(), zone_.end(), y,
                             [](long v, const LinePos& l) { return v < l.top; });
  return zoneFirst_ + static_cast<int>(it - zone_.begin()) - 1;
}

int PositionTable::elementAt(const LinePos& line, int x) {
  const auto& els = line.elements;
  if (line.firstSpanner >= 0 && x >= els[line.firstSpanner].x) {
    // Everything right of a spanner belongs to it, unless a later element
    // starts before x.
    for (int i = static_cast<int>(els.size()) - 1; i > line.firstSpanner; i--)
      if (els[i].x <= x && x < els[i].x + els[i].width) return i;
    return line.firstSpanner;
  }
  auto it = std::upper_bound(els.begin(), els.end(), x,
                             [](int v, const ElementPos& e) { return v < e.x; });
  while (it != els.begin()) {
    --it;
    if (x < it->x + it->width) return static_cast<int>(it - els.begin());
    if (it->width > 0) break;
  }
  return -1;
}

bool PositionTable::findInZone(TextReference ref, int* line, int* element) const {
  if (!ref) return false;
  for (size_t l = 0; l < zone_.size(); l++) {
    const LinePos& lp = zone_[l];
    for (size_t e = 0; e < lp.elements.size(); e++) {
      if (lp.elements[e].ref != ref) continue;
      *line = zoneFirst_ + static_cast<int>(l);
      *element = static_cast<int>(e);
      return true;
    }
    if (lp.end == ref) {
      *line = zoneFirst_ + static_cast<int>(l);
      *element = -1;
      return true;
    }
  }
  return false;
}

bool PositionTable::findRef(TextReference ref, int* line, int* x) {
  int element;
  if (!findInZone(ref, line, &element)) {
    // Walk the store from the start to count the line ends before it.
    int l = 1;
    TextReference r = store_->getFirstElement();
    for (; r && r != ref; r = store_->getNextElement(r))
      if (store_->isLineEnd(r)) l++;
    if (!r) return false;
    const LinePos* lp = getLine(l);
    if (!lp || !findInZone(ref, line, &element)) return false;
  }
  const LinePos* lp = getLine(*line);
  *x = element < 0 ? lp->width : lp->elements[element].x;
  return true;
}

int PositionTable::getPartialLineWidth() {
  TextReference r = store_->getLastElement();
  if (!r || store_->isLineEnd(r)) return 0;
  while (store_->getPrevElement(r) && !store_->isLineEnd(store_->getPrevElement(r)))
    r = store_->getPrevElement(r);
  int x = 0;
  for (; r; r = store_->getNextElement(r)) {
    TextElement* el = store_->getElement(r);
    if (!el) continue;
    x += el->isTab() ? (tabWidth_ > 0 ? tabWidth_ - x % tabWidth_ : 0) : el->getWidth(view_);
  }
  return x;
}
