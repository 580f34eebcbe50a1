// Processing of one X event: the window record is found, the event test
// may swallow it, input refused while a modal window is up, and the
// translated record is delivered to the window's item.
#pragma once

#include <X11/Xlib.h>

// 1 to go on, 0 when a handler asked to stop.
int gui_processXEvent(XEvent* event);
// A key press of Escape, or of Control+C when that aborts too.
bool gui_isAbortKey(XEvent* event);

// Toolkit settings the loop consults.
bool gui_controlCAborts();
void gui_setControlCAborts(bool on);
bool gui_newServerProtocol();
void gui_setNewServerProtocol(bool on);
