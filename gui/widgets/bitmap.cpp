// Named pictures as pixel masks: each is a grid of palette letters built
// once by a small drawing function (triangles, rings, crossed bars), so
// that the shapes stay exact at their few sizes.  Painting goes through the
// drawing seam, one rectangle per run of equal pixels.
#include "gui/widgets/bitmap.h"

#include <cmath>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "base/gen.h"
#include "gui/core/colwind.h"
#include "gui/core/gui_init.h"
#include "gui/core/pixels.h"
#include "gui/x11/display.h"
#include "gui/x11/window.h"

struct WBitmap {
  int width = 0, height = 0;
  std::vector<std::string> rows;  // palette letters; '.' is transparent
};

namespace {

// The low-bandwidth level from which no pictures are drawn ("-noicons"):
// buttons show their labels, windows carry no icon.
constexpr int kNoPicturesLevel = 9;

// The palette: a letter and its colour.
struct PaletteEntry {
  char letter;
  long rgb;
};
constexpr PaletteEntry kPalette[] = {
    {'k', 0x202020}, {'w', 0xffffff}, {'b', 0x2850b0}, {'g', 0x209030},
    {'r', 0xc02020}, {'y', 0xe0c020}, {'s', 0xa0a0a0}, {'l', 0x6080d0},
};

long rgbOf(char letter) {
  for (const PaletteEntry& p : kPalette)
    if (p.letter == letter) return p.rgb;
  return -1;
}

WBitmap blank(int w, int h) {
  WBitmap b;
  b.width = w, b.height = h;
  b.rows.assign(h, std::string(w, '.'));
  return b;
}

void put(WBitmap& b, int x, int y, char c) {
  if (x >= 0 && y >= 0 && x < b.width && y < b.height) b.rows[y][x] = c;
}

void fill(WBitmap& b, int x, int y, int w, int h, char c) {
  for (int j = y; j < y + h; j++)
    for (int i = x; i < x + w; i++) put(b, i, j, c);
}

// A triangle of `rows` rows pointing up or down, centred across the grid.
void triangle(WBitmap& b, int top, int rows, bool up, char c) {
  double centre = (b.width - 1) / 2.0;
  for (int r = 0; r < rows; r++) {
    int half = up ? r : rows - 1 - r;
    for (int x = 0; x < b.width; x++)
      if (std::fabs(x - centre) <= half + 0.5) put(b, x, top + r, c);
  }
}

WBitmap bigArrow(bool up) {
  WBitmap b = blank(20, 20);
  if (up) {
    triangle(b, 1, 9, true, 'b');
    fill(b, 7, 10, 6, 9, 'b');
  } else {
    fill(b, 7, 1, 6, 9, 'b');
    triangle(b, 10, 9, false, 'b');
  }
  return b;
}

WBitmap smallArrow(bool up) {
  WBitmap b = blank(9, 9);
  triangle(b, 2, 5, up, 'k');
  return b;
}

// Whether the point lies inside the triangle abc (any winding).
bool insideTriangle(double px, double py, const double a[2], const double b[2],
                    const double c[2]) {
  auto side = [&](const double u[2], const double v[2]) {
    return (v[0] - u[0]) * (py - u[1]) - (v[1] - u[1]) * (px - u[0]);
  };
  double d1 = side(a, b), d2 = side(b, c), d3 = side(c, a);
  bool negative = d1 < 0 || d2 < 0 || d3 < 0, positive = d1 > 0 || d2 > 0 || d3 > 0;
  return !(negative && positive);
}

// A ring open at the upper right whose top end carries an arrow head
// pointing clockwise.
WBitmap reload() {
  WBitmap b = blank(20, 20);
  const double c = 9.5, radius = 6.4, end = 90 * M_PI / 180;
  for (int y = 0; y < 20; y++)
    for (int x = 0; x < 20; x++) {
      double dx = x - c, dy = y - c, d = std::hypot(dx, dy);
      double angle = std::atan2(-dy, dx) * 180 / M_PI;  // 0 east, 90 north
      if (d >= 5.0 && d <= 7.8 && !(angle > 25 && angle < 90)) put(b, x, y, 'g');
    }
  double px = c + radius * std::cos(end), py = c - radius * std::sin(end);
  double tx = std::sin(end), ty = std::cos(end);    // clockwise along the ring
  double nx = std::cos(end), ny = -std::sin(end);   // outwards
  double tip[2] = {px + 5.5 * tx, py + 5.5 * ty};
  double outer[2] = {px + 4 * nx, py + 4 * ny}, inner[2] = {px - 4 * nx, py - 4 * ny};
  for (int y = 0; y < 20; y++)
    for (int x = 0; x < 20; x++)
      if (insideTriangle(x, y, tip, outer, inner)) put(b, x, y, 'g');
  return b;
}

// A thick red cross: close.
WBitmap quit() {
  WBitmap b = blank(20, 20);
  for (int y = 3; y <= 16; y++)
    for (int x = 3; x <= 16; x++)
      if (std::abs(x - y) <= 1 || std::abs(x + y - 19) <= 1) put(b, x, y, 'r');
  return b;
}

// One page: white with a dark edge and a folded corner.
void page(WBitmap& b, int x, int y, int w, int h) {
  fill(b, x, y, w, h, 'k');
  fill(b, x + 1, y + 1, w - 2, h - 2, 'w');
  for (int i = 0; i < 5; i++) {
    fill(b, x + w - 4 + i, y + i, 4 - i, 1, '.');
    put(b, x + w - 5 + i, y + i, 'k');
  }
}

// The window icon: two overlapping pages whose lines carry the colours of
// the differences.
WBitmap windowIcon() {
  WBitmap b = blank(32, 32);
  page(b, 1, 1, 19, 25);
  for (int i = 0; i < 6; i++) fill(b, 4, 5 + 3 * i, 11, 1, i == 2 ? 'r' : 's');
  page(b, 12, 6, 19, 25);
  const char bars[] = {'s', 'g', 'g', 's', 'l', 's'};
  for (int i = 0; i < 6; i++) fill(b, 15, 10 + 3 * i, 13 - (i % 2) * 3, 2, bars[i]);
  fill(b, 12, 16, 2, 4, 'y');  // the rule that joins the two sides
  return b;
}

const std::map<std::string, WBitmap>& library() {
  static const std::map<std::string, WBitmap> all = {
      {"arrowup20", bigArrow(true)}, {"arrowdown20", bigArrow(false)},
      {"arrowup", smallArrow(true)}, {"arrowdown", smallArrow(false)},
      {"reload", reload()},          {"quit", quit()},
      {"VORNEPIC", windowIcon()},
  };
  return all;
}

// A palette pixel; on the usual true-colour displays allocating asks the
// server nothing.
Pixel pixelOf(char letter) {
  long rgb = rgbOf(letter);
  return draw_allocRGB((rgb >> 16) & 0xff, (rgb >> 8) & 0xff, rgb & 0xff);
}

// Paints every run of opaque pixels of a row in one colour (or in the
// picture's own colours when `colour` is null).
void paintRuns(DrawTarget* t, const WBitmap* b, int x, int y, const Pixel* colour) {
  for (int j = 0; j < b->height; j++) {
    const std::string& row = b->rows[j];
    for (int i = 0; i < b->width;) {
      char c = row[i];
      int k = i + 1;
      while (k < b->width && (colour ? (row[k] == '.') == (c == '.') : row[k] == c)) k++;
      if (c != '.') draw_fillRect(t, x + i, y + j, k - i, 1, colour ? *colour : pixelOf(c));
      i = k;
    }
  }
}

}  // namespace

const WBitmap* bitmap_find(const char* name) {
  if (!name || !*name) return nullptr;
  if (toolkitOptions.lowBandwidth >= kNoPicturesLevel) return nullptr;  // "-noicons"
  auto it = library().find(name);
  if (it != library().end()) return &it->second;
  static std::set<std::string> warned;
  if (warned.insert(name).second) gen_warning("No bitmap named \"%s\"", name);
  return nullptr;
}

int bitmap_width(const WBitmap* b) { return b ? b->width : 0; }
int bitmap_height(const WBitmap* b) { return b ? b->height : 0; }

long bitmap_pixelRGB(const WBitmap* b, int x, int y) {
  if (!b || x < 0 || y < 0 || x >= b->width || y >= b->height) return -1;
  return rgbOf(b->rows[y][x]);
}

void bitmap_draw(DrawTarget* t, const WBitmap* b, int x, int y, bool dimmed) {
  if (!t || !b) return;
  if (!dimmed) return paintRuns(t, b, x, y, nullptr);
  paintRuns(t, b, x + 1, y + 1, &controlhighlight_pixel);
  paintRuns(t, b, x, y, &controlshadow_pixel);
}

bool bitmap_setWindowIcon(ColWind* window, const char* name) {
  const WBitmap* b = bitmap_find(name);
  if (!b || !window || !window->getWindow() || !XWindowsOn()) return false;
  std::vector<unsigned long> argb;
  for (int y = 0; y < b->height; y++)
    for (int x = 0; x < b->width; x++) {
      long rgb = bitmap_pixelRGB(b, x, y);
      argb.push_back(rgb < 0 ? 0ul : 0xff000000ul | static_cast<unsigned long>(rgb));
    }
  xwin_setIcon(window->getWindow(), b->width, b->height, argb, bg_pixel);
  return true;
}
