// Toolkit start-up and shutdown: WGUIInit opens the display (or ends the
// process with the no-display messages), builds the X resource database,
// allocates the named pixels and opens the fonts; WDrawExit, WGUIDestroy
// and cleanup_after_gui take it all down again.
#pragma once

#include <vector>

#include "gui/draw.h"

class ColWind;

// The application: its top-level windows and its wish to exit.
class WApplication {
 public:
  virtual ~WApplication() = default;
  std::vector<ColWind*> windows;  // open top-level windows, oldest first
  bool exitRequested = false;
  void (*exitFunction)() = nullptr;  // run by WEventAll after exitRequested
};
WApplication* WGetApplication();

// Kinds of program: inside the IDE the no-display messages offer a non-GUI
// start.
enum { WGUI_KIND_APPLICATION = 0, WGUI_KIND_IDE = 1 };

// Starts the toolkit; returns 1 when it is up.  Without a display it prints
// the no-display messages and ends the process with status 1.  `application`
// may be null: a default one is made and deleted by WGUIDestroy.
int WGUIInit(int* argc, char** argv, WApplication* application, bool useRouter,
             bool initHelp, int kind);
bool XWindowsOn();
// True when no top-level window is open and no history browser is up.
bool NoMoreWindows();
void WDrawExit();
void WGUIDestroy();
void cleanup_after_gui();

// Hooks the layers above fill in before WGUIInit.
struct WGUIHooks {
  // Starts the service router connection (retry time-out in ms); true when up.
  bool (*startRouter)(int timeoutMs) = nullptr;
  // After the router is up: configuration defaults, whiteboard and switches.
  void (*routerServices)(int timeoutMs) = nullptr;
  // Syntax colouring start-up and shutdown; help start-up.
  void (*syntaxInit)() = nullptr;
  void (*syntaxExit)() = nullptr;
  void (*helpInit)() = nullptr;
  // Whether a version-history browser is open (keeps the loop running).
  bool (*historyBrowserOpen)() = nullptr;
  // Whether remote polling wants the loop back at once (WYield).
  bool (*remotePollingNeeded)() = nullptr;
  // cleanup_after_gui: pending file work and version control.
  void (*abortFileWork)() = nullptr;
  void (*versionControlCleanup)() = nullptr;
};
extern WGUIHooks guiHooks;

// Named pixels, set from the configured colours at start-up.
extern Pixel fg_pixel, bg_pixel, control_pixel, controlshadow_pixel,
    controlhighlight_pixel, select_pixel, selectreverse_pixel, red_pixel,
    white_pixel, black_pixel;
extern Pixel comment_fg, keyword_fg, string_fg, integer_fg, character_fg,
    customized_fg, deadcode_fg, assembly_pixel, pointer_pixel, bdot_pixel,
    diffhighlight_pixel, procrelline_pixel;
// Re-reads the colour texts and reallocates the named pixels.
void WRecomputeColors();

// The default text font: line height, character width, ascent.
extern int font_h, font_n, font_ascent;
