// Helpers for the engine's tests: loading two texts through the text
// model, comparing them and reading back the ranges in the form vdiff
// prints ("S1,E1 S2,E2" per difference, or "identical").
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "config/config_vars.h"
#include "diff/diff.h"
#include "tests/text/text_test_util.h"
#include "text/file.h"

namespace diff_test {

// Option words as on the command line ("-b -i"; "none" or "" for none).
inline int ParseOptions(const std::string& words) {
  const std::pair<const char*, int> bits[] = {{"-w", DIFF_IGNORE_ALL_SPACE},
                                              {"-b", DIFF_IGNORE_SPACE_AMOUNT},
                                              {"-lang=c", DIFF_C_TOKENS},
                                              {"-i", DIFF_IGNORE_CASE}};
  std::istringstream in(words);
  int options = 0;
  for (std::string w; in >> w;)
    for (const auto& [word, bit] : bits) options |= w == word ? bit : 0;
  return options;
}

// Sets the refinement of repetitive stretches for a scope.
struct RefineSwitch {
  explicit RefineSwitch(bool on) : saved(cfg_diff_refine) { cfg_diff_refine = on; }
  ~RefineSwitch() { cfg_diff_refine = saved; }
  RefineSwitch(const RefineSwitch&) = delete;
  RefineSwitch& operator=(const RefineSwitch&) = delete;
  bool saved;
};

// One comparison of two texts held in files under a scratch directory.
struct Comparison {
  file* left = nullptr;
  file* right = nullptr;
  DiffStuff* record = nullptr;
  bool identical = false;

  Comparison(const std::string& leftPath, const std::string& rightPath, int options) {
    left = FileF_File(leftPath.c_str(), 0, 0);
    right = FileF_File(rightPath.c_str(), 0, 0);
    diffInfo* info = (left && right) ? diff_merge(left, right, options) : nullptr;
    if (!info) return;
    identical = DiffIdentical(left, right, info);
    record = diff_NewRecord(info, left, right, leftPath.c_str(), rightPath.c_str(), "t");
    if (!identical) diff_CalculateAllDiffs(record);
  }
  ~Comparison() {
    if (!record) {
      FileFree(left);
      FileFree(right);
      return;
    }
    diff_FreeColorInfo(record->colors1);
    diff_FreeColorInfo(record->colors2);
    DiffStuffDestroy(record);
  }
  Comparison(const Comparison&) = delete;
  Comparison& operator=(const Comparison&) = delete;

  diffInfo* info() const { return record ? record->info : nullptr; }
  int count() const { return record ? diff_RangeCount(record->colors1) : 0; }
  RangeInfo* side1(int k) const { return diff_GetRange(record->colors1, k); }
  RangeInfo* side2(int k) const { return diff_GetRange(record->colors2, k); }

  // "S1,E1 S2,E2" lines, or "identical".
  std::string Ranges() const {
    if (!record) return "failed\n";
    if (identical) return "identical\n";
    std::string out;
    for (int k = 0; k < count(); ++k) {
      out += std::to_string(side1(k)->start) + "," + std::to_string(side1(k)->end) + " " +
             std::to_string(side2(k)->start) + "," + std::to_string(side2(k)->end) + "\n";
    }
    return out;
  }
};

}  // namespace diff_test
