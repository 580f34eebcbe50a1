// Helpers shared by the control tests: pointer and keys through xdotool,
// pixels read back through the test's own X connection.
#pragma once

#include "old_x_pixels.h"  // gtest before Xlib, whose None macro it trips over

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <string>

#include "gui/core/colwind.h"
#include "gui/x11/xdisplay.h"

namespace controls {

using xpixels::id;
using xpixels::pixelAt;
inline int pixelsOtherThan(WindowId w, int x, int y, int width, int height,
                           unsigned long background) {
  return xpixels::inkIn(w, x, y, width, height, background);
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
