// Pairing duplicated lines.  First within their gap: an unpaired side-2
// line between two paired stretches takes the lowest equal side-1 line
// inside the corresponding side-1 gap, or, where a move crosses the gap,
// the equal line closest to it.  Then whatever duplicates remain pair with
// the lowest equal side-1 line.  Each pairing grows forward into a run.
#include "diff/engine.h"

#include "diff/occurrences.h"

namespace diff_engine {

namespace {

// Finds the next paired side-2 line at or after a position.  Queries come
// in ascending order and this pass pairs lines only behind the query
// position, so one forward cursor answers them all in linear time.
class NextPairedFinder {
 public:
  // The first paired side-2 line at or after `from` (at most count2), or 0.
  int32_t From(int32_t from) {
    if (cursor_ < from) cursor_ = from;
    while (cursor_ <= tables.count2 && !tables.second[cursor_].matched) ++cursor_;
    return cursor_ <= tables.count2 ? cursor_ : 0;
  }

 private:
  int32_t cursor_ = 1;
};

// The side-1 line for side-2 line j in the window (low, high), or 0.
int32_t ChooseInGap(int32_t symbol, int32_t low, int32_t high) {
  Occurrences& sets = *tables.occurrences;
  if (high > low) {
    const int32_t candidate = sets.Above(symbol, low);
    return candidate != 0 && candidate < high ? candidate : 0;
  }
  // A move crosses the gap: the candidate closest to it.  Visiting the list
  // from its highest line down, the candidates above low come first with
  // shrinking distances, so the nearest of them is held when the first
  // (nearest) candidate below high is tested; that one wins only when it
  // is strictly nearer.
  const int32_t above = sets.Above(symbol, low);
  const int32_t below = high > 0 ? sets.Below(symbol, high) : 0;
  if (below != 0 && (above == 0 || high - below < above - low)) return below;
  return above;
}

}  // namespace

void diff_matchdupgood() {
  const diffLineTableStruct* second = tables.second;
  NextPairedFinder finder;
  int32_t low = 0;
  int32_t nextPaired = finder.From(1);
  int32_t high = nextPaired ? second[nextPaired].partner : 0;
  int32_t j = 1;
  while (j <= tables.count2) {
    if (second[j].matched) {
      while (j < tables.count2 && second[j + 1].matched) ++j;
      low = second[j].partner;
      nextPaired = finder.From(j + 1);
      if (nextPaired) high = second[nextPaired].partner;
      ++j;
      continue;
    }
    const int32_t symbol = second[j].symbol;
    const diffSymTableStruct& s = tables.symbols[symbol];
    const int32_t chosen = (s.firstUnmatched > 0 && s.secondUnmatched > 0)
                               ? ChooseInGap(symbol, low, high)
                               : 0;
    if (!chosen) {
      ++j;
      continue;
    }
    diff_matchup(chosen, j);
    const int32_t last = GrowForward(j);
    low = second[last].partner;
    if (nextPaired && last >= nextPaired) {
      nextPaired = finder.From(last + 1);
      if (nextPaired) high = second[nextPaired].partner;
    }
    j = last + 2;
  }
}

void diff_matchdup() {
  int32_t j = 1;
  while (j <= tables.count2) {
    const diffLineTableStruct& entry = tables.second[j];
    const diffSymTableStruct& s = tables.symbols[entry.symbol];
    if (entry.matched || s.firstUnmatched <= 0 || s.secondUnmatched <= 0) {
      ++j;
      continue;
    }
    diff_matchup(tables.occurrences->Above(entry.symbol, 0), j);
    j = GrowForward(j) + 2;
  }
}

}  // namespace diff_engine
