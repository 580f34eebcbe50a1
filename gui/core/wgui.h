// Toolkit start-up and shutdown: WGUIInit opens the display (or ends the
// process with the no-display messages), allocates the named pixels and
// opens the default font; WDrawExit, WGUIDestroy and cleanup_after_gui
// take it all down again.
#pragma once

#include "gui/core/application.h"

// Kinds of program: inside the IDE the no-display messages offer a non-GUI
// start.
enum { WGUI_KIND_APPLICATION = 0, WGUI_KIND_IDE = 1 };

// Starts the toolkit; returns 1 when it is up.  Without a display it prints
// the no-display messages and ends the process with status 1.  `application`
// may be null: a default one is made and deleted by WGUIDestroy.  This
// program has no online help, so `initHelp` asks for nothing.
int WGUIInit(int* argc, char** argv, WApplication* application, bool useRouter,
             bool initHelp, int kind);
void WDrawExit();
void WGUIDestroy();
void cleanup_after_gui();
