// Drop-down and context menus: layout from the default font, painting of
// rows, and the pointer and key handling of an open menu.
#include "gui/menus/menu_popup.h"

#include "gui/core/fonts.h"
#include "gui/core/pixels.h"
#include "gui/x11/event.h"

namespace {

constexpr int kKeypadEnter = 0x18D;

int textWidth(const std::string& s) {
  return s.empty() ? 0 : draw_textWidth(draw_defaultFont(), s.c_str(), -1);
}

}  // namespace

WMenuPopup::WMenuPopup(WMenuPopupListener* listener, std::vector<WMenuEntry> entries,
                       std::string title)
    : WPopup(DrawRect{0, 0, 1, 1}, control_pixel),
      listener_(listener),
      entries_(std::move(entries)),
      title_(std::move(title)) {
  measure();
}

void WMenuPopup::measure() {
  std::vector<int> labels, accels;
  for (const WMenuEntry& e : entries_) {
    labels.push_back(e.separator ? 0 : textWidth(W_menuLabelText(e.label)));
    accels.push_back(e.separator ? 0 : textWidth(e.accelText));
  }
  int titleWidth = title_.empty() ? -1 : textWidth(title_);
  layout_ = W_layoutMenu(entries_, labels, accels, titleWidth, W_menuMetrics(font_h));
}

bool WMenuPopup::open(int rootX, int rootY, bool fromKeyboard) {
  popUp(DrawRect{rootX, rootY, layout_.width, layout_.height});
  if (!grabInput()) {
    popDown();
    return false;
  }
  armed_ = false;
  highlighted_ = fromKeyboard ? W_menuNextSelectable(entries_, -1, 1) : -1;
  return true;
}

DrawRect WMenuPopup::entryRect(int index) const {
  if (index < 0 || index >= static_cast<int>(layout_.rows.size())) return DrawRect{0, 0, 0, 0};
  return layout_.rows[index];
}

void WMenuPopup::highlight(int index) {
  if (index == highlighted_) return;
  highlighted_ = index;
  invalidate();
}

bool WMenuPopup::insideMenu(const xinLibSt* e) const {
  return e->x >= 0 && e->y >= 0 && e->x < getWidth() && e->y < getHeight();
}

void WMenuPopup::choose(int index) {
  popDown();
  listener_->menuChosen(index);  // may delete this menu: nothing after it
}

void WMenuPopup::cancel() {
  popDown();
  listener_->menuCancelled();  // may delete this menu: nothing after it
}

// ---- pointer ------------------------------------------------------------------

bool WMenuPopup::handleMousePress(xinLibSt* e) {
  if (!insideMenu(e)) {
    if (!listener_->menuPointerOutside(WMOUSE_PRESS, rootX(e->x), rootY(e->y))) cancel();
    return true;
  }
  armed_ = true;
  int row = W_menuEntryAt(layout_, e->x, e->y);
  highlight(row >= 0 && entries_[row].selectable() ? row : -1);
  return true;
}

bool WMenuPopup::handleMouseMotion(xinLibSt* e) {
  if (!insideMenu(e)) {
    if (!listener_->menuPointerOutside(WMOUSE_MOTION, rootX(e->x), rootY(e->y))) highlight(-1);
    return true;
  }
  int row = W_menuEntryAt(layout_, e->x, e->y);
  if (row >= 0) armed_ = true;
  highlight(row >= 0 && entries_[row].selectable() ? row : -1);
  return true;
}

bool WMenuPopup::handleMouseRelease(xinLibSt* e) {
  if (!insideMenu(e)) {
    bool taken = listener_->menuPointerOutside(WMOUSE_RELEASE, rootX(e->x), rootY(e->y));
    if (!taken && armed_) cancel();
    return true;
  }
  int row = W_menuEntryAt(layout_, e->x, e->y);
  if (armed_ && row >= 0 && entries_[row].selectable()) choose(row);
  return true;
}

// ---- keys -----------------------------------------------------------------------

bool WMenuPopup::handleNavigationKey(int code) {
  switch (code) {
    case WKEY_ESCAPE: cancel(); return true;
    case WKEY_UP: highlight(W_menuNextSelectable(entries_, highlighted_, -1)); return true;
    case WKEY_DOWN: highlight(W_menuNextSelectable(entries_, highlighted_, 1)); return true;
    case WKEY_LEFT: listener_->menuStep(-1); return true;
    case WKEY_RIGHT: listener_->menuStep(1); return true;
    case WKEY_RETURN:
    case kKeypadEnter:
    case ' ':
      if (highlighted_ >= 0 && entries_[highlighted_].selectable()) choose(highlighted_);
      return true;
    default: return false;
  }
}

bool WMenuPopup::handleKey(xinLibSt* e) {
  if (W_isLoneModifierCode(e->code)) return true;
  if (e->state & WMOD_ALT) {
    listener_->menuKey(e);
    return true;
  }
  if (handleNavigationKey(e->code)) return true;
  if (!(e->state & WMOD_CONTROL) && e->code > ' ' && e->code < 0x100) {
    int i = W_menuEntryForMnemonic(entries_, e->code);
    if (i >= 0) choose(i);
    return true;
  }
  listener_->menuKey(e);
  return true;
}

// ---- painting ---------------------------------------------------------------------

void WMenuPopup::paintCheckMark(DrawTarget* t, const DrawRect& row, Pixel colour) {
  int x = row.x + 4, cy = row.y + row.height / 2;
  for (int d = 0; d < 2; d++) {  // two pixels thick
    draw_line(t, x, cy + d - 1, x + 3, cy + d + 2, colour);
    draw_line(t, x + 3, cy + d + 2, x + 9, cy + d - 4, colour);
  }
}

void WMenuPopup::paintEntry(DrawTarget* t, int i) {
  const WMenuEntry& e = entries_[i];
  const DrawRect& r = layout_.rows[i];
  if (e.separator) {
    int y = r.y + r.height / 2;
    draw_line(t, r.x + 2, y, r.x + r.width - 3, y, controlshadow_pixel);
    draw_line(t, r.x + 2, y + 1, r.x + r.width - 3, y + 1, controlhighlight_pixel);
    return;
  }
  bool lit = i == highlighted_;
  if (lit) draw_fillRect(t, r.x, r.y, r.width, r.height, select_pixel);
  Pixel ink = e.dimmed ? controlshadow_pixel : lit ? selectreverse_pixel : fg_pixel;
  if (e.checked) paintCheckMark(t, r, ink);
  int underline;
  std::string text = W_menuLabelText(e.label, &underline);
  int base = r.y + (r.height - font_h) / 2 + font_ascent;
  DrawFont* f = draw_defaultFont();
  draw_text(t, f, ink, layout_.labelX, base, text.c_str(), -1);
  if (underline >= 0) {
    int x0 = layout_.labelX + draw_textWidth(f, text.c_str(), underline);
    int x1 = layout_.labelX + draw_textWidth(f, text.c_str(), underline + 1);
    draw_line(t, x0, base + 2, x1 - 1, base + 2, ink);
  }
  if (!e.accelText.empty())
    draw_text(t, f, ink, layout_.accelRight - textWidth(e.accelText), base, e.accelText.c_str(),
              -1);
}

bool WMenuPopup::handleExpose(int x, int y, int width, int height) {
  DrawTarget* t = draw_begin(getWindow(), DrawRect{x, y, width, height});
  if (!t) return false;
  int w = getWidth(), h = getHeight();
  draw_fillRect(t, 0, 0, w, h, control_pixel);
  if (layout_.titleHeight > 0) {
    int base = 1 + (layout_.titleHeight - 2 - font_h) / 2 + font_ascent;
    draw_text(t, draw_defaultFont(), fg_pixel, 1 + W_menuMetrics(font_h).pad, base,
              title_.c_str(), -1);
    draw_line(t, 1, layout_.titleHeight - 1, w - 2, layout_.titleHeight - 1, controlshadow_pixel);
  }
  for (size_t i = 0; i < entries_.size(); i++) paintEntry(t, static_cast<int>(i));
  draw_line(t, 0, 0, w - 1, 0, controlhighlight_pixel);
  draw_line(t, 0, 0, 0, h - 1, controlhighlight_pixel);
  draw_line(t, w - 1, 0, w - 1, h - 1, black_pixel);
  draw_line(t, 0, h - 1, w - 1, h - 1, black_pixel);
  draw_end(t);
  return true;
}
