// Static texts: a label painted on the parent's background, clipped to the
// item, vertically centred.
#include "gui/static_text.h"

#include "gui/text_field_model.h"
#include "gui/wgui.h"

namespace {
constexpr int kMargin = 2;
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
  std::string shown = tf_displayable(text_);
  return draw_textWidth(draw_defaultFont(), shown.c_str(), static_cast<int>(shown.size())) +
         2 * kMargin;
}

int WStaticText::preferredHeight() { return font_h + 2 * kMargin; }

bool WStaticText::handleExpose(int x, int y, int width, int height) {
  DrawTarget* t = draw_begin(getWindow(), DrawRect{x, y, width, height});
  if (!t) return false;
  draw_fillRect(t, x, y, width, height, getBackground());
  std::string shown = tf_displayable(text_);
  int room = getWidth() - preferredWidth();
  int tx = kMargin + (align_ == kCentre ? room / 2 : align_ == kRight ? room : 0);
  int baseline = (getHeight() - font_h) / 2 + font_ascent;
  draw_text(t, draw_defaultFont(), dimmed_ ? controlshadow_pixel : fg_pixel, tx, baseline,
            shown.c_str(), static_cast<int>(shown.size()));
  draw_end(t);
  return true;
}
