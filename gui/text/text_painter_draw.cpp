// The painter over the drawing seam: a stack of clip rectangles, each the
// intersection of the one below it and the rectangle pushed.
#include "gui/text/text_painter_draw.h"

#include "gui/text/text_metrics.h"

DrawTextPainter::DrawTextPainter(DrawTarget* target, DrawRect area)
    : target_(target), clips_{area} {}

void DrawTextPainter::fillRect(int x, int y, int width, int height, Pixel colour) {
  if (width > 0 && height > 0) draw_fillRect(target_, x, y, width, height, colour);
}

void DrawTextPainter::drawText(int x, int y, int font, const char* text, int length,
                               Pixel colour) {
  const DrawFont* f = textFontFor(font);
  if (f && length > 0) draw_text(target_, f, colour, x, y, text, length);
}

void DrawTextPainter::drawLine(int x1, int y1, int x2, int y2, Pixel colour) {
  draw_line(target_, x1, y1, x2, y2, colour);
}

void DrawTextPainter::applyClip() {
  if (clips_.size() == 1) draw_setClip(target_, nullptr, 0);
  else draw_setClip(target_, &clips_.back(), 1);
}

void DrawTextPainter::pushClip(DrawRect rect) {
  clips_.push_back(intersectRects(clips_.back(), rect));
  applyClip();
}

void DrawTextPainter::popClip() {
  if (clips_.size() > 1) clips_.pop_back();
  applyClip();
}
