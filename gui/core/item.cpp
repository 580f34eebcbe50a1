// Windowed items: each owns an X child window registered under its id, its
// children, and the dispatch of event records to its handlers.
#include "gui/core/item.h"

#include <algorithm>

#include "gui/core/window_registry.h"
#include "gui/x11/damage.h"
#include "gui/x11/window.h"

namespace {

WToolTipHooks toolTipHooks;

}  // namespace

void W_setToolTipHooks(const WToolTipHooks& hooks) { toolTipHooks = hooks; }
const WToolTipHooks& W_toolTipHooks() { return toolTipHooks; }

WWindowedItem::WWindowedItem(WWindowedItem* parent, DrawRect placement, Pixel background)
    : parent_(parent), rect_(placement), background_(background) {
  if (parent_) parent_->children_.push_back(this);
  if (!parent_ || !parent_->window_) return;
  window_ = xwin_createChild(parent_->window_, placement, background);
  if (window_) gui_registerWindow(window_, this);
}

WWindowedItem::WWindowedItem(TopLevelTag, DrawRect placement, Pixel background)
    : rect_(placement), background_(background) {}

WWindowedItem::~WWindowedItem() {
  *alive_ = false;
  while (!children_.empty()) delete children_.back();
  if (WWindowedItem* top = root(); top->activeItem_ == this) top->activeItem_ = nullptr;
  if (parent_) parent_->detachChild(this);
  if (!window_) return;
  gui_unregisterWindow(window_);
  xwin_destroy(window_);
}

void WWindowedItem::detachChild(WWindowedItem* child) {
  std::erase(children_, child);
}

WWindowedItem* WWindowedItem::root() {
  WWindowedItem* i = this;
  while (i->parent_) i = i->parent_;
  return i;
}

ColWind* WWindowedItem::getTopLevel() { return root()->asTopLevel(); }

void WWindowedItem::setGeometry(DrawRect placement) {
  rect_ = placement;
  xwin_moveResize(window_, placement);
}

void WWindowedItem::show() {
  shown_ = true;
  xwin_map(window_);
}

void WWindowedItem::hide() {
  shown_ = false;
  xwin_unmap(window_);
}

void WWindowedItem::setBackground(Pixel background) {
  background_ = background;
  if (!window_) return;
  xwin_setBackground(window_, background);
  invalidate();
}

void WWindowedItem::selectPointerMotion(bool on) {
  if (parent_) xwin_selectPointerMotion(window_, on);
}

void WWindowedItem::activateMe() {
  if (WWindowedItem* top = root(); top->asTopLevel()) top->activeItem_ = this;
}

bool WWindowedItem::isActive() {
  WWindowedItem* top = root();
  return top->asTopLevel() && top->activeItem_ == this;
}

void WWindowedItem::invalidate(DrawRect area) {
  if (window_) gui_addDamage(window_, area.x, area.y, area.width, area.height);
}

void WWindowedItem::invalidate() { invalidate(DrawRect{0, 0, rect_.width, rect_.height}); }

int WWindowedItem::EventParse(xinLibSt* event) {
  bool pointer = event->type == WEV_CROSSING || event->type == WEV_MOUSE;
  if (pointer && toolTipHooks.seeEvent) toolTipHooks.seeEvent(event, this);
  if (filter_ && filter_(event, this, filterData_)) return 1;
  return handleEvent(event);
}

int WWindowedItem::handleEvent(xinLibSt* event) {
  if (stealHook_ && stealHook_(event, this)) return 1;
  return dispatchByType(event);
}

int WWindowedItem::dispatchByType(xinLibSt* e) {
  bool done = false;
  switch (e->type) {
    case WEV_REPAINT: done = handleExpose(e->x, e->y, e->width, e->height); break;
    case WEV_CONFIGURE: done = handleConfigure(e->width, e->height); break;
    case WEV_MAP: done = e->x ? handleShow() : handleHide(); break;
    case WEV_CLIENT: done = handleClientMessage(e); break;
    case WEV_FOCUS: done = e->x ? handleFocused() : handleUnfocused(); break;
    case WEV_SELECTION:
      switch (e->subKind) {
        case WSEL_CLEAR: done = handleSelClear(e); break;
        case WSEL_TEXT: done = handleSelText(e); break;
        case WSEL_BITS: done = handleSelBits(e); break;
        case WSEL_LINES: done = handleSelLines(e); break;
        case WSEL_RECT: done = handleSelRect(e); break;
        default: break;
      }
      break;
    case WEV_MESSAGE: done = handleMessage(e); break;
    case WEV_MOUSE:
      if (e->code == WMOUSE_PRESS) done = handleMousePress(e);
      else if (e->code == WMOUSE_RELEASE) done = handleMouseRelease(e);
      else done = handleMouseMotion(e);
      break;
    case WEV_KEY: done = handleKey(e); break;
    case WEV_HELP: done = handleHelp(e); break;
    case WEV_CROSSING: done = e->x ? handleMouseEnter(e) : handleMouseLeave(e); break;
    default: break;
  }
  return done ? 1 : 0;
}

bool WWindowedItem::handleExpose(int x, int y, int width, int height) {
  DrawTarget* t = draw_begin(window_, DrawRect{x, y, width, height});
  if (!t) return false;
  draw_fillRect(t, x, y, width, height, background_);
  draw_end(t);
  return true;
}

bool WWindowedItem::handleConfigure(int width, int height) {
  rect_.width = width;
  rect_.height = height;
  return false;
}
