// services/windlib: waiting for services with the windows alive.  The
// retry handlers of this folder keep painting and serve safe events while a
// service reply is awaited, and ask the user ("Terminate Connection")
// before giving up on a wait that outlasts its timeout.  Builds on the
// messaging library and the toolkit; the rest of services/ stays X-free.
#pragma once

#include "services/windlib/windlib_retry.h"       // WindLibRetryHandler and family
#include "services/windlib/windlib_event_loop.h"  // Windlib_EventLoop
