// diffview's entry; start reading here.  main settles who this process is
// and serves in one of three modes:
//   hand-off  - the default: the request goes to the viewer that already
//               runs (app/hand_off.cpp), and this process exits;
//   local     - "-noclient", or nothing to hand to: windows of this process,
//               until the last one closes;
//   service   - launched by the service router: windows open only on
//               requests through the diff view service, until the router
//               lets the process go.
// DiffViewer::main (viewer/entry.cpp) parses each request and opens the
// window.
#include <cstdlib>

#include "app/colouring.h"
#include "app/command_line.h"
#include "app/hand_off.h"
#include "app/usage.h"
#include "base/gen.h"
#include "config/config.h"
#include "config/config_dirs.h"
#include "editor/merge_run.h"
#include "gui/core/event_loop.h"
#include "gui/core/gui_init.h"
#include "gui/core/splash.h"
#include "gui/core/wgui.h"
#include "libs/libcxxutil/retry_handler.h"
#include "services/diffview/diffview.h"
#include "services/servicerouter_proxy.h"
#include "vc/vc.h"
#include "viewer/diffviewer.h"
#include "viewer/diffviewer_impl.h"
#include "viewer/history_window.h"

namespace {

// The exit status of a request that was refused and opened no window, so
// that scripts can tell.
constexpr int kRequestRefused = 2;
// How often an idle service process asks the router to let it go.
constexpr int64_t kDisconnectRepeatMs = 10000;

// The command line, for the toolkit's start of the router connection,
// which takes the router's own words out of it.
int* commandArgc = nullptr;
char** commandArgv = nullptr;

bool startRouter(int) {
  return ServiceRouter_Proxy::startup(true, commandArgc, commandArgv, nullptr, false, nullptr,
                                      false, true);
}

// The service process lives while the router does; idle, with no window
// and no connection left, it asks to be let go, again every 10 s.
void serviceLoop() {
  bool requested = false;
  int64_t deadline = 0;
  for (;;) {
    WMainLoopTurn();
    if (!ServiceRouter_Proxy::isAlive()) return;
    const bool viewers = DiffViewer::numViewersOpen() > 0;
    const bool displays = DiffView_Display::_num_displays_open > 0;
    if (requested && viewers && displays) requested = false;
    if (!ServiceRouter_Proxy::acceptedAConnection() || viewers || displays || !NoMoreWindows())
      continue;
    const int64_t now = ut_getTimeMillis64();
    if (requested && now < deadline) continue;
    ServiceRouter_Proxy::requestServiceRouterDisconnect(nullptr);
    deadline = now + kDisconnectRepeatMs;
    requested = true;
  }
}

// Opens what the command line asks for; whether it asked for anything.
bool openRequest(int argc, char** argv, const StartOptions& o) {
  if (o.ask) {
    DiffViewer::chooseNewDiff(nullptr, nullptr, o.reuse, nullptr, o.options);
  } else if (argc > 1) {
    char* errorText = nullptr;
    DiffViewer::main(argc - 1, argv + 1, nullptr, false, o.add, &errorText, nullptr,
                     o.options);
    if (errorText) {
      gen_error("%s", errorText);
      gen_free(errorText);
    }
  } else {
    usage();
    ServiceRouter_Proxy::setPluginPersistence(false, nullptr, nullptr);
    return false;
  }
  return true;
}

// Serves requests with windows of this process; the exit status.
int runWindows(int argc, char** argv, const StartOptions& o, bool launchedFromRouter) {
  commandArgc = &argc, commandArgv = argv;
  guiHooks.startRouter = startRouter;
  if (WGUIInit(&argc, argv, nullptr, true, true, WGUI_KIND_APPLICATION) != 1) gen_exit(1);
  DiffViewer_registerOpeners();
  DiffView_installViewerHooks();
  // With the DiffViewer switch off, a pair from another tool is compared
  // in two editor windows.
  edit_diff2filesInEditor = editor_CompareInWindows;
  cfg_SetEverythingToDefaults();
  shr_ReadConfigFiles(gen_getprogname());
  app_StartSyntaxColouring();
  vc_Init();
  HistoryWindow_install();
  // After each pass over the events, windows that painted for the first
  // time say so in their published state.
  WEventSetPeriodic([](void*) { DiffViewer_Impl::notePaints(); }, nullptr, nullptr, 0);

  int status = 0;
  DiffView_ServiceFactory* factory = nullptr;
  if (launchedFromRouter) {
    factory = new DiffView_ServiceFactory;
    ServiceRouter_Proxy::registerServiceFactory(factory, nullptr);
    serviceLoop();
  } else {
    W_showSplash(abGetText(0), abGetText(1));  // until the first window shows
    bool requested = openRequest(argc, argv, o);
    status = requested && NoMoreWindows() ? kRequestRefused : 0;
    WMainLoop();
  }
  delete factory;
  vc_Cleanup();
  WEventSetPeriodic(nullptr, nullptr, nullptr, 0);
  app_StopSyntaxColouring();
  WDrawExit();
  WGUIDestroy();
  cleanup_after_gui();
  ServiceRouter_Proxy::shutdown(true);
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  bool launchedFromRouter =
      ServiceRouter_Proxy::argsIndicateLaunchedFromServiceRouter(argc, argv);
  gen_init(argv[0], 0, 0);
  gen_remove_stale_temporaries();  // what a killed run left behind
  // The site configuration and the shipped data live beside the executable.
  if (char* dir = gen_findexecdir(argv[0])) {
    gen_changeprogdir(dir);
    gen_free(dir);
  }
  abSetup("VORNE Diff Viewer", "Graphical Difference Viewer",
          "About the VORNE Difference Viewer", nullptr);
  init_prior_to_gui(&argc, argv);

  StartOptions o = parseStartOptions(&argc, argv);
  if (o.help) {
    usage();
    gen_successexit(0);
  }
  if (!launchedFromRouter && o.client) app_HandOff(&argc, argv, o);
  return runWindows(argc, argv, o, launchedFromRouter);
}
