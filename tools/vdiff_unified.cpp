// Unified-diff output for vdiff (see vdiff_unified.h).  The engine pairs a
// last line without LF with the same text ending in LF; a patch must still
// change it, so such a pair is turned into a change before hunks are made.
#include "tools/vdiff_unified.h"

#include <algorithm>
#include <vector>

#include "base/gen.h"
#include "diff/line_reader.h"

namespace {

constexpr int kContext = 3;

bool EndsWithLF(const VdiffFiles& files, int side, int lineNumber) {
  if (side == 1) return lineNumber < files.lines1 || files.finalNewline1;
  return lineNumber < files.lines2 || files.finalNewline2;
}

// True when the file is empty or its last byte is LF.
bool FinalNewline(const char* name) {
  FILE* in = fopen(name, "rb");
  if (!in) return true;
  int last = '\n';
  if (fseek(in, -1, SEEK_END) == 0) last = getc(in);
  fclose(in);
  return last == '\n';
}

// Makes the common pair (i, j) that involves a last line a change when the
// two lines differ in their final newline.
void SplitLastPair(std::vector<VdiffBlock>& blocks, const VdiffFiles& files) {
  const int n1 = files.lines1;
  const int n2 = files.lines2;
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
    if (EndsWithLF(files, 1, i) == EndsWithLF(files, 2, j)) return;
    last->start1--;
    last->start2--;
    return;
  }
  if (EndsWithLF(files, 1, i) == EndsWithLF(files, 2, j)) return;
  if (last && last->end1 == n1 && last->end2 == n2) {
    last->end1++;
    last->end2++;
  } else {
    blocks.push_back({n1, n1 + 1, n2, n2 + 1});
  }
}

// A forward cursor over one file's lines.
struct LineCursor {
  const VdiffFiles& files;
  int side;
  DiffLineReader reader;
  int number = 0;  // the line last read
  const char* text = "";
  long length = 0;
  bool failed = false;

  LineCursor(const VdiffFiles& f, int s) : files(f), side(s) {
    if (!reader.Open(s == 1 ? f.name1 : f.name2)) failed = true;
  }

  // Reads up to line `k` (k never goes backwards).
  void Seek(int k) {
    while (number < k && !failed) {
      if (!reader.Next(&text, &length)) {
        failed = true;
        text = "";
        length = 0;
      }
      ++number;
    }
  }
};

void PutLine(FILE* out, char mark, LineCursor& cursor, int k) {
  cursor.Seek(k);
  putc(mark, out);
  fwrite(cursor.text, 1, static_cast<size_t>(cursor.length), out);
  putc('\n', out);
  if (!EndsWithLF(cursor.files, cursor.side, k)) fputs("\\ No newline at end of file\n", out);
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

VdiffFiles VdiffDescribe(const char* name1, const char* name2, const diffInfo* info) {
  return {name1, name2, info->firstCount, info->secondCount, FinalNewline(name1),
          FinalNewline(name2)};
}

VdiffBlock* VdiffBlocks(const diffInfo* info, const VdiffFiles& files, int* count) {
  std::vector<VdiffBlock> blocks;
  int32_t i = 1, j = 1, count1 = 0, count2 = 0;
  while (diff_NextDifference(info, &i, &j, &count1, &count2)) {
    blocks.push_back({i, i + count1, j, j + count2});
    i += count1;
    j += count2;
  }
  SplitLastPair(blocks, files);
  *count = static_cast<int>(blocks.size());
  if (blocks.empty()) return nullptr;
  auto* result = static_cast<VdiffBlock*>(gen_alloc(*count, sizeof(VdiffBlock)));
  std::copy(blocks.begin(), blocks.end(), result);
  return result;
}

bool VdiffWriteUnified(FILE* out, const VdiffFiles& files, const VdiffBlock* blocks,
                       int count) {
  if (count == 0) return true;
  fprintf(out, "--- %s\n+++ %s\n", files.name1, files.name2);
  LineCursor c1(files, 1);
  LineCursor c2(files, 2);
  int first = 0;
  while (first < count) {
    int last = first;
    while (last + 1 < count && blocks[last + 1].start1 - blocks[last].end1 <= 2 * kContext) {
      ++last;
    }
    WriteHunk(out, blocks, first, last, c1, c2, files.lines1);
    first = last + 1;
  }
  if (c1.failed || c2.failed) gen_error("Cannot read the files again for the unified diff");
  return fflush(out) == 0 && !ferror(out) && !c1.failed && !c2.failed;
}
