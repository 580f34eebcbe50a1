// The comparison record: the result, the compared files, their cursors and
// range lists, and stepping between differences.  Whatever a window does
// (beeping, dimming buttons, scrolling editors) goes through hooks the user
// interface fills, so the engine itself stays free of windows.
#include <initializer_list>

#include "base/gen.h"
#include "diff/diff.h"
#include "text/file.h"

namespace {

DiffUiHooks hooks = {};

void Beep() {
  if (hooks.beep) hooks.beep();
}

// Dims the next button at the last difference and the previous button at
// the first one.
void diff_DimButtons(DiffStuff* record) {
  if (!hooks.dimButtons || !record->colors1) return;
  const int count = diff_RangeCount(record->colors1);
  const int current = record->colors1->current;
  hooks.dimButtons(record, current <= 0, current >= count - 1);
}

// Shows the current difference in both editors; beeps when there is none.
void diff_ShowDiff(DiffStuff* record) {
  if (!record->colors1 ||
      !diff_GetRange(record->colors1, record->colors1->current)) {
    Beep();
    return;
  }
  if (hooks.showDiff) hooks.showDiff(record);
}

void SetCurrent(DiffStuff* record, int index) {
  if (record->colors1) record->colors1->current = index;
  if (record->colors2) record->colors2->current = index;
}

void CloseEditor(Edit* edit, bool unlock) {
  if (edit && hooks.closeEditor) hooks.closeEditor(edit, unlock);
}

}  // namespace

void diff_SetUiHooks(const DiffUiHooks* newHooks) {
  hooks = newHooks ? *newHooks : DiffUiHooks{};
}

void diff_CalculateAllDiffs(DiffStuff* record) {
  if (!record || !record->info || !record->diffFile1 || !record->diffFile2) return;
  DiffFile* d1 = record->diffFile1;
  DiffFile* d2 = record->diffFile2;
  diffInfo* info = record->info;
  for (DiffFile* d : {d1, d2}) {
    d->lineNumber = 1;
    d->current = d->f ? d->f->firstLine : nullptr;
    d->count = 0;
  }
  if (FindDiff2(d1, d2, info, false) == 0) {
    gen_printf("Files are identical.\n");
    if (hooks.destroyWindow) hooks.destroyWindow(record);
    return;
  }
  int k = 0;
  do {
    FindEndOfDiff2(d1, d2, info);
    diff_StoreRange(d1, k, record->colors1);
    diff_StoreRange(d2, k, record->colors2);
    ++k;
  } while (FindNextDiff2(d1, d2, info));
  SetCurrent(record, 0);
  diff_DimButtons(record);
  diff_ShowDiff(record);
}

DiffStuff* diff_NewRecord(diffInfo* info, file* file1, file* file2, const char* name1,
                          const char* name2, const char* title) {
  auto* record = static_cast<DiffStuff*>(gen_alloc(1, sizeof(DiffStuff)));
  record->info = info;
  record->file1 = file1;
  record->file2 = file2;
  record->name1 = gen_copy(name1);
  record->name2 = gen_copy(name2);
  record->title = gen_copy(title);
  record->command = diff_Command2;
  record->diffFile1 = init_difffile(record, file1);
  record->diffFile2 = init_difffile(record, file2);
  record->colors1 = diff_NewColorInfo();
  record->colors2 = diff_NewColorInfo();
  return record;
}

void diff_Command2(DiffStuff* record, int command) {
  if (!record || !record->colors1) return;
  const int count = diff_RangeCount(record->colors1);
  const int current = record->colors1->current;
  if (command == 1) {
    if (current + 1 < count) {
      SetCurrent(record, current + 1);
    } else {
      Beep();
    }
  } else if (command == 2) {
    if (current > 0) {
      SetCurrent(record, current - 1);
    } else {
      Beep();
    }
  }
  diff_DimButtons(record);
  diff_ShowDiff(record);
}

void diff_FindRange(DiffStuff* record, int position) {
  if (!record || !record->colors2) return;
  const int count = diff_RangeCount(record->colors2);
  for (int k = 0; k < count; ++k) {
    const RangeInfo* r = diff_GetRange(record->colors2, k);
    if (position <= r->start || position < r->end) {
      SetCurrent(record, k);
      return;
    }
  }
}

file* DiffStuff_GetFile(DiffStuff* record, int n) {
  if (!record) return nullptr;
  switch (n) {
    case 1:
      return record->file1;
    case 2:
      return record->file2;
    case 3:
      return record->file3;
    default:
      return nullptr;
  }
}

void DiffStuffDestroy(DiffStuff* record) {
  if (!record) return;
  for (file* f : {record->file1, record->file2, record->file3}) FileRemoveTemporary(f);
  CloseEditor(record->edit1, true);
  CloseEditor(record->edit2, true);
  CloseEditor(record->edit3, true);
  if (record->resultFile && !(record->resultFile->flags & FILE_MODIFIED)) {
    CloseEditor(record->resultEdit, false);
  }
  diff_free(record->info);
  diff_free(record->info2);
  FileFree(record->file1);
  FileFree(record->file2);
  FileFree(record->file3);
  gen_free(record->diffFile1);
  gen_free(record->diffFile2);
  gen_free(record->diffFile3);
  gen_free(record->title);
  gen_free(record->name1);
  gen_free(record->name2);
  gen_free(record);
}
