// Ordered sets of unpaired side-1 lines per symbol (see occurrences.h).
#include "diff/occurrences.h"

#include <algorithm>
#include "diff/big_alloc.h"

namespace diff_engine {

Occurrences::~Occurrences() {
  BigFree(lines_);
  BigFree(next_);
  BigFree(previous_);
  BigFree(positionOf_);
}

bool Occurrences::Build(const diffLineTableStruct* first, int32_t count1,
                        diffSymTableStruct* symbols, int32_t symbolCount) {
  symbols_ = symbols;
  symbolCount_ = symbolCount;
  // Counting sort: firstOccurrences first serves as each bucket's fill
  // cursor, starting at the bucket's first position.
  int32_t position = 1;
  for (int32_t s = 0; s < symbolCount; ++s) {
    symbols[s].firstOccurrences = position;
    position += symbols[s].firstUnmatched;
  }
  count_ = position - 1;
  const size_t size = static_cast<size_t>(count_) + 2;
  lines_ = BigArray<int32_t>(size);
  next_ = BigArray<int32_t>(size);
  previous_ = BigArray<int32_t>(size);
  positionOf_ = BigArray<int32_t>(static_cast<size_t>(count1) + 1);
  if (!lines_ || !next_ || !previous_ || !positionOf_) return false;
  for (int32_t i = 1; i <= count1; ++i) {
    if (first[i].matched) continue;
    const int32_t p = symbols[first[i].symbol].firstOccurrences++;
    lines_[p] = i;
    positionOf_[i] = p;
  }
  // Each cursor now stands at its bucket's end; step back to the start.
  for (int32_t s = 0; s < symbolCount; ++s) {
    symbols[s].firstOccurrences -= symbols[s].firstUnmatched;
  }
  for (size_t p = 0; p < size; ++p) {
    next_[p] = static_cast<int32_t>(p);
    previous_[p] = static_cast<int32_t>(p);
  }
  return true;
}

int32_t Occurrences::BucketStart(int32_t symbol) const {
  return symbols_[symbol].firstOccurrences;
}

int32_t Occurrences::BucketEnd(int32_t symbol) const {
  return symbol + 1 < symbolCount_ ? symbols_[symbol + 1].firstOccurrences : count_ + 1;
}

int32_t Occurrences::FindNext(int32_t p) {
  while (next_[p] != p) {
    next_[p] = next_[next_[p]];
    p = next_[p];
  }
  return p;
}

int32_t Occurrences::FindPrevious(int32_t p) {
  while (previous_[p] != p) {
    previous_[p] = previous_[previous_[p]];
    p = previous_[p];
  }
  return p;
}

void Occurrences::Remove(int32_t line) {
  const int32_t p = positionOf_[line];
  if (p == 0) return;  // paired before the sets were built
  next_[p] = p + 1;
  previous_[p] = p - 1;
}

int32_t Occurrences::Above(int32_t symbol, int32_t bound) {
  const int32_t start = BucketStart(symbol);
  const int32_t end = BucketEnd(symbol);
  const int32_t* at = std::upper_bound(lines_ + start, lines_ + end, bound);
  const int32_t p = FindNext(static_cast<int32_t>(at - lines_));
  return p < end ? lines_[p] : 0;
}

int32_t Occurrences::Below(int32_t symbol, int32_t bound) {
  const int32_t start = BucketStart(symbol);
  const int32_t end = BucketEnd(symbol);
  const int32_t* at = std::lower_bound(lines_ + start, lines_ + end, bound);
  const int32_t p = FindPrevious(static_cast<int32_t>(at - lines_) - 1);
  return p >= start ? lines_[p] : 0;
}

void BuildOccurrenceLists(const diffLineTableStruct* first, int32_t count1,
                          diffSymTableStruct* symbols, int32_t symbolCount,
                          diffOccurrenceNode* nodes) {
  for (int32_t s = 0; s < symbolCount; ++s) symbols[s].firstOccurrences = -1;
  for (int32_t i = 1; i <= count1; ++i) {
    diffOccurrenceNode& node = nodes[i - 1];
    node.line = i;
    node.next = -1;
    if (first[i].matched) continue;
    diffSymTableStruct& s = symbols[first[i].symbol];
    node.next = s.firstOccurrences;
    s.firstOccurrences = i - 1;
  }
}

}  // namespace diff_engine
