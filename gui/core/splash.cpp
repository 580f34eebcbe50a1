// The splash window: an override-redirect popup with two lines of text,
// and a one-shot timer that takes it away when no window does.
#include "gui/core/splash.h"

#include <algorithm>
#include <memory>
#include <string>

#include "config/config_vars.h"
#include "gui/core/fonts.h"
#include "gui/core/gui_init.h"
#include "gui/core/pixels.h"
#include "gui/core/popup.h"
#include "gui/loop/wtimer.h"
#include "gui/x11/display.h"
#include "gui/x11/window.h"

namespace {

constexpr long kLongestMs = 4000;
constexpr int kPad = 16;

class SplashPopup : public WPopup, public WTimerHandler {
 public:
  SplashPopup(std::string title, std::string subtitle)
      : WPopup(DrawRect{0, 0, 1, 1}, bg_pixel),
        title_(std::move(title)),
        subtitle_(std::move(subtitle)),
        big_(cfg_bigfont && *cfg_bigfont ? draw_openFont(cfg_bigfont) : nullptr),
        timer_(this, kLongestMs) {}
  ~SplashPopup() override { draw_closeFont(big_); }

  void show();
  bool handleExpose(int x, int y, int width, int height) override;
  void handleTimer(WTimer*) override;

 private:
  const DrawFont* titleFont() const { return big_ ? big_ : draw_defaultFont(); }

  std::string title_, subtitle_;
  DrawFont* big_;
  WTimer timer_;
};

std::unique_ptr<SplashPopup> splash;

void SplashPopup::show() {
  DrawFontMetrics big = draw_fontMetrics(titleFont());
  int width = std::max(draw_textWidth(titleFont(), title_.c_str(), -1),
                       draw_textWidth(draw_defaultFont(), subtitle_.c_str(), -1)) +
              4 * kPad;
  int height = big.height + font_h + 3 * kPad;
  int screenWidth = 0, screenHeight = 0;
  gui_screenSize(&screenWidth, &screenHeight);
  popUp(DrawRect{(screenWidth - width) / 2, (screenHeight - height) / 2, width, height});
  // Start-up goes on without turning the loop: paint now.  The server maps
  // a popup at once, so the paint lands.
  handleExpose(0, 0, width, height);
  draw_flush();
}

bool SplashPopup::handleExpose(int x, int y, int width, int height) {
  DrawTarget* t = draw_begin(getWindow(), DrawRect{x, y, width, height});
  if (!t) return false;
  int w = getWidth(), h = getHeight();
  DrawFontMetrics big = draw_fontMetrics(titleFont());
  draw_fillRect(t, 0, 0, w, h, bg_pixel);
  draw_fillRect(t, 0, 0, w, 4, select_pixel);
  draw_text(t, titleFont(), fg_pixel, 2 * kPad, kPad + big.ascent, title_.c_str(), -1);
  draw_text(t, draw_defaultFont(), fg_pixel, 2 * kPad, 2 * kPad + big.height + font_ascent,
            subtitle_.c_str(), -1);
  for (int i = 0; i < 2; i++) {
    draw_line(t, 0, i * (h - 1), w - 1, i * (h - 1), controlshadow_pixel);
    draw_line(t, i * (w - 1), 0, i * (w - 1), h - 1, controlshadow_pixel);
  }
  draw_end(t);
  return true;
}

// Deleting the popup deletes this timer too: the reset happens last.
void SplashPopup::handleTimer(WTimer*) { W_closeSplash(); }

}  // namespace

void W_showSplash(const char* title, const char* subtitle) {
  if (!toolkitOptions.splash || !XWindowsOn() || splash) return;
  splash = std::make_unique<SplashPopup>(title ? title : "", subtitle ? subtitle : "");
  splash->show();
}

void W_raiseSplash() {
  if (!splash) return;
  xwin_raise(splash->getWindow());
  splash->handleExpose(0, 0, splash->getWidth(), splash->getHeight());
  draw_flush();
}

void W_closeSplash() { splash.reset(); }

bool W_splashShown() { return splash != nullptr; }
