// Runs of coloured text and links: measuring, character and word splits,
// the text under a pixel slice, and painting a slice of the run.
#include "gui/text/text_elements.h"

#include "gui/core/pixels.h"
#include "gui/text/text_metrics.h"
#include "gui/text/text_painter.h"
#include "gui/text/textview.h"

namespace {

// Word characters, blanks and other characters: a double click selects a
// run of one class.
int charClass(unsigned char c) {
  if (c == ' ' || c == '\t') return 0;
  if (c >= 0x80 || c == '_' || (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') ||
      (c >= 'A' && c <= 'Z'))
    return 1;
  return 2;
}

}  // namespace

ColorText::ColorText(long fg, long bg, int font, const char* text, int length)
    : fg_(fg), bg_(bg), font_(font), text_(text), length_(length > 0 ? length : 0) {}

int ColorText::getWidth(WTextView* view) {
  return length_ ? textview_metrics(view).textWidth(font_, text_, length_) : 0;
}

int ColorText::getHeight(WTextView* view) { return textview_metrics(view).fontHeight(font_); }

int ColorText::nextChar(int index) const {
  index++;
  while (index < length_ && !textCharStart(static_cast<unsigned char>(text_[index]))) index++;
  return index;
}

int ColorText::prevChar(int index) const {
  index--;
  while (index > 0 && !textCharStart(static_cast<unsigned char>(text_[index]))) index--;
  return index < 0 ? 0 : index;
}

int ColorText::offsetOf(WTextView* view, int index) {
  return index <= 0 ? 0 : textview_metrics(view).textWidth(font_, text_, index);
}

int ColorText::charIndexAt(WTextView* view, int x) {
  if (length_ == 0 || x <= 0) return 0;
  int lo = 0, hi = length_;  // the character starts at lo <= x; hi is past it
  for (;;) {
    int mid = (lo + hi) / 2;
    while (mid > lo && !textCharStart(static_cast<unsigned char>(text_[mid]))) mid--;
    if (mid <= lo) mid = nextChar(lo);
    if (mid >= hi) return lo;
    if (offsetOf(view, mid) <= x) lo = mid;
    else hi = mid;
  }
}

int ColorText::findCharacterSplit(WTextView* view, int x) {
  return offsetOf(view, charIndexAt(view, x));
}

int ColorText::findCharPosition(WTextView* view, int index) {
  int at = 0;
  for (int i = 0; i < index && at < length_; i++) at = nextChar(at);
  return offsetOf(view, at);
}

int ColorText::findWordSplit(WTextView* view, int x, bool backwards) {
  if (length_ == 0) return 0;
  int i = charIndexAt(view, x);
  int cls = charClass(static_cast<unsigned char>(text_[i]));
  if (backwards) {
    while (i > 0 && charClass(static_cast<unsigned char>(text_[prevChar(i)])) == cls)
      i = prevChar(i);
    return offsetOf(view, i);
  }
  int j = nextChar(i);
  while (j < length_ && charClass(static_cast<unsigned char>(text_[j])) == cls) j = nextChar(j);
  return offsetOf(view, j);
}

void ColorText::getRawText(WTextView* view, int firstPixel, int pixelWidth,
                           const char** text, int* length) {
  *text = text_;
  *length = length_;
  if (firstPixel <= 0 && pixelWidth >= kWholeWidth) return;
  int from = firstCharFrom(view, firstPixel);
  int to = firstCharFrom(view, firstPixel + pixelWidth);
  *text = text_ + from;
  *length = to > from ? to - from : 0;
}

int ColorText::firstCharFrom(WTextView* view, int x) {
  if (x <= 0) return 0;
  int i = charIndexAt(view, x);
  return offsetOf(view, i) < x ? nextChar(i) : i;
}

void ColorText::paintPortion(WTextView* view, TextPainter* painter, int x, int y,
                             int firstPixel, int pixelWidth, bool selected) {
  const TextMetrics& m = textview_metrics(view);
  int height = m.fontHeight(font_);
  Pixel bg = selected ? select_pixel : static_cast<Pixel>(bg_);
  Pixel fg = selected ? selectreverse_pixel : static_cast<Pixel>(fg_);
  painter->fillRect(x, y, pixelWidth, height, bg);
  if (length_ == 0 || pixelWidth <= 0) return;
  int from = charIndexAt(view, firstPixel);
  int to = nextChar(charIndexAt(view, firstPixel + pixelWidth - 1));
  painter->pushClip(DrawRect{x, y, pixelWidth, height});
  painter->drawText(x + offsetOf(view, from) - firstPixel, y + m.fontAscent(font_), font_,
                    text_ + from, to - from, fg);
  painter->popClip();
}

long ColorText::getColor(WTextView*, bool foreground) { return foreground ? fg_ : bg_; }

void ColorText::changeColor(WTextView*, long colour, bool foreground) {
  (foreground ? fg_ : bg_) = colour;
}

HyperLink::HyperLink(long fg, long bg, int font, const char* text, int length,
                     HyperLinkCallback callback, void* data)
    : ColorText(fg, bg, font, text, length), callback_(callback), data_(data) {}

void HyperLink::paintPortion(WTextView* view, TextPainter* painter, int x, int y,
                             int firstPixel, int pixelWidth, bool selected) {
  ColorText::paintPortion(view, painter, x, y, firstPixel, pixelWidth, selected);
  if (pixelWidth <= 0) return;
  int underline = y + textview_metrics(view).fontAscent(font_) + 1;
  Pixel fg = selected ? selectreverse_pixel : static_cast<Pixel>(fg_);
  painter->drawLine(x, underline, x + pixelWidth - 1, underline, fg);
}

bool HyperLink::handleMouseClick(WTextView*, int, int, int) {
  if (!callback_) return false;
  callback_(data_, text_, length_);
  return true;
}
