// Reading back what the server shows, for the X tests: one pixel, or how
// many pixels of an area differ from a background, taken through the
// test's own connection after the toolkit's requests have been flushed.
#pragma once

#include "old_x_session.h"  // gtest before Xlib, whose None macro it trips over

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <string>

#include "gui/core/item.h"
#include "gui/x11/xdisplay.h"

namespace xpixels {

// An item's X window id as xdotool takes it.
inline std::string id(const WWindowedItem* item) { return std::to_string(item->getWindow()); }

inline unsigned long pixelAt(WindowId w, int x, int y) {
  XSync(xstate().display, False);
  XImage* img = XGetImage(XSession::otherDisplay(), w, x, y, 1, 1, AllPlanes, ZPixmap);
  if (!img) return ~0ul;
  unsigned long p = XGetPixel(img, 0, 0);
  XDestroyImage(img);
  return p;
}

inline int inkIn(WindowId w, int x, int y, int width, int height, unsigned long background) {
  XSync(xstate().display, False);
  XImage* img = XGetImage(XSession::otherDisplay(), w, x, y, width, height, AllPlanes, ZPixmap);
  if (!img) return -1;
  int n = 0;
  for (int j = 0; j < height; j++)
    for (int i = 0; i < width; i++) n += XGetPixel(img, i, j) != background;
  XDestroyImage(img);
  return n;
}

}  // namespace xpixels
