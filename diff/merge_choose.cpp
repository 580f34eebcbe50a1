// The user's choices at a difference, as the controller's buttons give
// them: a side's lines, a conflict block of two sources, a hand-edited
// block, nothing, or the end of the merge.
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "base/gen.h"
#include "diff/merge.h"
#include "diff/merge_private.h"
#include "text/file.h"

namespace {

using merge_private::AppendText;
using merge_private::Hooks;

void AppendString(mcargs* mc, const char* text) {
  AppendText(mc, text ? text : "", text ? static_cast<long>(strlen(text)) : 0);
}

void Step(mcargs* mc) {
  if (mc->threeWay) {
    DoMergeFiles3(mc);
  } else {
    DoMergeFiles2(mc);
  }
}

// The conflict block of two sources (mcBoth); false when the marker
// dialogue was cancelled.
bool mcBoth(mcargs* mc, DiffFile* first, DiffFile* second) {
  if (!mc->prefixGiven && !PrefixInfo(mc)) return false;
  AppendString(mc, mc->header);
  DiffFile* before = mc->newFirst ? first : second;
  DiffFile* after = mc->newFirst ? second : first;
  merge_private::PasteSource(mc, before, before == first ? mc->newPrefix : mc->oldPrefix);
  AppendString(mc, mc->separator);
  merge_private::PasteSource(mc, after, after == first ? mc->newPrefix : mc->oldPrefix);
  AppendString(mc, mc->trailer);
  return true;
}

// A source's lines of the difference, each after `prefix`, into `text`.
void Compose(std::string* text, const DiffFile* d, const char* prefix) {
  line* l = d->current;
  for (int k = 0; k < d->count && l; ++k, l = l->next) {
    const char* bytes = FileLineText(d->f, l);
    text->append(prefix ? prefix : "");
    if (bytes) text->append(bytes, static_cast<size_t>(l->length));
    text->push_back('\n');
  }
}

std::string ComposeBlock(const mcargs* mc) {
  const DiffFile* first = mc->record->diffFile1;
  const DiffFile* second = mc->record->diffFile2;
  const DiffFile* before = mc->newFirst ? first : second;
  const DiffFile* after = mc->newFirst ? second : first;
  std::string text = mc->header;
  text += "\n";
  Compose(&text, before, before == first ? mc->newPrefix : mc->oldPrefix);
  text += mc->separator;
  text += "\n";
  Compose(&text, after, after == first ? mc->newPrefix : mc->oldPrefix);
  text += mc->trailer;
  text += "\n";
  return text;
}

// Appends every line of the file `path` to the result.
void AppendFileLines(mcargs* mc, const char* path) {
  FILE* in = fopen(path, "r");
  if (!in) {
    gen_error("Can't open file %s", path);
    return;
  }
  long length = 0;
  while (const char* text = diff_fgets(in, &length)) {
    if (length > 0 && text[length - 1] == '\n') --length;
    AppendText(mc, text, length);
  }
  fclose(in);
}

// "Edit": the block composed in a scratch file, edited in "Replace
// with...", appended when accepted; false when cancelled or failed.
bool EditBlock(mcargs* mc) {
  if (!mc->prefixGiven && !PrefixInfo(mc)) return false;
  char* scratch = nullptr;
  const int fd = gen_mkstemp(gen_getsuffix(mc->record->name1), &scratch);
  if (fd < 0) {
    gen_error("Can't create temp file in %s", gen_temp_dir(nullptr));
    return false;
  }
  const std::string block = ComposeBlock(mc);
  bool ok = gen_write_all(fd, block.data(), block.size());
  close(fd);
  if (!ok) gen_error("Can't write %s", scratch);
  if (ok && Hooks().editScratch) ok = Hooks().editScratch(scratch, "Replace with...", "merge");
  if (ok) AppendFileLines(mc, scratch);
  gen_removefile(scratch);
  gen_free(scratch);
  return ok;
}

// Carries out a choice; false when nothing was taken (stay here).
bool Take(mcargs* mc, MergeChoice choice) {
  DiffStuff* r = mc->record;
  switch (choice) {
    case MERGE_FILE1:
      merge_private::PasteSource(mc, r->diffFile1, nullptr);
      return true;
    case MERGE_FILE2:
      merge_private::PasteSource(mc, r->diffFile2, nullptr);
      return true;
    case MERGE_BASE:
      if (mc->threeWay) merge_private::PasteSource(mc, r->diffFile3, nullptr);
      return mc->threeWay;
    case MERGE_BOTH:
      return mcBoth(mc, r->diffFile1, r->diffFile2);
    case MERGE_1_AND_BASE:
      return mc->threeWay && mcBoth(mc, r->diffFile1, r->diffFile3);
    case MERGE_2_AND_BASE:
      return mc->threeWay && mcBoth(mc, r->diffFile2, r->diffFile3);
    case MERGE_EDIT:
      return EditBlock(mc);
    case MERGE_SKIP:
      return true;
    case MERGE_CHANGE_BAR:
      PrefixInfo(mc);
      return false;
    case MERGE_ABORT:
      break;
  }
  return false;
}

}  // namespace

MergeOutcome merge_Choose(mcargs* mc, MergeChoice choice) {
  if (!mc) return MERGE_FAILED;
  if (choice == MERGE_ABORT) {
    mc->aborted = true;
    return merge_private::Finish(mc);
  }
  if (!mc->complete && Take(mc, choice)) Step(mc);
  if (mc->complete) return merge_private::Finish(mc);
  return MERGE_WAITING;
}

void merge_SetAuto(mcargs* mc, bool on) {
  if (mc) mc->automatic = on;
}

bool merge_Current(const mcargs* mc, RangeInfo* r1, RangeInfo* r2, RangeInfo* rBase) {
  if (!mc || mc->complete) return false;
  const DiffFile* sides[3] = {mc->record->diffFile1, mc->record->diffFile2,
                              mc->record->diffFile3};
  RangeInfo* out[3] = {r1, r2, rBase};
  for (int k = 0; k < 3; ++k) {
    if (!out[k]) continue;
    *out[k] = {};
    if (!sides[k]) continue;
    out[k]->start = sides[k]->lineNumber;
    out[k]->end = sides[k]->lineNumber + sides[k]->count;
  }
  return true;
}

MergeOutcome merge_Discard(mcargs* mc) {
  if (!mc) return MERGE_FAILED;
  mc->aborted = true;
  return merge_private::Finish(mc);
}

void* MergeController(const char* name, mcargs* mc) {
  if (Hooks().openController) mc->controller = Hooks().openController(mc, name);
  return mc->controller;
}
