// Push buttons and button sets: a bevelled face with a picture and a label,
// the pressed look while held, activation on release over the button or on
// Space and Enter, and the set's row or column layout with separators.
#include "gui/widgets/button.h"

#include <algorithm>
#include <cstring>

#include "gui/core/fonts.h"
#include "gui/core/pixels.h"
#include "gui/widgets/bitmap.h"
#include "gui/widgets/static_text.h"
#include "gui/widgets/text_field_model.h"

namespace {

constexpr int kKeypadEnter = 0x18D;
constexpr int kPictureGap = 4;  // between picture and label

int labelWidth(const std::string& s) { return st_textWidth(s); }

// A raised face (or a sunken one when pressed), two pixels of bevel.
void paintBevel(DrawTarget* t, int w, int h, bool sunken) {
  Pixel light = sunken ? controlshadow_pixel : controlhighlight_pixel;
  Pixel dark = sunken ? controlhighlight_pixel : controlshadow_pixel;
  draw_fillRect(t, 0, 0, w, h, control_pixel);
  draw_line(t, 0, 0, w - 1, 0, light);
  draw_line(t, 0, 0, 0, h - 1, light);
  draw_line(t, 0, h - 1, w - 1, h - 1, dark);
  draw_line(t, w - 1, 0, w - 1, h - 1, dark);
  draw_line(t, 1, h - 2, w - 2, h - 2, sunken ? control_pixel : dark);
  draw_line(t, w - 2, 1, w - 2, h - 2, sunken ? control_pixel : dark);
}

bool inside(const WWindowedItem* item, const xinLibSt* e) {
  return e->x >= 0 && e->y >= 0 && e->x < item->getWidth() && e->y < item->getHeight();
}

}  // namespace

// ---- WButton ----------------------------------------------------------------

WButton::WButton(WWindowedItem* parent, DrawRect placement, const char* label,
                 const char* bitmapName)
    : WWindowedItem(parent, placement, control_pixel), label_(label ? label : "") {
  setBitmap(bitmapName);
}

void WButton::setLabel(const char* label) {
  label_ = label ? label : "";
  invalidate();
}

void WButton::setBitmap(const char* name) {
  bitmapName_ = name ? name : "";
  bitmap_ = bitmap_find(name);
  invalidate();
}

void WButton::setLabelShown(bool shown) {
  labelShown_ = shown;
  invalidate();
}

bool WButton::labelVisible() const { return !label_.empty() && (labelShown_ || !bitmap_); }

void WButton::setDimmed(bool dimmed) {
  if (dimmed == dimmed_) return;
  dimmed_ = dimmed;
  pressed_ = false;
  invalidate();
}

void WButton::activate() {
  if (dimmed_) return;
  auto alive = aliveToken();
  if (callback_) callback_(this);
  if (alive.expired()) return;
  if (set_ && set_->getCommandHandler()) set_->getCommandHandler()(this, getCommand().c_str());
}

int WButton::preferredWidth() const {
  int text = labelVisible() ? labelWidth(label_) : 0;
  int picture = bitmap_width(bitmap_);
  int inner = picture + text + (picture && text ? kPictureGap : 0);
  return inner + (text ? 16 : 6);
}

int WButton::preferredHeight() const {
  int text = labelVisible() ? font_h : 0;
  int inner = std::max(text, bitmap_height(bitmap_));
  return inner + (text ? 8 : 4);
}

void WButton::paintFace(DrawTarget* t) {
  bool sunken = looksPressed();
  paintBevel(t, getWidth(), getHeight(), sunken);
  bool text = labelVisible();
  int pw = bitmap_width(bitmap_), ph = bitmap_height(bitmap_);
  int tw = text ? labelWidth(label_) : 0;
  // A tight face narrows the gap between picture and label before it
  // cuts the label; contents still too wide start at the left edge.
  int gap = pw && tw ? std::clamp(getWidth() - 6 - pw - tw, 1, kPictureGap) : 0;
  int total = pw + tw + gap;
  int shift = sunken ? 1 : 0;
  int x = std::max((getWidth() - total) / 2, 3) + shift;
  if (bitmap_) bitmap_draw(t, bitmap_, x, (getHeight() - ph) / 2 + shift, dimmed_);
  if (!text) return;
  int tx = x + pw + gap;
  int baseline = (getHeight() - font_h) / 2 + font_ascent + shift;
  // No face shows more than the start of a long label.
  std::string shown = tf_displayable(std::string_view(label_).substr(0, 256));
  int n = static_cast<int>(shown.size());
  DrawRect inner{2, 2, getWidth() - 4, getHeight() - 4};
  draw_setClip(t, &inner, 1);
  if (dimmed_)
    draw_text(t, draw_defaultFont(), controlhighlight_pixel, tx + 1, baseline + 1, shown.c_str(), n);
  draw_text(t, draw_defaultFont(), dimmed_ ? controlshadow_pixel : fg_pixel, tx, baseline,
            shown.c_str(), n);
  draw_setClip(t, nullptr, 0);
}

bool WButton::handleExpose(int, int, int, int) {
  DrawTarget* t = draw_begin(getWindow(), DrawRect{0, 0, getWidth(), getHeight()});
  if (!t) return false;
  paintFace(t);
  draw_end(t);
  return true;
}

bool WButton::handleMousePress(xinLibSt* e) {
  if (dimmed_ || e->button != 1) return dimmed_;
  pressed_ = inside_ = true;
  invalidate();
  return true;
}

bool WButton::handleMouseMotion(xinLibSt* e) {
  if (!pressed_) return false;
  bool now = inside(this, e);
  if (now != inside_) {
    inside_ = now;
    invalidate();
  }
  return true;
}

bool WButton::handleMouseRelease(xinLibSt* e) {
  if (!pressed_ || e->button != 1) return false;
  bool fire = inside(this, e) && !dimmed_;
  pressed_ = inside_ = false;
  invalidate();
  if (fire) activate();
  return true;
}

bool WButton::handleKey(xinLibSt* e) {
  if (e->state & (WMOD_CONTROL | WMOD_ALT)) return false;
  if (e->code != ' ' && e->code != WKEY_RETURN && e->code != kKeypadEnter) return false;
  if (dimmed_) return false;
  activate();
  return true;
}

// ---- WButtonSet -------------------------------------------------------------

WButtonSet::WButtonSet(WWindowedItem* parent, DrawRect placement, Orientation orientation)
    : WWindowedItem(parent, placement, parent ? parent->getBackground() : control_pixel),
      orientation_(orientation) {}

WButton* WButtonSet::addButton(const char* label, const char* bitmapName, const char* command,
                               const char* toolTip) {
  if (label && !strcmp(label, "-")) {
    addSeparator();
    return nullptr;
  }
  auto* b = new WButton(this, DrawRect{0, 0, 1, 1}, label, bitmapName);
  b->set_ = this;
  b->setCommand(command);
  b->setLabelShown(showLabels_);
  if (toolTip) b->setToolTip(toolTip);
  slots_.push_back(Slot{b});
  buttons_.push_back(b);
  layout();
  return b;
}

void WButtonSet::addSeparator() {
  slots_.push_back(Slot{nullptr});
  layout();
}

WButton* WButtonSet::buttonAt(int index) const {
  return index >= 0 && index < count() ? buttons_[index] : nullptr;
}

WButton* WButtonSet::findByLabel(const char* label) const {
  for (WButton* b : buttons_)
    if (label && b->getLabel() == label) return b;
  return nullptr;
}

WButton* WButtonSet::findByCommand(const char* command) const {
  for (WButton* b : buttons_)
    if (command && b->getCommand() == command) return b;
  return nullptr;
}

WButton* WButtonSet::find(const char* name) const {
  WButton* b = findByLabel(name);
  return b ? b : findByCommand(name);
}

bool WButtonSet::setDimmed(const char* name, bool dimmed) {
  WButton* b = find(name);
  if (b) b->setDimmed(dimmed);
  return b != nullptr;
}

bool WButtonSet::isDimmed(const char* name) const {
  WButton* b = find(name);
  return b && b->isDimmed();
}

bool WButtonSet::setButtonShown(const char* name, bool shown) {
  WButton* b = find(name);
  if (!b) return false;
  if (shown) b->show();
  else b->hide();
  layout();
  return true;
}

void WButtonSet::setButtonSize(int width, int height) {
  fixedWidth_ = std::max(width, 0), fixedHeight_ = std::max(height, 0);
  layout();
}

void WButtonSet::setShowLabels(bool shown) {
  showLabels_ = shown;
  for (WButton* b : buttons_) b->setLabelShown(shown);
  layout();
}

void WButtonSet::setGap(int pixels) {
  gap_ = std::max(pixels, 0);
  layout();
}

int WButtonSet::buttonWidth(const WButton* b) const {
  return fixedWidth_ ? fixedWidth_ : b->preferredWidth();
}

int WButtonSet::buttonHeight(const WButton* b) const {
  return fixedHeight_ ? fixedHeight_ : b->preferredHeight();
}

int WButtonSet::slotLength(const Slot& s) const {
  if (!s.button) return kSeparatorSpace;
  if (!s.button->isShown()) return 0;
  return orientation_ == kHorizontal ? buttonWidth(s.button) : buttonHeight(s.button);
}

void WButtonSet::layout() {
  separators_.clear();
  int along = 0;
  bool first = true;
  for (const Slot& s : slots_) {
    int length = slotLength(s);
    if (!length) continue;
    if (!first) along += gap_;
    first = false;
    if (!s.button) {
      separators_.push_back(along + length / 2);
    } else if (orientation_ == kHorizontal) {
      s.button->setGeometry(DrawRect{along, 0, length, buttonHeight(s.button)});
    } else {
      s.button->setGeometry(DrawRect{0, along, buttonWidth(s.button), length});
    }
    along += length;
  }
  invalidate();
}

int WButtonSet::preferredWidth() const {
  int along = 0, across = 0, n = 0;
  for (const Slot& s : slots_) {
    int length = slotLength(s);
    if (!length) continue;
    along += length + (n++ ? gap_ : 0);
    if (s.button) across = std::max(across, buttonWidth(s.button));
  }
  return orientation_ == kHorizontal ? along : across;
}

int WButtonSet::preferredHeight() const {
  int along = 0, across = 0, n = 0;
  for (const Slot& s : slots_) {
    int length = slotLength(s);
    if (!length) continue;
    along += length + (n++ ? gap_ : 0);
    if (s.button) across = std::max(across, buttonHeight(s.button));
  }
  return orientation_ == kVertical ? along : across;
}

// The background and an etched line for each separator.
bool WButtonSet::handleExpose(int x, int y, int width, int height) {
  DrawTarget* t = draw_begin(getWindow(), DrawRect{x, y, width, height});
  if (!t) return false;
  draw_fillRect(t, x, y, width, height, getBackground());
  for (int c : separators_) {
    if (orientation_ == kHorizontal) {
      draw_line(t, c - 1, 2, c - 1, getHeight() - 3, controlshadow_pixel);
      draw_line(t, c, 2, c, getHeight() - 3, controlhighlight_pixel);
    } else {
      draw_line(t, 2, c - 1, getWidth() - 3, c - 1, controlshadow_pixel);
      draw_line(t, 2, c, getWidth() - 3, c, controlhighlight_pixel);
    }
  }
  draw_end(t);
  return true;
}

WButtonSet* bt_SpinPair(WWindowedItem* parent, const char* nextTip, const char* previousTip,
                        int width, int height, WButtonSetCommand handler) {
  auto* set = new WButtonSet(parent, DrawRect{0, 0, 2 * width, height}, WButtonSet::kHorizontal);
  set->addButton("Next", "arrowup", "Next", nextTip);
  set->addButton("Previous", "arrowdown", "Previous", previousTip);
  set->setShowLabels(false);
  set->setGap(0);
  set->setButtonSize(width, height);
  set->setCommandHandler(handler);
  return set;
}
