// The cheap half of the position table: line heights measured by walking
// the store, checkpoints every few lines, and the invalidation that rewinds
// the scan to the first line a change touched.
#include "gui/text/position_table.h"

#include <algorithm>

#include "gui/text/text_element.h"

PositionTable::Extent PositionTable::measureLine(TextReference first) {
  Extent e{minLineHeight_, nullptr, nullptr};
  if (int line = first ? store_->knownLineOf(first) : 0) {
    e.height = std::max(e.height, store_->knownLineHeight(line));
    e.end = store_->knownLineEnd(line);
    e.next = store_->getNextElement(e.end);
    return e;
  }
  for (TextReference r = first; r; r = store_->getNextElement(r)) {
    if (store_->isLineEnd(r)) {
      e.end = r;
      e.next = store_->getNextElement(r);
      return e;
    }
    if (TextElement* el = store_->getElement(r)) e.height = std::max(e.height, el->getHeight(view_));
  }
  return e;
}

bool PositionTable::scanStep() {
  if (complete_) return false;
  if (scanFresh_) {
    scanNext_ = store_->getFirstElement();
    scanFresh_ = false;
  }
  if (!scanNext_) {
    complete_ = true;
    return false;
  }
  if (scanLines_ % kCheckpointStride == 0) checkpoints_.push_back({scanNext_, scanTop_});
  Extent e = measureLine(scanNext_);
  scanLines_++;
  scanTop_ += e.height;
  scanNext_ = e.next;
  lastPartial_ = !e.end;
  if (!e.next) complete_ = true;
  return true;
}

void PositionTable::scanTo(int line) {
  while (scanLines_ < line && scanStep()) {
  }
}

void PositionTable::scanAll() {
  while (scanStep()) {
  }
}

PositionTable::Location PositionTable::locate(int line) {
  const Checkpoint& c = checkpoints_[(line - 1) / kCheckpointStride];
  Location at{c.first, c.top};
  for (int l = ((line - 1) / kCheckpointStride) * kCheckpointStride + 1; l < line; l++) {
    Extent e = measureLine(at.first);
    at.top += e.height;
    at.first = e.next;
  }
  return at;
}

int PositionTable::getLineCount() {
  scanAll();
  return scanLines_;
}

long PositionTable::getContentHeight() {
  scanAll();
  return scanTop_;
}

int PositionTable::getAvgLineHeight() {
  if (scanLines_ == 0) scanTo(kCheckpointStride);
  if (scanLines_ == 0) return minLineHeight_;
  return static_cast<int>(scanTop_ / scanLines_);
}

long PositionTable::getLineTop(int line) {
  if (line < 1) return -1;
  if (!zone_.empty() && line >= zoneFirst_ && line < zoneFirst_ + getZoneSize())
    return zone_[line - zoneFirst_].top;
  scanTo(line);
  if (line <= scanLines_) return locate(line).top;
  return line == scanLines_ + 1 && complete_ ? scanTop_ : -1;
}

int PositionTable::getLineAt(long y) {
  if (y < 0) return 0;
  int inZone = lineAtInZone(y);
  if (inZone > 0) return inZone;
  while (scanTop_ <= y && scanStep()) {
  }
  if (y >= scanTop_) return scanLines_ + 1;
  auto c = std::upper_bound(checkpoints_.begin(), checkpoints_.end(), y,
                            [](long v, const Checkpoint& cp) { return v < cp.top; }) - 1;
  int line = static_cast<int>(c - checkpoints_.begin()) * kCheckpointStride + 1;
  Location at{c->first, c->top};
  for (;; line++) {
    Extent e = measureLine(at.first);
    if (y < at.top + e.height) return line;
    at.top += e.height;
    at.first = e.next;
  }
}

void PositionTable::invalidateAll() {
  zone_.clear();
  checkpoints_.clear();
  scanLines_ = 0;
  scanTop_ = 0;
  scanNext_ = nullptr;
  scanFresh_ = true;
  complete_ = false;
  lastPartial_ = false;
  maxWidth_ = 0;
}

void PositionTable::invalidateFromLine(int line) {
  if (line <= 1) {
    invalidateAll();
    return;
  }
  if (!zone_.empty() && zoneFirst_ + getZoneSize() > line) {
    if (zoneFirst_ >= line) zone_.clear();
    else zone_.resize(line - zoneFirst_);
  }
  if (line - 1 > scanLines_) return;  // the scan has not got that far
  Location prev = locate(line - 1);
  Extent e = measureLine(prev.first);
  checkpoints_.resize(std::min(checkpoints_.size(),
                               static_cast<size_t>((line - 2) / kCheckpointStride + 1)));
  scanLines_ = line - 1;
  scanTop_ = prev.top + e.height;
  scanNext_ = e.next;
  scanFresh_ = false;
  complete_ = false;
  lastPartial_ = false;
}

int PositionTable::lineAfter(TextReference prev, TextReference ref) {
  if (!prev) return 1;
  int line, element;
  if (findInZone(prev, &line, &element)) return element < 0 ? line + 1 : line;
  if (store_->getNextElement(ref)) return 0;
  // Appended at the very end: only the last line can have changed.
  if (!complete_) return scanLines_ + 1;
  return lastPartial_ ? scanLines_ : scanLines_ + 1;
}

void PositionTable::handleAdded(TextReference ref) {
  int line = lineAfter(store_->getPrevElement(ref), ref);
  if (line > 0) invalidateFromLine(line);
  else invalidateAll();
}

void PositionTable::handleRemoved(TextReference previous) {
  if (!previous) {
    invalidateAll();
    return;
  }
  int line, element;
  if (findInZone(previous, &line, &element)) invalidateFromLine(element < 0 ? line + 1 : line);
  else invalidateAll();
}

// A store that knows its line heights keeps them, so a changed line only
// needs laying out again (a store whose heights change says so with a
// whole change): the scan stands.
void PositionTable::handleChanged(TextReference ref) {
  int line, element;
  bool inZone = findInZone(ref, &line, &element);
  if (store_->knownLineOf(ref) > 0) {
    if (inZone) zone_.resize(std::max(0, line - zoneFirst_));
    return;
  }
  if (inZone) invalidateFromLine(line);
  else invalidateAll();
}
