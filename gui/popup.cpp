// Popup windows on the root: created unmapped with override-redirect, kept
// on the screen when shown, with an active pointer and keyboard grab while
// a menu is up.
#include "gui/popup.h"

#include <algorithm>

#include "gui/wgui.h"
#include "gui/window_registry.h"
#include "gui/xdisplay.h"

namespace {

constexpr long kPopupEvents = ExposureMask | ButtonPressMask | ButtonReleaseMask |
                              PointerMotionMask | KeyPressMask | KeyReleaseMask |
                              StructureNotifyMask;
constexpr unsigned kGrabEvents = ButtonPressMask | ButtonReleaseMask | PointerMotionMask;

Window makePopupWindow(DrawRect r, Pixel background) {
  XState& xs = xstate();
  XSetWindowAttributes a{};
  a.background_pixel = background;
  a.border_pixel = black_pixel;
  a.event_mask = kPopupEvents;
  a.override_redirect = True;
  a.save_under = True;
  return XCreateWindow(xs.display, xs.root, r.x, r.y, std::max(r.width, 1),
                       std::max(r.height, 1), 0, CopyFromParent, InputOutput, CopyFromParent,
                       CWBackPixel | CWBorderPixel | CWEventMask | CWOverrideRedirect |
                           CWSaveUnder,
                       &a);
}

}  // namespace

WPopup::WPopup(DrawRect placement, Pixel background)
    : WWindowedItem(TopLevelTag{}, placement, background) {
  if (!XWindowsOn()) return;
  Window w = makePopupWindow(placement, background);
  adoptWindow(w);
  WindowRecord r;
  r.item = this;
  gui_registerWindow(w, r);
  hide();
}

WPopup::~WPopup() { releaseInput(); }

void WPopup::popUp(DrawRect r) {
  int sw, sh;
  W_screenSize(&sw, &sh);
  r.width = std::max(r.width, 1), r.height = std::max(r.height, 1);
  r.x = std::clamp(r.x, 0, std::max(0, sw - r.width));
  r.y = std::clamp(r.y, 0, std::max(0, sh - r.height));
  setGeometry(r);
  show();
  if (getWindow() && XWindowsOn()) XRaiseWindow(xstate().display, getWindow());
  invalidate();
}

void WPopup::popDown() {
  releaseInput();
  hide();
  if (XWindowsOn()) XFlush(xstate().display);
}

bool WPopup::grabInput() {
  if (!getWindow() || !XWindowsOn()) return false;
  Display* d = xstate().display;
  int p = XGrabPointer(d, getWindow(), False, kGrabEvents, GrabModeAsync, GrabModeAsync, None,
                       None, CurrentTime);
  if (p != GrabSuccess) return false;
  if (XGrabKeyboard(d, getWindow(), False, GrabModeAsync, GrabModeAsync, CurrentTime) !=
      GrabSuccess) {
    XUngrabPointer(d, CurrentTime);
    return false;
  }
  grabbed_ = true;
  return true;
}

void WPopup::releaseInput() {
  if (!grabbed_) return;
  grabbed_ = false;
  if (!XWindowsOn()) return;
  XUngrabPointer(xstate().display, CurrentTime);
  XUngrabKeyboard(xstate().display, CurrentTime);
  XFlush(xstate().display);
}

bool WPopup::containsRoot(int x, int y) const {
  return isShown() && x >= getX() && y >= getY() && x < getX() + getWidth() &&
         y < getY() + getHeight();
}

void W_itemRootOrigin(const WWindowedItem* item, int* rootX, int* rootY) {
  *rootX = *rootY = 0;
  if (!item->getWindow() || !XWindowsOn()) return;
  Window child;
  XTranslateCoordinates(xstate().display, item->getWindow(), xstate().root, 0, 0, rootX, rootY,
                        &child);
}

bool W_pointerRootPosition(int* rootX, int* rootY) {
  if (!XWindowsOn()) return false;
  Window root, child;
  int wx, wy;
  unsigned mask;
  return XQueryPointer(xstate().display, xstate().root, &root, &child, rootX, rootY, &wx, &wy,
                       &mask);
}

void W_screenSize(int* width, int* height) {
  *width = *height = 0;
  if (!XWindowsOn()) return;
  XState& xs = xstate();
  *width = DisplayWidth(xs.display, xs.screen);
  *height = DisplayHeight(xs.display, xs.screen);
}
