// Modal dialogs: the window, the nested loop that waits for an answer with
// the rest of the program's input refused, Enter and Escape, the button row,
// and the text block that shows a dialog's message.
#include "gui/widgets/dialog.h"

#include <algorithm>

#include "gui/core/event_loop.h"
#include "gui/core/fonts.h"
#include "gui/core/pixels.h"
#include "gui/core/window_registry.h"
#include "gui/widgets/button.h"
#include "gui/x11/display.h"
#include "gui/x11/window.h"

namespace {

constexpr int kKeypadEnter = 0x18D;
WDialog* innermost = nullptr;

}  // namespace

WDialog::WDialog(ColWind* parent, const char* name, const char* title, int width, int height) {
  int x = -1, y = -1;
  if (parent) {
    x = std::max(parent->getX() + (parent->getWidth() - width) / 2, 0);
    y = std::max(parent->getY() + (parent->getHeight() - height) / 3, 0);
  }
  window_ = cwxCreatexy(x, y, name, title, title, onClose, onEvent, width, height, this);
  if (window_ && parent) xwin_setTransientFor(window_->getWindow(), parent->getWindow());
}

WDialog::~WDialog() {
  closeWindow();
  if (innermost == this) innermost = outer_;
}

void WDialog::closeWindow() {
  ColWind* w = window_;
  window_ = nullptr;
  buttons_ = nullptr;
  if (!w) return;
  w->closeCallback = nullptr;
  w->eventCallback = nullptr;
  w->returnData = nullptr;
  cwDestroy(w);
}

WDialog* WDialog::current() { return innermost; }

void WDialog::setResults(int defaultResult, int cancelResult) {
  defaultResult_ = defaultResult;
  cancelResult_ = cancelResult;
}

int WDialog::run() {
  if (!window_) return cancelResult_;
  ColWind* outerModal = gui_getModalWindow();
  auto outerAlive = outerModal ? outerModal->aliveToken() : std::weak_ptr<bool>();
  outer_ = innermost;
  innermost = this;
  gui_setModalWindow(window_);
  running_ = true;
  done_ = false;
  result_ = cancelResult_;
  while (!done_ && window_) WMainLoopTurn();
  running_ = false;
  innermost = outer_;
  gui_setModalWindow(outerAlive.expired() ? nullptr : outerModal);
  return result_;
}

void WDialog::finish(int result) {
  result_ = result;
  done_ = true;
}

bool WDialog::acceptDefault() {
  finish(defaultResult_);
  return true;
}

// The window manager's close button (or cwDestroy by anybody) cancels.
int WDialog::onClose(ColWind* window) {
  auto* d = static_cast<WDialog*>(window->returnData);
  if (!d) return 1;
  d->window_ = nullptr;
  d->buttons_ = nullptr;
  d->finish(d->cancelResult_);
  return 1;
}

// Keys no item of the dialog used.
int WDialog::onEvent(xinLibSt* e, ColWind* window) {
  auto* d = static_cast<WDialog*>(window->returnData);
  if (!d || e->type != WEV_KEY) return 0;
  if (e->code == WKEY_ESCAPE) {
    d->finish(d->cancelResult_);
    return 1;
  }
  if (e->code == WKEY_RETURN || e->code == kKeypadEnter) return d->acceptDefault() ? 1 : 0;
  return 0;
}

WButtonSet* WDialog::addButtonRow(const std::vector<std::string>& labels) {
  if (!window_ || buttons_) return buttons_;
  buttons_ = new WButtonSet(window_, DrawRect{0, 0, 1, 1}, WButtonSet::kHorizontal);
  for (const std::string& label : labels) buttons_->addButton(label.c_str());
  buttons_->setCommandHandler(onButton);
  int w = buttons_->preferredWidth(), h = buttons_->preferredHeight();
  buttons_->setGeometry(DrawRect{window_->getWidth() - kMargin - w,
                                 window_->getHeight() - kMargin - h, w, h});
  buttons_->layout();
  return buttons_;
}

WButton* WDialog::button(int index) const { return buttons_ ? buttons_->buttonAt(index) : nullptr; }

void WDialog::onButton(WButton* button, const char*) {
  ColWind* top = button->getTopLevel();
  auto* d = top ? static_cast<WDialog*>(top->returnData) : nullptr;
  if (!d || !d->buttons_) return;
  for (int i = 0; i < d->buttons_->count(); i++)
    if (d->buttons_->buttonAt(i) == button) return d->buttonChosen(i);
}

// ---- the text block ---------------------------------------------------------------

WDialogText::WDialogText(WWindowedItem* parent, DrawRect placement, const char* text)
    : WWindowedItem(parent, placement, parent ? parent->getBackground() : bg_pixel),
      lines_(splitLines(text)) {}

void WDialogText::setText(const char* text) {
  lines_ = splitLines(text);
  invalidate();
}

std::vector<std::string> WDialogText::splitLines(const char* text) {
  std::vector<std::string> lines;
  std::string all = text ? text : "";
  size_t start = 0;
  for (;;) {
    size_t end = all.find('\n', start);
    lines.push_back(all.substr(start, end == std::string::npos ? end : end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  while (lines.size() > 1 && lines.back().empty()) lines.pop_back();
  return lines;
}

int WDialogText::textWidth(const std::vector<std::string>& lines) {
  const DrawFont* font = draw_defaultFont();
  int widest = 0;
  for (const std::string& l : lines)
    if (font) widest = std::max(widest, draw_textWidth(font, l.c_str(), static_cast<int>(l.size())));
  return widest;
}

bool WDialogText::handleExpose(int x, int y, int width, int height) {
  DrawTarget* t = draw_begin(getWindow(), DrawRect{x, y, width, height});
  if (!t) return false;
  draw_fillRect(t, x, y, width, height, getBackground());
  const DrawFont* font = draw_defaultFont();
  for (size_t i = 0; font && i < lines_.size(); i++)
    draw_text(t, font, fg_pixel, 0, static_cast<int>(i) * font_h + font_ascent,
              lines_[i].c_str(), static_cast<int>(lines_[i].size()));
  draw_end(t);
  return true;
}

// ---- button dialogues ---------------------------------------------------------------

int gui_ButtonDialog(ColWind* parent, const char* title, const char* message,
                     const std::vector<std::string>& labels, int defaultIndex, int cancelIndex) {
  if (!XWindowsOn() || labels.empty()) return cancelIndex;
  std::vector<std::string> lines = WDialogText::splitLines(message);
  int textWidth = WDialogText::textWidth(lines);
  int textHeight = static_cast<int>(lines.size()) * font_h;
  constexpr int kButtonRowHeight = 40;
  int width = std::max(textWidth, 220) + 2 * WDialog::kMargin;
  int height = textHeight + kButtonRowHeight + 3 * WDialog::kMargin;
  WDialog dialog(parent, title ? title : "", title, width, height);
  if (!dialog.window()) return cancelIndex;
  new WDialogText(dialog.window(), DrawRect{WDialog::kMargin, WDialog::kMargin, textWidth + 1,
                                            std::max(textHeight, 1)},
                  message);
  WButtonSet* row = dialog.addButtonRow(labels);
  // The row may be wider than the text: widen the window to hold it.
  if (row && row->getWidth() + 2 * WDialog::kMargin > width) {
    width = row->getWidth() + 2 * WDialog::kMargin;
    dialog.window()->setGeometry(DrawRect{dialog.window()->getX(), dialog.window()->getY(),
                                          width, height});
    row->setGeometry(DrawRect{WDialog::kMargin, row->getY(), row->getWidth(), row->getHeight()});
  }
  dialog.setResults(defaultIndex, cancelIndex);
  return dialog.run();
}
