// Pieces shared by the merge model's own files: the installed hooks, the
// result operations (through the windows when there are any, else into
// the headless line store), the cursors' movement and the end of a merge.
// Not for use outside diff/merge*.cpp.
#pragma once

#include <string>
#include <string_view>

#include "diff/merge.h"

// The headless result: the lines' bytes, each followed by a newline.
struct MergeResultStore {
  std::string bytes;
  long lineCount = 0;
  bool noFinalNewline = false;  // the last line came without one
};

namespace merge_private {

const MergeHooks& Hooks();
// Whether the merge runs with editor windows.
bool HasWindows(const mcargs* mc);

// ---- the result (merge_result.cpp) ----
// Appends `count` lines of d's file from its cursor, each after `prefix`.
void AppendLines(mcargs* mc, const DiffFile* d, int count, const char* prefix);
// Appends one line of text.
void AppendText(mcargs* mc, const char* text, long length);
// Pastes the source window's selected lines (headless: the cursor's
// current difference) at the end of the result.
void PasteSource(mcargs* mc, DiffFile* d, const char* prefix);
// Selects the current difference in every window and places the
// result's selection after its last line.
void SelectDifference(mcargs* mc);
// Scrolls the result window to its end.
void ShowResultEnd(mcargs* mc);
// Writes the result over `path` (WriteFileAtomically); false after a
// message.
bool SaveResult(mcargs* mc, const char* path);

// ---- cursors (merge_walk2.cpp) ----
// Moves a cursor forward by `count` lines.
void AdvanceCursor(DiffFile* d, int count);
// Whether the cursor has a line left.
bool HasLines(const DiffFile* d);

// ---- saving (merge_save.cpp) ----
// Writes `text` over `path` through a fresh file beside it renamed into
// place (an existing file's mode is kept); false after a message.
bool WriteFileAtomically(const char* path, std::string_view text);
// "Merged_" and file 1's base name, in file 1's directory.
std::string MergedName(const char* name1);
// The text of a file's lines as it would be saved.
std::string FileText(file* f);

// ---- the end (merge_finish.cpp) ----
// Closes the controller, saves by the save mode unless aborted, frees
// everything the merge made and returns the outcome.
MergeOutcome Finish(mcargs* mc);
// Frees everything the merge made, without saving.
void Release(mcargs* mc);
// Closes a record's windows, unlocks its files, frees its range lists,
// its result file and the record.
void ReleaseRecord(DiffStuff* record);
void Alert(const char* text);

}  // namespace merge_private
