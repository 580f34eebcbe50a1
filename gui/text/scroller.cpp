// Combining scrollees and clamping positions; the thumb arithmetic of the
// scroll bar.
#include "gui/text/scroller.h"

#include <algorithm>
#include <vector>

namespace {
constexpr long kNoStep = 0x7fffffff;
}

Scroller::Scroller(int direction) : direction_(direction) {}

Scroller::~Scroller() {
  std::vector<Scrollee*> snapshot(scrollees_.begin(), scrollees_.end());
  scrollees_.clear();
  for (Scrollee* s : snapshot) {
    if (direction_ == SCROLL_HORIZONTAL && s->getHScroller() == this) s->setHScroller(nullptr);
    if (direction_ == SCROLL_VERTICAL && s->getVScroller() == this) s->setVScroller(nullptr);
  }
}

void Scroller::addScrollee(Scrollee* scrollee) {
  if (!scrollee || !scrollees_.insert(scrollee).second) return;
  reconfigure();
}

void Scroller::removeScrollee(Scrollee* scrollee) {
  if (scrollees_.erase(scrollee)) reconfigure();
}

void Scroller::reconfigure() {
  visible_ = false;
  minimum_ = kNoStep;
  maximum_ = 0;
  pageStep_ = lineStep_ = pixStep_ = kNoStep;
  for (Scrollee* s : scrollees_) {
    visible_ = visible_ || s->getVisible(direction_);
    minimum_ = std::min(minimum_, s->getMinScroll(direction_));
    maximum_ = std::max(maximum_, s->getMaxScroll(direction_));
    pageStep_ = std::min(pageStep_, s->getPageStep(direction_));
    lineStep_ = std::min(lineStep_, s->getLineStep(direction_));
    pixStep_ = std::min(pixStep_, s->getPixStep(direction_));
  }
  if (scrollees_.empty()) minimum_ = 0;
  pixStep_ = std::max(1L, pixStep_);
  setPosition(position_);
  handleScrollerChanged();
}

long Scroller::clampPosition(long p) const {
  p = std::min(p, maximum_ - pageStep_);
  p = std::max(p, minimum_);
  return minimum_ + (p - minimum_) / pixStep_ * pixStep_;
}

void Scroller::setPosition(long p) {
  position_ = clampPosition(p);
  std::vector<Scrollee*> snapshot(scrollees_.begin(), scrollees_.end());
  for (Scrollee* s : snapshot) {
    if (!scrollees_.count(s)) continue;
    if (direction_ == SCROLL_HORIZONTAL) s->handleHScroll(position_);
    else s->handleVScroll(position_);
  }
  handleScrollerChanged();
}

void Scroller::scrollTo(long p) {
  if (p != position_) setPosition(p);
}

void Scroller::scrollByLines(long n) { scrollTo(position_ + n * lineStep_); }
void Scroller::scrollByPages(long n) { scrollTo(position_ + n * pageStep_); }
void Scroller::scrollByPixes(long n) { scrollTo(position_ + n * pixStep_); }

ThumbGeometry thumbGeometry(int trackLength, int minThumb, long minimum, long maximum,
                            long page, long position) {
  long range = maximum - minimum;
  if (trackLength <= 0) return {0, 0};
  if (range <= 0 || page >= range) return {0, trackLength};
  int length = static_cast<int>(static_cast<double>(trackLength) * page / range);
  length = std::clamp(length, std::min(minThumb, trackLength), trackLength);
  double fraction = static_cast<double>(position - minimum) / (range - page);
  fraction = std::clamp(fraction, 0.0, 1.0);
  return {static_cast<int>(fraction * (trackLength - length) + 0.5), length};
}

long positionForThumb(int trackLength, int minThumb, long minimum, long maximum, long page,
                      int offset) {
  ThumbGeometry whole = thumbGeometry(trackLength, minThumb, minimum, maximum, page, minimum);
  int room = trackLength - whole.length;
  if (room <= 0) return minimum;
  double fraction = std::clamp(static_cast<double>(offset) / room, 0.0, 1.0);
  return minimum + static_cast<long>(fraction * (maximum - page - minimum) + 0.5);
}
