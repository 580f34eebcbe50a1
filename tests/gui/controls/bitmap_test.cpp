// The named pictures and the window icon: shapes where they should be,
// every name known, the icon reaching WM_HINTS and _NET_WM_ICON.
#include <X11/Xatom.h>

#include "controls_util.h"
#include "gui/core/pixels.h"
#include "gui/widgets/bitmap.h"

namespace {

using Pictures = ControlsTest;

TEST(PictureShapes, ArrowsPointTheirWayAndSizesAreTheToolBars) {
  const char* names[] = {"arrowup20", "arrowdown20", "reload", "quit"};
  for (const char* n : names) {
    ASSERT_NE(bitmap_find(n), nullptr) << n;
    EXPECT_EQ(bitmap_width(bitmap_find(n)), 20) << n;
    EXPECT_EQ(bitmap_height(bitmap_find(n)), 20) << n;
  }
  const WBitmap* up = bitmap_find("arrowup20");
  const WBitmap* down = bitmap_find("arrowdown20");
  // The head is wide where the other arrow has its narrow shaft.
  EXPECT_GE(bitmap_pixelRGB(up, 2, 8), 0);
  EXPECT_LT(bitmap_pixelRGB(down, 2, 8), 0);
  EXPECT_GE(bitmap_pixelRGB(down, 2, 11), 0);
  EXPECT_LT(bitmap_pixelRGB(up, 2, 11), 0);
  // Small spin arrows: tip at the top for up, at the bottom for down.
  const WBitmap* su = bitmap_find("arrowup");
  const WBitmap* sd = bitmap_find("arrowdown");
  ASSERT_EQ(bitmap_width(su), 9);
  EXPECT_GE(bitmap_pixelRGB(su, 0, 6), 0);
  EXPECT_LT(bitmap_pixelRGB(su, 0, 2), 0);
  EXPECT_GE(bitmap_pixelRGB(sd, 0, 2), 0);
  EXPECT_LT(bitmap_pixelRGB(sd, 0, 6), 0);
  // The cross of "quit" meets in the middle; the corners stay clear.
  EXPECT_GE(bitmap_pixelRGB(bitmap_find("quit"), 9, 9), 0);
  EXPECT_LT(bitmap_pixelRGB(bitmap_find("quit"), 0, 0), 0);
  // Out of range and null pictures have no pixels.
  EXPECT_EQ(bitmap_pixelRGB(up, 20, 0), -1);
  EXPECT_EQ(bitmap_pixelRGB(nullptr, 0, 0), -1);
}

TEST_F(Pictures, WindowIconReachesTheWindowManagerHints) {
  ColWind* w = openWindow("icon", 200, 100);
  EXPECT_FALSE(bitmap_setWindowIcon(w, "no-such-icon"));
  EXPECT_FALSE(bitmap_setWindowIcon(nullptr, "VORNEPIC"));
  ASSERT_TRUE(bitmap_setWindowIcon(w, "VORNEPIC"));
  XSync(xstate().display, False);
  Display* d = otherDisplay();
  XWMHints* hints = XGetWMHints(d, w->getWindow());
  ASSERT_NE(hints, nullptr);
  EXPECT_TRUE(hints->flags & IconPixmapHint);
  EXPECT_TRUE(hints->flags & IconMaskHint);
  EXPECT_TRUE(hints->flags & InputHint);  // the window's own hints kept
  Pixmap icon = hints->icon_pixmap;
  XFree(hints);
  ASSERT_NE(icon, 0u);
  // The icon shows the pictures: dark page edges on the background.
  EXPECT_GT(controls::pixelsOtherThan(icon, 0, 0, 32, 32, bg_pixel), 200);

  Atom type;
  int format;
  unsigned long n, after;
  unsigned char* data = nullptr;
  ASSERT_EQ(XGetWindowProperty(d, w->getWindow(), XInternAtom(d, "_NET_WM_ICON", False), 0,
                               4096, False, XA_CARDINAL, &type, &format, &n, &after, &data),
            Success);
  ASSERT_NE(data, nullptr);
  auto* words = reinterpret_cast<unsigned long*>(data);
  EXPECT_EQ(n, 2u + 32 * 32);
  EXPECT_EQ(words[0], 32u);
  EXPECT_EQ(words[1], 32u);
  EXPECT_EQ(words[2], 0u);                    // corner: transparent
  // Xlib hands 32-bit items back as (sign-extended) longs.
  EXPECT_EQ(words[2 + 32 + 1] & 0xffffffffu, 0xff202020u);  // the back page's edge
  XFree(data);
}

}  // namespace
