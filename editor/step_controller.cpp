// The step controller of a comparison in editor windows: "Previous" and
// "Next" move both windows to the neighbouring difference; closing it
// ends the comparison and closes the windows.
#include "diff/diff.h"
#include "diff/merge.h"
#include "editor/editor.h"
#include "editor/merge_windows.h"
#include "gui/core/colwind.h"
#include "gui/widgets/button.h"

namespace {

constexpr int kMargin = 10;
constexpr int kDrop = 30;  // below the first window

void onCommand(WButton* button, const char* command) {
  auto* record = static_cast<DiffStuff*>(button->getTopLevel()->returnData);
  if (record && record->command) record->command(record, command[0] == 'N' ? 1 : 2);
}

int onClose(ColWind* window) {
  auto* record = static_cast<DiffStuff*>(window->returnData);
  window->returnData = nullptr;
  if (!record) return 1;
  record->window = nullptr;
  record->previousButton = record->nextButton = nullptr;
  MergeCompareClose(record);
  return 1;
}

}  // namespace

void* mergewin_OpenStepController(DiffStuff* record) {
  const char* title = record->title ? record->title : "Compare";
  // Below the first window, where a merge puts the base.
  int y = record->edit1 ? edit_Height(record->edit1) + kDrop : -1;
  ColWind* w = cwxCreatexy(record->edit1 ? 0 : -1, y, "Compare", title, "Compare", onClose,
                           nullptr, 100, 100, record);
  if (!w) return nullptr;
  auto* row = new WButtonSet(w, DrawRect{kMargin, kMargin, 10, 10}, WButtonSet::kHorizontal);
  auto* previous = row->addButton("Previous");
  auto* next = row->addButton("Next");
  row->setCommandHandler(onCommand);
  row->setGeometry(DrawRect{kMargin, kMargin, row->preferredWidth(), row->preferredHeight()});
  row->layout();
  cwSetGeometry(w, DrawRect{record->edit1 ? 0 : w->getX(), record->edit1 ? y : w->getY(),
                            row->getWidth() + 2 * kMargin, row->getHeight() + 2 * kMargin});
  record->window = w;
  record->previousButton = previous;
  record->nextButton = next;
  int count = diff_RangeCount(record->colors1), current = record->colors1->current;
  previous->setDimmed(current <= 0);
  next->setDimmed(current >= count - 1);
  return w;
}
