// Property: for LF files compared without options, `vdiff -u` is a patch
// that GNU patch applies to the first file to give the second byte for
// byte, whatever the edits, blank and duplicated lines, empty files and
// missing final newlines.
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "vdiff_test_util.h"

namespace {

std::string RandomText(std::mt19937& rng, std::vector<std::string> lines) {
  static const char* kWords[] = {"alpha", "beta", "", "}", "gamma delta", "{", "beta"};
  for (int e = static_cast<int>(rng() % 8); e > 0; --e) {
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

using VdiffPatchTest = vdiff_test::VdiffRun;

TEST_F(VdiffPatchTest, UnifiedDiffRebuildsTheSecondFile) {
  if (std::system("patch --version > /dev/null 2>&1") != 0) GTEST_SKIP() << "no patch";
  std::mt19937 rng(7);
  for (int n = 0; n < 60; ++n) {
    std::vector<std::string> base(rng() % 25);
    for (auto& l : base) l = "line " + std::to_string(rng() % 12);
    const std::string left = RandomText(rng, base);
    const std::string right = RandomText(rng, base);
    const auto a = s.write("a", left);
    const auto b = s.write("b", right);
    const auto r = vdiff({"-u", a, b});
    ASSERT_EQ(r.status, left == right ? 0 : 1) << "pair " << n << "\n" << r.out << r.err;
    if (r.out.empty()) {
      EXPECT_EQ(left, right);
      continue;
    }
    s.write("patch", r.out);
    const std::string command = "patch -s -o '" + (s / "out") + "' '" + a + "' < '" +
                                (s / "patch") + "' > /dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << "pair " << n << "\n" << r.out;
    EXPECT_EQ(test_support::readFile(s / "out"), right) << "pair " << n << "\n" << r.out;
    std::filesystem::remove(s / "out");
  }
  EXPECT_TRUE(tmpIsEmpty());
}

}  // namespace
