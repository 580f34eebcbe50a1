// vdiff as a user runs it: the built program with a temporary directory of
// its own, which a test can check is left empty.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_support.h"

namespace vdiff_test {

using test_support::ProgramResult;

inline const std::string kVdiff = std::string(DIFFVIEW_BIN) + "/vdiff";

class VdiffRun : public ::testing::Test {
 protected:
  void SetUp() override { std::filesystem::create_directories(tmp); }
  ProgramResult vdiff(const std::vector<std::string>& args) {
    return test_support::runProgram(kVdiff, args, {"TMPDIR=" + tmp});
  }
  bool tmpIsEmpty() const { return s.entries("tmp").empty(); }
  test_support::ScratchDir s;
  const std::string tmp = s / "tmp";
};

}  // namespace vdiff_test
