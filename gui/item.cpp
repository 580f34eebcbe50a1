// Windowed items: each owns an X child window registered under its id, its
// children, and the dispatch of event records to its handlers.
#include "gui/item.h"

#include <algorithm>

#include "gui/colwind.h"
#include "gui/tooltip.h"
#include "gui/window_registry.h"
#include "gui/wgui.h"
#include "gui/xdisplay.h"

namespace {

constexpr long kChildEvents = ExposureMask | ButtonPressMask | ButtonReleaseMask |
                              ButtonMotionMask | EnterWindowMask | LeaveWindowMask |
                              StructureNotifyMask;

Window makeChildWindow(Window parent, DrawRect r, Pixel background) {
  XState& xs = xstate();
  XSetWindowAttributes a{};
  a.background_pixel = background;
  a.event_mask = kChildEvents;
  a.bit_gravity = NorthWestGravity;
  Window w = XCreateWindow(xs.display, parent, r.x, r.y, std::max(r.width, 1),
                           std::max(r.height, 1), 0, CopyFromParent, InputOutput,
                           CopyFromParent, CWBackPixel | CWEventMask | CWBitGravity, &a);
  XMapWindow(xs.display, w);
  return w;
}

}  // namespace

WWindowedItem::WWindowedItem(WWindowedItem* parent, DrawRect placement, Pixel background)
    : parent_(parent), rect_(placement), background_(background) {
  if (parent_) parent_->children_.push_back(this);
  if (!XWindowsOn() || !parent_ || !parent_->window_) return;
  window_ = makeChildWindow(parent_->window_, placement, background);
  WindowRecord r;
  r.item = this;
  gui_registerWindow(window_, r);
}

WWindowedItem::WWindowedItem(TopLevelTag, DrawRect placement, Pixel background)
    : rect_(placement), background_(background) {}

WWindowedItem::~WWindowedItem() {
  *alive_ = false;
  while (!children_.empty()) delete children_.back();
  if (ColWind* top = getTopLevel(); top && top->activeItem == this) top->activeItem = nullptr;
  if (parent_) parent_->detachChild(this);
  if (!window_) return;
  gui_unregisterWindow(window_);
  if (XWindowsOn()) XDestroyWindow(xstate().display, window_);
}

void WWindowedItem::detachChild(WWindowedItem* child) {
  std::erase(children_, child);
}

ColWind* WWindowedItem::getTopLevel() {
  WWindowedItem* i = this;
  while (i->parent_) i = i->parent_;
  return dynamic_cast<ColWind*>(i);
}

void WWindowedItem::setGeometry(DrawRect placement) {
  rect_ = placement;
  if (window_ && XWindowsOn())
    XMoveResizeWindow(xstate().display, window_, placement.x, placement.y,
                      std::max(placement.width, 1), std::max(placement.height, 1));
}

void WWindowedItem::show() {
  shown_ = true;
  if (window_ && XWindowsOn()) XMapWindow(xstate().display, window_);
}

void WWindowedItem::hide() {
  shown_ = false;
  if (window_ && XWindowsOn()) XUnmapWindow(xstate().display, window_);
}

void WWindowedItem::setBackground(Pixel background) {
  background_ = background;
  if (!window_ || !XWindowsOn()) return;
  XSetWindowBackground(xstate().display, window_, background);
  invalidate();
}

void WWindowedItem::selectPointerMotion(bool on) {
  if (!window_ || !XWindowsOn() || parent_ == nullptr) return;
  XSelectInput(xstate().display, window_, kChildEvents | (on ? PointerMotionMask : 0));
}

void WWindowedItem::activateMe() {
  if (ColWind* top = getTopLevel()) top->activeItem = this;
}

bool WWindowedItem::isActive() {
  ColWind* top = getTopLevel();
  return top && top->activeItem == this;
}

void WWindowedItem::invalidate(DrawRect area) {
  if (window_) gui_addDamage(window_, area.x, area.y, area.width, area.height);
}

void WWindowedItem::invalidate() { invalidate(DrawRect{0, 0, rect_.width, rect_.height}); }

int WWindowedItem::EventParse(xinLibSt* event) {
  gui_toolTipSeeEvent(event, this);
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
