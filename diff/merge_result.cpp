// The result of a merge as the walk builds it: through the result window
// when the merge has windows, else into the headless line store.  Lines
// are copied straight from the sides' text; the only buffers are the
// store itself and one reused line for prefixed window appends.
#include <string>
#include <string_view>

#include "base/gen.h"
#include "diff/merge_private.h"
#include "text/file.h"

namespace merge_private {

namespace {

bool WindowResult(const mcargs* mc) {
  return Hooks().appendLine && mc->record->resultFile;
}

void StoreLine(MergeResultStore* store, const char* prefix, const char* text, long length,
               bool noNewline) {
  if (prefix) store->bytes.append(prefix);
  store->bytes.append(text, static_cast<size_t>(length));
  store->bytes.push_back('\n');
  store->lineCount++;
  store->noFinalNewline = noNewline;
}

void WindowLine(mcargs* mc, const char* prefix, const char* text, long length) {
  if (!prefix || !*prefix) {
    Hooks().appendLine(mc->record->resultFile, text, length);
    return;
  }
  static std::string joined;
  joined.assign(prefix);
  joined.append(text, static_cast<size_t>(length));
  Hooks().appendLine(mc->record->resultFile, joined.data(), static_cast<long>(joined.size()));
}

}  // namespace

void AppendLines(mcargs* mc, const DiffFile* d, int count, const char* prefix) {
  file* f = d->f;
  const bool noFinal = f->flags & FILE_NO_FINAL_NEWLINE;
  line* l = d->current;
  for (int k = 0; k < count && l; ++k, l = l->next) {
    const char* text = FileLineText(f, l);
    if (!text) {
      gen_error("Can't read file %s", f->name);
      return;
    }
    if (WindowResult(mc)) {
      WindowLine(mc, prefix, text, l->length);
    } else {
      StoreLine(mc->store, prefix, text, l->length, noFinal && !l->next);
    }
  }
}

void AppendText(mcargs* mc, const char* text, long length) {
  if (WindowResult(mc)) {
    Hooks().appendLine(mc->record->resultFile, text, length);
  } else {
    StoreLine(mc->store, nullptr, text, length, false);
  }
}

void PasteSource(mcargs* mc, DiffFile* d, const char* prefix) {
  if (Hooks().pasteSelection && d->edit && mc->record->resultEdit) {
    Hooks().pasteSelection(d->edit, mc->record->resultEdit, prefix ? prefix : "");
    return;
  }
  AppendLines(mc, d, d->count, prefix);
}

void SelectDifference(mcargs* mc) {
  if (!Hooks().selectLines) return;
  DiffStuff* record = mc->record;
  for (DiffFile* d : {record->diffFile1, record->diffFile2, record->diffFile3}) {
    if (d && d->edit) Hooks().selectLines(d->edit, d->lineNumber, d->count);
  }
  if (record->resultEdit && record->resultFile) {
    Hooks().selectLines(record->resultEdit, static_cast<int>(record->resultFile->lineCount) + 1,
                        0);
  }
}

void ShowResultEnd(mcargs* mc) {
  if (Hooks().showEnd && mc->record->resultEdit) Hooks().showEnd(mc->record->resultEdit);
}

bool SaveResult(mcargs* mc, const char* path) {
  if (!mc->store) return WriteFileAtomically(path, FileText(mc->record->resultFile));
  const std::string& bytes = mc->store->bytes;
  size_t length = bytes.size();
  if (mc->store->noFinalNewline && length > 0) --length;
  return WriteFileAtomically(path, std::string_view(bytes.data(), length));
}

}  // namespace merge_private
