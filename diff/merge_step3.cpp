// The three-way merge walk: common stretches go into the result unasked;
// with auto on, so does every difference that only one side changed, or
// that both changed alike; the first conflict (or, without auto, every
// difference) waits for the user.
#include "diff/merge.h"
#include "diff/merge_private.h"
#include "text/file.h"

namespace {

using merge_private::AppendLines;
using merge_private::HasLines;

// Steps the three cursors over the common stretch and appends file 1's
// lines of it to the result.
void TakeCommon3(mcargs* mc) {
  DiffStuff* r = mc->record;
  const DiffFile before = *r->diffFile1;
  FindDiff3(r->diffFile1, r->diffFile2, r->diffFile3, r->info, r->info2);
  AppendLines(mc, &before, r->diffFile1->lineNumber - before.lineNumber, nullptr);
}

// Moves past the current difference and over the common stretch after it.
void PassDifference(mcargs* mc) {
  DiffStuff* r = mc->record;
  for (DiffFile* d : {r->diffFile1, r->diffFile2, r->diffFile3}) {
    merge_private::AdvanceCursor(d, d->count);
  }
  if (HasLines(r->diffFile1) && HasLines(r->diffFile2)) TakeCommon3(mc);
}

// The side auto mode takes at the current difference, or null for a
// conflict: file 2 when file 1 kept the base, file 1 when file 2 kept it
// or both changed alike.
DiffFile* AutoChoice(DiffStuff* r) {
  DiffFile* d1 = r->diffFile1;
  DiffFile* d2 = r->diffFile2;
  DiffFile* base = r->diffFile3;
  if (AreSame(d1, base, r->info, r->info2, r->info->firstLines)) return d2;
  if (AreSame(d2, base, r->info, r->info2, r->info2->firstLines)) return d1;
  if (AreSame(d1, d2, r->info, r->info2, nullptr)) return d1;
  return nullptr;
}

bool AtEnd(const DiffStuff* r) { return !HasLines(r->diffFile1) && !HasLines(r->diffFile2); }

}  // namespace

void MergeFiles3(mcargs* mc) {
  TakeCommon3(mc);
  DoMergeFiles3SelectDiff(mc);
}

void DoMergeFiles3SelectDiff(mcargs* mc) {
  DiffStuff* r = mc->record;
  while (!AtEnd(r)) {
    FindEndOfDiff3(r->diffFile1, r->diffFile2, r->diffFile3, r->info, r->info2);
    DiffFile* take = mc->automatic ? AutoChoice(r) : nullptr;
    if (!take) {
      merge_private::SelectDifference(mc);
      return;
    }
    AppendLines(mc, take, take->count, nullptr);
    PassDifference(mc);
  }
  mc->complete = true;
}

void DoMergeFiles3(mcargs* mc) {
  PassDifference(mc);
  merge_private::ShowResultEnd(mc);
  DoMergeFiles3SelectDiff(mc);
}
