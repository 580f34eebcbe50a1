// The merge with its windows, for a merge that needs the user.
#pragma once

#include "diff/merge.h"

// Runs the merge of `request` in the editor windows until it ends; its
// outcome (MERGE_FAILED after a message when there are no windows).
MergeOutcome diffmerge_RunWindows(const MergeRequest* request);
