// The three-way walk over two comparisons that share the base as their
// first side (info: base against file 1, info2: base against file 2).  A
// stretch is common when its base line is paired in both comparisons and
// the lines of file 1 and file 2 facing it are paired too; a difference
// runs to the next base line paired in both.
#include <cstring>

#include "diff/merge.h"
#include "diff/merge_private.h"
#include "text/file.h"

namespace {

int32_t Remaining(const DiffFile* d, int32_t count) { return count - d->lineNumber + 1; }

}  // namespace

bool FindDiff3(DiffFile* d1, DiffFile* d2, DiffFile* base, diffInfo* info, diffInfo* info2) {
  const diffLineTableStruct* b1 = info->firstLines;
  const diffLineTableStruct* b2 = info2->firstLines;
  const diffLineTableStruct* s1 = info->secondLines;
  const diffLineTableStruct* s2 = info2->secondLines;
  int32_t b = base->lineNumber;
  int32_t i = d1->lineNumber;
  int32_t j = d2->lineNumber;
  const int32_t start = b;
  while (b <= info->firstCount && i <= info->secondCount && j <= info2->secondCount &&
         b1[b].matched && b2[b].matched && s1[i].matched && s2[j].matched) {
    ++b;
    ++i;
    ++j;
  }
  const int32_t moved = b - start;
  merge_private::AdvanceCursor(base, moved);
  merge_private::AdvanceCursor(d1, moved);
  merge_private::AdvanceCursor(d2, moved);
  return b <= info->firstCount || i <= info->secondCount || j <= info2->secondCount;
}

void FindEndOfDiff3(DiffFile* d1, DiffFile* d2, DiffFile* base, diffInfo* info,
                    diffInfo* info2) {
  const int32_t nb = info->firstCount;
  const int32_t n1 = info->secondCount;
  const int32_t n2 = info2->secondCount;
  const int32_t b = base->lineNumber;
  const bool allHaveLines = b <= nb && d1->lineNumber <= n1 && d2->lineNumber <= n2;
  if (!allHaveLines) {
    base->count = b <= nb ? Remaining(base, nb) : 0;
    d1->count = d1->lineNumber <= n1 ? Remaining(d1, n1) : 0;
    d2->count = d2->lineNumber <= n2 ? Remaining(d2, n2) : 0;
    return;
  }
  int32_t p = b;
  while (p <= nb && !(info->firstLines[p].matched && info2->firstLines[p].matched)) ++p;
  if (p > nb) {
    base->count = Remaining(base, nb);
    d1->count = Remaining(d1, n1);
    d2->count = Remaining(d2, n2);
    return;
  }
  base->count = p - b;
  d1->count = info->firstLines[p].partner - d1->lineNumber;
  d2->count = info2->firstLines[p].partner - d2->lineNumber;
}

bool AreSame(DiffFile* dA, DiffFile* dB, diffInfo* info, diffInfo* info2,
             const diffLineTableStruct* baseLines) {
  if (dA->count != dB->count) return false;
  if (baseLines) {
    for (int k = 0; k < dB->count; ++k) {
      if (!baseLines[dB->lineNumber + k].matched) return false;
    }
    return true;
  }
  for (int k = 0; k < dA->count; ++k) {
    const int32_t i = dA->lineNumber + k;
    const int32_t j = dB->lineNumber + k;
    if (info->hashes[info->secondLines[i].symbol] != info2->hashes[info2->secondLines[j].symbol]) {
      return false;
    }
    long lengthA = 0;
    long lengthB = 0;
    const char* a = diff_LineText(info, 2, i, &lengthA);
    const char* t = diff_LineText(info2, 2, j, &lengthB);
    if (lengthA != lengthB || memcmp(a, t, static_cast<size_t>(lengthA)) != 0) return false;
  }
  return true;
}
