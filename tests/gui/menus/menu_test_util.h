// Helpers of the menu and tool tip tests: the loop with the wait list
// served (timers), xdotool pointer moves and clicks on an item or popup,
// and reading pixels back through the test's own connection.
#pragma once

#include "old_x_session.h"  // gtest before Xlib's macros

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <functional>
#include <string>

#include "gui/core/item.h"
#include "gui/loop/extra_process.h"
#include "gui/x11/xdisplay.h"

class MenuSession : public XSession {
 protected:
  void SetUp() override {
    XSession::SetUp();
    xdotool({"mousemove", "1200", "1000"});  // away from where windows open
  }

  // waitFor with the wait list served each turn, so WTimers run.
  static bool pump(const std::function<bool()>& cond, int ms = 3000) {
    return waitFor(
        [&] {
          long t;
          ExtraProcess_Wait(&t);
          return cond();
        },
        ms);
  }

  static std::string id(WindowId w) { return std::to_string(w); }
  static int moveTo(WindowId w, int x, int y) {
    return xdotool({"mousemove", "--window", id(w), std::to_string(x), std::to_string(y)});
  }
  static int clickAt(WindowId w, int x, int y) {
    int rc = moveTo(w, x, y);
    return rc ? rc : xdotool({"click", "1"});
  }
  static int clickCentre(WindowId w, DrawRect r) {
    return clickAt(w, r.x + r.width / 2, r.y + r.height / 2);
  }

  // Pixels of `colour` in a rectangle of a window.
  static int countPixels(WindowId w, DrawRect r, unsigned long colour) {
    XSync(xstate().display, False);
    XImage* img = XGetImage(otherDisplay(), w, r.x, r.y, r.width, r.height, AllPlanes, ZPixmap);
    if (!img) return -1;
    int n = 0;
    for (int y = 0; y < r.height; y++)
      for (int x = 0; x < r.width; x++) n += XGetPixel(img, x, y) == colour;
    XDestroyImage(img);
    return n;
  }

  static bool viewable(WindowId w) {
    XWindowAttributes a;
    if (!w || !XGetWindowAttributes(otherDisplay(), w, &a)) return false;
    return a.map_state == IsViewable;
  }
};
