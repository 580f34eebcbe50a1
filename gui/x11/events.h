// The X event queue as the toolkit sees it: events come out translated
// into event records (gui/x11/event.h).  Traffic that concerns no item is
// settled here: input methods, keyboard mapping changes, requests for our
// selections, key releases; exposures become damage (gui/x11/damage.h).
#pragma once

#include <vector>

#include "gui/x11/event.h"

// Takes the next queued event: -1 when none is queued (after reading what
// the server sent), 0 when it was settled here, 1 when *out holds a record
// to deliver.  The record's characters stay valid until the next call.
int xev_next(xinLibSt* out);
// The same for the events that may be served while something waits:
// exposures, configures and the abort key (Escape, or Control+C when
// `controlCAborts`), taken out of order.  -1 when none of them is queued.
int xev_nextSafe(xinLibSt* out, bool controlCAborts);
// Whether events are queued, after sending what is buffered.
bool xev_queued();
// Drops every queued event except exposures (the abort key was pressed).
void xev_dropAllButExposures();
// Lets the server catch up, then drops the queued events of these windows
// (they are gone).
void xev_dropEventsOf(const std::vector<WindowId>& windows);

// Whether a WEV_CLIENT record is the window manager's request to close.
bool xev_isCloseRequest(const xinLibSt* event);
// The key code of a key named in a binding ("Delete", "Return"); 0 when
// X knows no key of that name.
int W_keyCodeOfName(const char* name);
