// The merge with its windows: the editor runs it.
#include "diffmerge/windows.h"

#include "editor/merge_run.h"

MergeOutcome diffmerge_RunWindows(const MergeRequest* request) { return editor_RunMerge(request); }
