// The loop's pieces: draining the X queue into the items, the safe-events
// pass used while something waits, sleeping in the idle notifier, the abort
// key and its handler stack, and the periodic function.
#include "gui/event_loop.h"

#include <X11/keysym.h>
#include <sys/select.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "base/debugflag.h"
#include "base/gen.h"
#include "gui/colwind.h"
#include "gui/event_process.h"
#include "gui/extra_process.h"
#include "gui/idle_notifier.h"
#include "gui/wgui.h"
#include "gui/xdisplay.h"

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

// The key codes that may be an abort key, found before the queue is searched
// (a predicate of the queue search must not call Xlib).
struct AbortKeys {
  KeyCode escape, c;
};

Bool isSafeEvent(Display*, XEvent* e, XPointer arg) {
  if (e->type == Expose || e->type == GraphicsExpose || e->type == ConfigureNotify) return True;
  if (e->type != KeyPress) return False;
  const auto* keys = reinterpret_cast<const AbortKeys*>(arg);
  return e->xkey.keycode == keys->escape ||
         (gui_controlCAborts() && e->xkey.keycode == keys->c && (e->xkey.state & ControlMask));
}

Bool isNotExposure(Display*, XEvent* e, XPointer) {
  return e->type != Expose && e->type != GraphicsExpose;
}

// The abort key in the safe pass: everything queued but exposures goes.
void abortSafely() {
  Display* d = xstate().display;
  XEvent e;
  if (!gui_controlCAborts())
    while (XCheckIfEvent(d, &e, isNotExposure, nullptr)) {
    }
  runAbort();
}

}  // namespace

void WMainLoopTurn() {
  WEventAll(0);
  long t = 0;
  if (!ExtraProcess_Wait(&t)) {
    fputs("Error occurred.\n", stderr);
    gen_exit(1);
    exit(1);
  }
  // Ten milliseconds early, but never a zero wait while something is still
  // ahead: the last stretch before a deadline is slept, not spun.
  WYield(t > 10 ? t - 10 : t, false);
}

int WEventAll(int abortCheck) {
  Display* d = XWindowsOn() ? xstate().display : nullptr;
  for (int count = 1; d && XPending(d); count++) {
    XEvent e;
    XNextEvent(d, &e);
    if (abortCheck && gui_isAbortKey(&e)) {
      runAbort();
      return 1;
    }
    if (XFilterEvent(&e, None)) continue;
    if (!gui_processXEvent(&e)) return 0;
    if (count % 11 == 0 && ExtraProcess_AnyTimedOut()) break;
  }
  if (d) gui_deliverDamage();
  afterDrain();
  return 1;
}

int WEventProcessSafeEvents(int safeOnly) {
  if (!XWindowsOn()) return 1;
  Display* d = xstate().display;
  int result = 1;
  XEvent e;
  AbortKeys keys{XKeysymToKeycode(d, XK_Escape), XKeysymToKeycode(d, XK_c)};
  while (result == 1) {
    if (safeOnly) {
      XEventsQueued(d, QueuedAfterReading);
      if (!XCheckIfEvent(d, &e, isSafeEvent, reinterpret_cast<XPointer>(&keys))) break;
    } else {
      if (!XPending(d)) break;
      XNextEvent(d, &e);
    }
    if (gui_isAbortKey(&e)) {
      abortSafely();
      return 1;
    }
    if (XFilterEvent(&e, None)) continue;
    result = gui_processXEvent(&e);
  }
  gui_deliverDamage();
  getIdleNotifier()->notifyIdle(true);
  return result;
}

long WYield(long ms, bool dontCheckQueue) {
  Display* d = XWindowsOn() ? xstate().display : nullptr;
  if (ms < 0) ms = 0;
  if (!debugFlag[DBG_UseFDRegistry]) {
    if (ms > 500) ms = 500;
    if (ms > 0 && clickPause > 0) ms = std::min<long>(ms, clickPause * 100 - 2);
    if (d && XEventsQueued(d, QueuedAfterFlush) > 0) return ms;
    int fd = d ? ConnectionNumber(d) : -1;
    for (;;) {
      fd_set rs;
      FD_ZERO(&rs);
      if (fd >= 0) FD_SET(fd, &rs);
      timeval tv{ms / 1000, (ms % 1000) * 1000};
      if (select(fd + 1, &rs, nullptr, nullptr, &tv) >= 0 || errno != EINTR) break;
    }
    return ms;
  }
  if (d && !dontCheckQueue && XEventsQueued(d, QueuedAfterFlush) > 0) ms = 0;
  if (d) XFlush(d);
  if (ms > 0 && clickPause > 0) ms = std::min<long>(ms, clickPause * 100 - 2);
  if (guiHooks.remotePollingNeeded && guiHooks.remotePollingNeeded() && !gui_newServerProtocol())
    return ms;
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
