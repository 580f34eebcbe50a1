// A longest common subsequence of two short symbol sequences, after Myers
// (1986), "An O(ND) difference algorithm and its variations": the greedy
// search over diagonals, with each round's furthest points kept to trace
// the path back.  Time and memory grow with the number of edits, not with
// how often a symbol repeats, so it suits stretches of repetitive text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace diff_engine {

class BoundedLcs {
 public:
  // Finds a longest common subsequence of a[0..n) and b[0..m) when they
  // differ by at most `maxEdits` insertions and deletions.  Each step of
  // the search costs one unit of `*budget`.  Returns false, leaving `pairs`
  // empty, when the edits or the budget run out first; otherwise `pairs`
  // holds the matched positions (index in a, index in b), ascending.
  bool Run(const int32_t* a, int32_t n, const int32_t* b, int32_t m, int32_t maxEdits,
           long* budget);
  struct Match {
    int32_t x, y;
  };
  const std::vector<Match>& pairs() const { return pairs_; }

 private:
  // The furthest x on diagonal k after round d (k in -d..d).
  int32_t& At(int32_t d, int32_t k) { return trace_[static_cast<size_t>(d) * d + d + k]; }
  // Where round d starts on diagonal k, before its run of equal symbols:
  // one step down from diagonal k+1 or right from k-1, whichever reaches
  // further inside the grid; -1 when neither does.  `down` tells which.
  int32_t Start(int32_t d, int32_t k, bool* down);
  void TraceBack(int32_t d, int32_t x, int32_t y);

  int32_t n_ = 0, m_ = 0;

  std::vector<int32_t> trace_;  // rounds 0..d, round d at offset d*d
  std::vector<Match> pairs_;
};

}  // namespace diff_engine
