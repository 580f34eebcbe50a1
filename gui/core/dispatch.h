// Delivery of event records to the items: the item of the record's window
// is found, input is refused while a modal window is up, and repaint areas
// are collected and delivered once per loop turn.
#pragma once

#include "gui/x11/event.h"

// Delivers one record taken off the X queue (a repaint area is collected
// instead).  1 to go on, 0 when a handler asked to stop.
int gui_dispatchEvent(xinLibSt* event);
// Delivers one event record to the item of its window (synthetic events,
// tests).  1 to go on, 0 when a handler asked to stop.
int WEventDeliver(xinLibSt* event);
// Makes the current event's processing answer "stop".
void WEventRequestStop();
// Delivers the collected repaint areas, one WEV_REPAINT per window.
void gui_deliverDamage();
// A key press of Escape, or of Control+C when that aborts too.
bool gui_isAbortKey(const xinLibSt* event);

bool gui_controlCAborts();
void gui_setControlCAborts(bool on);

// Connects the toolkit's delivery to the X seam below it (start-up).
void gui_connectDispatch();
