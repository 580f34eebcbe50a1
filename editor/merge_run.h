// Running a merge, or a two-way comparison, in the editor windows: the
// toolkit started when it is not yet, the model's hooks filled, and the
// loop turned until the merge ends.
#pragma once

#include "diff/merge.h"

// Runs the merge of `request` until it ends and returns its outcome;
// MERGE_FAILED, after a message, when there is no display.
MergeOutcome editor_RunMerge(const MergeRequest* request);

// Opens the two-way comparison of name1 and name2 (each with an optional
// version) in two editor windows with the step controller; the caller's
// loop runs it.  The toolkit must be up.
void editor_CompareInWindows(const char* name1, const char* version1, const char* name2,
                             const char* version2);
