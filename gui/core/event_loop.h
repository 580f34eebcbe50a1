// The main loop's pieces: WEventAll drains the X queue into the items and
// then serves idle work, timers and sockets; WYield sleeps in the idle
// notifier until X input, socket activity or the time-out.  A loop turn is
//   WEventAll(0); ExtraProcess_Wait(&t); WYield(t - 10, false);
#pragma once

// One turn of the main loop: the queued events, the wait list, then sleep
// until the next thing is due.  A failing child reaper ends the process
// with "Error occurred." (status 1).
void WMainLoopTurn();
// Turns of the main loop until no window is left (without a last sleep
// once the last one has closed).
void WMainLoop();

// Every queued X event, then idle work, timers and socket activity.  0 when
// an event handler asked to stop (WEventRequestStop, gui/core/dispatch.h),
// else 1.
int WEventAll(int abortCheck);
// Queued events (only exposures, configures and the abort key when safeOnly),
// then the safe idlers.  The last processing result; 1 when X is off.
int WEventProcessSafeEvents(int safeOnly);
// Sleeps at most `ms`; returns the time-out it used.
long WYield(long ms, bool dontCheckQueue);

// One function called after every WEventAll pass.  Registering a different
// one first calls the old stop function with the old data.
using WPeriodicFn = void (*)(void* data);
void WEventSetPeriodic(WPeriodicFn function, WPeriodicFn stopFunction, void* data,
                       long intervalMs);

// The abort key (Escape, or Control+C with the switch ControlCAborts).
using WAbortHandler = void (*)();
void WEventPushAbortHandler(WAbortHandler handler);
void WEventPopAbortHandler();
WAbortHandler WEventGetAbortHandler();

// The wait cap from the click pause ((pause * 100 - 2) ms); 0 for none.
void WEventSetClickPause(int tenthsOfSecond);
