// The windows of a merge and of a comparison in editor windows: the
// controller "Merge" with one button per choice, the dialogue that edits
// the conflict markers, the "Replace with..." dialogue on a scratch file,
// and the step controller (Previous, Next) of a comparison.  They fill the
// merge model's hooks (diff/merge.h) and the record's window hooks.
#pragma once

#include "diff/merge.h"


// The controller window titled "Merge", centred on the screen: "File1",
// "File2", "Base", "1and2", "1andBase", "2andBase" (two-way: "File1",
// "File2", "Both"), then "ChangeBar", "Edit", "Help", "Skip", "Abort" and
// the auto toggle.  Null without a display.
void* mergewin_OpenController(mcargs* mc, const char* name);
void mergewin_CloseController(mcargs* mc);

// The marker dialogue: header, separator, trailer, the two prefixes and
// the order ("pF1": the first source first, "pF2": the second first);
// "ok" takes the fields, "cancel" leaves them.  False when cancelled.
bool mergewin_EditPrefix(mcargs* mc);

// "Replace with..." on the scratch file at `path`: the user edits it in an
// editor view; accepted, it is written back.  False when cancelled.
bool mergewin_EditScratch(const char* path, const char* title, const char* helpTopic);

// The step controller of a comparison: "Previous" and "Next" step the
// record, closing it ends the comparison.
void* mergewin_OpenStepController(DiffStuff* record);

// Installs every hook of the merge model and of comparison records.
void mergewin_InstallHooks();
// Who hears that a merge ended (null: nobody).
void mergewin_SetFinished(void (*finished)(MergeOutcome outcome));
