// One pass of the service loop of a tool with windows.
#include "services/windlib/windlib_event_loop.h"

#include "base/gen.h"
#include "gui/core/event_loop.h"
#include "gui/loop/extra_process.h"
#include "gui/loop/idle_notifier.h"
#include "gui/x11/display.h"

void Windlib_EventLoop::loopAction() {
  if (!XWindowsOn()) {
    IdleNotifier* notifier = getIdleNotifier();
    notifier->notifyIdle(false);
    notifier->notifyTimers();
    notifier->notifySocketActivity(1000, true);
    return;
  }
  WEventAll(0);
  long waitMs = sleepTime();
  if (ExtraProcess_Wait(&waitMs) != 1) gen_errorexit(1, "Error occurred.\n");
  WYield(waitMs - 10, false);
}
