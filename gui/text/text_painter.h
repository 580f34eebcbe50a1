// What a text element paints on: filled rectangles, text runs in a font
// and colour, lines, and a stack of clip rectangles.  The view paints
// through the drawing seam; tests paint into a recorder, so what each
// element draws can be checked without a display.
#pragma once

#include "gui/x11/draw.h"

class TextPainter {
 public:
  virtual ~TextPainter() = default;
  virtual void fillRect(int x, int y, int width, int height, Pixel colour) = 0;
  // A text run with its baseline at y.
  virtual void drawText(int x, int y, int font, const char* text, int length,
                        Pixel colour) = 0;
  virtual void drawLine(int x1, int y1, int x2, int y2, Pixel colour) = 0;
  // Limits painting to the rectangle within the current limit until the
  // matching popClip.
  virtual void pushClip(DrawRect rect) = 0;
  virtual void popClip() = 0;
};

// Intersection of two rectangles (width or height 0 when they miss).
DrawRect intersectRects(DrawRect a, DrawRect b);
