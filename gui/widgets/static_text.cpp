// Static texts: a label painted on the parent's background, clipped to the
// item, vertically centred.
#include "gui/widgets/static_text.h"

#include <algorithm>

#include "gui/core/fonts.h"
#include "gui/core/pixels.h"
#include "gui/widgets/text_field_model.h"

namespace {
constexpr int kMargin = 2;
}  // namespace

// draw_textWidth measures long texts in pieces itself.
int st_textWidth(std::string_view text) {
  const DrawFont* font = draw_defaultFont();
  if (!font) return 0;
  std::string shown = tf_displayable(text);
  return draw_textWidth(font, shown.c_str(), static_cast<int>(shown.size()));
}

WStaticText::WStaticText(WWindowedItem* parent, DrawRect placement, const char* text, Align align)
    : WWindowedItem(parent, placement, parent ? parent->getBackground() : bg_pixel),
      text_(text ? text : ""),
      align_(align) {}

void WStaticText::setText(const char* text) {
  text_ = text ? text : "";
  invalidate();
}

void WStaticText::setAlign(Align align) {
  align_ = align;
  invalidate();
}

void WStaticText::setDimmed(bool dimmed) {
  dimmed_ = dimmed;
  invalidate();
}

int WStaticText::preferredWidth() const {
  return st_textWidth(text_) + 2 * kMargin;
}

int WStaticText::preferredHeight() { return font_h + 2 * kMargin; }

bool WStaticText::handleExpose(int x, int y, int width, int height) {
  DrawTarget* t = draw_begin(getWindow(), DrawRect{x, y, width, height});
  if (!t) return false;
  draw_fillRect(t, x, y, width, height, getBackground());
  // No label is wide enough for more than the start of a very long text.
  std::string shown = tf_displayable(std::string_view(text_).substr(0, 1024));
  int room = std::max(getWidth() - preferredWidth(), 0);  // too wide: from the left
  int tx = kMargin + (align_ == kCentre ? room / 2 : align_ == kRight ? room : 0);
  int baseline = (getHeight() - font_h) / 2 + font_ascent;
  draw_text(t, draw_defaultFont(), dimmed_ ? controlshadow_pixel : fg_pixel, tx, baseline,
            shown.c_str(), static_cast<int>(shown.size()));
  draw_end(t);
  return true;
}
