// What the benchmark programs share: timing, percentiles and the rows of
// the table they print.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace bench {

using Clock = std::chrono::steady_clock;

inline double usSince(Clock::time_point start) {
  return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

inline double percentile(std::vector<double> v, double p) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v[std::min(v.size() - 1, static_cast<size_t>(p * v.size()))];
}

inline void row(const char* what, const std::string& value, const char* target) {
  printf("%-44s %16s   %s\n", what, value.c_str(), target);
}

inline std::string fmt(const char* format, double v) {
  char buf[64];
  snprintf(buf, sizeof buf, format, v);
  return buf;
}

}  // namespace bench
