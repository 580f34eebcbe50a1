// vdiff's command line: the range output, "Files are identical.", the
// option switches, the edit script, the usage, and the messages and exit
// status for bad arguments and bad files.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/tools/run_vdiff.h"

namespace {

using vdiff_test::Result;
using vdiff_test::Scratch;

class VdiffTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tmp = s / "tmp";
    std::filesystem::create_directories(tmp);
  }
  void TearDown() override {
    EXPECT_TRUE(vdiff_test::Entries(tmp).empty()) << "vdiff left files in TMPDIR";
  }
  Result Vdiff(const std::vector<std::string>& args) { return vdiff_test::Run(args, tmp); }
  Scratch s;
  std::string tmp;
};

TEST_F(VdiffTest, PrintsOneLinePerDifference) {
  const auto a = s.Write("a", "A\nB\n");
  const auto b = s.Write("b", "B\nA\n");
  const Result r = Vdiff({a, b});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "1,1 1,2\n2,3 3,3\n");
  EXPECT_EQ(r.err, "");
}

TEST_F(VdiffTest, IdenticalFiles) {
  const auto a = s.Write("a", "same\ntext\n");
  const Result r = Vdiff({a, a});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "Files are identical.\n");
  const auto empty1 = s.Write("e1", "");
  const auto empty2 = s.Write("e2", "");
  EXPECT_EQ(Vdiff({empty1, empty2}).out, "Files are identical.\n");
}

TEST_F(VdiffTest, OptionsChangeWhatIsEqual) {
  const auto a = s.Write("a", "int  x = 1;\nABC\n");
  const auto b = s.Write("b", "int x=1;\nabc\n");
  EXPECT_EQ(Vdiff({a, b}).out, "1,3 1,3\n");
  EXPECT_EQ(Vdiff({"-b", a, b}).out, "1,3 1,3\n");
  EXPECT_EQ(Vdiff({"-w", a, b}).out, "2,3 2,3\n");
  EXPECT_EQ(Vdiff({"-lang=c", a, b}).out, "2,3 2,3\n");
  EXPECT_EQ(Vdiff({"-i", a, b}).out, "1,2 1,2\n");
  const Result both = Vdiff({"-w", "-i", a, b});
  EXPECT_EQ(both.status, 0);
  EXPECT_EQ(both.out, "Files are identical.\n");
}

TEST_F(VdiffTest, BinaryAndNulBytesAreCompared) {
  const auto a = s.Write("a", std::string("\x01\x02\0x\n\xff\xfe\n", 8));
  const auto b = s.Write("b", std::string("\x01\x02\0y\n\xff\xfe\n", 8));
  const Result r = Vdiff({a, b});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "1,2 1,2\n");
}

TEST_F(VdiffTest, EditScript) {
  const auto a = s.Write("a", "X\nA\nB\n");
  const auto b = s.Write("b", "A\nB\nnew\nX");
  const Result r = Vdiff({"-script", a, b});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "m2,3\na2\nnew\nX\n");
  const auto nul = s.Write("nul", std::string("A\nB\nx\0y\n", 8));
  EXPECT_EQ(Vdiff({"-script", a, nul}).out, std::string("m2,3\na1\nx\0y\n", 12));
  const Result same = Vdiff({"-script", a, a});
  EXPECT_EQ(same.status, 0);
  EXPECT_EQ(same.out, "m1,3\n");
}

TEST_F(VdiffTest, UnifiedDiff) {
  const auto a = s.Write("a", "1\n2\n3\n4\n5\n6\n7\n8\n9\n");
  const auto b = s.Write("b", "1\n2\n3\n4\nfive\n6\n7\n8\n9");
  const Result r = Vdiff({"-u", a, b});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "--- " + a + "\n+++ " + b +
                       "\n@@ -2,8 +2,8 @@\n 2\n 3\n 4\n-5\n+five\n 6\n 7\n 8\n-9\n+9\n"
                       "\\ No newline at end of file\n");
  const Result same = Vdiff({"-u", a, a});
  EXPECT_EQ(same.status, 0);
  EXPECT_EQ(same.out, "");
}

TEST_F(VdiffTest, HelpPrintsUsage) {
  const Result r = Vdiff({"-h"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out.rfind("usage: vdiff [-b] [-w] [-i] [-lang=c] [-u | -script] FILE1 FILE2\n", 0),
            0u);
}

TEST_F(VdiffTest, BadArgumentsAreTrouble) {
  const auto a = s.Write("a", "x\n");
  for (const auto& args : std::vector<std::vector<std::string>>{
           {}, {a}, {a, a, a}, {"-q", a, a}, {"-u", "-script", a, a}, {"-script", "-b", a, a}}) {
    const Result r = Vdiff(args);
    EXPECT_EQ(r.status, 2) << testing::PrintToString(args);
    EXPECT_EQ(r.err.rfind("vdiff: error: ", 0), 0u) << r.err;
    EXPECT_EQ(r.out, "");
  }
}

TEST_F(VdiffTest, BadFilesGetTheLoaderMessages) {
  const auto a = s.Write("a", "x\n");
  const std::string missing = s / "missing";
  const std::string inFile = a + "/below";
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{missing, a}, "vdiff: error: " + missing + ": No such file or directory\n"},
      {{a, missing}, "vdiff: error: " + missing + ": No such file or directory\n"},
      {{s.path().string(), a}, "vdiff: error: Cannot edit a directory: " + s.path().string() + "\n"},
      {{a, inFile}, "vdiff: error: Invalid directory: " + inFile + "\n"},
      {{"-script", missing, a}, "vdiff: error: " + missing + ": No such file or directory\n"},
      {{"-u", a, missing}, "vdiff: error: " + missing + ": No such file or directory\n"},
  };
  for (const auto& [args, message] : cases) {
    const Result r = Vdiff(args);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, message);
    EXPECT_EQ(r.out, "");
  }
}

}  // namespace
