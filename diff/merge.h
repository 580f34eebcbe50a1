// Merging two files, or two files against a common base, into a result,
// and the two-way comparison of two files in editor windows.  Start at
// MergeFiles: it loads the sides, compares them (base against file 1 and
// base against file 2 in three-way mode) and walks the differences; at
// each one the user picks what goes into the result through merge_Choose.
// In three-way mode with auto on, differences only one side changed, or
// both changed alike, are taken without asking.
//
// The model holds no windows.  Every window operation (editor windows,
// selections, copy and paste, the dialogues, saving) goes through the one
// MergeHooks record that the user interface fills with merge_SetHooks.
// With the hooks unset the model runs headless: the result is kept in a
// line store of its own and saved by the model, questions are answered
// "no", and the merge waits for merge_Choose when it needs the user.
#pragma once

#include "diff/diff.h"

// ---- the request ----------------------------------------------------------------

// One side of a request: a file name and an optional version (null or "").
struct VersNameStruct {
  const char* name;
  const char* version;
};

// What MergeFiles is asked to do.
enum MERGE_TYPE : int {
  MERGE_TYPE_MERGE = 0,       // merge into a result
  MERGE_TYPE_COMPARE = 1,     // two-way comparison in editor windows
  MERGE_TYPE_COMPARE_AT = 2,  // the same, positioned at a given range
};

struct MergeRequest {
  // File 1, file 2 and the base.  An empty or null name for file 2 means
  // file 1's name; an empty or null base name means two-way.  A directory
  // given for file 2 or the base is completed with file 1's base name.
  VersNameStruct files[3];
  bool automatic;  // take non-conflicting three-way differences unasked
  // Negative: write the result back into file 1 after checking it out;
  // 0: save the result under a chosen name; positive: save it over file 1.
  int saveMode;
  // With save mode 0: the name chosen beforehand (saved there when the
  // merge completes, without asking); null to ask through the hooks.
  const char* resultName;
  int x, y;                 // where the first editor window goes
  int type;                 // MERGE_TYPE; any other value only shows the controller
  const RangeInfo* range;   // MERGE_TYPE_COMPARE_AT: the difference to show
};

// How a merge stands or ended.
enum MergeOutcome : int {
  MERGE_FAILED = -1,     // not started: a message says why
  MERGE_WAITING = 0,     // waiting for the user's choice (merge_Choose)
  MERGE_SAVED = 1,       // complete and the result saved
  MERGE_NOT_SAVED = 2,   // complete, the result not saved
  MERGE_ABORTED = 3,     // the user aborted; nothing written
  MERGE_NOTHING = 4,     // identical inputs or the same version: nothing to do
  MERGE_COMPARING = 5,   // a two-way comparison (types 1, 2) is shown
};

// ---- the controller record -------------------------------------------------------------

struct MergeResultStore;  // the headless result lines (private)
struct MergeHooks;

// The controller record of one merge.  The marker strings and prefixes
// are owned (gen_ allocator) and may be replaced by the prefix dialogue.
struct mcargs {
  bool automatic;    // auto: take non-conflicting three-way differences
  DiffStuff* record;
  int saveMode;      // as MergeRequest::saveMode
  bool prefixGiven;  // the conflict-marker strings have been set
  bool newFirst;     // in a conflict block the first chosen source comes first
  bool threeWay;     // a base is present
  bool aborted;      // the user pressed "Abort"
  char* header;      // conflict-marker lines
  char* separator;
  char* trailer;
  char* newPrefix;   // put before every line of the first source in a block
  char* oldPrefix;   // ... and of the second source
  // Model state the windows may read.
  char* resultName;  // where save mode 0 saves without asking, or null
  ColorInfo* colors3;  // the base's differences (colors1, colors2 are the record's)
  void* controller;    // what MergeHooks::openController returned
  bool complete;       // every difference has been dealt with
  MergeResultStore* store;  // headless result (null with windows)
};

// The user's answers at a difference: the buttons of the controller.
enum MergeChoice : int {
  MERGE_FILE1,        // "File1": file 1's lines
  MERGE_FILE2,        // "File2": file 2's lines
  MERGE_BASE,         // "Base": the base's lines
  MERGE_BOTH,         // "Both" / "1and2": conflict block of file 1 and file 2
  MERGE_1_AND_BASE,   // "1andBase"
  MERGE_2_AND_BASE,   // "2andBase"
  MERGE_EDIT,         // "Edit": compose a block, edit it in "Replace with..."
  MERGE_SKIP,         // "Skip": nothing
  MERGE_ABORT,        // "Abort"
  MERGE_CHANGE_BAR,   // "ChangeBar": edit the marker strings only
};

// ---- hooks the windows fill --------------------------------------------------------------

// Every member may be null; a null member does the headless default given.
// Line numbers are 1-based.  The editor windows show `file` records and
// edit them in place.
struct MergeHooks {
  // An editor window on `f`, 80 columns by 24 lines, at (x, y), with a
  // short label; `mergeIcon` for the result window.  Null on failure.
  // Default: no windows at all (the merge runs headless).
  Edit* (*openWindow)(file* f, const char* label, int x, int y, bool mergeIcon);
  // The window's outer size in pixels (placement of the next windows).
  void (*windowSize)(Edit* e, int* width, int* height);
  void (*closeWindow)(Edit* e);
  // Locks (read-only in the windows) or unlocks a file.
  void (*lockFile)(file* f, bool on);
  // The window's line-colour list (the window keeps the pointer until it
  // closes; the model owns and fills it).
  void (*setColors)(Edit* e, ColorInfo* colors);
  // Selects `count` lines from `first`; count 0 places an empty selection
  // at the start of line `first` (one past the end: after the last line).
  void (*selectLines)(Edit* e, int first, int count);
  // Appends every line of `from`'s selection, each after `prefix` (may be
  // ""), at the end of `to`'s file.
  void (*pasteSelection)(Edit* from, Edit* to, const char* prefix);
  // Appends one line (no newline in `text`, `length` bytes) to a file.
  void (*appendLine)(file* f, const char* text, long length);
  // Inserts `text` at the start of line `lineNumber`.
  void (*insertAtLineStart)(file* f, int lineNumber, const char* text);
  // Scrolls the window to its last line.
  void (*showEnd)(Edit* e);
  // The dialogue titled `title` (help topic `helpTopic`) editing the
  // scratch file `path` in place; false when cancelled.  Default: accepted
  // as composed.
  bool (*editScratch)(const char* path, const char* title, const char* helpTopic);
  // The conflict-marker dialogue on mc's five strings and newFirst; false
  // when cancelled (the strings are then left as they were).  Default:
  // accepted.
  bool (*editPrefix)(mcargs* mc);
  // Asks a yes/no question.  Default: no.
  bool (*ask)(const char* question);
  // Shows a short message.  Default: on standard error as information.
  void (*alert)(const char* text);
  // Asks for a name and saves `f` there; false when not saved.  Default:
  // saves under the result's own name ("Merged_" + file 1's base name).
  bool (*saveAs)(file* f, Edit* e);
  // Writes `f`'s lines over the file `name`; false after a message.
  bool (*saveOver)(file* f, const char* name);
  // Checks `name` out of version control for writing; false on failure.
  // Default: true when the file can be written.
  bool (*checkOut)(const char* name);
  // Save mode negative: file 1's window takes the result's lines (and is
  // then modified), or reverts to its disk text when `revert` is set.
  void (*replaceContents)(Edit* target, file* result, bool revert);
  // The "Merge" controller window (MergeController); null on failure.
  void* (*openController)(mcargs* mc, const char* name);
  // Hides and destroys it (the merge is complete or aborted).
  void (*closeController)(mcargs* mc);
  // Types 1 and 2: the step controller on a comparison record; its
  // buttons call record->command(record, 1 or 2) and its closing calls
  // MergeCompareClose.  Null on failure.
  void* (*openStepController)(DiffStuff* record);
  // A merge has ended (saved, not saved or aborted); mc is being freed.
  void (*finished)(MergeOutcome outcome);
};

// Installs the hooks (copied); null restores the headless defaults.
void merge_SetHooks(const MergeHooks* hooks);

// ---- entry points --------------------------------------------------------------------------

// Loads the files, compares them, opens the windows and starts the merge
// or the comparison.  Returns MERGE_WAITING with *session set while the
// merge waits for the user; a final outcome when it ended at once (auto
// mode without conflicts, or a failure after its message).
MergeOutcome MergeFiles(const MergeRequest* request, mcargs** session);

// The user's choice at the current difference; the walk goes on to the
// next difference needing the user.  When the result is not
// MERGE_WAITING, mc has been freed.
MergeOutcome merge_Choose(mcargs* mc, MergeChoice choice);
// The auto toggle: sets the flag (it applies from the next step on).
void merge_SetAuto(mcargs* mc, bool on);
// The current difference's ranges (any pointer may be null): file 1,
// file 2 and the base (zero when two-way).  False when complete.
bool merge_Current(const mcargs* mc, RangeInfo* r1, RangeInfo* r2, RangeInfo* rBase);
// Ends a waiting merge as aborted without asking anything (a window
// closed, or a headless caller giving up).
MergeOutcome merge_Discard(mcargs* mc);

// The controller window (through MergeHooks::openController).
void* MergeController(const char* name, mcargs* mc);
// Fills in the default marker strings (from file 1's suffix, the login
// name and the date) and shows the dialogue; false when it was cancelled.
bool PrefixInfo(mcargs* mc);
// The default strings alone, from a file name (for PrefixInfo and tests).
void merge_DefaultPrefix(mcargs* mc, const char* fileName);

// Closing the step controller of a two-way comparison (types 1, 2):
// frees the range lists and the record.
void MergeCompareClose(DiffStuff* record);

// ---- the walks --------------------------------------------------------------------------------

void MergeFiles2(mcargs* mc);
void MergeFiles3(mcargs* mc);
// The step functions, run after each choice.
void DoMergeFiles2(mcargs* mc);
void DoMergeFiles3(mcargs* mc);
// Find and select the next difference needing the user (three-way: after
// taking what auto mode may take).  Mark the merge complete at the end.
void DoMergeFiles2SelectDiff(mcargs* mc);
void DoMergeFiles3SelectDiff(mcargs* mc);

// Advances the three cursors over lines paired in both comparisons;
// whether any cursor has a line left.  info: base against file 1, info2:
// base against file 2.
bool FindDiff3(DiffFile* d1, DiffFile* d2, DiffFile* base, diffInfo* info, diffInfo* info2);
// Sets the three cursors' counts to the current difference's lines.
void FindEndOfDiff3(DiffFile* d1, DiffFile* d2, DiffFile* base, diffInfo* info,
                    diffInfo* info2);
// Whether dA's and dB's lines of the difference are the same (false when
// their counts differ).  With a base line table (dB the base cursor,
// `baseLines` the base's table in dA's comparison): every base line of
// the difference is paired, so dA's lines are the base's unchanged.
// Without: file 1's lines (dA, through info) and file 2's (dB, through
// info2) are equal texts.
bool AreSame(DiffFile* dA, DiffFile* dB, diffInfo* info, diffInfo* info2,
             const diffLineTableStruct* baseLines);
