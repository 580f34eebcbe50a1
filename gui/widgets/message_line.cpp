// The message line: a flat strip of control colour with the window's
// current message, painted from the left and clipped at the right edge.
#include "gui/widgets/message_line.h"

#include "gui/core/fonts.h"
#include "gui/core/pixels.h"
#include "gui/widgets/text_field_model.h"

WMessageLine::WMessageLine(WWindowedItem* parent, DrawRect placement)
    : WWindowedItem(parent, placement, control_pixel) {}

WMessageLine::~WMessageLine() {
  // The window must not go on talking to a line that is gone; no X calls
  // here, since the window itself may be on its way out.
  if (ColWind* top = getTopLevel(); top && top->statusBox == this) top->statusBox = nullptr;
}

void WMessageLine::attach() { cwSetStatusBox(getTopLevel(), this); }

void WMessageLine::setStatusText(const char* text) {
  std::string now = text ? text : "";
  if (now == text_) return;
  text_ = now;
  invalidate();
}

bool WMessageLine::handleExpose(int x, int y, int width, int height) {
  DrawTarget* t = draw_begin(getWindow(), DrawRect{x, y, width, height});
  if (!t) return false;
  draw_fillRect(t, x, y, width, height, control_pixel);
  // No line is wide enough for more than the start of a very long message.
  std::string shown = tf_displayable(std::string_view(text_).substr(0, 1024));
  int baseline = (getHeight() - font_h) / 2 + font_ascent;
  draw_text(t, draw_defaultFont(), fg_pixel, 4, baseline, shown.c_str(),
            static_cast<int>(shown.size()));
  draw_end(t);
  return true;
}
