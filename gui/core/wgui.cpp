// Toolkit start-up and shutdown: the display is opened from the resource
// options (or the process ends with the no-display messages), the router
// connection is started when wanted, the configuration is connected and
// the named pixels, the default font and the tool tips are set up.
#include "gui/core/wgui.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/debugflag.h"
#include "base/gen.h"
#include "config/config_dirs.h"
#include "gui/core/bindings.h"
#include "gui/core/colwind.h"
#include "gui/core/config_link.h"
#include "gui/core/dispatch.h"
#include "gui/core/fonts.h"
#include "gui/core/gui_init.h"
#include "gui/core/pixels.h"
#include "gui/core/splash.h"
#include "gui/core/tooltip.h"
#include "gui/loop/extra_process.h"
#include "gui/x11/display.h"
#include "gui/x11/draw.h"
#include "gui/x11/window.h"

namespace {

bool ownApplication = false;

const char* programName() {
  const char* p = gen_getprogname();
  return p && *p ? p : "diffview";
}

[[noreturn]] void noDisplay(const std::string& displayName, int kind) {
  const char* prog = programName();
  fprintf(stderr, "%s failed to start up in GUI mode\n", prog);
  if (!displayName.empty()) fprintf(stderr, "Unknown display: %s\n", displayName.c_str());
  fprintf(stderr, "Check that your DISPLAY environment variable is set appropriately, or\n");
  fprintf(stderr, "enter the display name on the command line with '%s -display xxx'\n", prog);
  if (kind == WGUI_KIND_IDE)
    fprintf(stderr, "To start VORNE in non-GUI mode, type '%s -nodisplay'\n", prog);
  else
    fprintf(stderr, "This program is only available in GUI mode, so you must have an X server\n");
  fflush(stderr);
  gen_exit(1);
  exit(1);
}

// Starts the router connection when it is wanted; false when that failed.
bool startRouter(bool useRouter) {
  if (!useRouter || !debugFlag[DBG_ServiceRouter]) return true;
  if (!guiHooks.startRouter || !guiHooks.startRouter(15000)) {
    debugFlag[DBG_ServiceRouter] = 0;
    return false;
  }
  if (guiHooks.routerServices) guiHooks.routerServices(60000);
  return true;
}

// Everything that draws needs: colours, the font, the event plumbing.
void drawInit() {
  gui_initDisplay(debugFlag[DBG_UseFDRegistry] != 0);
  xwin_setWindowManagerHinting(toolkitOptions.wmHints);
  gui_connectConfiguration();
  WRecomputeColors();
  gui_openDefaultFont();
  gui_connectDispatch();
  W_toolTipInstall();
}

}  // namespace

int WGUIInit(int* argc, char** argv, WApplication* app, bool useRouter, bool, int kind) {
  if (!app) {
    app = new WApplication();
    ownApplication = true;
  }
  WSetApplication(app);
  std::string displayName;
  if (!gui_openDisplay(argc, argv, programName(), &displayName)) noDisplay(displayName, kind);
  bool routerUp = startRouter(useRouter);
  drawInit();
  if (!routerUp) {
    gen_error("Warning: Unable to start IDE framework (svc_router).  Exiting.");
    gen_exit(1);
    exit(1);
  }
  return 1;
}

void WDrawExit() {
  if (!XWindowsOn()) return;
  // Windows still open lose their X side with the display.
  WApplication* app = WGetApplication();
  while (app && !app->windows.empty()) delete app->windows.back();
  W_closeSplash();
  gui_closeDefaultFont();
  gui_closeDisplay();
}

void WGUIDestroy() {
  if (ownApplication) delete WGetApplication();
  WSetApplication(nullptr);
  ownApplication = false;
}

void cleanup_after_gui() {
  if (guiHooks.versionControlCleanup) guiHooks.versionControlCleanup();
  draw_forgetColours();
  W_clearBindings();
  cfg_CleanupConfigDirs();
  ExtraProcess_Clear();
}
