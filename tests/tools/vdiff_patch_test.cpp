// Property: for LF files compared without options, `vdiff -u` is a patch
// that GNU patch applies to the first file to give the second byte for
// byte, whatever the edits, blank and duplicated lines, empty files and
// missing final newlines.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "tests/tools/run_vdiff.h"

namespace {

using vdiff_test::Scratch;

std::string RandomText(std::mt19937& rng, const std::vector<std::string>& base) {
  std::vector<std::string> lines = base;
  const int edits = static_cast<int>(rng() % 8);
  static const char* kWords[] = {"alpha", "beta", "", "}", "gamma delta", "{", "beta"};
  for (int e = 0; e < edits; ++e) {
    const size_t at = rng() % (lines.size() + 1);
    const std::string word = kWords[rng() % std::size(kWords)];
    if (rng() % 3 == 0 && at < lines.size()) {
      lines.erase(lines.begin() + at);
    } else if (rng() % 2 == 0 && at < lines.size()) {
      lines[at] = word;
    } else {
      lines.insert(lines.begin() + at, word);
    }
  }
  std::string text;
  for (const auto& l : lines) text += l + "\n";
  if (!text.empty() && rng() % 4 == 0) text.pop_back();  // no final newline
  return text;
}

TEST(VdiffPatchTest, UnifiedDiffRebuildsTheSecondFile) {
  if (std::system("patch --version > /dev/null 2>&1") != 0) GTEST_SKIP() << "no patch";
  Scratch s;
  const std::string tmp = s / "tmp";
  std::filesystem::create_directories(tmp);
  std::mt19937 rng(7);
  for (int n = 0; n < 60; ++n) {
    std::vector<std::string> base(rng() % 25);
    for (auto& l : base) l = "line " + std::to_string(rng() % 12);
    const std::string left = RandomText(rng, base);
    const std::string right = RandomText(rng, base);
    const auto a = s.Write("a", left);
    const auto b = s.Write("b", right);
    const vdiff_test::Result r = vdiff_test::Run({"-u", a, b}, tmp);
    ASSERT_EQ(r.status, left == right ? 0 : 1) << "pair " << n << "\n" << r.out << r.err;
    s.Write("patch", r.out);
    const std::string out = s / "out";
    const std::string command = "patch -s -o '" + out + "' '" + a + "' < '" + (s / "patch") +
                                "' > /dev/null 2>&1";
    if (r.out.empty()) {
      EXPECT_EQ(left, right);
      continue;
    }
    ASSERT_EQ(std::system(command.c_str()), 0) << "pair " << n << "\n" << r.out;
    EXPECT_EQ(vdiff_test::ReadFile(out), right) << "pair " << n << "\n" << r.out;
    std::filesystem::remove(out);
  }
  EXPECT_TRUE(vdiff_test::Entries(tmp).empty());
}

}  // namespace
