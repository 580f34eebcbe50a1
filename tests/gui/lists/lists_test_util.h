// Helpers shared by the list and dialog tests: pixels read back through
// the test's own connection, and xdotool clicks and keys aimed at items.
#pragma once

#include "x_session.h"  // gtest before Xlib, whose None would clash

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <string>
#include <vector>

#include "gui/item.h"
#include "gui/xdisplay.h"

namespace lists_test {

inline std::string id(const WWindowedItem* item) { return std::to_string(item->getWindow()); }

// One pixel of a window as the server holds it.
inline unsigned long pixelAt(WindowId w, int x, int y) {
  XSync(xstate().display, False);
  XImage* img = XGetImage(XSession::otherDisplay(), w, x, y, 1, 1, AllPlanes, ZPixmap);
  if (!img) return ~0ul;
  unsigned long p = XGetPixel(img, 0, 0);
  XDestroyImage(img);
  return p;
}

// How many pixels of a rectangle differ from `background`.
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

}  // namespace lists_test
