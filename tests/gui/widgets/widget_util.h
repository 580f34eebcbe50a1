// What the widget, menu and list tests share: the toolkit session, and a
// script of steps run from a timer while a dialog or a menu waits in its
// own nested loop.
#pragma once

#include "gui_session.h"  // gtest before Xlib

#include <chrono>
#include <functional>
#include <memory>
#include <vector>

#include "gui/loop/wtimer.h"
#include "gui/widgets/dialog.h"

// Each step is called every few milliseconds until it answers true, then
// the next one.  A step that does not finish within its time fails the
// test and closes every dialog still up, so that nothing can hang.
class Script : public WTimerHandler {
 public:
  using Step = std::function<bool()>;
  explicit Script(std::vector<Step> steps)
      : steps_(std::move(steps)), timer_(std::make_unique<WTimer>(this, 15)) {}
  bool finished() const { return next_ >= steps_.size(); }

  void handleTimer(WTimer*) override {
    if (aborted_) {
      if (WDialog* d = WDialog::current(); d && d->window()) cwDestroy(d->window());
      return;
    }
    if (finished()) return;
    if (steps_[next_]()) {
      next_++;
      started_ = std::chrono::steady_clock::now();
    } else if (std::chrono::steady_clock::now() - started_ > std::chrono::seconds(4)) {
      ADD_FAILURE() << "script step " << next_ << " did not finish";
      aborted_ = true;
      xtest::xdotool({"key", "Escape"});  // a menu waits for a key
    }
  }

 private:
  std::vector<Step> steps_;
  size_t next_ = 0;
  bool aborted_ = false;
  std::chrono::steady_clock::time_point started_ = std::chrono::steady_clock::now();
  std::unique_ptr<WTimer> timer_;
};

// The innermost running dialog once its window is up, or null.
inline WDialog* shownDialog() {
  WDialog* d = WDialog::current();
  return d && d->window() && xtest::viewable(d->window()->getWindow()) ? d : nullptr;
}
