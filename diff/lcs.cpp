// Bounded greedy LCS search (see lcs.h).
#include "diff/lcs.h"

#include <algorithm>

namespace diff_engine {

int32_t BoundedLcs::Start(int32_t d, int32_t k, bool* down) {
  int32_t viaDown = -1, viaRight = -1;
  if (k + 1 <= d - 1) {
    const int32_t x = At(d - 1, k + 1);
    if (x >= 0 && x - k <= m_) viaDown = x;
  }
  if (k - 1 >= -(d - 1)) {
    const int32_t x = At(d - 1, k - 1);
    if (x >= 0 && x + 1 <= n_) viaRight = x + 1;
  }
  *down = viaDown >= viaRight;
  return std::max(viaDown, viaRight);
}

bool BoundedLcs::Run(const int32_t* a, int32_t n, const int32_t* b, int32_t m,
                     int32_t maxEdits, long* budget) {
  pairs_.clear();
  n_ = n;
  m_ = m;
  const int32_t limit = std::min(maxEdits, n + m);
  for (int32_t d = 0; d <= limit && *budget > 0; ++d) {
    trace_.resize(static_cast<size_t>(d + 1) * (d + 1));
    for (int32_t k = -d; k <= d; k += 2) {
      bool down = false;
      int32_t x = d == 0 ? 0 : Start(d, k, &down);
      At(d, k) = x;
      if (x < 0) continue;
      int32_t y = x - k;
      const int32_t from = x;
      while (x < n && y < m && a[x] == b[y]) {
        ++x;
        ++y;
      }
      *budget -= x - from + 1;
      At(d, k) = x;
      if (x == n && y == m) {
        TraceBack(d, x, y);
        return true;
      }
    }
  }
  return false;
}

void BoundedLcs::TraceBack(int32_t d, int32_t x, int32_t y) {
  for (int32_t e = d; e > 0; --e) {
    const int32_t k = x - y;
    bool down = false;
    const int32_t start = Start(e, k, &down);
    while (x > start) {
      --x;
      --y;
      pairs_.push_back({x, y});
    }
    const int32_t previous = down ? k + 1 : k - 1;
    x = At(e - 1, previous);
    y = x - previous;
  }
  while (x > 0) {
    --x;
    --y;
    pairs_.push_back({x, y});
  }
  std::reverse(pairs_.begin(), pairs_.end());
}

}  // namespace diff_engine
