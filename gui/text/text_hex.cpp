// Hex dumps: each byte as two lower-case hex digits, with small gaps
// between bytes and wider ones between groups of four.
#include "gui/text/text_elements.h"

#include <cstdio>
#include <cstdlib>

#include "gui/core/pixels.h"
#include "gui/text/text_metrics.h"
#include "gui/text/text_painter.h"
#include "gui/text/textview.h"

HexText::HexText(long fg, long bg, int font, const unsigned char* bytes, int count)
    : fg_(fg), bg_(bg), font_(font), bytes_(bytes), count_(count > 0 ? count : 0) {}

int HexText::byteOffset(int i, int digitWidth) {
  return i * 2 * digitWidth + i * kByteGap + (i / 4) * (kGroupGap - kByteGap);
}

int HexText::gapAfter(int i, int count) {
  if (i >= count - 1) return 0;
  return (i + 1) % 4 == 0 ? kGroupGap : kByteGap;
}

int HexText::digitWidth(WTextView* view) { return textview_metrics(view).fontCharWidth(font_); }

int HexText::getWidth(WTextView* view) {
  return count_ ? byteOffset(count_ - 1, digitWidth(view)) + 2 * digitWidth(view) : 0;
}

int HexText::getHeight(WTextView* view) { return textview_metrics(view).fontHeight(font_); }

int HexText::findCharPosition(WTextView* view, int index) {
  if (index <= 0) return 0;
  if (index >= 2 * count_) return getWidth(view);
  int dw = digitWidth(view);
  return byteOffset(index / 2, dw) + (index % 2) * dw;
}

int HexText::findCharacterSplit(WTextView* view, int x) {
  // Boundaries: before, between and after the two digits of each byte.
  int dw = digitWidth(view), best = 0;
  for (int i = 0; i < count_; i++) {
    int start = byteOffset(i, dw);
    for (int at : {start, start + dw, start + 2 * dw})
      if (std::abs(at - x) < std::abs(best - x)) best = at;
    if (start > x) break;
  }
  return best;
}

void HexText::getRawText(WTextView* view, int firstPixel, int pixelWidth, const char** text,
                         int* length) {
  int dw = digitWidth(view);
  raw_.clear();
  for (int i = 0; i < count_; i++) {
    int at = byteOffset(i, dw);
    if (at < firstPixel || at >= firstPixel + pixelWidth) continue;
    char digits[4];
    std::snprintf(digits, sizeof digits, "%02x", bytes_[i]);
    if (!raw_.empty()) raw_ += ' ';
    raw_ += digits;
  }
  *text = raw_.c_str();
  *length = static_cast<int>(raw_.size());
}

void HexText::paintPortion(WTextView* view, TextPainter* painter, int x, int y,
                           int firstPixel, int pixelWidth, bool selected) {
  const TextMetrics& m = textview_metrics(view);
  int dw = digitWidth(view), height = m.fontHeight(font_);
  painter->fillRect(x, y, pixelWidth, height, selected ? select_pixel : static_cast<Pixel>(bg_));
  painter->pushClip(DrawRect{x, y, pixelWidth, height});
  for (int i = 0; i < count_; i++) {
    int at = byteOffset(i, dw);
    if (at + 2 * dw <= firstPixel) continue;
    if (at >= firstPixel + pixelWidth) break;
    char digits[4];
    std::snprintf(digits, sizeof digits, "%02x", bytes_[i]);
    painter->drawText(x + at - firstPixel, y + m.fontAscent(font_), font_, digits, 2,
                      selected ? selectreverse_pixel : static_cast<Pixel>(fg_));
  }
  painter->popClip();
}

long HexText::getColor(WTextView*, bool foreground) { return foreground ? fg_ : bg_; }

void HexText::changeColor(WTextView*, long colour, bool foreground) {
  (foreground ? fg_ : bg_) = colour;
}
