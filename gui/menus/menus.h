// gui/menus: menus from registered descriptions: the menu bar with its
// mnemonics and accelerators, drop-down and popup menus, and context
// menus.  menu_accel.h and menu_layout.h stay private.  Builds on
// gui/core, gui/x11 and base/.
//
// The public headers, which the rest of the program may include:
#pragma once

#include "gui/menus/context_menu.h"  // context menus and their commands
#include "gui/menus/menu.h"          // menu descriptions
#include "gui/menus/menu_bar.h"      // the menu bar of a window
#include "gui/menus/menu_popup.h"    // a menu in a popup
