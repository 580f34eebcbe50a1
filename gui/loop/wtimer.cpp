// WTimer: a time-out entry of the wait list that re-arms itself each time
// it runs.  Killing the entry from outside deletes the timer.
#include "gui/loop/wtimer.h"

#include "base/gen.h"

WTimer::WTimer(WTimerHandler* handler, long intervalMs)
    : handler_(handler), interval_(intervalMs) {
  entry_ = ExtraProcess_Create(EP_TIMEOUT, intervalMs, run, finish, this);
  if (entry_.expired()) gen_warning("There was a problem creating an extra process.");
}

WTimer::~WTimer() {
  destroying_ = true;
  ExtraProcess_Kill(entry_, 1);
}

void WTimer::setInterval(long ms) {
  interval_ = ms;
  ExtraProcess_SetTimeout(entry_, ms);
}

int WTimer::run(void* data, int) {
  WTimer* t = static_cast<WTimer*>(data);
  ExtraProcess_SetTimeout(t->entry_, t->interval_);
  if (t->handler_) t->handler_->handleTimer(t);
  return 0;
}

int WTimer::finish(void* data, int) {
  WTimer* t = static_cast<WTimer*>(data);
  if (t->destroying_) return 1;
  t->entry_.reset();  // the entry is going: the destructor must not kill it again
  delete t;
  return 1;
}
