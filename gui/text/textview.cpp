// The text view's life and settings: making it, showing a store, hearing
// the store's changes, and answering its scrollers as a scrollee.
#include "gui/text/textview.h"

#include <algorithm>

#include "gui/core/pixels.h"
#include "gui/text/text_metrics.h"
#include "gui/text/textview_impl.h"
#include "gui/x11/damage.h"
#include "gui/x11/display.h"
#include "gui/x11/selection.h"

WTextView* WTextView::makeWTextView(WWindowedItem* parent, DrawRect placement,
                                    const char* name) {
  return new WTextView_Impl(parent, placement, name);
}

WTextView_Impl::WTextView_Impl(WWindowedItem* parent, DrawRect placement, const char* name)
    : WTextView(parent, placement, bg_pixel),
      metrics_(&displayTextMetrics()),
      name_(name ? name : "") {
  backgroundPixel_ = getBackground();
  selectPointerMotion(true);
}

WTextView_Impl::~WTextView_Impl() {
  dragTimer_.reset();
  if (getWindow()) selectionOwner_forgetWindow(getWindow());
  if (hScroller_) hScroller_->removeScrollee(this);
  if (vScroller_) vScroller_->removeScrollee(this);
  if (store_) store_->removeTextChangeListener(this);
}

void WTextView_Impl::setMetrics(const TextMetrics* metrics) {
  metrics_ = metrics ? metrics : &displayTextMetrics();
  if (table_) table_->invalidateAll();
  contentChanged();
}

void WTextView_Impl::refreshBackgroundPixel() {
  backgroundPixel_ = getBackground();
  dirtyAll();
}

void WTextView_Impl::setTextStore(TextStore* store) {
  if (store == store_) return;
  if (store_) store_->removeTextChangeListener(this);
  hasSelection_ = false;
  store_ = store;
  table_.reset();
  if (store_) {
    table_ = std::make_unique<PositionTable>(store_, this);
    table_->setTabWidth(tabStop_);
    table_->setMinLineHeight(minLineHeight_);
    table_->setZoneLimit(zoneLimit_);
    table_->setDisplaySize(getWidth(), getHeight());
    store_->addTextChangeListener(this);
  }
  contentChanged();
}

void WTextView_Impl::setZoneLimit(int lines) {
  zoneLimit_ = std::max(1, lines);
  if (table_) table_->setZoneLimit(zoneLimit_);
}

void WTextView_Impl::setTabStop(int pixels) {
  tabStop_ = pixels;
  if (table_) table_->setTabWidth(pixels);
  contentChanged();
}

void WTextView_Impl::setMinLineHeight(int pixels) {
  minLineHeight_ = pixels;
  if (table_) table_->setMinLineHeight(pixels);
  contentChanged();
}

void WTextView_Impl::setScrollLineHeight(int pixels) {
  scrollLineHeight_ = std::max(1, pixels);
  reconfigureScrollers();
}

int WTextView_Impl::getAvgLineHeight() {
  return table_ ? table_->getAvgLineHeight() : minLineHeight_;
}

void WTextView_Impl::setReadOnlyBackground(bool on) {
  readOnlyBackground_ = on;
  dirtyAll();
}

void WTextView_Impl::setViewSize(int width, int height) {
  setGeometry(DrawRect{getX(), getY(), width, height});
  handleConfigure(width, height);
}

bool WTextView_Impl::handleConfigure(int width, int height) {
  WWindowedItem::handleConfigure(width, height);
  if (table_) table_->setDisplaySize(width, height);
  reconfigureScrollers();
  dirtyAll();
  return true;
}

int WTextView_Impl::viewWidth() const { return getWidth(); }
int WTextView_Impl::viewHeight() const { return getHeight(); }

void WTextView_Impl::dirtyAll() { invalidate(); }

void WTextView_Impl::reconfigureScrollers() {
  if (hScroller_) hScroller_->reconfigure();
  if (vScroller_) vScroller_->reconfigure();
}

void WTextView_Impl::contentChanged() {
  dirtyAll();
  reconfigureScrollers();
}

// ---- store changes ---------------------------------------------------------

void WTextView_Impl::handleTextChange(TextStore*) {
  if (table_) table_->invalidateAll();
  hasSelection_ = false;
  contentChanged();
}

void WTextView_Impl::handleAddedText(TextStore*, TextReference ref) {
  if (table_) table_->handleAdded(ref);
  contentChanged();
}

void WTextView_Impl::handleChangedText(TextStore*, TextReference ref) {
  if (table_) table_->handleChanged(ref);
  contentChanged();
}

void WTextView_Impl::handleRemovedText(TextStore*, TextReference, TextReference previous) {
  if (table_) table_->handleRemoved(previous);
  contentChanged();
}

void WTextView_Impl::handleDisconnectTextChange(TextStore* store) {
  if (store != store_) return;
  store_ = nullptr;
  table_.reset();
  hasSelection_ = false;
  contentChanged();
}

// ---- scrolling --------------------------------------------------------------

void WTextView_Impl::setHScroller(Scroller* scroller) {
  if (scroller == hScroller_) return;
  if (hScroller_) hScroller_->removeScrollee(this);
  hScroller_ = scroller;
  if (hScroller_) hScroller_->addScrollee(this);
}

void WTextView_Impl::setVScroller(Scroller* scroller) {
  if (scroller == vScroller_) return;
  if (vScroller_) vScroller_->removeScrollee(this);
  vScroller_ = scroller;
  if (vScroller_) vScroller_->addScrollee(this);
}

void WTextView_Impl::handleHScroll(long position) {
  if (position == scrollX_) return;
  long delta = position - scrollX_;
  scrollX_ = position;
  if (!getWindow() || !XWindowsOn()) return;
  if (delta >= getWidth() || -delta >= getWidth()) dirtyAll();
  else gui_scrollWindow(getWindow(), DrawRect{0, 0, getWidth(), getHeight()},
                         static_cast<int>(-delta), 0);
}

void WTextView_Impl::handleVScroll(long position) {
  if (position == scrollY_) return;
  long delta = position - scrollY_;
  scrollY_ = position;
  if (!getWindow() || !XWindowsOn()) return;
  if (delta >= getHeight() || -delta >= getHeight()) dirtyAll();
  else gui_scrollWindow(getWindow(), DrawRect{0, 0, getWidth(), getHeight()}, 0,
                         static_cast<int>(-delta));
}

bool WTextView_Impl::getVisible(int) { return isShown(); }
long WTextView_Impl::getMinScroll(int) { return 0; }

long WTextView_Impl::getMaxScroll(int direction) {
  if (!table_) return 0;
  return direction == SCROLL_HORIZONTAL ? table_->getContentWidth() : table_->getContentHeight();
}

long WTextView_Impl::getPixStep(int) { return 1; }
long WTextView_Impl::getLineStep(int) { return scrollLineHeight_; }

long WTextView_Impl::getPageStep(int direction) {
  return direction == SCROLL_HORIZONTAL ? getWidth() : getHeight();
}

const TextMetrics& textview_metrics(WTextView* view) {
  return view ? view->getMetrics() : cellTextMetrics();
}
