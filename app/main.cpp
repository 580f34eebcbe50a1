// diffview's entry; start reading here.  main settles who this process is
// (launched by the service router or by a user), takes the toolkit's and
// its own words out of the command line, reads the configuration and hands
// the remaining words to DiffViewer::main (viewer/entry.cpp), which parses
// the request and opens the window.
#include <cstdlib>

#include "app/colouring.h"
#include "app/command_line.h"
#include "app/usage.h"
#include "base/gen.h"
#include "config/config.h"
#include "config/config_dirs.h"
#include "gui/core/event_loop.h"
#include "gui/core/gui_init.h"
#include "gui/core/wgui.h"
#include "services/servicerouter_proxy.h"
#include "viewer/diffviewer.h"
#include "viewer/diffviewer_impl.h"

namespace {

// The exit status of a request that was refused and opened no window, so
// that scripts can tell.
constexpr int kRequestRefused = 2;

// Serves the request with windows of this process; the exit status.
int runLocally(int argc, char** argv, const StartOptions& o) {
  // The toolkit starts the service router only when a service layer has
  // said how; until then this process serves its windows alone.
  bool useRouter = guiHooks.startRouter != nullptr;
  if (WGUIInit(&argc, argv, nullptr, useRouter, true, WGUI_KIND_APPLICATION) != 1) gen_exit(1);
  DiffViewer_registerOpeners();
  cfg_SetEverythingToDefaults();
  shr_ReadConfigFiles(gen_getprogname());
  app_StartSyntaxColouring();

  bool requested = o.ask || argc > 1;
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
  }
  int status = requested && NoMoreWindows() ? kRequestRefused : 0;
  // After each pass over the events, windows that painted for the first
  // time say so in their published state.
  WEventSetPeriodic([](void*) { DiffViewer_Impl::notePaints(); }, nullptr, nullptr, 0);
  WMainLoop();
  WEventSetPeriodic(nullptr, nullptr, nullptr, 0);
  app_StopSyntaxColouring();
  WDrawExit();
  WGUIDestroy();
  cleanup_after_gui();
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
  (void)launchedFromRouter;  // the router's service mode comes with the service layer
  return runLocally(argc, argv, o);
}
