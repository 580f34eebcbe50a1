// The controller window "Merge": a button per choice at the current
// difference, the auto toggle, and help.  A choice goes to the model,
// which may end the merge and close this window from inside the call.
#include <algorithm>
#include <cstdio>
#include <string>

#include "diff/merge.h"
#include "editor/editor.h"
#include "editor/merge_windows.h"
#include "gui/core/colwind.h"
#include "gui/core/window_state.h"
#include "gui/widgets/alert.h"
#include "gui/widgets/button.h"
#include "gui/x11/display.h"

namespace {

constexpr int kMargin = 10;

struct Controller {
  ColWind* window = nullptr;
  mcargs* mc = nullptr;
  WButton* autoButton = nullptr;
  std::vector<WButtonSet*> rows;
};

const char* const kHelp =
    "Merge: choose what goes into the result at the selected difference.\n"
    "File1, File2, Base: that file's lines.\n"
    "1and2, 1andBase, 2andBase (Both): a conflict block holding both,\n"
    "  framed by the markers that ChangeBar edits.\n"
    "Edit: write the lines yourself.  Skip: nothing.  Abort: stop, writing nothing.\n"
    "Auto: take differences that only one side changed without asking.";

struct Choice {
  const char* name;
  MergeChoice choice;
};
const Choice kChoices[] = {
    {"File1", MERGE_FILE1},       {"File2", MERGE_FILE2},         {"Base", MERGE_BASE},
    {"1and2", MERGE_BOTH},        {"Both", MERGE_BOTH},           {"1andBase", MERGE_1_AND_BASE},
    {"2andBase", MERGE_2_AND_BASE}, {"ChangeBar", MERGE_CHANGE_BAR}, {"Edit", MERGE_EDIT},
    {"Skip", MERGE_SKIP},         {"Abort", MERGE_ABORT},
};

void setAutoLabel(Controller* c) {
  c->autoButton->setLabel(c->mc->automatic ? "Auto: on" : "Auto: off");
}

// The state says where each shown button is (window coordinates), so
// that scripts can press them: "button.File1=x,y,width,height".
void publish(Controller* c) {
  std::string state = "merge=1\nauto=";
  state += c->mc->automatic ? "1" : "0";
  state += "\nthreeway=";
  state += c->mc->threeWay ? "1" : "0";
  state += "\n";
  for (WButtonSet* row : c->rows) {
    for (int k = 0; k < row->count(); k++) {
      WButton* b = row->buttonAt(k);
      if (!b->isShown()) continue;
      char place[80];
      std::snprintf(place, sizeof place, "=%d,%d,%d,%d\n", row->getX() + b->getX(),
                    row->getY() + b->getY(), b->getWidth(), b->getHeight());
      state += "button.";
      state += b->getCommand();
      state += place;
    }
  }
  cwPublishState(c->window, state.c_str());
}

void onCommand(WButton* button, const char* command) {
  auto* c = static_cast<Controller*>(button->getTopLevel()->returnData);
  std::string name = command;
  if (name == "Help") return gui_AlertTitled(c->window, "Merge help", kHelp);
  if (name == "auto") {
    merge_SetAuto(c->mc, !c->mc->automatic);
    setAutoLabel(c);
    return publish(c);
  }
  for (const Choice& k : kChoices) {
    if (name != k.name) continue;
    edit_BeginBatch();
    merge_Choose(c->mc, k.choice);
    return edit_EndBatch();
  }
}

// The window manager's close button gives the merge up.
int onClose(ColWind* window) {
  auto* c = static_cast<Controller*>(window->returnData);
  if (c->mc) {
    mcargs* mc = c->mc;
    c->mc = nullptr;
    mc->controller = nullptr;
    merge_Discard(mc);
  }
  delete c;
  return 1;
}

WButtonSet* addRow(ColWind* w, int y, const std::vector<const char*>& names) {
  auto* row = new WButtonSet(w, DrawRect{kMargin, y, 10, 10}, WButtonSet::kHorizontal);
  for (const char* n : names) row->addButton(n);
  row->setCommandHandler(onCommand);
  row->setGeometry(DrawRect{kMargin, y, row->preferredWidth(), row->preferredHeight()});
  row->layout();
  return row;
}

}  // namespace

void* mergewin_OpenController(mcargs* mc, const char* name) {
  auto* c = new Controller;
  c->mc = mc;
  c->window = cwxCreatexy(-1, -1, "Merge", "Merge", name && *name ? name : "Merge", onClose,
                          nullptr, 100, 100, c);
  if (!c->window) return delete c, nullptr;
  std::vector<const char*> choices = {"File1", "File2", "Base", "1and2", "1andBase", "2andBase"};
  if (!mc->threeWay) choices = {"File1", "File2", "Both"};
  WButtonSet* top = addRow(c->window, kMargin, choices);
  WButtonSet* bottom = addRow(c->window, kMargin + top->getHeight() + kMargin,
                              {"ChangeBar", "Edit", "Help", "Skip", "Abort"});
  c->rows = {top, bottom};
  c->autoButton = bottom->addButton("Auto: off", nullptr, "auto");
  bottom->setButtonShown("auto", mc->threeWay);
  setAutoLabel(c);
  bottom->setGeometry(DrawRect{kMargin, bottom->getY(), bottom->preferredWidth(),
                               bottom->preferredHeight()});
  bottom->layout();
  int width = std::max(top->getWidth(), bottom->getWidth()) + 2 * kMargin;
  int height = bottom->getY() + bottom->getHeight() + kMargin;
  int screenWidth = 0, screenHeight = 0;
  gui_screenSize(&screenWidth, &screenHeight);
  cwSetGeometry(c->window, DrawRect{(screenWidth - width) / 2, (screenHeight - height) / 2,
                                    width, height});
  publish(c);
  return c;
}

void mergewin_CloseController(mcargs* mc) {
  auto* c = static_cast<Controller*>(mc->controller);
  if (!c) return;
  c->mc = nullptr;
  mc->controller = nullptr;
  c->window->hide();
  cwDestroy(c->window);
}
