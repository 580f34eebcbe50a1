// Toolkit start-up and shutdown: the display is opened from the resource
// options (or the process ends with the no-display messages), the resource
// database is merged, X error handling, colours and the default font are
// set up and the X connection is registered with the idle notifier.
#include "gui/wgui.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "base/debugflag.h"
#include "base/gen.h"
#include "config/config_dirs.h"
#include "gui/bindings.h"
#include "gui/colors.h"
#include "gui/colwind.h"
#include "gui/config_link.h"
#include "gui/extra_process.h"
#include "gui/fonts.h"
#include "gui/idle_notifier.h"
#include "gui/resources.h"
#include "gui/xdisplay.h"
#include "gui/xsocket_listener.h"

WGUIHooks guiHooks;

namespace {

XState state;
bool xOn = false;
WApplication* application = nullptr;
bool ownApplication = false;
XSocketListener* xListener = nullptr;
std::string displayName;

const char* programName() {
  const char* p = gen_getprogname();
  return p && *p ? p : "diffview";
}

[[noreturn]] void noDisplay(int kind) {
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

// Benign races (a window destroyed while requests about it were in flight)
// are ignored; everything else is reported.
int onXError(Display* d, XErrorEvent* e) {
  if (e->error_code == BadWindow || e->error_code == BadDrawable) return 0;
  char text[256];
  XGetErrorText(d, e->error_code, text, sizeof text);
  gen_warning("X error: %s (request %d.%d)", text, e->request_code, e->minor_code);
  return 0;
}

// Parses the resource options and opens the display they name.
void preInit(int* argc, char** argv, int kind) {
  state.resourceName = programName();
  state.resourceClass = gui_className(state.resourceName.c_str());
  XrmDatabase cmd = gui_parseResourceOptions(argc, argv, state.resourceName.c_str());
  const char* name = gui_lookupResource(cmd, state.resourceName.c_str(),
                                        state.resourceClass.c_str(), "display");
  displayName = name ? name : "";
  state.display = XOpenDisplay(displayName.empty() ? nullptr : displayName.c_str());
  if (!state.display) {
    if (displayName.empty() && getenv("DISPLAY")) displayName = getenv("DISPLAY");
    XrmDestroyDatabase(cmd);
    noDisplay(kind);
  }
  state.database = gui_buildResourceDatabase(cmd, state.resourceName.c_str(),
                                             state.resourceClass.c_str(),
                                             XResourceManagerString(state.display));
}

void drawInit() {
  Display* d = state.display;
  XSetErrorHandler(onXError);
  const char* sync = gui_getResource("synchronous");
  if (sync && gen_strequal(sync, "on")) XSynchronize(d, True);
  state.screen = DefaultScreen(d);
  state.visual = DefaultVisual(d, state.screen);
  state.colormap = DefaultColormap(d, state.screen);
  state.depth = DefaultDepth(d, state.screen);
  state.root = RootWindow(d, state.screen);
  XGCValues v{};
  v.graphics_exposures = False;
  state.gc = XCreateGC(d, state.root, GCGraphicsExposures, &v);
  v.graphics_exposures = True;
  state.scrollGc = XCreateGC(d, state.root, GCGraphicsExposures, &v);
  state.wmProtocols = XInternAtom(d, "WM_PROTOCOLS", False);
  state.wmDeleteWindow = XInternAtom(d, "WM_DELETE_WINDOW", False);
  xOn = true;
  gui_connectConfiguration();
  WRecomputeColors();
  gui_openDefaultFont();
  if (debugFlag[DBG_UseFDRegistry]) {
    xListener = new XSocketListener(ConnectionNumber(d));
    getIdleNotifier()->addSocketListener(xListener);
  }
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

}  // namespace

XState& xstate() { return state; }

const char* gui_getResource(const char* resource) {
  return gui_lookupResource(state.database, state.resourceName.c_str(),
                            state.resourceClass.c_str(), resource);
}

WApplication* WGetApplication() { return application; }
bool XWindowsOn() { return xOn; }

int WGUIInit(int* argc, char** argv, WApplication* app, bool useRouter, bool initHelp,
             int kind) {
  displayName.clear();
  if (!app) {
    app = new WApplication();
    ownApplication = true;
  }
  application = app;
  preInit(argc, argv, kind);
  bool routerUp = startRouter(useRouter);
  drawInit();
  if (!routerUp) {
    gen_error("Warning: Unable to start IDE framework (svc_router).  Exiting.");
    gen_exit(1);
    exit(1);
  }
  if (guiHooks.syntaxInit) guiHooks.syntaxInit();
  if (initHelp && guiHooks.helpInit) guiHooks.helpInit();
  return 1;
}

bool NoMoreWindows() {
  bool none = !application || application->windows.empty();
  return none && !(guiHooks.historyBrowserOpen && guiHooks.historyBrowserOpen());
}

void WDrawExit() {
  if (!xOn) return;
  if (guiHooks.syntaxExit) guiHooks.syntaxExit();
  // Windows still open lose their X side with the display.
  while (application && !application->windows.empty()) delete application->windows.back();
  gui_closeDefaultFont();
  if (xListener) {
    getIdleNotifier()->removeSocketListener(xListener);
    delete xListener;
    xListener = nullptr;
  }
  XFreeGC(state.display, state.gc);
  XFreeGC(state.display, state.scrollGc);
  if (state.database) XrmDestroyDatabase(state.database);
  XCloseDisplay(state.display);
  state = XState();
  xOn = false;
}

void WGUIDestroy() {
  if (ownApplication) delete application;
  application = nullptr;
  ownApplication = false;
}

void cleanup_after_gui() {
  if (guiHooks.abortFileWork) guiHooks.abortFileWork();
  if (guiHooks.versionControlCleanup) guiHooks.versionControlCleanup();
  gui_forgetColours();
  W_clearBindings();
  cfg_CleanupConfigDirs();
  ExtraProcess_Clear();
}
