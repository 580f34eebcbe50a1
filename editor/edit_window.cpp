// Opening and closing editor windows, the register of the files they show
// (one buffer per file, a lock per file), and the operations the merge asks
// of a window or a file.
#include "editor/editor.h"

#include <algorithm>
#include <map>
#include <set>

#include "base/gen.h"
#include "diff/diff.h"
#include "editor/edit_window.h"
#include "editor/file_lines.h"
#include "gui/core/colwind.h"
#include "gui/core/fonts.h"
#include "gui/core/window_state.h"
#include "gui/text/scroll_bar.h"
#include "gui/text/textview.h"
#include "gui/widgets/dialog.h"
#include "text/file.h"

namespace {

constexpr int kBar = 14;     // scroll bar thickness
constexpr int kMargin = 2;   // room beside the text

std::map<file*, std::unique_ptr<EditFileEntry>>& entries() {
  static std::map<file*, std::unique_ptr<EditFileEntry>> all;
  return all;
}

std::set<file*>& lockedFiles() {
  static std::set<file*> all;
  return all;
}

EditFileEntry* attach(Edit* edit, file* f) {
  auto& slot = entries()[f];
  if (!slot) slot = std::make_unique<EditFileEntry>(f);
  slot->buffer.setLocked(edit_IsLocked(f));
  slot->windows.push_back(edit);
  return slot.get();
}

void detach(Edit* edit) {
  EditFileEntry* entry = edit->entry;
  auto& w = entry->windows;
  w.erase(std::remove(w.begin(), w.end(), edit), w.end());
  if (!w.empty()) return;
  lockedFiles().erase(entry->buffer.getFile());  // the file may go now
  entries().erase(entry->buffer.getFile());
}

// The rows go before the views that show them; the views go with their
// window.
void teardown(Edit* edit) {
  edit->view->setEventFilter(nullptr, nullptr);
  edit->view->setTextStore(nullptr);
  edit->store.reset();
  if (edit->ownsColors) diff_FreeColorInfo(edit->colors);
  detach(edit);
  delete edit;
}

// Closing the last window of a changed file offers to save it; false when
// the user cancels (or the save failed).
bool offerSave(Edit* edit) {
  file* f = edit->buffer().getFile();
  if (!(f->flags & FILE_MODIFIED) || edit->entry->windows.size() > 1 || edit_IsLocked(f))
    return true;
  std::string question = "Save the changes to ";
  question += f->name;
  question += "?";
  int answer = gui_ButtonDialog(edit->window, "Edit", question.c_str(),
                                {"Save", "Discard", "Cancel"}, 0, 2);
  if (answer == 1) return true;
  return answer == 0 && edit_SaveOver(f, nullptr, edit->window);
}

// The window goes: the user's close asks the owner first.
int onClose(ColWind* window) {
  auto* edit = static_cast<Edit*>(window->returnData);
  if (!edit->programClose) {
    if (edit->closeHandler && !edit->closeHandler(edit, edit->closeData)) return 0;
    if (!edit->closeHandler && !offerSave(edit)) return 0;
  }
  teardown(edit);
  return 1;
}

int onEvent(xinLibSt* event, ColWind* window) {
  if (event->type != WEV_CONFIGURE) return 0;
  edit_Layout(static_cast<Edit*>(window->returnData),
              DrawRect{0, 0, event->width, event->height});
  return 0;
}

void makeViews(Edit* edit, WWindowedItem* parent, DrawRect area) {
  edit->view = WTextView::makeWTextView(parent, DrawRect{area.x, area.y, 10, 10}, "text");
  edit->vbar = new WScrollBar(parent, DrawRect{area.x, area.y, kBar, 10}, SCROLL_VERTICAL);
  edit->hbar = new WScrollBar(parent, DrawRect{area.x, area.y, 10, kBar}, SCROLL_HORIZONTAL);
  edit->rows = std::make_unique<EditRows>(edit);
  edit->store = std::make_unique<RowStore>(edit->rows.get());
  edit->view->setTextStore(edit->store.get());
  edit->view->setMinLineHeight(1);
  edit->view->setScrollLineHeight(font_h);
  edit->view->setZoneLimit(1000);
  edit->view->setVScroller(edit->vbar);
  edit->view->setHScroller(edit->hbar);
  edit->view->disableSelection();
  edit->view->setEventFilter(edit_Filter, edit);
  edit_Layout(edit, area);
  edit->view->activateMe();
}

// Scrolls so that `line` stands a third of the view below the top.
void scrollNear(Edit* edit, int line) {
  int visible = std::max(1, edit->view->getHeight() / std::max(1, font_h));
  edit->view->scrollToLine(std::max(1, line - visible / 3), false);
}

}  // namespace

EditFileEntry* edit_EntryOf(file* f) {
  auto it = entries().find(f);
  return it == entries().end() ? nullptr : it->second.get();
}

std::vector<Edit*> edit_AllWindows() {
  std::vector<Edit*> all;
  for (auto& [f, entry] : entries())
    all.insert(all.end(), entry->windows.begin(), entry->windows.end());
  return all;
}

void EditFileEntry::bufferChanged(long first, long last, bool linesMoved) {
  for (Edit* e : windows) edit_Refresh(e, first, last, linesMoved);
}

Edit* edit_Open(file* f, const char* label, int x, int y, int columns, int rows) {
  if (!f) return nullptr;
  int width = columns * font_n + kBar + 2 * kMargin;
  int height = rows * font_h + kBar;
  auto* edit = new Edit;
  edit->label = label ? label : (f->title ? f->title : f->name);
  edit->window = cwxCreatexy(x, y, "Edit", edit->label.c_str(), edit->label.c_str(), onClose,
                             onEvent, width, height, edit);
  if (!edit->window) {
    delete edit;
    return nullptr;
  }
  edit->entry = attach(edit, f);
  edit->colors = diff_NewColorInfo();
  makeViews(edit, edit->window, DrawRect{0, 0, width, height});
  edit_Publish(edit);
  return edit;
}

Edit* edit_OpenInside(WWindowedItem* parent, DrawRect area, file* f) {
  auto* edit = new Edit;
  edit->window = parent->getTopLevel();
  edit->embedded = true;
  edit->entry = attach(edit, f);
  edit->colors = diff_NewColorInfo();
  makeViews(edit, parent, area);
  return edit;
}

void edit_Release(Edit* edit) { teardown(edit); }

void edit_SetColors(Edit* edit, ColorInfo* colors) {
  if (edit->ownsColors) diff_FreeColorInfo(edit->colors);
  edit->colors = colors;
  edit->ownsColors = false;
  edit_ColorsChanged(edit);
}

void edit_Close(Edit* edit) {
  if (!edit) return;
  edit->programClose = true;
  cwDestroy(edit->window);
}

int edit_Width(Edit* edit) { return edit ? edit->window->getWidth() : 0; }
int edit_Height(Edit* edit) { return edit ? edit->window->getHeight() : 0; }
ColWind* edit_Window(Edit* edit) { return edit ? edit->window : nullptr; }
file* edit_File(Edit* edit) { return edit ? edit->buffer().getFile() : nullptr; }
EditBuffer* edit_Buffer(Edit* edit) { return edit ? &edit->buffer() : nullptr; }

void edit_SetCloseHandler(Edit* edit, bool (*handler)(Edit*, void*), void* data) {
  edit->closeHandler = handler;
  edit->closeData = data;
}

void edit_Lock(file* f, bool on) {
  if (on) lockedFiles().insert(f);
  else lockedFiles().erase(f);
  if (EditFileEntry* entry = edit_EntryOf(f)) {
    entry->buffer.setLocked(on);
    for (Edit* e : entry->windows) edit_Publish(e);
  }
}

bool edit_IsLocked(file* f) { return lockedFiles().count(f) > 0; }

void edit_SelectLines(Edit* edit, int first, int count) {
  EditBuffer& b = edit->buffer();
  if (count <= 0 && first > b.lineCount()) b.moveTo(b.endOfText(), false);
  else b.selectLines(first, count);
  scrollNear(edit, first);
  edit_RevealCaret(edit);
}

std::string edit_Selection(Edit* edit) { return edit->buffer().selectedText(); }

void edit_PasteSelection(Edit* from, Edit* to, const char* prefix) {
  EditBuffer& source = from->buffer();
  if (!source.hasSelection()) return;
  EditPos start = source.selectionStart(), end = source.selectionEnd();
  long last = end.col == 0 ? end.line - 1 : end.line;
  file* target = edit_File(to);
  for (long n = start.line; n <= last; n++) {
    std::string text = prefix ? prefix : "";
    text += source.text(n);
    edit_AppendLine(target, text);
  }
}

void edit_AppendLine(file* f, std::string_view text) {
  if (EditFileEntry* entry = edit_EntryOf(f)) {
    entry->buffer.appendLine(text);
    return;
  }
  edit_InsertLine(f, nullptr, text);
}

void edit_InsertAtLineStart(file* f, int number, const char* text) {
  if (EditFileEntry* entry = edit_EntryOf(f)) {
    entry->buffer.insertAtLineStart(number, text);
    return;
  }
  line* l = FileGetLine(f, number);
  if (!l) return;
  std::string joined = text;
  joined += edit_LineText(f, l);
  edit_SetLineText(f, l, joined);
}

void edit_ShowEnd(Edit* edit) {
  EditBuffer& b = edit->buffer();
  b.moveTo(EditPos{b.rowCount(), 0}, false);
  edit_RevealCaret(edit);
}

void edit_ShowLine(Edit* edit, int line) {
  edit->buffer().moveTo(EditPos{line, 0}, false);
  scrollNear(edit, line);
  edit_RevealCaret(edit);
}

ColorInfo* edit_Colors(Edit* edit) { return edit->colors; }

void edit_ColorsChanged(Edit* edit) { edit_Refresh(edit, 1, edit->buffer().rowCount(), true); }
