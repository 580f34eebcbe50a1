// A repeating timer on the wait list: every `interval` milliseconds the
// loop calls the handler.  The creator owns the timer; deleting it takes
// the entry off the list.
#pragma once

#include "gui/loop/extra_process.h"

class WTimer;

class WTimerHandler {
 public:
  virtual ~WTimerHandler() = default;
  virtual void handleTimer(WTimer* timer) = 0;
};

class WTimer {
 public:
  WTimer(WTimerHandler* handler, long intervalMs);
  ~WTimer();
  WTimer(const WTimer&) = delete;
  WTimer& operator=(const WTimer&) = delete;

  // The next run comes `ms` from now, and every `ms` after it.
  void setInterval(long ms);
  long getInterval() const { return interval_; }
  bool isValid() const { return !entry_.expired(); }
  const ExtraProcessHandle& getEntry() const { return entry_; }

 private:
  static int run(void* data, int index);
  static int finish(void* data, int status);

  WTimerHandler* handler_;
  long interval_;
  ExtraProcessHandle entry_;
  bool destroying_ = false;
};
