// The unpaired side-1 lines of each symbol, as ordered sets.  The pairing
// passes ask for the lowest line above a bound and the highest line below
// one; a plain list would make those walks quadratic on files full of
// duplicates.  Each symbol's lines sit in ascending order in one shared
// array; paired lines are skipped through two union-find links (next and
// previous unpaired position), so every query costs a binary search and
// near-constant skipping; each line's position is recorded, so taking it
// out costs nothing more.  Lines only leave the sets while they are in use.
// The sets are built when the duplicate passes begin, from the lines still
// unpaired then, so on similar files they stay small.
#pragma once

#include <cstdint>

#include "diff/diff.h"

namespace diff_engine {

class Occurrences {
 public:
  Occurrences() = default;
  ~Occurrences();
  Occurrences(const Occurrences&) = delete;
  Occurrences& operator=(const Occurrences&) = delete;

  // Groups the unpaired side-1 lines by symbol.  Uses the symbols'
  // firstOccurrences fields as bucket starts until the lists are rebuilt,
  // and their firstUnmatched counts.  False when memory runs out.
  bool Build(const diffLineTableStruct* first, int32_t count1,
             diffSymTableStruct* symbols, int32_t symbolCount);
  // Takes side-1 line `line` out of its symbol's set.
  void Remove(int32_t line);
  // The lowest unpaired line of `symbol` above `bound`, or 0.
  int32_t Above(int32_t symbol, int32_t bound);
  // The highest unpaired line of `symbol` below `bound`, or 0.
  int32_t Below(int32_t symbol, int32_t bound);

 private:
  int32_t BucketStart(int32_t symbol) const;
  int32_t BucketEnd(int32_t symbol) const;
  int32_t FindNext(int32_t position);
  int32_t FindPrevious(int32_t position);

  const diffSymTableStruct* symbols_ = nullptr;
  int32_t symbolCount_ = 0;
  int32_t count_ = 0;  // unpaired side-1 lines when built
  // Positions 1..count_ hold lines; 0 and count_ + 1 are sentinels.
  int32_t* lines_ = nullptr;
  int32_t* next_ = nullptr;      // next_[p] == p while p is unpaired
  int32_t* previous_ = nullptr;  // previous_[p] == p while p is unpaired
  int32_t* positionOf_ = nullptr;  // side-1 line -> its position, 0 if none
};

// Rebuilds the symbols' firstOccurrences lists from the line tables: every
// unpaired side-1 line in its symbol's list, highest line first.
void BuildOccurrenceLists(const diffLineTableStruct* first, int32_t count1,
                          diffSymTableStruct* symbols, int32_t symbolCount,
                          diffOccurrenceNode* nodes);

}  // namespace diff_engine
