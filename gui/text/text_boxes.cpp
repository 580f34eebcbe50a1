// Boxes, spanning bars, tabs and the invisible line break: elements with a
// background colour only (or none), drawn as solid rectangles.
#include "gui/text/text_elements.h"

#include "gui/core/pixels.h"
#include "gui/text/text_painter.h"

ColorBox::ColorBox(long colour, int width, int height)
    : colour_(colour), width_(width), height_(height) {}

void ColorBox::getRawText(WTextView*, int, int, const char** text, int* length) {
  *text = "";
  *length = 0;
}

void ColorBox::paintPortion(WTextView*, TextPainter* painter, int x, int y, int,
                            int pixelWidth, bool selected) {
  painter->fillRect(x, y, pixelWidth, height_,
                    selected ? select_pixel : static_cast<Pixel>(colour_));
}

long ColorBox::getColor(WTextView*, bool foreground) {
  return foreground ? getNoSuchColor() : colour_;
}

void ColorBox::changeColor(WTextView*, long colour, bool foreground) {
  if (!foreground) colour_ = colour;
}

ColorLine::ColorLine(long colour, int height) : ColorBox(colour, 10, height) {}

void ColorLine::paintPortion(WTextView*, TextPainter* painter, int x, int y, int,
                             int pixelWidth, bool) {
  painter->fillRect(x, y, pixelWidth, height_, static_cast<Pixel>(colour_));
}

ColorTab::ColorTab(long colour, int height) : ColorBox(colour, 0, height) {}

void ColorTab::getRawText(WTextView*, int, int, const char** text, int* length) {
  *text = "\t";
  *length = 1;
}

void FakeBreak::getRawText(WTextView*, int, int, const char** text, int* length) {
  *text = "\n";
  *length = 1;
}
