// The two sources of font measurements: a fixed cell for layout without a
// display, and the display's opened fonts through the drawing seam.
#include "gui/text/text_metrics.h"

#include <cstdio>

#include "base/gen.h"
#include "gui/core/fonts.h"
#include "gui/x11/display.h"
#include "gui/x11/draw.h"

namespace {

class CellMetrics : public TextMetrics {
 public:
  int fontHeight(int font) const override { return font == VF_BIG ? 16 : 13; }
  int fontAscent(int font) const override { return font == VF_BIG ? 12 : 10; }
  int fontCharWidth(int font) const override { return font == VF_BIG ? 9 : 7; }
  int textWidth(int font, const char* text, int length) const override {
    int chars = 0;
    for (int i = 0; i < length; i++)
      if (textCharStart(static_cast<unsigned char>(text[i]))) chars++;
    return chars * fontCharWidth(font);
  }
};

// The big font is the default face, bold and a little larger; when it
// cannot be opened the default font stands in, with a warning.
class DisplayMetrics : public TextMetrics {
 public:
  const DrawFont* font(int number) const {
    if (number != VF_BIG) return draw_defaultFont();
    if (!bigTried_) {
      bigTried_ = true;
      char pattern[96];
      std::snprintf(pattern, sizeof pattern, "DejaVu Sans Mono:bold:pixelsize=%d",
                    font_h > 0 ? font_h + 2 : 14);
      big_ = draw_openFont(pattern);
      if (!big_) gen_warning("Cannot open the big font \"%s\"; using the text font", pattern);
    }
    return big_ ? big_ : draw_defaultFont();
  }
  int fontHeight(int number) const override {
    if (number != VF_BIG && font_h > 0) return font_h;
    return fallback(number) ? cell_.fontHeight(number) : draw_fontMetrics(font(number)).height;
  }
  int fontAscent(int number) const override {
    if (number != VF_BIG && font_h > 0) return font_ascent;
    return fallback(number) ? cell_.fontAscent(number) : draw_fontMetrics(font(number)).ascent;
  }
  int fontCharWidth(int number) const override {
    if (number != VF_BIG && font_n > 0) return font_n;
    return fallback(number) ? cell_.fontCharWidth(number) : draw_textWidth(font(number), "0", 1);
  }
  int textWidth(int number, const char* text, int length) const override {
    if (length <= 0) return 0;
    if (fallback(number)) return cell_.textWidth(number, text, length);
    return draw_textWidth(font(number), text, length);
  }

 private:
  bool fallback(int number) const { return !XWindowsOn() || !font(number); }
  CellMetrics cell_;
  mutable DrawFont* big_ = nullptr;
  mutable bool bigTried_ = false;
};

}  // namespace

const TextMetrics& cellTextMetrics() {
  static const CellMetrics metrics;
  return metrics;
}

namespace {

const DisplayMetrics& displayMetrics() {
  static const DisplayMetrics metrics;
  return metrics;
}

}  // namespace

const TextMetrics& displayTextMetrics() {
  if (!XWindowsOn()) return cellTextMetrics();
  return displayMetrics();
}

const DrawFont* textFontFor(int font) {
  if (!XWindowsOn()) return nullptr;
  return displayMetrics().font(font);
}
