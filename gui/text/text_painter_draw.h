// The text painter over the drawing seam: a view opens a target on its
// window for one repaint and hands this painter to its elements.
#pragma once

#include <vector>

#include "gui/text/text_painter.h"

class DrawTextPainter : public TextPainter {
 public:
  // Paints into `target`, whose painting area is `area`.
  DrawTextPainter(DrawTarget* target, DrawRect area);
  void fillRect(int x, int y, int width, int height, Pixel colour) override;
  void drawText(int x, int y, int font, const char* text, int length,
                Pixel colour) override;
  void drawLine(int x1, int y1, int x2, int y2, Pixel colour) override;
  void pushClip(DrawRect rect) override;
  void popClip() override;

 private:
  void applyClip();
  DrawTarget* target_;
  std::vector<DrawRect> clips_;
};
