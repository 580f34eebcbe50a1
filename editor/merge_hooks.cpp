// The merge model's hooks and the comparison record's window hooks,
// filled with the editor windows and the merge's own windows.
#include <string>

#include "diff/diff.h"
#include "diff/merge.h"
#include "editor/buffer.h"
#include "editor/editor.h"
#include "editor/merge_windows.h"
#include "gui/core/colwind.h"
#include "gui/widgets/alert.h"
#include "gui/widgets/button.h"
#include "gui/widgets/dialog.h"
#include "gui/x11/display.h"
#include "text/file.h"

namespace {

void (*finishedHook)(MergeOutcome) = nullptr;

// The windows of a merge or a comparison close with it, not on their own.
bool refuseClose(Edit* edit, void*) {
  gui_bell();
  cwSetMsg(edit_Window(edit), "This window closes when the merge or comparison ends", 0);
  return false;
}

Edit* openWindow(file* f, const char* label, int x, int y, bool) {
  Edit* e = edit_Open(f, label, x, y);
  if (e) edit_SetCloseHandler(e, refuseClose, nullptr);
  return e;
}

void windowSize(Edit* e, int* width, int* height) {
  *width = edit_Width(e);
  *height = edit_Height(e);
}

void selectLines(Edit* e, int first, int count) {
  edit_ColorsChanged(e);
  edit_SelectLines(e, first, count);
}

void appendLine(file* f, const char* text, long length) {
  edit_AppendLine(f, std::string_view(text, length));
}

bool ask(const char* question) {
  return gui_ButtonDialog(nullptr, "Merge", question, {"Yes", "No"}, 0, 1) == 0;
}

void alert(const char* text) { gui_Alert(nullptr, text); }

bool saveAs(file* f, Edit* e) { return edit_SaveAs(f, f->name, edit_Window(e)); }

bool saveOver(file* f, const char* name) { return edit_SaveOver(f, name, nullptr); }

// File 1's window takes the result's text (nothing to do to revert: the
// window never changed file 1).
void replaceContents(Edit* target, file* result, bool revert) {
  if (revert || !target) return;
  std::string text;
  for (line* l = result->firstLine; l; l = l->next) {
    const char* t = FileLineText(result, l);
    if (l != result->firstLine) text += '\n';
    if (t) text.append(t, l->length);
  }
  EditBuffer* b = edit_Buffer(target);
  b->replace(EditPos{1, 0}, b->endOfText(), text);
}

void finished(MergeOutcome outcome) {
  if (finishedHook) finishedHook(outcome);
}

// ---- the comparison record's windows ----

void dimButtons(DiffStuff* record, bool previousDimmed, bool nextDimmed) {
  if (auto* b = static_cast<WButton*>(record->previousButton)) b->setDimmed(previousDimmed);
  if (auto* b = static_cast<WButton*>(record->nextButton)) b->setDimmed(nextDimmed);
}

// Both windows select their lines of the current difference.
void showDiff(DiffStuff* record) {
  ColorInfo* lists[] = {record->colors1, record->colors2};
  Edit* edits[] = {record->edit1, record->edit2};
  for (int k = 0; k < 2; k++) {
    RangeInfo* r = lists[k] ? diff_GetRange(lists[k], lists[k]->current) : nullptr;
    if (!r || !edits[k]) continue;
    edit_ColorsChanged(edits[k]);
    edit_SelectLines(edits[k], r->start, r->end - r->start);
  }
}

// Only the step controller of the record; a record of the viewer has none.
void destroyWindow(DiffStuff* record) {
  auto* w = record->window;
  if (!w || w->name != "Compare" || w->returnData != record) return;
  record->window = nullptr;
  w->returnData = nullptr;
  cwDestroy(w);
}

void closeEditor(Edit* edit, bool unlock) {
  if (unlock) edit_Lock(edit_File(edit), false);
  edit_Close(edit);
}

}  // namespace

void mergewin_SetFinished(void (*hook)(MergeOutcome)) { finishedHook = hook; }

void mergewin_InstallHooks() {
  MergeHooks hooks = {};
  hooks.openWindow = openWindow;
  hooks.windowSize = windowSize;
  hooks.closeWindow = edit_Close;
  hooks.lockFile = edit_Lock;
  hooks.setColors = edit_SetColors;
  hooks.selectLines = selectLines;
  hooks.pasteSelection = edit_PasteSelection;
  hooks.appendLine = appendLine;
  hooks.insertAtLineStart = edit_InsertAtLineStart;
  hooks.showEnd = edit_ShowEnd;
  hooks.editScratch = mergewin_EditScratch;
  hooks.editPrefix = mergewin_EditPrefix;
  hooks.ask = ask;
  hooks.alert = alert;
  hooks.saveAs = saveAs;
  hooks.saveOver = saveOver;
  hooks.replaceContents = replaceContents;
  hooks.openController = mergewin_OpenController;
  hooks.closeController = mergewin_CloseController;
  hooks.openStepController = mergewin_OpenStepController;
  hooks.finished = finished;
  merge_SetHooks(&hooks);
  DiffUiHooks ui = {};
  ui.beep = gui_bell;
  ui.dimButtons = dimButtons;
  ui.showDiff = showDiff;
  ui.destroyWindow = destroyWindow;
  ui.closeEditor = closeEditor;
  diff_SetUiHooks(&ui);
}
