// The text field widget: keys and mouse turned into edits of its model,
// the selection offered as PRIMARY, the caret kept in view by scrolling
// sideways, and completion of file names after each typed character.
#include "gui/widgets/text_field.h"

#include <algorithm>
#include <cctype>

#include "gui/core/colwind.h"
#include "gui/core/fonts.h"
#include "gui/core/pixels.h"
#include "gui/x11/selection.h"

namespace {
constexpr int kKeypadEnter = 0x18D;

// Takes the window's keys; the item that had them repaints (its caret goes).
void takeKeys(WWindowedItem* item) {
  ColWind* top = item->getTopLevel();
  WWindowedItem* active = top ? top->getActiveItem() : nullptr;
  if (active && active != item) active->invalidate();
  item->activateMe();
}
}  // namespace

TextField::TextField(WWindowedItem* parent, DrawRect placement, bool editable)
    : WWindowedItem(parent, placement, editable ? bg_pixel : control_pixel), editable_(editable) {
  measure();
}

TextField::~TextField() { selectionOwner_forgetWindow(getWindow()); }

void tf_AutoCompleteFile(TextField* field, bool on) {
  if (field) field->setAutoCompleteFile(on);
}

int TextField::preferredHeight() { return font_h + 2 * kMargin; }

void TextField::setText(const char* text) {
  model_.setText(text ? text : "");
  scroll_ = 0;
  changed();
}

std::string TextField::getText() const {
  return trim_ ? tf_trimSpaces(model_.text()) : model_.text();
}

void TextField::setEditable(bool editable) {
  editable_ = editable;
  setBackground(editable ? bg_pixel : control_pixel);
}

void TextField::setDimmed(bool dimmed) {
  dimmed_ = dimmed;
  dragging_ = false;
  invalidate();
}

void TextField::select(size_t anchor, size_t caret) {
  model_.select(anchor, caret);
  changed();
}

void TextField::selectAll() {
  model_.selectAll();
  changed();
  offerPrimary();
}

bool TextField::pasteText(const std::string& text) {
  if (!editable_ || dimmed_) return false;
  std::string line = tf_oneLine(text);
  if (line.empty()) return false;
  model_.insert(line);
  userChanged();
  return true;
}

// ---- geometry -----------------------------------------------------------------

void TextField::measure() {
  const std::string& s = model_.text();
  bounds_.assign(1, 0);
  xs_.assign(1, 0);
  const DrawFont* font = draw_defaultFont();
  for (size_t at = 0; at < s.size();) {
    size_t n = tf_charLength(s, at);
    std::string shown = tf_displayable(std::string_view(s).substr(at, n));
    int w = font ? draw_textWidth(font, shown.c_str(), static_cast<int>(shown.size())) : 0;
    at += n;
    bounds_.push_back(at);
    xs_.push_back(xs_.back() + w);
  }
}

int TextField::xOfOffset(size_t offset) {
  auto it = std::lower_bound(bounds_.begin(), bounds_.end(), offset);
  if (it == bounds_.end()) return xs_.back();
  return xs_[it - bounds_.begin()];
}

// The boundary nearest to x (in text coordinates).
size_t TextField::offsetAtX(int x) {
  auto it = std::lower_bound(xs_.begin(), xs_.end(), x);
  if (it == xs_.end()) return bounds_.back();
  size_t i = it - xs_.begin();
  if (i > 0 && x - xs_[i - 1] < xs_[i] - x) i--;
  return bounds_[i];
}

void TextField::scrollToCaret() {
  int inner = std::max(getWidth() - 2 * kMargin - 1, 1);
  int caretX = xOfOffset(model_.caret());
  if (caretX - scroll_ > inner) scroll_ = caretX - inner;
  if (caretX < scroll_) scroll_ = std::max(caretX - inner / 3, 0);
  scroll_ = std::clamp(scroll_, 0, std::max(xs_.back() - inner, 0));
}

void TextField::changed() {
  measure();
  scrollToCaret();
  invalidate();
}

void TextField::userChanged() {
  changed();
  if (change_) change_(this);
}

bool TextField::handleConfigure(int width, int height) {
  WWindowedItem::handleConfigure(width, height);
  scrollToCaret();
  return false;
}

// ---- painting -----------------------------------------------------------------

void TextField::paintText(DrawTarget* t) {
  const std::string& s = model_.text();
  int origin = kMargin - scroll_;
  int baseline = (getHeight() - font_h) / 2 + font_ascent;
  size_t selB = model_.selectionStart(), selE = model_.selectionEnd();
  if (model_.hasSelection())
    draw_fillRect(t, origin + xOfOffset(selB), kMargin - 1, xOfOffset(selE) - xOfOffset(selB),
                  getHeight() - 2 * kMargin + 2, dimmed_ ? controlshadow_pixel : select_pixel);
  // Only the visible characters are drawn: long texts stay cheap.
  size_t first = offsetAtX(std::max(scroll_ - 20, 0));
  size_t last = offsetAtX(scroll_ + getWidth() + 20);
  Pixel normal = dimmed_ ? controlshadow_pixel : fg_pixel;
  auto run = [&](size_t b, size_t e, Pixel colour) {
    b = std::max(b, first), e = std::min(e, last);
    if (b >= e) return;
    std::string shown = tf_displayable(std::string_view(s).substr(b, e - b));
    draw_text(t, draw_defaultFont(), colour, origin + xOfOffset(b), baseline, shown.c_str(),
              static_cast<int>(shown.size()));
  };
  run(0, selB, normal);
  run(selB, selE, dimmed_ ? normal : selectreverse_pixel);
  run(selE, s.size(), normal);
  if (editable_ && !dimmed_ && isActive()) {
    int cx = origin + xOfOffset(model_.caret());
    draw_line(t, cx, kMargin - 1, cx, getHeight() - kMargin, fg_pixel);
  }
}

bool TextField::handleExpose(int, int, int, int) {
  int w = getWidth(), h = getHeight();
  DrawTarget* t = draw_begin(getWindow(), DrawRect{0, 0, w, h});
  if (!t) return false;
  draw_fillRect(t, 0, 0, w, h, getBackground());
  DrawRect inner{2, 2, w - 4, h - 4};
  draw_setClip(t, &inner, 1);
  paintText(t);
  draw_setClip(t, nullptr, 0);
  // A sunken frame.
  draw_line(t, 0, 0, w - 1, 0, controlshadow_pixel);
  draw_line(t, 0, 0, 0, h - 1, controlshadow_pixel);
  draw_line(t, 1, 1, w - 2, 1, fg_pixel);
  draw_line(t, 1, 1, 1, h - 2, fg_pixel);
  draw_line(t, 0, h - 1, w - 1, h - 1, controlhighlight_pixel);
  draw_line(t, w - 1, 0, w - 1, h - 1, controlhighlight_pixel);
  draw_end(t);
  return true;
}

// ---- mouse --------------------------------------------------------------------

bool TextField::handleMousePress(xinLibSt* e) {
  if (dimmed_) return true;
  size_t at = offsetAtX(e->x - kMargin + scroll_);
  if (e->button == 2) {
    if (!editable_) return true;
    takeKeys(this);
    model_.moveTo(at, false);
    changed();
    requestPaste(false);
    return true;
  }
  if (e->button != 1) return false;
  takeKeys(this);
  bool extend = e->state & WMOD_SHIFT;
  if (e->clicks == 2) model_.selectWordAt(at);
  else if (e->clicks >= 3) model_.selectAll();
  else model_.moveTo(at, extend);
  dragging_ = e->clicks < 2;
  changed();
  return true;
}

bool TextField::handleMouseMotion(xinLibSt* e) {
  if (!dragging_ || dimmed_) return false;
  model_.moveTo(offsetAtX(e->x - kMargin + scroll_), true);
  changed();
  return true;
}

bool TextField::handleMouseRelease(xinLibSt* e) {
  if (e->button != 1) return false;
  dragging_ = false;
  offerPrimary();
  return true;
}

void TextField::offerPrimary() {
  if (model_.hasSelection()) selectionOwner_offer(getWindow(), false, model_.selectedText());
}

void TextField::requestPaste(bool clipboard) {
  if (!isEditable() || isDimmed() || !getWindow()) return;
  // A text this process offers is taken directly.
  if (const std::string* own = selectionOwner_text(clipboard)) {
    pasteText(*own);
    return;
  }
  selection_requestPaste(getWindow(), clipboard);
}

bool TextField::handleSelText(xinLibSt* e) {
  if (e->chars) pasteText(std::string(e->chars, static_cast<size_t>(e->nchars)));
  return true;
}

bool TextField::handleSelClear(xinLibSt*) {
  if (!model_.hasSelection()) return true;
  model_.moveTo(model_.caret(), false);
  invalidate();
  return true;
}

// ---- keys ---------------------------------------------------------------------

bool TextField::handleKey(xinLibSt* e) {
  if (dimmed_) return false;
  if (e->state & WMOD_CONTROL) return controlKey(e);
  if (e->code == WKEY_RETURN || e->code == kKeypadEnter) {
    if (!enter_) return false;
    enter_(this);
    return true;
  }
  if (editingKey(e)) return true;
  // A Tab that accepted no completion is not typed: it moves to the next
  // field, when the window has one.
  if (e->code == WKEY_TAB) return false;
  if (e->state & WMOD_ALT) return false;
  if (e->nchars <= 0 || !e->chars) return false;
  std::string text = tf_oneLine(std::string(e->chars, e->nchars));
  if (text.empty()) return false;
  if (editable_) typeText(text);
  return true;  // a read-only field swallows typing
}

// Typed characters, then completion of the path typed so far.
void TextField::typeText(const std::string& text) {
  model_.insert(text);
  const std::string& s = model_.text();
  if (complete_ && model_.caret() == s.size()) {
    std::string more = tf_completeFileName(s);
    if (!more.empty()) {
      size_t end = s.size();
      model_.insert(more);
      model_.select(end, end + more.size());
    }
  }
  userChanged();
}

bool TextField::editingKey(xinLibSt* e) {
  bool shift = e->state & WMOD_SHIFT;
  switch (e->code) {
    case WKEY_LEFT: model_.moveLeft(shift); break;
    case WKEY_RIGHT: model_.moveRight(shift); break;
    case WKEY_HOME: model_.moveTo(0, shift); break;
    case WKEY_END: model_.moveTo(model_.text().size(), shift); break;
    case WKEY_BACKSPACE:
    case WKEY_DELETE: {
      if (!editable_) return true;
      bool done = e->code == WKEY_DELETE ? model_.deleteForward() : model_.deleteBackward();
      if (done) userChanged();
      return true;
    }
    case WKEY_TAB:
      // Accepts a completion: the caret goes past it.
      if (!complete_ || !model_.hasSelection() || model_.selectionEnd() != model_.text().size())
        return false;
      model_.moveTo(model_.text().size(), false);
      break;
    default: return false;
  }
  changed();
  if (shift) offerPrimary();
  return true;
}

bool TextField::controlKey(xinLibSt* e) {
  int key = e->code < 0x100 ? tolower(e->code) : e->code;
  switch (key) {
    case 'a': selectAll(); return true;
    case 'c':
      if (model_.hasSelection()) selectionOwner_offer(getWindow(), true, model_.selectedText());
      return true;
    case 'x':
      if (!model_.hasSelection()) return true;
      selectionOwner_offer(getWindow(), true, model_.selectedText());
      if (editable_ && model_.deleteSelection()) userChanged();
      return true;
    case 'v':
      if (editable_) requestPaste(true);
      return true;
    default: return false;
  }
}
