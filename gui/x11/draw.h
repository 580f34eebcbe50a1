// The drawing seam: every pixel the toolkit paints goes through these few
// calls (filled rectangles, lines, text runs, clipping, colours, fonts), so
// that Xlib and Xft are spoken in one file only.  Widgets draw into a target
// opened on their window; colours are plain pixels (unsigned long).
#pragma once

// An allocated colour of the display's colour map.
using Pixel = unsigned long;
// An X window id, carried as a plain number outside the seam.
using WindowId = unsigned long;

struct DrawFont;    // an opened anti-aliased font; owned by whoever opened it
struct DrawTarget;  // a window being painted; from draw_begin to draw_end

struct DrawRect {
  int x, y, width, height;
};

struct DrawFontMetrics {
  int ascent;      // baseline to the top of the tallest glyph
  int descent;     // baseline to the bottom of the lowest glyph
  int height;      // ascent + descent: one text line
  int maxAdvance;  // widest character cell
};

// ---- colours (valid while the display is open) ---------------------------
// Allocates the colour with 8-bit components; the nearest one on a display
// with few colours.
Pixel draw_allocRGB(unsigned r, unsigned g, unsigned b);
// Parses an X colour name or "#rrggbb" and allocates it; false (and *out
// untouched) when the text names no colour.
bool draw_parseColor(const char* text, Pixel* out);
// The 8-bit components of an allocated pixel.
void draw_pixelRGB(Pixel p, unsigned* r, unsigned* g, unsigned* b);
// Forgets the components remembered for allocated pixels (shutdown).
void draw_forgetColours();

// ---- fonts -----------------------------------------------------------------
// Opens a fontconfig pattern ("DejaVu Sans Mono:size=10") or an XLFD name;
// null when nothing matches.
DrawFont* draw_openFont(const char* name);
void draw_closeFont(DrawFont* font);  // accepts null
// The toolkit's text font, opened at start-up (see font_h / font_n).
DrawFont* draw_defaultFont();
// Makes `font` the one draw_defaultFont answers (null: none); the caller
// keeps ownership.
void draw_setDefaultFont(DrawFont* font);
DrawFontMetrics draw_fontMetrics(const DrawFont* font);
// Width in pixels of `len` bytes of UTF-8 text (len < 0: up to the NUL).
int draw_textWidth(const DrawFont* font, const char* utf8, int len);

// ---- painting --------------------------------------------------------------
// Opens a target on a window.  Painting goes to an off-screen buffer that
// covers `area` (window coordinates) and reaches the screen in draw_end,
// so a repaint never flickers.  Coordinates stay window coordinates.
DrawTarget* draw_begin(WindowId window, DrawRect area);
void draw_end(DrawTarget* target);  // copies the buffer out and frees it

// Limits further painting to the union of the rectangles; n == 0 lifts the
// limit back to the target's area.
void draw_setClip(DrawTarget* target, const DrawRect* rects, int n);
void draw_fillRect(DrawTarget* target, int x, int y, int width, int height, Pixel colour);
// A one-pixel line including both end points.
void draw_line(DrawTarget* target, int x1, int y1, int x2, int y2, Pixel colour);
// A text run with its baseline at y.
void draw_text(DrawTarget* target, const DrawFont* font, Pixel colour, int x, int y,
               const char* utf8, int len);

// Sends buffered requests to the server.
void draw_flush();
