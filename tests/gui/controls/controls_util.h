// Helpers shared by the control tests: pointer and keys through xdotool,
// pixels read back through the test's own X connection.
#pragma once

#include "x_session.h"  // gtest before Xlib, whose None macro it trips over

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <string>

#include "gui/colwind.h"
#include "gui/xdisplay.h"

namespace controls {

inline std::string id(const WWindowedItem* item) { return std::to_string(item->getWindow()); }

// The colour of one pixel of a window as the server has it now.
inline unsigned long pixelAt(WindowId w, int x, int y) {
  XSync(xstate().display, False);
  XImage* img = XGetImage(XSession::otherDisplay(), w, x, y, 1, 1, AllPlanes, ZPixmap);
  if (!img) return ~0ul;
  unsigned long p = XGetPixel(img, 0, 0);
  XDestroyImage(img);
  return p;
}

// How many pixels of an area differ from `background`.
inline int pixelsOtherThan(WindowId w, int x, int y, int width, int height,
                           unsigned long background) {
  XSync(xstate().display, False);
  XImage* img = XGetImage(XSession::otherDisplay(), w, x, y, width, height, AllPlanes, ZPixmap);
  if (!img) return -1;
  int n = 0;
  for (int j = 0; j < height; j++)
    for (int i = 0; i < width; i++) n += XGetPixel(img, i, j) != background;
  XDestroyImage(img);
  return n;
}

}  // namespace controls

// The fixture of the control tests: XSession with pointer and key helpers.
class ControlsTest : public XSession {
 protected:
  // Windows made since the last loop turn must reach the server first.
  static void click(WWindowedItem* item, int x = 5, int y = 5, int button = 1) {
    XSync(xstate().display, False);
    ASSERT_EQ(xdotool({"mousemove", "--window", controls::id(item), std::to_string(x),
                       std::to_string(y), "click", std::to_string(button)}),
              0);
  }
  static void focus(ColWind* window) {
    XSync(xstate().display, False);
    ASSERT_EQ(xdotool({"windowfocus", "--sync", controls::id(window)}), 0);
  }
};
