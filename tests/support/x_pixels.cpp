// Pixels read back through XGetImage.
#include "x_pixels.h"

#include <X11/Xutil.h>

namespace xtest {

namespace {

// An area of a window, read at once; null when it could not be.
struct Image {
  Image(unsigned long w, Rect r) {
    flush();
    if (display() && r.width > 0 && r.height > 0)
      img = XGetImage(display(), w, r.x, r.y, r.width, r.height, AllPlanes, ZPixmap);
  }
  ~Image() {
    if (img) XDestroyImage(img);
  }
  unsigned long at(int x, int y) const { return XGetPixel(img, x, y); }
  XImage* img = nullptr;
};

}  // namespace

unsigned long pixelAt(unsigned long w, int x, int y) {
  Image i(w, {x, y, 1, 1});
  return i.img ? i.at(0, 0) : ~0ul;
}

int inkIn(unsigned long w, Rect r, unsigned long background) {
  Image i(w, r);
  if (!i.img) return -1;
  int n = 0;
  for (int y = 0; y < r.height; y++)
    for (int x = 0; x < r.width; x++) n += i.at(x, y) != background;
  return n;
}

std::map<unsigned long, int> colours(unsigned long w, Rect r) {
  std::map<unsigned long, int> seen;
  Image i(w, r);
  for (int y = 0; i.img && y < r.height; y++)
    for (int x = 0; x < r.width; x++) seen[i.at(x, y)]++;
  return seen;
}

std::vector<Band> bands(unsigned long w, int x, int y0, int y1) {
  std::vector<Band> out;
  Image i(w, {x, y0, 1, y1 - y0});
  for (int y = y0; i.img && y < y1; y++) {
    unsigned long p = i.at(0, y - y0);
    if (out.empty() || out.back().pixel != p) out.push_back({y, y + 1, p});
    else out.back().bottom = y + 1;
  }
  return out;
}

std::vector<Band> inkRows(unsigned long w, int x0, int x1, int bgX) {
  Rect size = geometry(w);
  std::vector<Band> out;
  Image i(w, {0, 0, size.width, size.height});
  for (int y = 0; i.img && y < size.height; y++) {
    unsigned long bg = i.at(bgX, y);
    bool ink = false;
    for (int x = x0; x < x1 && x < size.width && !ink; x++) ink = i.at(x, y) != bg;
    if (!ink) continue;
    if (!out.empty() && out.back().bottom == y) out.back().bottom = y + 1;
    else out.push_back({y, y + 1, 1});
  }
  return out;
}

}  // namespace xtest
