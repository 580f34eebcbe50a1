// Pairing lines: the unique-line pass, which anchors the comparison on
// lines that occur exactly once on each side, and growth of pairings into
// neighbouring lines with the same symbol, forwards and backwards.
#include "diff/engine.h"

#include "diff/occurrences.h"

namespace diff_engine {

void diff_matchup(int32_t i, int32_t j) {
  diffLineTableStruct& a = tables.first[i];
  diffLineTableStruct& b = tables.second[j];
  a.matched = 1;
  a.partner = j;
  b.matched = 1;
  b.partner = i;
  diffSymTableStruct& s = tables.symbols[b.symbol];
  s.secondUnmatched--;
  s.firstUnmatched--;
  if (tables.occurrences) tables.occurrences->Remove(i);
}

void diff_unmatch(int32_t i, int32_t j) {
  diffLineTableStruct& a = tables.first[i];
  diffLineTableStruct& b = tables.second[j];
  a.matched = 0;
  a.partner = a.symbol;
  b.matched = 0;
  b.partner = b.symbol;
  diffSymTableStruct& s = tables.symbols[a.symbol];
  s.firstUnmatched++;
  s.secondUnmatched++;
}

void diff_matchexact() {
  // Symbols are visited in side-2 order, which is random in the table;
  // fetching a few lines ahead keeps several misses in flight.
  constexpr int32_t kAhead = 16;
  const diffLineTableStruct* second = tables.second;
  for (int32_t j = 1; j <= tables.count2; ++j) {
    if (j + kAhead <= tables.count2) {
      __builtin_prefetch(&tables.symbols[second[j + kAhead].symbol]);
    }
    const diffSymTableStruct& s = tables.symbols[second[j].symbol];
    if (s.firstUnmatched == 1 && s.secondUnmatched == 1) {
      // The reader left the symbol's only side-1 line in firstOccurrences.
      diff_matchup(s.firstOccurrences, j);
    }
  }
}

namespace {

// Pairs i+1 with j+1 when j is paired with i and both next lines are
// unpaired with the same symbol.
bool GrowAfter(int32_t j) {
  const diffLineTableStruct* first = tables.first;
  const diffLineTableStruct* second = tables.second;
  if (!second[j].matched) return false;
  const int32_t i = second[j].partner;
  if (i >= tables.count1 || first[i + 1].matched || second[j + 1].matched) return false;
  if (first[i + 1].symbol != second[j + 1].symbol) return false;
  diff_matchup(i + 1, j + 1);
  return true;
}

}  // namespace

void diff_matchforward() {
  for (int32_t j = 1; j < tables.count2; ++j) GrowAfter(j);
}

void diff_matchbackward() {
  const diffLineTableStruct* first = tables.first;
  const diffLineTableStruct* second = tables.second;
  for (int32_t j = tables.count2 + 1; j >= 2; --j) {
    if (!second[j].matched) continue;
    const int32_t i = second[j].partner;
    if (i <= 1 || first[i - 1].matched || second[j - 1].matched) continue;
    if (first[i - 1].symbol != second[j - 1].symbol) continue;
    diff_matchup(i - 1, j - 1);
  }
}

int32_t GrowForward(int32_t j) {
  while (j < tables.count2) {
    if (!tables.second[j + 1].matched && !GrowAfter(j)) break;
    ++j;
  }
  return j;
}

}  // namespace diff_engine
