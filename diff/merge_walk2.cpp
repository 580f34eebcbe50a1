// The two-way merge walk: file 1's lines of every common stretch go into
// the result unasked, and at each difference the user picks what goes in.
#include "diff/merge.h"
#include "diff/merge_private.h"
#include "text/file.h"

namespace merge_private {

void AdvanceCursor(DiffFile* d, int count) {
  if (!d) return;
  for (int k = 0; k < count && d->current; ++k) d->current = d->current->next;
  d->lineNumber += count;
}

bool HasLines(const DiffFile* d) { return d && d->lineNumber <= d->f->lineCount; }

}  // namespace merge_private

namespace {

using merge_private::AppendLines;
using merge_private::HasLines;

// Steps both cursors over the common stretch and appends file 1's lines
// of it to the result.
void TakeCommon2(mcargs* mc) {
  DiffStuff* record = mc->record;
  const DiffFile before = *record->diffFile1;
  FindDiff2(record->diffFile1, record->diffFile2, record->info, false);
  AppendLines(mc, &before, record->diffFile1->lineNumber - before.lineNumber, nullptr);
}

}  // namespace

void MergeFiles2(mcargs* mc) {
  TakeCommon2(mc);
  DoMergeFiles2SelectDiff(mc);
}

void DoMergeFiles2SelectDiff(mcargs* mc) {
  DiffStuff* record = mc->record;
  if (!HasLines(record->diffFile1) && !HasLines(record->diffFile2)) {
    mc->complete = true;
    return;
  }
  FindEndOfDiff2(record->diffFile1, record->diffFile2, record->info);
  merge_private::SelectDifference(mc);
}

void DoMergeFiles2(mcargs* mc) {
  DiffStuff* record = mc->record;
  merge_private::AdvanceCursor(record->diffFile1, record->diffFile1->count);
  merge_private::AdvanceCursor(record->diffFile2, record->diffFile2->count);
  if (HasLines(record->diffFile1) && HasLines(record->diffFile2)) TakeCommon2(mc);
  merge_private::ShowResultEnd(mc);
  DoMergeFiles2SelectDiff(mc);
}
