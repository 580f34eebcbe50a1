// The toolkit's own small pictures, found by name: the arrows and commands
// of the tool bar ("arrowup20", "arrowdown20", "reload", "quit"), the spin
// arrows ("arrowup", "arrowdown") and the window icon ("VORNEPIC").  They
// are pixel masks with a few fixed colours, painted through the drawing
// seam; an unknown name gives no picture and one warning.
#pragma once

#include "gui/x11/draw.h"

class ColWind;
struct WBitmap;  // one named picture; lives as long as the process

// The picture of that name, or null (with a warning the first time that
// name is asked for; always null under "-noicons").
const WBitmap* bitmap_find(const char* name);
int bitmap_width(const WBitmap* bitmap);   // 0 for null
int bitmap_height(const WBitmap* bitmap);  // 0 for null
// Paints the picture with its top left corner at (x, y); dimmed pictures
// are drawn engraved in the control shadow and highlight colours.  Null
// paints nothing.
void bitmap_draw(DrawTarget* target, const WBitmap* bitmap, int x, int y, bool dimmed);
// The colour of one pixel of the picture as 0xRRGGBB, or -1 where it is
// transparent (or outside).
long bitmap_pixelRGB(const WBitmap* bitmap, int x, int y);

// Gives the top-level window the named picture as its icon, both as the
// icon pixmap with its mask (WM_HINTS) and as _NET_WM_ICON.  False when the
// name is unknown or X is off.
bool bitmap_setWindowIcon(ColWind* window, const char* name);
