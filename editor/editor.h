// editor: the least editor the merge and the step-by-step comparison need.
// An editor window (`Edit`) shows one loaded `file` at a place and size with
// a short label as its title, edits the file in place with the keys people
// expect of a plain editor, and colours the lines of the differences it is
// given.  The merge's controller window ("Merge"), its marker dialogue,
// the "Replace with..." dialogue and the step controller live here too
// (merge_windows.h).  The model of a window's text (buffer.h) is free of X.
// Builds on gui/, diff/, text/ and base/.
#pragma once

#include <string>
#include <string_view>

#include "gui/x11/draw.h"

struct ColorInfo;
class ColWind;
class EditBuffer;
class WWindowedItem;
struct Edit;
struct file;

// ---- editor windows ------------------------------------------------------------

// Opens a window of `columns` by `rows` characters on `f` at x, y (below 0:
// placed by the toolkit), titled `label`; null without a display.  The
// window does not own the file.
Edit* edit_Open(file* f, const char* label, int x, int y, int columns = 80, int rows = 24);
// An editor view over `area` of `parent` (a dialogue), and its release
// before the parent goes.
Edit* edit_OpenInside(WWindowedItem* parent, DrawRect area, file* f);
void edit_Release(Edit* edit);
// Closes the window; the file stays loaded.
void edit_Close(Edit* edit);
// The window's outer size and its top-level window.
int edit_Width(Edit* edit);
int edit_Height(Edit* edit);
ColWind* edit_Window(Edit* edit);
file* edit_File(Edit* edit);
EditBuffer* edit_Buffer(Edit* edit);
// Called when the user closes the window, before it goes; answer false to
// keep it open.  The merge keeps its windows until it ends.
void edit_SetCloseHandler(Edit* edit, bool (*handler)(Edit* edit, void* data), void* data);

// A locked file is read-only in every window showing it.
void edit_Lock(file* f, bool on);
bool edit_IsLocked(file* f);

// Selects lines first .. first+count-1 (count 0: an empty range at the
// start of `first`) and scrolls them into view.
void edit_SelectLines(Edit* edit, int first, int count);
// The selected text (empty without a selection).
std::string edit_Selection(Edit* edit);
// Appends each line of `from`'s selection, after `prefix`, to the end of
// `to`'s file.  A selection that ends at the start of a line does not take
// that line.
void edit_PasteSelection(Edit* from, Edit* to, const char* prefix);
// Appends `text` as a line to the file (and every window showing it).
void edit_AppendLine(file* f, std::string_view text);
// Puts `text` in front of line `number` of the file.
void edit_InsertAtLineStart(file* f, int number, const char* text);
// Scrolls to the last line and puts the caret there.
void edit_ShowEnd(Edit* edit);
// Scrolls so that `line` is in view (a third from the top) with the caret
// at its start.
void edit_ShowLine(Edit* edit, int line);

// The window's own difference ranges (capacity 64), coloured as the viewer
// colours changed lines; call edit_ColorsChanged after filling them.
ColorInfo* edit_Colors(Edit* edit);
// Shows someone else's list instead (kept, not owned, until the window
// closes).
void edit_SetColors(Edit* edit, ColorInfo* colors);
void edit_ColorsChanged(Edit* edit);

// Many changes by the program: windows show them once, when the
// outermost batch ends (dialogues' views at once).
void edit_BeginBatch();
void edit_EndBatch();

// ---- saving --------------------------------------------------------------------

// Writes the file under `name` (its own name when null); the file is then
// unmodified when written under its own name.  False after showing the
// trouble in an alert over `parent`.
bool edit_SaveOver(file* f, const char* name, ColWind* parent);
// Asks for a name (offering `suggested`) and saves there; false when the
// user cancelled or the write failed.
bool edit_SaveAs(file* f, const char* suggested, ColWind* parent);
