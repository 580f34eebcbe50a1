// diffmerge: merges FILE1 and FILE2, or FILE1 and FILE2 against BASE.
//   diffmerge [-auto] [-o RESULT] FILE1 FILE2 [BASE]
// With -auto a three-way merge takes every difference that only one side
// changed, or both changed alike; without conflicts it finishes with no
// window at all.  Otherwise the merge runs in the editor windows.  With
// -o the result is saved to RESULT when the merge completes; without,
// the user chooses where.  Exit status: 0 merged and saved, 1 aborted or
// not saved (or nothing to merge), 2 trouble.
#include <cstring>

#include "base/gen.h"
#include "diff/merge.h"
#include "diffmerge/windows.h"

namespace {

constexpr int kUsage = 2;

int Usage() {
  gen_error("usage: diffmerge [-auto] [-o RESULT] FILE1 FILE2 [BASE]");
  return kUsage;
}

int ExitStatus(MergeOutcome outcome) {
  switch (outcome) {
    case MERGE_SAVED:
      return 0;
    case MERGE_NOT_SAVED:
    case MERGE_ABORTED:
    case MERGE_NOTHING:
      return 1;
    default:
      return 2;
  }
}

// The options and names; false on a usage error.
bool Parse(int argc, char** argv, MergeRequest* rq) {
  int i = 1;
  for (; i < argc && argv[i][0] == '-'; ++i) {
    if (strcmp(argv[i], "--") == 0) {
      ++i;
      break;
    }
    if (strcmp(argv[i], "-auto") == 0) {
      rq->automatic = true;
    } else if (strcmp(argv[i], "-o") == 0 && i + 1 < argc) {
      rq->resultName = argv[++i];
    } else {
      return false;
    }
  }
  const int names = argc - i;
  if (names < 2 || names > 3) return false;
  for (int k = 0; k < names; ++k) rq->files[k].name = argv[i + k];
  return true;
}

// A result named like an input would be written over it.
bool ResultIsAnInput(const MergeRequest* rq) {
  if (!rq->resultName) return false;
  for (const VersNameStruct& side : rq->files) {
    if (side.name && gen_samefile(side.name, rq->resultName)) {
      gen_error("Not writing the result over an input: %s", rq->resultName);
      return true;
    }
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  gen_init(argv[0], 0, 0);
  MergeRequest request = {};
  request.type = MERGE_TYPE_MERGE;
  if (!Parse(argc, argv, &request)) return Usage();
  if (ResultIsAnInput(&request)) return kUsage;
  if (request.automatic) {
    mcargs* waiting = nullptr;
    const MergeOutcome outcome = MergeFiles(&request, &waiting);
    if (outcome != MERGE_WAITING) return ExitStatus(outcome);
    merge_Discard(waiting);
  }
  return ExitStatus(diffmerge_RunWindows(&request));
}
