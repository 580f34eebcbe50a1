// gui/loop: the waiting half of the event loop, without X, so that the
// service transports can wait on it without the toolkit.  Builds on base/.
//
// The public headers, which the rest of the program may include:
#pragma once

#include "gui/loop/extra_process.h"  // the wait list: time-outs, children, polls
#include "gui/loop/idle_notifier.h"  // one select over every socket, idle work, timers
#include "gui/loop/wtimer.h"         // a repeating timer on the wait list
