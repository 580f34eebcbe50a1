// The loop's pieces: draining the X queue into the items, the safe-events
// pass used while something waits, sleeping in the idle notifier, the abort
// key and its handler stack, and the periodic function.
#include "gui/core/event_loop.h"

#include <sys/select.h>

#include <algorithm>
#include <cerrno>
#include <vector>

#include "base/debugflag.h"
#include "base/gen.h"
#include "gui/core/application.h"
#include "gui/core/dispatch.h"
#include "gui/loop/extra_process.h"
#include "gui/loop/idle_notifier.h"
#include "gui/x11/display.h"
#include "gui/x11/draw.h"
#include "gui/x11/events.h"

namespace {

std::vector<WAbortHandler> abortHandlers;
int clickPause = 0;

struct Periodic {
  WPeriodicFn function = nullptr;
  WPeriodicFn stop = nullptr;
  void* data = nullptr;
  long interval = 0;
  int64_t last = 0;
} periodic;

void runAbort() {
  WAbortHandler h = WEventGetAbortHandler();
  if (h) {
    h();
    return;
  }
  gen_info("Command aborted.");
}

void afterDrain() {
  IdleNotifier* n = getIdleNotifier();
  n->notifyIdle(false);
  n->notifyTimers();
  n->notifySocketActivity(0, true);
  WApplication* app = WGetApplication();
  if (app && app->exitRequested && app->exitFunction) {
    app->exitRequested = false;
    app->exitFunction();
  }
  if (periodic.function && idle_nowMs() - periodic.last >= periodic.interval) {
    periodic.last = idle_nowMs();
    periodic.function(periodic.data);
  }
}

// Without the idle notifier's wait: at most half a second in select on the
// X connection alone.
long sleepOnX(long ms) {
  if (ms > 500) ms = 500;
  if (ms > 0 && clickPause > 0) ms = std::min<long>(ms, clickPause * 100 - 2);
  if (xev_queued()) return ms;
  int fd = gui_connectionNumber();
  for (;;) {
    fd_set rs;
    FD_ZERO(&rs);
    if (fd >= 0) FD_SET(fd, &rs);
    timeval tv{ms / 1000, (ms % 1000) * 1000};
    if (select(fd + 1, &rs, nullptr, nullptr, &tv) >= 0 || errno != EINTR) break;
  }
  return ms;
}

// The second half of a loop turn: the wait list, then sleep until the next
// thing is due.
void waitForWork() {
  long t = 0;
  if (ExtraProcess_Wait(&t) != 1) gen_errorexit(1, "Error occurred.\n");
  // Ten milliseconds early, but never a zero wait while something is still
  // ahead: the last stretch before a deadline is slept, not spun.
  WYield(t > 10 ? t - 10 : t, false);
}

}  // namespace

void WMainLoopTurn() {
  WEventAll(0);
  waitForWork();
}

void WMainLoop() {
  while (!NoMoreWindows()) {
    WEventAll(0);
    if (NoMoreWindows()) break;  // closed just now: no need to sleep first
    waitForWork();
  }
}

int WEventAll(int abortCheck) {
  xinLibSt e;
  int taken;
  for (int count = 1; (taken = xev_next(&e)) >= 0; count++) {
    if (taken == 0) continue;
    if (abortCheck && gui_isAbortKey(&e)) {
      runAbort();
      return 1;
    }
    if (!gui_dispatchEvent(&e)) return 0;
    if (count % 11 == 0 && ExtraProcess_AnyTimedOut()) break;
  }
  if (XWindowsOn()) gui_deliverDamage();
  afterDrain();
  return 1;
}

int WEventProcessSafeEvents(int safeOnly) {
  if (!XWindowsOn()) return 1;
  int result = 1;
  xinLibSt e;
  while (result == 1) {
    int taken = safeOnly ? xev_nextSafe(&e, gui_controlCAborts()) : xev_next(&e);
    if (taken < 0) break;
    if (taken == 0) continue;
    if (gui_isAbortKey(&e)) {
      // Everything queued but exposures goes with the abort.
      if (!gui_controlCAborts()) xev_dropAllButExposures();
      runAbort();
      return 1;
    }
    result = gui_dispatchEvent(&e);
  }
  gui_deliverDamage();
  getIdleNotifier()->notifyIdle(true);
  return result;
}

long WYield(long ms, bool dontCheckQueue) {
  if (ms < 0) ms = 0;
  if (!debugFlag[DBG_UseFDRegistry]) return sleepOnX(ms);
  if (!dontCheckQueue && xev_queued()) ms = 0;
  draw_flush();
  if (ms > 0 && clickPause > 0) ms = std::min<long>(ms, clickPause * 100 - 2);
  getIdleNotifier()->notifySocketActivity(ms, false);
  return ms;
}

void WEventSetPeriodic(WPeriodicFn function, WPeriodicFn stopFunction, void* data,
                       long intervalMs) {
  if (periodic.function && periodic.function != function && periodic.stop)
    periodic.stop(periodic.data);
  periodic = Periodic{function, stopFunction, data, intervalMs, idle_nowMs()};
}

void WEventPushAbortHandler(WAbortHandler handler) { abortHandlers.push_back(handler); }

void WEventPopAbortHandler() {
  if (!abortHandlers.empty()) abortHandlers.pop_back();
}

WAbortHandler WEventGetAbortHandler() {
  return abortHandlers.empty() ? nullptr : abortHandlers.back();
}

void WEventSetClickPause(int tenthsOfSecond) { clickPause = tenthsOfSecond; }
