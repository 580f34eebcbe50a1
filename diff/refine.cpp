// Refinement of repetitive stretches.  On a file built from a handful of
// texts (a log, a table, generated data) almost nothing is unique, and the
// duplicate passes pair equal lines by position: near each edit they pick
// partners a little too far ahead, and equal lines are left unpaired on
// both sides.  After all the passes, each stretch of unpaired lines is
// diffed again together with a margin of the pairings around it: the
// longest common subsequence of that window (lcs.h) replaces the window's
// pairings when it pairs more lines.  Windows are bounded in size and
// edits, and all refinement together in work, so the pass stays linear; a
// window past its bound keeps the pairings it had.
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "diff/engine.h"
#include "diff/lcs.h"

namespace diff_engine {

namespace {

// In-step pairings kept around a stretch on either side: enough to undo
// the positional choices the duplicate passes made near an edit.
constexpr int32_t kMargin = 32;
// A window spans at most this many lines per side ...
constexpr int32_t kMaxWindow = 16384;
// ... and is given up past this many insertions and deletions.
constexpr int32_t kMaxEdits = 512;
// Search steps allowed per line of the two files, plus a constant.
constexpr long kWorkPerLine = 64;
constexpr long kWorkBase = 1 << 20;

struct Pairing {
  int32_t i, j;
};

class Refiner {
 public:
  Refiner()
      : budget_(kWorkBase + kWorkPerLine * (static_cast<long>(tables.count1) + tables.count2)) {}

  // Visits the pairings in side-2 order, the end sentinels last.
  void Sweep() {
    Pairing previous{0, 0};  // line 0 of both sides bounds the first window
    Remember(previous);
    for (int32_t j = 1; j <= tables.count2 + 1 && budget_ > 0; ++j) {
      if (!tables.second[j].matched) continue;
      const Pairing p{tables.second[j].partner, j};
      if (p.i <= previous.i) {
        // Crossing pairings (no move resolution): windows end here.
        if (open_) Close(previous);
        Restart(p);
      } else if (p.i != previous.i + 1 || p.j != previous.j + 1) {
        if (!open_) Open();
        inStep_ = 0;
        Remember(p);
      } else {
        Remember(p);
        if (open_ && ++inStep_ >= kMargin) Close(p);
      }
      if (open_ && (p.i - low_.i > kMaxWindow || p.j - low_.j > kMaxWindow)) Close(p);
      previous = p;
    }
    if (open_ && budget_ > 0) Close(previous);
  }

 private:
  void Remember(Pairing p) {
    ring_[ringNext_ % kRing] = p;
    ringNext_++;
    ringSize_ = std::min(ringSize_ + 1, kRing);
  }
  void Restart(Pairing p) {
    ringSize_ = 0;
    Remember(p);
  }
  // Opens a window at the pairing kMargin pairings back (or the oldest
  // one remembered), before the stretch just found.
  void Open() {
    open_ = true;
    inStep_ = 0;
    low_ = ring_[(ringNext_ - ringSize_) % kRing];
  }
  void Close(Pairing high) {
    Window(low_, high);
    open_ = false;
    Restart(high);
  }

  void Window(Pairing low, Pairing high);

  static constexpr int32_t kRing = kMargin + 2;
  Pairing ring_[kRing] = {};
  long ringNext_ = 0;
  int32_t ringSize_ = 0;
  bool open_ = false;
  int32_t inStep_ = 0;
  Pairing low_{0, 0};
  long budget_;
  std::vector<int32_t> lines1_, lines2_, symbols1_, symbols2_;
  BoundedLcs lcs_;
};

// Re-pairs the lines strictly between two pairings.  Side-1 lines paired
// outside the window (crossing pairings) stay out of it.
void Refiner::Window(Pairing low, Pairing high) {
  // Sides differing in length by more than the edits allowed cannot meet.
  if (std::abs((high.i - low.i) - (high.j - low.j)) > kMaxEdits) return;
  lines1_.clear();
  symbols1_.clear();
  for (int32_t i = low.i + 1; i < high.i; ++i) {
    const diffLineTableStruct& e = tables.first[i];
    if (e.matched && (e.partner <= low.j || e.partner >= high.j)) continue;
    lines1_.push_back(i);
    symbols1_.push_back(e.symbol);
  }
  lines2_.clear();
  symbols2_.clear();
  int32_t paired = 0;
  for (int32_t j = low.j + 1; j < high.j; ++j) {
    lines2_.push_back(j);
    symbols2_.push_back(tables.second[j].symbol);
    paired += tables.second[j].matched ? 1 : 0;
  }
  const auto n = static_cast<int32_t>(lines1_.size());
  const auto m = static_cast<int32_t>(lines2_.size());
  // Pairing more lines than now means at most this many edits.
  const int32_t edits = std::min(kMaxEdits, n + m - 2 * (paired + 1));
  if (edits < 0) return;
  if (!lcs_.Run(symbols1_.data(), n, symbols2_.data(), m, edits, &budget_)) return;
  if (static_cast<int32_t>(lcs_.pairs().size()) <= paired) return;
  for (int32_t j : lines2_) {
    if (tables.second[j].matched) diff_unmatch(tables.second[j].partner, j);
  }
  for (const BoundedLcs::Match& p : lcs_.pairs()) diff_matchup(lines1_[p.x], lines2_[p.y]);
}

}  // namespace

void diff_refine() {
  Refiner refiner;
  refiner.Sweep();
}

}  // namespace diff_engine
