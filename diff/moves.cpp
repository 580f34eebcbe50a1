// Resolving moves: where pairings cross (a block moved), the shorter of
// the two crossing runs is un-paired, so that afterwards every paired line
// lies in the same order on both sides; a moved block then reads as a
// deletion on one side and an insertion on the other.  Ties give up the
// side-2 run.
#include <cassert>

#include "diff/engine.h"

namespace diff_engine {

namespace {

// The length of the run at line k of a table: k and each following line
// whose partner field is one more than its predecessor's, paired or not,
// up to and including the end sentinel `last`.
int32_t RunLength(const diffLineTableStruct* table, int32_t k, int32_t last) {
  int32_t length = 1;
  while (k + length <= last &&
         table[k + length].partner == table[k + length - 1].partner + 1) {
    ++length;
  }
  return length;
}

// A measured run remembered until an un-pairing touches it (or the line
// that ended it), so that a long run facing many short ones is measured
// once instead of once per short run.
struct CachedRun {
  int32_t at = 0;
  int32_t length = 0;
  bool Covers(int32_t k) const { return at != 0 && k >= at && k <= at + length; }
};

int32_t Measure(CachedRun& cache, const diffLineTableStruct* table, int32_t k,
                int32_t last) {
  if (cache.at != k) {
    cache.at = k;
    cache.length = RunLength(table, k, last);
  }
  return cache.length;
}

// Un-pairs the real lines of the run [k, k + length) of side `side`
// (sentinels and lines not paired both ways stay as they are), dropping the
// other side's cached run when it is touched.
void UnpairRun(int side, int32_t k, int32_t length, CachedRun& otherCache) {
  const int32_t count = side == 1 ? tables.count1 : tables.count2;
  const diffLineTableStruct* mine = side == 1 ? tables.first : tables.second;
  const diffLineTableStruct* other = side == 1 ? tables.second : tables.first;
  const int32_t otherCount = side == 1 ? tables.count2 : tables.count1;
  for (int32_t m = k; m < k + length && m <= count; ++m) {
    if (!mine[m].matched) continue;
    const int32_t p = mine[m].partner;
    if (p < 1 || p > otherCount || !other[p].matched || other[p].partner != m) continue;
    if (otherCache.Covers(p)) otherCache.at = 0;
    if (side == 1) {
      diff_unmatch(m, p);
    } else {
      diff_unmatch(p, m);
    }
  }
}

}  // namespace

void diff_findmoves() {
  const diffLineTableStruct* first = tables.first;
  const diffLineTableStruct* second = tables.second;
  const int32_t n1 = tables.count1;
  const int32_t n2 = tables.count2;
  CachedRun runAtI, runAtJ;
  int32_t i = 1;
  int32_t j = 1;
  while (i <= n1) {
    while (i <= n1 && !first[i].matched) ++i;
    while (j <= n2 && !second[j].matched) ++j;
    if (i > n1) break;
    if (first[i].partner == j) {
      ++i;
      ++j;
      continue;
    }
    const int32_t lengthI = Measure(runAtI, first, i, n1 + 1);
    const int32_t lengthJ = j <= n2 ? Measure(runAtJ, second, j, n2 + 1) : 0;
    if (j <= n2 && lengthI >= lengthJ) {
      UnpairRun(2, j, lengthJ, runAtI);
      j += lengthJ;
    } else {
      UnpairRun(1, i, lengthI, runAtJ);
      i += lengthI;
    }
    assert(j <= n2 + 2 && "the walk over side 2 ran past its sentinel");
  }
}

}  // namespace diff_engine
