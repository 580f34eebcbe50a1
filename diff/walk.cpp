// Walking a result into differences.  Two cursors step over the common
// stretches together; each difference becomes one range per side, the
// k-th ranges of the two lists describing the k-th difference.  A side
// without lines in a difference gets an empty range placed where its lines
// would have been.
#include <cassert>

#include "base/gen.h"
#include "diff/diff.h"
#include "text/file.h"

namespace {

constexpr int kRangeListCapacity = 64;

// Moves a cursor forward by `count` lines; false when it runs off its file.
bool Advance(DiffFile* d, int count, int lineCount) {
  for (int k = 0; k < count; ++k) {
    if (d->lineNumber > lineCount) return false;
    d->lineNumber++;
    if (d->current) d->current = d->current->next;
  }
  return true;
}

}  // namespace

bool DiffIdentical(file* file1, file* file2, diffInfo* info) {
  if (!info || !file1 || !file2) return false;
  int32_t i = 1;
  int32_t j = 1;
  while (i <= info->firstCount && j <= info->secondCount &&
         info->firstLines[i].matched && info->secondLines[j].matched) {
    ++i;
    ++j;
  }
  return i > info->firstCount && j > info->secondCount;
}

DiffFile* init_difffile(DiffStuff*, file* f) {
  if (!f) return nullptr;
  auto* d = static_cast<DiffFile*>(gen_alloc(1, sizeof(DiffFile)));
  d->f = f;
  d->current = f->firstLine;
  d->lineNumber = 1;
  return d;
}

int FindDiff2(DiffFile* d1, DiffFile* d2, diffInfo* info, bool stopAtEnd) {
  int32_t i = d1->lineNumber;
  int32_t j = d2->lineNumber;
  line* l1 = d1->current;
  line* l2 = d2->current;
  while (i <= info->firstCount && j <= info->secondCount && info->firstLines[i].matched &&
         info->secondLines[j].matched) {
    ++i;
    ++j;
    if (l1) l1 = l1->next;
    if (l2) l2 = l2->next;
  }
  const bool end1 = i > info->firstCount;
  const bool end2 = j > info->secondCount;
  if (stopAtEnd && end1 && end2) return -1;
  d1->lineNumber = i;
  d1->current = l1;
  d2->lineNumber = j;
  d2->current = l2;
  return (end1 && end2) ? 0 : 1;
}

void FindEndOfDiff2(DiffFile* d1, DiffFile* d2, diffInfo* info) {
  const int32_t n1 = info->firstCount;
  const int32_t n2 = info->secondCount;
  const int32_t i = d1->lineNumber;
  const int32_t j = d2->lineNumber;
  if (i > n1 || j > n2) {
    d1->count = i > n1 ? 0 : n1 - i + 1;
    d2->count = i > n1 ? n2 - j + 1 : 0;
    return;
  }
  int32_t p = i;
  while (p <= n1 && !info->firstLines[p].matched) ++p;
  if (p > n1) {
    d1->count = n1 - i + 1;
    d2->count = n2 - j + 1;
    return;
  }
  d1->count = p - i;
  d2->count = info->firstLines[p].partner - j;
  assert(d2->count >= 0 && "pairings cross after moves were resolved");
}

bool FindNextDiff2(DiffFile* d1, DiffFile* d2, diffInfo* info) {
  const DiffFile saved1 = *d1;
  const DiffFile saved2 = *d2;
  if (!Advance(d1, d1->count, info->firstCount) ||
      !Advance(d2, d2->count, info->secondCount) || FindDiff2(d1, d2, info, true) == -1) {
    *d1 = saved1;
    *d2 = saved2;
    return false;
  }
  return true;
}

bool diff_NextDifference(const diffInfo* info, int32_t* i, int32_t* j, int32_t* count1,
                         int32_t* count2) {
  const int32_t n1 = info->firstCount;
  const int32_t n2 = info->secondCount;
  while (*i <= n1 && *j <= n2 && info->firstLines[*i].matched &&
         info->secondLines[*j].matched) {
    ++*i;
    ++*j;
  }
  if (*i > n1 && *j > n2) return false;
  if (*i > n1 || *j > n2) {
    *count1 = *i > n1 ? 0 : n1 - *i + 1;
    *count2 = *i > n1 ? n2 - *j + 1 : 0;
    return true;
  }
  int32_t p = *i;
  while (p <= n1 && !info->firstLines[p].matched) ++p;
  *count1 = p - *i;
  *count2 = p > n1 ? n2 - *j + 1 : info->firstLines[p].partner - *j;
  return true;
}

void diff_StoreRange(DiffFile* d, int index, ColorInfo* colors) {
  auto* range = static_cast<RangeInfo*>(gen_alloc(1, sizeof(RangeInfo)));
  range->start = d->lineNumber;
  range->end = d->lineNumber + d->count;
  Arr_PutVal(colors->ranges, index, range);
}

ColorInfo* diff_NewColorInfo() {
  auto* colors = static_cast<ColorInfo*>(gen_alloc(1, sizeof(ColorInfo)));
  colors->ranges = Arr_New(kRangeListCapacity, gen_free);
  return colors;
}

void diff_FreeColorInfo(ColorInfo* colors) {
  if (!colors) return;
  Arr_Delete(colors->ranges);
  gen_free(colors);
}

RangeInfo* diff_GetRange(ColorInfo* colors, int index) {
  if (!colors || index < 0 || index >= Arr_GetSize(colors->ranges)) return nullptr;
  return static_cast<RangeInfo*>(Arr_GetVal(colors->ranges, index));
}

int diff_RangeCount(ColorInfo* colors) {
  return colors ? Arr_GetSize(colors->ranges) : 0;
}
