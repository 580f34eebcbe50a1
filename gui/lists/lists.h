// gui/lists: the column list with its toggler and key commands, and the
// file chooser built on it.  mscroll_list_layout.h, file_choose_dir.h and
// file_choose_history.h stay private.  Builds on gui/widgets, gui/text,
// gui/core, gui/x11, config/ and base/.
//
// The public headers, which the rest of the program may include:
#pragma once

#include "gui/lists/file_choose.h"   // the modal file chooser
#include "gui/lists/mscroll_list.h"  // the column list
