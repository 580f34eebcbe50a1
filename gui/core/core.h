// gui/core: the toolkit's core above the X seam: start-up and shutdown,
// the event loop and the delivery of events to items, windowed items and
// top-level windows, popups, the theme's named pixels and the default
// font, key and mouse bindings, the placer, tool tips, and the small
// services of top-level windows (geometry, published state, busy cursor).
// config_link.h stays private.  Builds on gui/x11, gui/loop, config/ and
// base/.
//
// The public headers, which the rest of the program may include:
#pragma once

#include "gui/core/application.h"      // the application, its windows, NoMoreWindows
#include "gui/core/bindings.h"         // key and mouse bindings as short texts
#include "gui/core/busy_cursor.h"      // the watch on every window while work runs
#include "gui/core/colwind.h"          // top-level windows (cw functions)
#include "gui/core/dispatch.h"         // event records to items; modal refusal
#include "gui/core/event_loop.h"       // WEventAll, WYield, the main loop
#include "gui/core/fonts.h"            // the default font and its metrics
#include "gui/core/generated_window.h" // the life of a described window
#include "gui/core/gui_init.h"         // debug switches and toolkit options
#include "gui/core/item.h"             // windowed items and their handlers
#include "gui/core/pixels.h"           // the theme's named pixels
#include "gui/core/placer.h"           // windows laid out from rule tables
#include "gui/core/popup.h"            // override-redirect popups and grabs
#include "gui/core/splash.h"           // the splash window at start-up
#include "gui/core/tooltip.h"          // tool tips
#include "gui/core/wgui.h"             // WGUIInit and shutdown
#include "gui/core/window_config.h"    // window geometry kept per class
#include "gui/core/window_registry.h"  // items by window id; the modal window
#include "gui/core/window_state.h"     // raising, published state, window classes
