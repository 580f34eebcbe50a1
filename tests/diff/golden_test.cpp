// Golden cases: each folder here holds `left`, `right` and `expected`; the
// runner compares the two files under every option set and checks the
// ranges against the section of `expected` that names the set.  A section
// starts with "== " and a list of option sets separated by " | " ("none",
// "-b -i", ...) or "*" for every set not named elsewhere; its lines are the
// ranges ("S1,E1 S2,E2") or "identical".  The cases pin the engine's own
// pairing, so they run with the refinement of repetitive stretches off.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tests/diff/diff_test_util.h"

namespace {

namespace fs = std::filesystem;

const std::vector<std::string> kOptionSets = {
    "none", "-b", "-w", "-i", "-lang=c", "-b -i", "-w -b", "-w -i", "-lang=c -i", "-lang=c -b"};

// Option set -> expected output, with "*" filling the sets not named.
std::map<std::string, std::string> ReadExpected(const fs::path& path) {
  std::ifstream in(path);
  std::map<std::string, std::string> sections;
  std::vector<std::string> current;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    if (line.rfind("== ", 0) == 0) {
      current.clear();
      std::stringstream names(line.substr(3));
      std::string name;
      while (std::getline(names, name, '|')) {
        name.erase(0, name.find_first_not_of(' '));
        name.erase(name.find_last_not_of(' ') + 1);
        current.push_back(name);
        sections[name];
      }
      continue;
    }
    for (const auto& name : current) sections[name] += line + "\n";
  }
  if (sections.count("*")) {
    for (const auto& set : kOptionSets) {
      if (!sections.count(set)) sections[set] = sections["*"];
    }
    sections.erase("*");
  }
  return sections;
}

std::vector<std::string> Cases() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(DIFFVIEW_TESTDATA)) {
    if (fs::exists(entry.path() / "expected")) names.push_back(entry.path().filename());
  }
  std::sort(names.begin(), names.end());
  return names;
}

class GoldenTest : public ::testing::TestWithParam<std::string> {};

TEST_P(GoldenTest, MatchesExpectedRangesUnderEveryOptionSet) {
  text_test::ScratchDir scratch;
  const fs::path dir = fs::path(DIFFVIEW_TESTDATA) / GetParam();
  const auto expected = ReadExpected(dir / "expected");
  diff_test::RefineSwitch exact(false);
  ASSERT_EQ(expected.size(), kOptionSets.size()) << "every option set needs a section";
  for (const auto& set : kOptionSets) {
    ASSERT_TRUE(expected.count(set)) << set;
    diff_test::Comparison c((dir / "left").string(), (dir / "right").string(),
                            diff_test::ParseOptions(set));
    EXPECT_EQ(c.Ranges(), expected.at(set)) << GetParam() << " with " << set;
  }
  EXPECT_TRUE(scratch.Others().empty()) << "cache files left behind";
}

INSTANTIATE_TEST_SUITE_P(Cases, GoldenTest, ::testing::ValuesIn(Cases()),
                         [](const auto& info) { return info.param; });

}  // namespace
