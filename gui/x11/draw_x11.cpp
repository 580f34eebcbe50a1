// The drawing seam spoken in Xlib and Xft: painting goes to an off-screen
// pixmap covering the repaint area and is copied to the window at the end,
// text is drawn anti-aliased through Xft, and pixels carry their colour
// components so that a text run can be drawn in any allocated pixel.
#include "gui/x11/draw.h"

#include <X11/Xft/Xft.h>

#include <algorithm>
#include <cstring>
#include <unordered_map>
#include <vector>

#include "gui/x11/display.h"
#include "gui/x11/xdisplay.h"

struct DrawFont {
  XftFont* xft;
};

struct DrawTarget {
  Window window;
  DrawRect area;
  Pixmap buffer;
  XftDraw* xftDraw;
};

namespace {

DrawFont* defaultFont = nullptr;
std::unordered_map<Pixel, XRenderColor> knownColours;

// The components of a TrueColor pixel, from the visual's masks.
unsigned component(Pixel p, unsigned long mask) {
  if (!mask) return 0;
  int shift = 0;
  while (!(mask & 1)) {
    mask >>= 1;
    shift++;
  }
  unsigned long v = (p >> shift) & mask;
  return static_cast<unsigned>(v * 255 / mask);
}

XRenderColor renderColour(Pixel p) {
  auto it = knownColours.find(p);
  if (it != knownColours.end()) return it->second;
  unsigned r, g, b;
  draw_pixelRGB(p, &r, &g, &b);
  XRenderColor c{static_cast<unsigned short>(r * 257), static_cast<unsigned short>(g * 257),
                 static_cast<unsigned short>(b * 257), 0xffff};
  knownColours[p] = c;
  return c;
}

int tx(const DrawTarget* t, int x) { return x - t->area.x; }
int ty(const DrawTarget* t, int y) { return y - t->area.y; }

// A TrueColor pixel holds its components: it is made here, without asking
// the server (start-up allocates every configured colour, often more than
// once).
Pixel trueColourPixel(const Visual* v, unsigned r, unsigned g, unsigned b) {
  auto place = [](unsigned value, unsigned long mask) {
    if (!mask) return 0ul;
    int shift = 0;
    while (!((mask >> shift) & 1)) shift++;
    unsigned long width = mask >> shift;
    return ((value * width + 127) / 255) << shift;
  };
  return place(r, v->red_mask) | place(g, v->green_mask) | place(b, v->blue_mask);
}

}  // namespace

Pixel draw_allocRGB(unsigned r, unsigned g, unsigned b) {
  XState& xs = xstate();
  r = std::min(r, 255u), g = std::min(g, 255u), b = std::min(b, 255u);
  if (xs.greyScale) r = g = b = (r * 3 + g * 6 + b) / 10;  // "-grey": the colour's brightness
  if (xs.display && xs.visual && xs.visual->c_class == TrueColor) {
    Pixel p = trueColourPixel(xs.visual, r, g, b);
    knownColours[p] = XRenderColor{static_cast<unsigned short>(r * 257),
                                   static_cast<unsigned short>(g * 257),
                                   static_cast<unsigned short>(b * 257), 0xffff};
    return p;
  }
  XColor c{};
  c.red = static_cast<unsigned short>(std::min(r, 255u) * 257);
  c.green = static_cast<unsigned short>(std::min(g, 255u) * 257);
  c.blue = static_cast<unsigned short>(std::min(b, 255u) * 257);
  c.flags = DoRed | DoGreen | DoBlue;
  if (!xs.display) return 0;
  if (!XAllocColor(xs.display, xs.colormap, &c))
    return (r + g + b) / 3 >= 128 ? WhitePixel(xs.display, xs.screen)
                                  : BlackPixel(xs.display, xs.screen);
  knownColours[c.pixel] = XRenderColor{c.red, c.green, c.blue, 0xffff};
  return c.pixel;
}

bool draw_parseColor(const char* text, Pixel* out) {
  XState& xs = xstate();
  if (!text || !*text || !xs.display) return false;
  XColor c{};
  if (!XParseColor(xs.display, xs.colormap, text, &c)) return false;
  *out = draw_allocRGB(c.red >> 8, c.green >> 8, c.blue >> 8);
  return true;
}

void draw_pixelRGB(Pixel p, unsigned* r, unsigned* g, unsigned* b) {
  auto it = knownColours.find(p);
  XState& xs = xstate();
  if (it != knownColours.end()) {
    *r = it->second.red >> 8, *g = it->second.green >> 8, *b = it->second.blue >> 8;
    return;
  }
  if (xs.visual && xs.visual->c_class == TrueColor) {
    *r = component(p, xs.visual->red_mask);
    *g = component(p, xs.visual->green_mask);
    *b = component(p, xs.visual->blue_mask);
    return;
  }
  XColor c{};
  c.pixel = p;
  if (xs.display) XQueryColor(xs.display, xs.colormap, &c);
  *r = c.red >> 8, *g = c.green >> 8, *b = c.blue >> 8;
}

DrawFont* draw_openFont(const char* name) {
  XState& xs = xstate();
  if (!xs.display || !name || !*name) return nullptr;
  XftFont* f = nullptr;
  if (name[0] == '-') {
    f = XftFontOpenXlfd(xs.display, xs.screen, name);
  } else {
    FcPattern* want = FcNameParse(reinterpret_cast<const FcChar8*>(name));
    if (!want) return nullptr;
    FcChar8* family = nullptr;
    bool named = FcPatternGetString(want, FC_FAMILY, 0, &family) == FcResultMatch;
    XftResult result;
    FcPattern* match = XftFontMatch(xs.display, xs.screen, want, &result);
    FcChar8* got = nullptr;
    bool same = match && (!named || (FcPatternGetString(match, FC_FAMILY, 0, &got) ==
                                         FcResultMatch &&
                                     !strcasecmp(reinterpret_cast<char*>(family),
                                                 reinterpret_cast<char*>(got))));
    if (match && same) f = XftFontOpenPattern(xs.display, match);
    else if (match) FcPatternDestroy(match);
    FcPatternDestroy(want);
  }
  return f ? new DrawFont{f} : nullptr;
}

void draw_closeFont(DrawFont* font) {
  if (!font) return;
  if (font == defaultFont) defaultFont = nullptr;
  if (xstate().display) XftFontClose(xstate().display, font->xft);
  delete font;
}

DrawFont* draw_defaultFont() { return defaultFont; }

void draw_setDefaultFont(DrawFont* font) { defaultFont = font; }

void draw_forgetColours() { knownColours.clear(); }

DrawFontMetrics draw_fontMetrics(const DrawFont* font) {
  if (!font) return DrawFontMetrics{0, 0, 0, 0};
  const XftFont* f = font->xft;
  return DrawFontMetrics{f->ascent, f->descent, f->ascent + f->descent, f->max_advance_width};
}

namespace {

// Xft reports the advance in 16 bits: long texts are measured in pieces
// that end on character boundaries, so a 100,000-byte line still has its
// true width.
long runWidth(XftFont* font, const char* utf8, int len) {
  constexpr int kPiece = 1024;
  long width = 0;
  for (int at = 0; at < len;) {
    int n = std::min(kPiece, len - at);
    while (at + n < len && n > 1 && (static_cast<unsigned char>(utf8[at + n]) & 0xC0) == 0x80) n--;
    XGlyphInfo info;
    XftTextExtentsUtf8(xstate().display, font, reinterpret_cast<const FcChar8*>(utf8 + at), n,
                       &info);
    width += info.xOff;
    at += n;
  }
  return width;
}

// "-16bitfont": the font for the characters a text's own font lacks
// (wide characters beyond the font's repertoire); null when none is named
// or it does not open.  Opened on first need, once per display.
XftFont* wideFont() {
  static DrawFont* wide = nullptr;
  static Display* openedFor = nullptr;
  if (openedFor != xstate().display) {
    openedFor = xstate().display;
    wide = draw_openFont(gui_getResource("16bitfont"));
  }
  return wide ? wide->xft : nullptr;
}

// Calls each(font, bytes, length) for the runs of `utf8` that one font
// shows: the text's own, or the wide font for characters only it has.
template <class Each>
void forFontRuns(XftFont* own, const char* utf8, int len, Each each) {
  XftFont* wide = nullptr;
  for (int i = 0; i < len && !wide; i++)
    if (static_cast<unsigned char>(utf8[i]) >= 0x80) wide = wideFont();
  if (!wide) return each(own, utf8, len);
  Display* d = xstate().display;
  int start = 0;
  XftFont* current = own;
  for (int at = 0; at < len;) {
    FcChar32 ch = 0;
    int n = FcUtf8ToUcs4(reinterpret_cast<const FcChar8*>(utf8 + at), &ch, len - at);
    if (n <= 0) n = 1;
    XftFont* f = ch < 0x80 || XftCharExists(d, own, ch) || !XftCharExists(d, wide, ch) ? own : wide;
    if (f != current && at > start) each(current, utf8 + start, at - start), start = at;
    current = f;
    at += n;
  }
  each(current, utf8 + start, len - start);
}

}  // namespace

int draw_textWidth(const DrawFont* font, const char* utf8, int len) {
  if (!font || !utf8 || !xstate().display) return 0;
  if (len < 0) len = static_cast<int>(strlen(utf8));
  long width = 0;
  forFontRuns(font->xft, utf8, len,
              [&](XftFont* f, const char* s, int n) { width += runWidth(f, s, n); });
  return static_cast<int>(std::min<long>(width, 0x7fffffff));
}

DrawTarget* draw_begin(WindowId window, DrawRect area) {
  XState& xs = xstate();
  if (!xs.display || area.width <= 0 || area.height <= 0) return nullptr;
  Pixmap buffer = XCreatePixmap(xs.display, window, area.width, area.height, xs.depth);
  XftDraw* d = XftDrawCreate(xs.display, buffer, xs.visual, xs.colormap);
  XSetClipMask(xs.display, xs.gc, None);
  return new DrawTarget{window, area, buffer, d};
}

void draw_end(DrawTarget* t) {
  if (!t) return;
  XState& xs = xstate();
  XSetClipMask(xs.display, xs.gc, None);
  XCopyArea(xs.display, t->buffer, t->window, xs.gc, 0, 0, t->area.width, t->area.height,
            t->area.x, t->area.y);
  XftDrawDestroy(t->xftDraw);
  XFreePixmap(xs.display, t->buffer);
  delete t;
}

void draw_setClip(DrawTarget* t, const DrawRect* rects, int n) {
  if (!t) return;
  XState& xs = xstate();
  if (n <= 0) {
    XSetClipMask(xs.display, xs.gc, None);
    XftDrawSetClip(t->xftDraw, nullptr);
    return;
  }
  std::vector<XRectangle> xr;
  for (int i = 0; i < n; i++) {
    const DrawRect& r = rects[i];
    xr.push_back(XRectangle{static_cast<short>(tx(t, r.x)), static_cast<short>(ty(t, r.y)),
                            static_cast<unsigned short>(std::max(r.width, 0)),
                            static_cast<unsigned short>(std::max(r.height, 0))});
  }
  XSetClipRectangles(xs.display, xs.gc, 0, 0, xr.data(), n, Unsorted);
  XftDrawSetClipRectangles(t->xftDraw, 0, 0, xr.data(), n);
}

void draw_fillRect(DrawTarget* t, int x, int y, int width, int height, Pixel colour) {
  if (!t || width <= 0 || height <= 0) return;
  XState& xs = xstate();
  XSetForeground(xs.display, xs.gc, colour);
  XFillRectangle(xs.display, t->buffer, xs.gc, tx(t, x), ty(t, y), width, height);
}

void draw_line(DrawTarget* t, int x1, int y1, int x2, int y2, Pixel colour) {
  if (!t) return;
  XState& xs = xstate();
  XSetForeground(xs.display, xs.gc, colour);
  XDrawLine(xs.display, t->buffer, xs.gc, tx(t, x1), ty(t, y1), tx(t, x2), ty(t, y2));
}

void draw_text(DrawTarget* t, const DrawFont* font, Pixel colour, int x, int y, const char* utf8,
               int len) {
  if (!t || !font || !utf8) return;
  if (len < 0) len = static_cast<int>(strlen(utf8));
  if (len == 0) return;
  XftColor c;
  c.pixel = colour;
  c.color = renderColour(colour);
  forFontRuns(font->xft, utf8, len, [&](XftFont* f, const char* s, int n) {
    XftDrawStringUtf8(t->xftDraw, &c, f, tx(t, x), ty(t, y), reinterpret_cast<const FcChar8*>(s),
                      n);
    if (n < len) x += static_cast<int>(runWidth(f, s, n));
  });
}

void draw_flush() {
  if (xstate().display) XFlush(xstate().display);
}
