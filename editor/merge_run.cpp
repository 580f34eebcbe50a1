#include "editor/merge_run.h"

#include <cstdlib>

#include "base/gen.h"
#include "editor/editor.h"
#include "editor/merge_windows.h"
#include "gui/core/colwind.h"
#include "gui/core/event_loop.h"
#include "gui/core/gui_init.h"
#include "gui/core/wgui.h"
#include "gui/loop/extra_process.h"
#include "gui/x11/display.h"

namespace {

bool ended = false;
MergeOutcome endedWith = MERGE_ABORTED;

void onFinished(MergeOutcome outcome) {
  ended = true;
  endedWith = outcome;
}

// The toolkit as a program without options of its own starts it.
bool startToolkit() {
  if (XWindowsOn()) return true;
  const char* display = std::getenv("DISPLAY");
  if (!display || !*display) {
    gen_error("the merge needs the user, and there is no display (DISPLAY is not set)");
    return false;
  }
  static char name[] = "diffmerge";
  static char* argv[] = {name, nullptr};
  int argc = 1;
  init_prior_to_gui(&argc, argv);
  return WGUIInit(&argc, argv, nullptr, false, false, WGUI_KIND_APPLICATION) == 1;
}

// Turns of the main loop until the merge ends, without a last sleep.
void runUntilEnded() {
  while (!ended && cwCount() > 0) {
    WEventAll(0);
    if (ended || cwCount() == 0) return;
    long t = 0;
    ExtraProcess_Wait(&t);
    WYield(t > 10 ? t - 10 : t, false);
  }
}

}  // namespace

MergeOutcome editor_RunMerge(const MergeRequest* request) {
  if (!startToolkit()) return MERGE_FAILED;
  mergewin_InstallHooks();
  mergewin_SetFinished(onFinished);
  ended = false;
  mcargs* session = nullptr;
  edit_BeginBatch();
  MergeOutcome outcome = MergeFiles(request, &session);
  edit_EndBatch();
  if (outcome == MERGE_WAITING) {
    runUntilEnded();
    outcome = ended ? endedWith : MERGE_ABORTED;
  }
  WDrawExit();
  WGUIDestroy();
  return outcome;
}

void editor_CompareInWindows(const char* name1, const char* version1, const char* name2,
                             const char* version2) {
  mergewin_InstallHooks();
  MergeRequest request = {};
  request.files[0] = VersNameStruct{name1, version1};
  request.files[1] = VersNameStruct{name2, version2};
  request.type = MERGE_TYPE_COMPARE;
  mcargs* session = nullptr;
  edit_BeginBatch();
  MergeFiles(&request, &session);
  edit_EndBatch();
}
