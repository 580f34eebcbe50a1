// The merge with its windows.  The windows belong to the editor; until
// they are built this says that a merge needing the user cannot be done.
#include "diffmerge/windows.h"

#include "base/gen.h"

MergeOutcome diffmerge_RunWindows(const MergeRequest*) {
  gen_error("conflicts need the merge windows");
  return MERGE_FAILED;
}
