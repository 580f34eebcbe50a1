// A top-level window's icon, given as ARGB pixels: the window manager's
// icon pixmap with its one-bit mask (WM_HINTS), and _NET_WM_ICON for the
// window managers that read that instead.
#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <map>
#include <utility>

#include "gui/x11/display.h"
#include "gui/x11/window.h"
#include "gui/x11/xdisplay.h"

namespace {

bool opaque(unsigned long argb) { return (argb >> 24) != 0; }

// Runs of one colour along each row, painted through the drawing seam.
void paintImage(Pixmap image, int width, int height, const std::vector<unsigned long>& argb,
                Pixel background) {
  DrawTarget* t = draw_begin(image, DrawRect{0, 0, width, height});
  draw_fillRect(t, 0, 0, width, height, background);
  for (int y = 0; y < height; y++) {
    const unsigned long* row = &argb[static_cast<size_t>(y) * width];
    for (int x = 0; x < width;) {
      int end = x + 1;
      while (end < width && row[end] == row[x]) end++;
      if (opaque(row[x]))
        draw_fillRect(t, x, y, end - x, 1,
                      draw_allocRGB((row[x] >> 16) & 0xff, (row[x] >> 8) & 0xff, row[x] & 0xff));
      x = end;
    }
  }
  draw_end(t);
}

Pixmap makeMask(int width, int height, const std::vector<unsigned long>& argb) {
  XState& xs = xstate();
  Pixmap mask = XCreatePixmap(xs.display, xs.root, width, height, 1);
  GC gc = XCreateGC(xs.display, mask, 0, nullptr);
  XSetForeground(xs.display, gc, 0);
  XFillRectangle(xs.display, mask, gc, 0, 0, width, height);
  XSetForeground(xs.display, gc, 1);
  for (int y = 0; y < height; y++)
    for (int x = 0; x < width; x++)
      if (opaque(argb[static_cast<size_t>(y) * width + x])) XDrawPoint(xs.display, mask, gc, x, y);
  XFreeGC(xs.display, gc);
  return mask;
}

void setIconHints(Window w, Pixmap image, Pixmap mask) {
  Display* d = xstate().display;
  XWMHints* hints = XGetWMHints(d, w);
  XWMHints fresh{};
  XWMHints* h = hints ? hints : &fresh;
  h->flags |= IconPixmapHint | IconMaskHint;
  h->icon_pixmap = image;
  h->icon_mask = mask;
  XSetWMHints(d, w, h);
  if (hints) XFree(hints);
}

// _NET_WM_ICON: width, height, then the ARGB pixels as CARDINALs.
void setNetIcon(Window w, int width, int height, const std::vector<unsigned long>& argb) {
  std::vector<unsigned long> data{static_cast<unsigned long>(width),
                                  static_cast<unsigned long>(height)};
  data.insert(data.end(), argb.begin(), argb.end());
  XChangeProperty(xstate().display, w, x11_atom("_NET_WM_ICON"), XA_CARDINAL, 32,
                  PropModeReplace, reinterpret_cast<unsigned char*>(data.data()),
                  static_cast<int>(data.size()));
}

struct ProgramIcon {
  int width = 0, height = 0;
  std::vector<unsigned long> argb;
  Pixel background = 0;
};
ProgramIcon programIcon;

}  // namespace

void x11_applyProgramIcon(Window w) {
  if (!programIcon.argb.empty())
    xwin_setIcon(w, programIcon.width, programIcon.height, programIcon.argb,
                 programIcon.background);
}

void xwin_setIcon(WindowId w, int width, int height, const std::vector<unsigned long>& argb,
                  Pixel background) {
  if (!XWindowsOn() || !w || width <= 0 || height <= 0 ||
      argb.size() != static_cast<size_t>(width) * height)
    return;
  if (&argb != &programIcon.argb) programIcon = ProgramIcon{width, height, argb, background};
  // One pixmap pair per picture and display, kept while the display lasts.
  XState& xs = xstate();
  static std::map<std::vector<unsigned long>, std::pair<Pixmap, Pixmap>> made;
  static Display* madeFor = nullptr;
  if (madeFor != xs.display) made.clear(), madeFor = xs.display;
  auto& [image, mask] = made[argb];
  if (!image) {
    image = XCreatePixmap(xs.display, xs.root, width, height, xs.depth);
    paintImage(image, width, height, argb, background);
    mask = makeMask(width, height, argb);
  }
  setIconHints(w, image, mask);
  setNetIcon(w, width, height, argb);
}
