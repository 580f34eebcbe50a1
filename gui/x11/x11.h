// gui/x11: the only code that speaks Xlib and Xft.  Everything above it
// sees X through these X-free headers; xdisplay.h, resources.h and
// event_translate.h stay private to the folder.  Builds on gui/loop (the X
// connection joins the idle notifier's wait) and base/.
//
// The public headers, which the rest of the program may include:
#pragma once

#include "gui/x11/damage.h"     // repaint areas collected per window; scrolling
#include "gui/x11/display.h"    // opening the display, resources, screen, bell
#include "gui/x11/draw.h"       // the drawing seam: colours, fonts, painting
#include "gui/x11/event.h"      // the toolkit's event record and key codes
#include "gui/x11/events.h"     // the X queue as event records
#include "gui/x11/selection.h"  // PRIMARY and CLIPBOARD, offered and pasted
#include "gui/x11/window.h"     // windows, hints, cursors, grabs, properties
