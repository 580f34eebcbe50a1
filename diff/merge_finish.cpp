// The end of a merge: the controller goes, the result is saved as the
// save mode says (never after an abort, never over an input the mode does
// not name), and everything the merge made is released.
#include <unistd.h>

#include <string>

#include "base/gen.h"
#include "diff/merge_private.h"
#include "text/file.h"

namespace merge_private {

namespace {

// The disk file a side stands for: the file a copy was made from.
const char* SourceOf(const file* f) {
  if (!f) return nullptr;
  return f->sourceName ? f->sourceName : f->name;
}

// False, after a message, when `path` is one of the merge's inputs that
// the save mode does not name (it names file 1 unless it is 0).
bool NotAnInput(const mcargs* mc, const char* path) {
  const DiffStuff* r = mc->record;
  for (const file* f : {r->file1, r->file2, r->file3}) {
    if (f == r->file1 && mc->saveMode != 0) continue;
    const char* source = SourceOf(f);
    if (source && gen_samefile(source, path)) {
      gen_error("Not writing the result over an input: %s", path);
      return false;
    }
  }
  return true;
}

MergeOutcome SaveAt(mcargs* mc, const char* path) {
  if (!NotAnInput(mc, path)) return MERGE_NOT_SAVED;
  if (HasWindows(mc) && Hooks().saveOver) {
    return Hooks().saveOver(mc->record->resultFile, path) ? MERGE_SAVED : MERGE_NOT_SAVED;
  }
  return SaveResult(mc, path) ? MERGE_SAVED : MERGE_NOT_SAVED;
}

// Save mode 0: under the name chosen beforehand, else the one the user
// chooses, else (headless) the result's own name.
MergeOutcome SaveChosen(mcargs* mc) {
  if (mc->resultName) return SaveAt(mc, mc->resultName);
  if (HasWindows(mc) && Hooks().saveAs) {
    return Hooks().saveAs(mc->record->resultFile, mc->record->resultEdit) ? MERGE_SAVED
                                                                         : MERGE_NOT_SAVED;
  }
  const std::string merged = MergedName(mc->record->name1);
  return SaveAt(mc, merged.c_str());
}

std::string ResultText(mcargs* mc) {
  if (!mc->store) return FileText(mc->record->resultFile);
  std::string text = mc->store->bytes;
  if (mc->store->noFinalNewline && !text.empty()) text.pop_back();
  return text;
}

bool CheckOut(const char* name) {
  if (Hooks().checkOut) return Hooks().checkOut(name);
  return access(name, W_OK) == 0;
}

// Save mode negative: file 1 takes the result, unless it equals file 2.
MergeOutcome SaveBack(mcargs* mc) {
  DiffStuff* r = mc->record;
  const bool windows = HasWindows(mc) && Hooks().replaceContents;
  if (ResultText(mc) == FileText(r->file2)) {
    if (windows) Hooks().replaceContents(r->edit1, r->resultFile, true);
    return MERGE_NOT_SAVED;
  }
  const char* target = SourceOf(r->file1);
  if (!CheckOut(target)) {
    gen_error("Can't check out %s", target);
    return MERGE_NOT_SAVED;
  }
  if (!windows) return SaveResult(mc, target) ? MERGE_SAVED : MERGE_NOT_SAVED;
  Hooks().replaceContents(r->edit1, r->resultFile, false);
  return MERGE_SAVED;
}

MergeOutcome Save(mcargs* mc) {
  if (mc->aborted) return MERGE_ABORTED;
  if (mc->saveMode < 0) return SaveBack(mc);
  if (mc->saveMode == 0) return SaveChosen(mc);
  return SaveAt(mc, SourceOf(mc->record->file1));
}

void CloseWindows(DiffStuff* r) {
  for (Edit** e : {&r->edit1, &r->edit2, &r->edit3, &r->resultEdit}) {
    if (*e && Hooks().closeWindow) Hooks().closeWindow(*e);
    *e = nullptr;
  }
  if (!Hooks().lockFile) return;
  for (file* f : {r->file1, r->file2, r->file3}) {
    if (f && (f->flags & FILE_LOCKED)) Hooks().lockFile(f, false);
  }
}

}  // namespace

void ReleaseRecord(DiffStuff* r) {
  if (!r) return;
  CloseWindows(r);
  diff_FreeColorInfo(r->colors1);
  diff_FreeColorInfo(r->colors2);
  r->colors1 = r->colors2 = nullptr;
  FileFree(r->resultFile);
  r->resultFile = nullptr;
  DiffStuffDestroy(r);
}

void Release(mcargs* mc) {
  ReleaseRecord(mc->record);
  diff_FreeColorInfo(mc->colors3);
  delete mc->store;
  for (char* s : {mc->header, mc->separator, mc->trailer, mc->newPrefix, mc->oldPrefix,
                  mc->resultName}) {
    gen_free(s);
  }
  gen_free(mc);
}

MergeOutcome Finish(mcargs* mc) {
  if (mc->controller && Hooks().closeController) Hooks().closeController(mc);
  mc->controller = nullptr;
  const MergeOutcome outcome = Save(mc);
  Release(mc);
  if (Hooks().finished) Hooks().finished(outcome);
  return outcome;
}

}  // namespace merge_private

void MergeCompareClose(DiffStuff* record) { merge_private::ReleaseRecord(record); }
