// Popup windows on the root: created unmapped with override-redirect, kept
// on the screen when shown, with an active pointer and keyboard grab while
// a menu is up.
#include "gui/core/popup.h"

#include <algorithm>

#include "gui/core/window_registry.h"
#include "gui/x11/display.h"
#include "gui/x11/window.h"

WPopup::WPopup(DrawRect placement, Pixel background)
    : WWindowedItem(TopLevelTag{}, placement, background) {
  WindowId w = xwin_createPopup(placement, background);
  if (!w) return;
  adoptWindow(w);
  gui_registerWindow(w, this);
  hide();
}

WPopup::~WPopup() { releaseInput(); }

void WPopup::popUp(DrawRect r) {
  int sw, sh;
  gui_screenSize(&sw, &sh);
  r.width = std::max(r.width, 1), r.height = std::max(r.height, 1);
  r.x = std::clamp(r.x, 0, std::max(0, sw - r.width));
  r.y = std::clamp(r.y, 0, std::max(0, sh - r.height));
  setGeometry(r);
  show();
  xwin_raise(getWindow());
  invalidate();
}

void WPopup::popDown() {
  releaseInput();
  hide();
  draw_flush();
}

bool WPopup::grabInput() {
  grabbed_ = xwin_grabInput(getWindow());
  return grabbed_;
}

void WPopup::releaseInput() {
  if (!grabbed_) return;
  grabbed_ = false;
  xwin_releaseInput();
}

bool WPopup::containsRoot(int x, int y) const {
  return isShown() && x >= getX() && y >= getY() && x < getX() + getWidth() &&
         y < getY() + getHeight();
}

void W_itemRootOrigin(const WWindowedItem* item, int* rootX, int* rootY) {
  xwin_rootOrigin(item->getWindow(), rootX, rootY);
}
