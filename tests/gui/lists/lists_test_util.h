// Helpers shared by the list and dialog tests: pixels read back through
// the test's own connection, and xdotool clicks and keys aimed at items.
#pragma once

#include "old_x_pixels.h"  // gtest before Xlib, whose None would clash

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gui/core/colwind.h"
#include "gui/core/item.h"
#include "gui/loop/wtimer.h"
#include "gui/widgets/dialog.h"
#include "gui/x11/xdisplay.h"

namespace lists_test {

using xpixels::id;
using xpixels::inkIn;
using xpixels::pixelAt;

// Whether a window is mapped and viewable on the server.
inline bool viewable(WindowId w) {
  XWindowAttributes a;
  XSync(xstate().display, False);
  return XGetWindowAttributes(XSession::otherDisplay(), w, &a) && a.map_state == IsViewable;
}

// The innermost running dialog once its window is up, or null.
inline WDialog* shownDialog() {
  WDialog* d = WDialog::current();
  return d && d->window() && viewable(d->window()->getWindow()) ? d : nullptr;
}

// Steps run from a timer while a dialog's nested loop waits: each step is
// called every few milliseconds until it answers true, then the next one.
// A step that does not finish within its time fails the test and closes
// the innermost dialog, so that a broken dialog cannot hang the program.
class Script : public WTimerHandler {
 public:
  using Step = std::function<bool()>;
  explicit Script(std::vector<Step> steps, int stepMs = 4000)
      : steps_(std::move(steps)), stepMs_(stepMs), timer_(std::make_unique<WTimer>(this, 15)) {
    started_ = std::chrono::steady_clock::now();
  }
  bool finished() const { return next_ >= steps_.size(); }
  size_t stepsDone() const { return next_; }

  void handleTimer(WTimer*) override {
    if (aborted_) {  // every dialog still up goes, innermost first
      if (WDialog* d = WDialog::current(); d && d->window()) cwDestroy(d->window());
      return;
    }
    if (finished()) return;
    if (steps_[next_]()) {
      next_++;
      started_ = std::chrono::steady_clock::now();
      return;
    }
    if (std::chrono::steady_clock::now() - started_ < std::chrono::milliseconds(stepMs_)) return;
    ADD_FAILURE() << "script step " << next_ << " did not finish";
    next_ = steps_.size();
    aborted_ = true;
  }

 private:
  std::vector<Step> steps_;
  size_t next_ = 0;
  bool aborted_ = false;
  int stepMs_;
  std::chrono::steady_clock::time_point started_;
  std::unique_ptr<WTimer> timer_;
};

}  // namespace lists_test
