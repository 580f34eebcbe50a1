// Unified-diff output for vdiff (see vdiff_unified.h).  The engine pairs a
// last line without LF with the same text ending in LF; a patch must still
// change it, so such a pair is turned into a change before hunks are made.
#include "tools/vdiff_unified.h"

#include <algorithm>
#include <vector>

#include "base/gen.h"
#include "text/file.h"

namespace {

constexpr int kContext = 3;

bool EndsWithLF(const file* f, int lineNumber) {
  return lineNumber < f->lineCount || !(f->flags & FILE_NO_FINAL_NEWLINE);
}

// Makes the common pair (i, j) that involves a last line a change when the
// two lines differ in their final newline.
void SplitLastPair(std::vector<VdiffBlock>& blocks, const file* f1, const file* f2) {
  const int n1 = static_cast<int>(f1->lineCount);
  const int n2 = static_cast<int>(f2->lineCount);
  if (n1 == 0 || n2 == 0) return;
  VdiffBlock* last = blocks.empty() ? nullptr : &blocks.back();
  int i = n1;
  int j = n2;
  if (last && last->end1 == n1 + 1 && last->end2 == n2 + 1) {
    // No common tail: the pair just before the last block may hold a last line.
    if (last->start1 <= 1 || last->start2 <= 1) return;
    i = last->start1 - 1;
    j = last->start2 - 1;
    if (i != n1 && j != n2) return;
    if (EndsWithLF(f1, i) == EndsWithLF(f2, j)) return;
    last->start1--;
    last->start2--;
    return;
  }
  if (EndsWithLF(f1, i) == EndsWithLF(f2, j)) return;
  if (last && last->end1 == n1 && last->end2 == n2) {
    last->end1++;
    last->end2++;
  } else {
    blocks.push_back({n1, n1 + 1, n2, n2 + 1});
  }
}

// A forward cursor over one file's lines.
struct LineCursor {
  file* f;
  line* current;
  int number;

  // The text of line `k` (k never goes backwards).
  const char* Text(int k, long* length) {
    while (number < k && current) {
      current = current->next;
      ++number;
    }
    *length = current ? current->length : 0;
    const char* text = current ? FileLineText(f, current) : nullptr;
    return text ? text : "";
  }
};

void PutLine(FILE* out, char mark, LineCursor& cursor, int k) {
  long length = 0;
  const char* text = cursor.Text(k, &length);
  putc(mark, out);
  fwrite(text, 1, static_cast<size_t>(length), out);
  putc('\n', out);
  if (!EndsWithLF(cursor.f, k)) fputs("\\ No newline at end of file\n", out);
}

void PutRange(FILE* out, char side, int start, int count) {
  fprintf(out, "%c%d", side, count == 0 ? start - 1 : start);
  if (count != 1) fprintf(out, ",%d", count);
}

// Writes blocks [first, last] as one hunk with its context.
void WriteHunk(FILE* out, const VdiffBlock* blocks, int first, int last, LineCursor& c1,
               LineCursor& c2, int n1) {
  const int lead = std::min(kContext, blocks[first].start1 - 1);
  const int trail = std::min(kContext, n1 + 1 - blocks[last].end1);
  const int from1 = blocks[first].start1 - lead;
  const int from2 = blocks[first].start2 - lead;
  const int to1 = blocks[last].end1 + trail;
  const int to2 = blocks[last].end2 + trail;
  fputs("@@ ", out);
  PutRange(out, '-', from1, to1 - from1);
  putc(' ', out);
  PutRange(out, '+', from2, to2 - from2);
  fputs(" @@\n", out);
  int i = from1;
  int j = from2;
  for (int b = first; b <= last; ++b) {
    for (; i < blocks[b].start1; ++i, ++j) PutLine(out, ' ', c1, i);
    for (; i < blocks[b].end1; ++i) PutLine(out, '-', c1, i);
    for (; j < blocks[b].end2; ++j) PutLine(out, '+', c2, j);
  }
  for (; i < to1; ++i) PutLine(out, ' ', c1, i);
}

}  // namespace

VdiffBlock* VdiffBlocks(DiffStuff* record, int* count) {
  std::vector<VdiffBlock> blocks;
  const int ranges = diff_RangeCount(record->colors1);
  for (int k = 0; k < ranges; ++k) {
    const RangeInfo* a = diff_GetRange(record->colors1, k);
    const RangeInfo* b = diff_GetRange(record->colors2, k);
    blocks.push_back({a->start, a->end, b->start, b->end});
  }
  SplitLastPair(blocks, record->file1, record->file2);
  *count = static_cast<int>(blocks.size());
  if (blocks.empty()) return nullptr;
  auto* result = static_cast<VdiffBlock*>(gen_alloc(*count, sizeof(VdiffBlock)));
  std::copy(blocks.begin(), blocks.end(), result);
  return result;
}

bool VdiffWriteUnified(FILE* out, DiffStuff* record, const VdiffBlock* blocks,
                       int count) {
  if (count == 0) return true;
  fprintf(out, "--- %s\n+++ %s\n", record->name1, record->name2);
  LineCursor c1{record->file1, record->file1->firstLine, 1};
  LineCursor c2{record->file2, record->file2->firstLine, 1};
  const int n1 = static_cast<int>(record->file1->lineCount);
  int first = 0;
  while (first < count) {
    int last = first;
    while (last + 1 < count && blocks[last + 1].start1 - blocks[last].end1 <= 2 * kContext) {
      ++last;
    }
    WriteHunk(out, blocks, first, last, c1, c2, n1);
    first = last + 1;
  }
  return fflush(out) == 0 && !ferror(out);
}
