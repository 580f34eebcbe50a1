// MergeFiles: loads the sides, compares them, opens the editor windows
// (when the windows have filled the hooks) and starts the merge walk or
// the two-way comparison.
#include <unistd.h>

#include <string>

#include "base/gen.h"
#include "diff/merge.h"
#include "diff/merge_load.h"
#include "diff/merge_private.h"
#include "text/file.h"

namespace {

using merge_private::Hooks;

constexpr int kWindowGap = 20;   // between file 1's and file 2's windows
constexpr int kWindowDrop = 30;  // between the upper and the lower windows

// Compares the sides: info (base against file 1, or file 1 against file
// 2) and info2 (base against file 2); false when there is nothing to merge
// or a comparison failed.
bool Compare(MergeSides* s, diffInfo** info, diffInfo** info2, MergeOutcome* outcome) {
  *outcome = MERGE_FAILED;
  if (s->file3) {
    *info = diff_merge(s->file3, s->file1, 0);
    *info2 = *info ? diff_merge(s->file3, s->file2, 0) : nullptr;
    if (!*info2) return false;
    if (DiffIdentical(s->file3, s->file1, *info) && DiffIdentical(s->file3, s->file2, *info2)) {
      merge_private::Alert("All files are identical.");
      *outcome = MERGE_NOTHING;
      return false;
    }
    return true;
  }
  *info = diff_merge(s->file1, s->file2, 0);
  if (!*info) return false;
  if (DiffIdentical(s->file1, s->file2, *info)) {
    merge_private::Alert("Files are identical.");
    *outcome = MERGE_NOTHING;
    return false;
  }
  return true;
}

std::string Title(const MergeRequest* rq, const MergeSides& s) {
  if (rq->type != MERGE_TYPE_COMPARE && rq->type != MERGE_TYPE_COMPARE_AT) return "Merge";
  std::string title = s.file1->title ? s.file1->title : rq->files[0].name;
  title += " vs. ";
  title += s.file2->title ? s.file2->title : s.name2;
  return title;
}

mcargs* NewSession(const MergeRequest* rq, MergeSides& s, diffInfo* info, diffInfo* info2) {
  const std::string title = Title(rq, s);
  DiffStuff* record =
      diff_NewRecord(info, s.file1, s.file2, rq->files[0].name, s.name2.c_str(), title.c_str());
  record->info2 = info2;
  record->file3 = s.file3;
  record->diffFile3 = init_difffile(record, s.file3);
  record->command = nullptr;
  auto* mc = static_cast<mcargs*>(gen_alloc(1, sizeof(mcargs)));
  mc->record = record;
  mc->automatic = rq->automatic;
  mc->saveMode = rq->saveMode;
  mc->threeWay = s.file3 != nullptr;
  mc->resultName = gen_copy(rq->resultName);
  mc->colors3 = mc->threeWay ? diff_NewColorInfo() : nullptr;
  return mc;
}

// ---- windows --------------------------------------------------------------------

// An empty, new result file named `path` (not on disk until saved).
file* NewResultFile(const std::string& path) {
  char* temp = nullptr;
  const int fd = gen_mkstemp(gen_getsuffix(path.c_str()), &temp);
  if (fd < 0) return nullptr;
  close(fd);
  file* f = FileF_File(temp, 0, 0);
  gen_removefile(temp);
  gen_free(temp);
  if (!f) return nullptr;
  gen_strchange(&f->name, path.c_str());
  gen_free(f->expandedName);
  f->expandedName = gen_expand_filename(path.c_str());
  f->flags = (f->flags | FILE_NEW) & ~FILE_READONLY;
  return f;
}

Edit* Open(DiffFile* d, ColorInfo* colors, const char* label, int x, int y) {
  Edit* e = Hooks().openWindow(d->f, label, x, y, false);
  if (!e) return nullptr;
  d->edit = e;
  if (Hooks().lockFile) Hooks().lockFile(d->f, true);
  if (Hooks().setColors) Hooks().setColors(e, colors);
  return e;
}

// The windows of file 1 and file 2, and for a merge those of the base and
// the result; false when one could not be made.
bool OpenWindows(const MergeRequest* rq, mcargs* mc) {
  DiffStuff* r = mc->record;
  r->edit1 = Open(r->diffFile1, r->colors1, "File1", rq->x, rq->y);
  if (!r->edit1) return false;
  int width = 0;
  int height = 0;
  if (Hooks().windowSize) Hooks().windowSize(r->edit1, &width, &height);
  r->edit2 = Open(r->diffFile2, r->colors2, "File2", rq->x + width + kWindowGap, rq->y);
  if (!r->edit2 || rq->type != MERGE_TYPE_MERGE) return r->edit2 != nullptr;
  const int lowerY = rq->y + height + kWindowDrop;
  if (mc->threeWay) {
    r->edit3 = Open(r->diffFile3, mc->colors3, "Base", rq->x, lowerY);
    if (!r->edit3) return false;
  }
  r->resultFile = NewResultFile(merge_private::MergedName(rq->files[0].name));
  if (!r->resultFile) return false;
  const int resultX = rq->x + (mc->threeWay ? width + kWindowGap : (width + kWindowGap) / 2);
  r->resultEdit = Hooks().openWindow(r->resultFile, "Result", resultX, lowerY, true);
  return r->resultEdit != nullptr;
}

// Every difference's ranges, for the windows' colouring.
void StoreAllRanges(mcargs* mc) {
  DiffStuff* r = mc->record;
  DiffFile d1 = *r->diffFile1;
  DiffFile d2 = *r->diffFile2;
  if (!mc->threeWay) {
    diff_CalculateAllDiffs(r);
    *r->diffFile1 = d1;
    *r->diffFile2 = d2;
    return;
  }
  DiffFile base = *r->diffFile3;
  FindDiff3(&d1, &d2, &base, r->info, r->info2);
  for (int k = 0; merge_private::HasLines(&d1) || merge_private::HasLines(&d2); ++k) {
    FindEndOfDiff3(&d1, &d2, &base, r->info, r->info2);
    diff_StoreRange(&d1, k, r->colors1);
    diff_StoreRange(&d2, k, r->colors2);
    diff_StoreRange(&base, k, mc->colors3);
    for (DiffFile* d : {&d1, &d2, &base}) merge_private::AdvanceCursor(d, d->count);
    if (merge_private::HasLines(&d1) && merge_private::HasLines(&d2)) {
      FindDiff3(&d1, &d2, &base, r->info, r->info2);
    }
  }
}

// Types 1 and 2: the comparison in two windows with the step controller.
MergeOutcome StartComparison(const MergeRequest* rq, mcargs* mc) {
  DiffStuff* record = mc->record;
  mc->record = nullptr;
  merge_private::Release(mc);
  record->command = diff_Command2;
  diff_CalculateAllDiffs(record);
  if (rq->type == MERGE_TYPE_COMPARE_AT && rq->range) {
    diff_FindRange(record, rq->range->start);
    diff_Command2(record, 0);
  }
  if (!Hooks().openStepController || !Hooks().openStepController(record)) {
    MergeCompareClose(record);
    return MERGE_FAILED;
  }
  return MERGE_COMPARING;
}

MergeOutcome StartMerge(const MergeRequest* rq, mcargs* mc, mcargs** session) {
  MergeController(rq->files[0].name, mc);
  if (rq->type != MERGE_TYPE_MERGE) {
    *session = mc;
    return MERGE_WAITING;
  }
  if (mc->threeWay) {
    MergeFiles3(mc);
  } else {
    MergeFiles2(mc);
  }
  if (mc->complete) return merge_private::Finish(mc);
  *session = mc;
  return MERGE_WAITING;
}

}  // namespace

MergeOutcome MergeFiles(const MergeRequest* rq, mcargs** session) {
  mcargs* ignored = nullptr;
  if (!session) session = &ignored;
  *session = nullptr;
  MergeSides sides;
  if (!merge_LoadSides(rq, &sides)) return sides.nothingToDo ? MERGE_NOTHING : MERGE_FAILED;
  diffInfo* info = nullptr;
  diffInfo* info2 = nullptr;
  MergeOutcome outcome = MERGE_FAILED;
  if (!Compare(&sides, &info, &info2, &outcome)) {
    diff_free(info);
    diff_free(info2);
    merge_FreeSides(&sides);
    return outcome;
  }
  mcargs* mc = NewSession(rq, sides, info, info2);
  const bool comparison = rq->type == MERGE_TYPE_COMPARE || rq->type == MERGE_TYPE_COMPARE_AT;
  if (Hooks().openWindow) {
    if (!OpenWindows(rq, mc)) {
      gen_error("Can't open the editor windows");
      merge_private::Release(mc);
      return MERGE_FAILED;
    }
    if (!comparison) StoreAllRanges(mc);
  } else {
    if (comparison) {
      gen_error("The comparison needs the editor windows");
      merge_private::Release(mc);
      return MERGE_FAILED;
    }
    mc->store = new MergeResultStore;
  }
  if (comparison) return StartComparison(rq, mc);
  return StartMerge(rq, mc, session);
}
