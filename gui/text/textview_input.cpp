// Keys and the mouse in a view: scrolling keys, select-all and copy,
// clicks that cancel or select words, drag selection that scrolls when the
// pointer leaves the view, the wheel, hot elements, and the listeners that
// get what the view does not use.
#include <algorithm>
#include <cstdlib>

#include "gui/text/text_element.h"
#include "gui/text/textview_impl.h"

namespace {

constexpr int kWheelLines = 3;
constexpr long kDragScrollMs = 50;

bool isControlChar(int code, const char* chars, int nchars, char letter) {
  if (nchars >= 1 && chars && chars[0] == letter - 'a' + 1) return true;
  return code == letter || code == letter - 'a' + 'A' || code == letter - 'a' + 1;
}

}  // namespace

bool WTextView_Impl::handleKey(xinLibSt* e) {
  return processKey(e->code, e->state, e->chars, e->nchars);
}

bool WTextView_Impl::handleMousePress(xinLibSt* e) {
  processMouse(WMOUSE_PRESS, e->x, e->y, e->button, e->clicks, e->state);
  return true;
}

bool WTextView_Impl::handleMouseMotion(xinLibSt* e) {
  processMouse(WMOUSE_MOTION, e->x, e->y, e->button, e->clicks, e->state);
  return true;
}

bool WTextView_Impl::handleMouseRelease(xinLibSt* e) {
  processMouse(WMOUSE_RELEASE, e->x, e->y, e->button, e->clicks, e->state);
  return true;
}

bool WTextView_Impl::directionKey(int code, unsigned state) {
  bool control = state & WMOD_CONTROL;
  switch (code) {
    case WKEY_UP: if (vScroller_) vScroller_->scrollByLines(-1); return true;
    case WKEY_DOWN: if (vScroller_) vScroller_->scrollByLines(1); return true;
    case WKEY_LEFT: if (hScroller_) hScroller_->scrollByLines(-1); return true;
    case WKEY_RIGHT: if (hScroller_) hScroller_->scrollByLines(1); return true;
    case WKEY_PAGEUP: if (vScroller_) vScroller_->scrollByPages(-1); return true;
    case WKEY_PAGEDOWN: if (vScroller_) vScroller_->scrollByPages(1); return true;
    case WKEY_HOME: {
      Scroller* s = control ? vScroller_ : hScroller_;
      if (s) s->scrollTo(s->getMinimum());
      return true;
    }
    case WKEY_END: {
      Scroller* s = control ? vScroller_ : hScroller_;
      if (s) s->scrollTo(s->getMaximum());
      return true;
    }
    default: return false;
  }
}

bool WTextView_Impl::processKey(int code, unsigned state, const char* chars, int nchars) {
  if (!(state & WMOD_ALT)) {
    if (searcher_ && searcher_->handleKey(this, code, state, chars, nchars)) return true;
    if (code == WKEY_ESCAPE) {
      cancelSelection();
      return true;
    }
    if ((state & WMOD_CONTROL) && isControlChar(code, chars, nchars, 'a')) {
      if (mode_ != WTS_NONE && table_) {
        setSelection(SelPoint{1, 0}, SelPoint{table_->getLineCount() + 1, 0});
        if (hasSelection_) offerSelection(false);
        reportSelectionChanged();
      }
      return true;
    }
    if ((state & WMOD_CONTROL) && isControlChar(code, chars, nchars, 'c')) {
      if (hasSelection_) offerSelection(true);
      return true;
    }
    bool shiftOnly = (state & WMOD_SHIFT) && !(state & (WMOD_CONTROL | WMOD_ALT));
    if ((!directionsUseShift_ || shiftOnly) && directionKey(code, state)) return true;
  }
  std::vector<KeyListener*> snapshot = keyListeners_;
  for (KeyListener* l : snapshot)
    if (l->handleKey(this, code, state, chars, nchars)) return true;
  return false;
}

void WTextView_Impl::processMouse(int action, int x, int y, int button, int clicks,
                                  unsigned state) {
  pointerX_ = x, pointerY_ = y;
  if (action == WMOUSE_PRESS) pressed(x, y, button, clicks, state);
  else if (action == WMOUSE_MOTION && buttonDown_) dragTo(x, y);
  else if (action == WMOUSE_RELEASE) released(x, y, button);
  if (action == WMOUSE_MOTION) notifyMouseListeners(action, x, y, 0, 0, state);
  else notifyMouseListeners(action, x, y, button, clicks_, state);
}

void WTextView_Impl::pressed(int x, int y, int button, int clicks, unsigned) {
  activateMe();
  clicks_ = clicks > maxClicks_ && maxClicks_ > 0 ? (clicks - 1) % maxClicks_ + 1 : clicks;
  if (button == 4 || button == 5) {
    if (vScroller_) vScroller_->scrollByLines(button == 4 ? -kWheelLines : kWheelLines);
    return;
  }
  if (clicks_ == 1 && button != 3) {
    if (searcher_) searcher_->stopSearch(this);
    bool had = hasSelection_;
    cancelSelection();
    if (had) reportSelectionChanged();
  }
  if (button != 1 || mode_ == WTS_NONE || !table_) return;
  if (clicks_ == 2) {
    int line = table_->getLineAt(y + scrollY_);
    int cx = static_cast<int>(x + scrollX_);
    setSelection(snapPoint(line, cx, -1), snapPoint(line, cx, 1));
    if (hasSelection_) offerSelection(false);
    reportSelectionChanged();
    return;
  }
  buttonDown_ = true;
  dragging_ = false;
  pressX_ = x, pressY_ = y;
}

void WTextView_Impl::dragTo(int x, int y) {
  if (!dragging_) {
    if (std::abs(x - pressX_) < std::max(1, minSelWidth_) &&
        std::abs(y - pressY_) < std::max(1, minSelHeight_))
      return;
    dragging_ = true;
    anchor_ = pointAt(pressX_, pressY_);
  }
  setSelection(anchor_, pointAt(std::clamp(x, 0, std::max(0, viewWidth() - 1)),
                                std::clamp(y, 0, std::max(0, viewHeight() - 1))));
  reportSelectionChanged();
  bool outside = x < 0 || y < 0 || x >= viewWidth() || y >= viewHeight();
  if (outside && !dragTimer_) dragTimer_ = std::make_unique<WTimer>(this, kDragScrollMs);
  if (!outside) dragTimer_.reset();
}

void WTextView_Impl::handleTimer(WTimer*) {
  if (!dragging_) return;
  if (vScroller_ && pointerY_ < 0) vScroller_->scrollByLines(-1);
  if (vScroller_ && pointerY_ >= viewHeight()) vScroller_->scrollByLines(1);
  if (hScroller_ && pointerX_ < 0) hScroller_->scrollByLines(-1);
  if (hScroller_ && pointerX_ >= viewWidth()) hScroller_->scrollByLines(1);
  // The anchor stays where the drag began in the text.
  SelPoint anchor = anchor_;
  setSelection(anchor, pointAt(std::clamp(pointerX_, 0, std::max(0, viewWidth() - 1)),
                               std::clamp(pointerY_, 0, std::max(0, viewHeight() - 1))));
  reportSelectionChanged();
}

void WTextView_Impl::released(int x, int y, int button) {
  bool wasDrag = dragging_;
  buttonDown_ = false;
  dragging_ = false;
  dragTimer_.reset();
  if (wasDrag) {
    if (hasSelection_) offerSelection(false);
    return;
  }
  if (!table_ || button == 4 || button == 5) return;
  const PositionTable::LinePos* lp = table_->getLine(table_->getLineAt(y + scrollY_));
  if (!lp) return;
  int cx = static_cast<int>(x + scrollX_);
  int i = PositionTable::elementAt(*lp, cx);
  if (i < 0) return;
  TextElement* el = store_->getElement(lp->elements[i].ref);
  if (el && el->isHot())
    el->handleMouseClick(this, cx - lp->elements[i].x, static_cast<int>(y + scrollY_ - lp->top),
                         button);
}

void WTextView_Impl::notifyMouseListeners(int action, int x, int y, int button, int clicks,
                                          unsigned state) {
  std::vector<MouseListener*> snapshot = mouseListeners_;
  for (MouseListener* l : snapshot)
    if (l->handleMouse(this, action, x, y, button, clicks, state)) return;
}

void WTextView_Impl::addKeyListener(KeyListener* l) {
  if (l) keyListeners_.push_back(l);
}

void WTextView_Impl::removeKeyListener(KeyListener* l) { std::erase(keyListeners_, l); }

void WTextView_Impl::addMouseListener(MouseListener* l) {
  if (l) mouseListeners_.push_back(l);
}

void WTextView_Impl::removeMouseListener(MouseListener* l) { std::erase(mouseListeners_, l); }

namespace {

// Turns a key into a toolkit key event for another item.
class ItemKeyListener : public WTextView::KeyListener {
 public:
  explicit ItemKeyListener(WWindowedItem* item) : item_(item) {}
  bool handleKey(WTextView*, int keyCode, unsigned state, const char* chars,
                 int nchars) override {
    xinLibSt ev;
    ev.type = WEV_KEY;
    ev.window = item_->getWindow();
    ev.state = state;
    ev.code = keyCode;
    ev.chars = chars;
    ev.nchars = nchars;
    return item_->EventParse(&ev) == 1;
  }

 private:
  WWindowedItem* item_;
};

}  // namespace

WTextView::KeyListener* WTextView::KeyListener::makeKeyListener(WWindowedItem* item) {
  return new ItemKeyListener(item);
}
