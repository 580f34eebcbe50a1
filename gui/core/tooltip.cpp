// Tool tips: one watched item at a time, a one-shot timer for the resting
// pointer, the popup with the short text, and the long text lent to the
// window's message line.
#include "gui/core/tooltip.h"

#include <memory>

#include "gui/core/colwind.h"
#include "gui/core/fonts.h"
#include "gui/core/pixels.h"
#include "gui/core/popup.h"
#include "gui/loop/wtimer.h"
#include "gui/x11/display.h"
#include "gui/x11/window.h"

namespace {

constexpr long kDefaultDelayMs = 600;
constexpr int kPad = 4;
constexpr int kBelowPointer = 20;  // clear of the pointer, so it never covers it
constexpr int kRightOfPointer = 8;

class TipPopup : public WPopup {
 public:
  explicit TipPopup(std::string text)
      : WPopup(DrawRect{0, 0, 1, 1}, draw_allocRGB(255, 255, 225)), text_(std::move(text)) {}
  const std::string& text() const { return text_; }
  int wantedWidth() const {
    return draw_textWidth(draw_defaultFont(), text_.c_str(), -1) + 2 * kPad + 2;
  }
  int wantedHeight() const { return font_h + 2 * kPad; }
  bool handleExpose(int x, int y, int width, int height) override {
    DrawTarget* t = draw_begin(getWindow(), DrawRect{x, y, width, height});
    if (!t) return false;
    int w = getWidth(), h = getHeight();
    draw_fillRect(t, 0, 0, w, h, getBackground());
    draw_text(t, draw_defaultFont(), fg_pixel, kPad + 1, kPad + font_ascent, text_.c_str(), -1);
    draw_line(t, 0, 0, w - 1, 0, black_pixel);
    draw_line(t, 0, h - 1, w - 1, h - 1, black_pixel);
    draw_line(t, 0, 0, 0, h - 1, black_pixel);
    draw_line(t, w - 1, 0, w - 1, h - 1, black_pixel);
    draw_end(t);
    return true;
  }

 private:
  std::string text_;
};

class ToolTips : public WTimerHandler {
 public:
  void see(const xinLibSt* e, WWindowedItem* item);
  void close();
  void handleTimer(WTimer*) override;

  long delay = kDefaultDelayMs;
  std::unique_ptr<TipPopup> popup;

 private:
  bool watching(const WWindowedItem* item) const {
    return item == item_ && !itemAlive_.expired();
  }
  void enter(WWindowedItem* item);
  void lendMessage(WWindowedItem* item);
  void restoreMessage();
  void showPopup();

  WWindowedItem* item_ = nullptr;
  std::weak_ptr<bool> itemAlive_;
  std::unique_ptr<WTimer> timer_;
  ColWind* window_ = nullptr;  // whose message line holds the long text
  std::weak_ptr<bool> windowAlive_;
  std::string lent_, saved_;
};

// Never destroyed: its timer and popup must not outlive the toolkit at exit.
ToolTips& tips() {
  static auto* t = new ToolTips;
  return *t;
}

void ToolTips::see(const xinLibSt* e, WWindowedItem* item) {
  if (e->type == WEV_CROSSING) {
    if (e->x) enter(item);
    else if (watching(item)) close();
    return;
  }
  if (e->type != WEV_MOUSE) return;
  if (e->code == WMOUSE_PRESS) {
    timer_.reset();
    popup.reset();
  } else if (e->code == WMOUSE_MOTION && !watching(item)) {
    enter(item);  // the enter was missed (the item was under a grab)
  } else if (e->code == WMOUSE_MOTION && timer_ && !popup) {
    timer_->setInterval(delay);  // still moving: the rest starts again
  }
}

void ToolTips::enter(WWindowedItem* item) {
  if (watching(item)) return;
  close();
  if (item->getToolTip().empty()) return;
  item_ = item;
  itemAlive_ = item->aliveToken();
  lendMessage(item);
  if (!W_toolTipShortText(item->getToolTip()).empty())
    timer_ = std::make_unique<WTimer>(this, delay);
}

void ToolTips::lendMessage(WWindowedItem* item) {
  std::string text = W_toolTipLongText(item->getToolTip());
  ColWind* w = item->getTopLevel();
  if (text.empty() || !w) return;
  window_ = w;
  windowAlive_ = w->aliveToken();
  saved_ = w->message;
  cwSetMsg(w, text.c_str(), 0);
  lent_ = w->message;
}

// Only when nobody has changed the message since the tip lent it.
void ToolTips::restoreMessage() {
  if (window_ && !windowAlive_.expired() && window_->message == lent_)
    cwSetMsg(window_, saved_.c_str(), 0);
  window_ = nullptr;
  lent_.clear();
  saved_.clear();
}

void ToolTips::close() {
  timer_.reset();
  popup.reset();
  restoreMessage();
  item_ = nullptr;
  itemAlive_.reset();
}

void ToolTips::handleTimer(WTimer*) {
  timer_.reset();  // one shot; the timer is not touched after this returns
  if (!item_ || itemAlive_.expired()) return;
  showPopup();
}

void ToolTips::showPopup() {
  std::string text = W_toolTipShortText(item_->getToolTip());
  int x, y;
  if (text.empty() || !xwin_pointerOnRoot(&x, &y)) return;
  popup = std::make_unique<TipPopup>(text);
  int w = popup->wantedWidth(), h = popup->wantedHeight();
  int sw, sh;
  gui_screenSize(&sw, &sh);
  int top = y + kBelowPointer + h <= sh ? y + kBelowPointer : y - kBelowPointer - h;
  popup->popUp(DrawRect{x + kRightOfPointer, top, w, h});
}

}  // namespace

void W_toolTipInstall() {
  WToolTipHooks hooks;
  hooks.seeEvent = [](const xinLibSt* event, WWindowedItem* item) {
    if (item) tips().see(event, item);
  };
  hooks.close = W_toolTipClose;
  W_setToolTipHooks(hooks);
}

std::string W_toolTipShortText(const std::string& tip) { return tip.substr(0, tip.find("@@")); }

std::string W_toolTipLongText(const std::string& tip) {
  size_t at = tip.find("@@");
  return at == std::string::npos ? "" : tip.substr(at + 2);
}

void W_toolTipSetDelay(long ms) { tips().delay = ms > 0 ? ms : kDefaultDelayMs; }
long W_toolTipDelay() { return tips().delay; }

std::string W_toolTipShownText() { return tips().popup ? tips().popup->text() : ""; }
WindowId W_toolTipWindow() { return tips().popup ? tips().popup->getWindow() : 0; }
void W_toolTipClose() { tips().close(); }
