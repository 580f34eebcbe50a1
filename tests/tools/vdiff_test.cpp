// vdiff's command line: the range output, "Files are identical.", option
// words reaching the engine, the edit script, the unified diff, the usage,
// and the messages and exit status for bad arguments and bad files.  What
// the options make equal is the golden cases' business.
#include <string>

#include "vdiff_test_util.h"

namespace {

class VdiffTest : public vdiff_test::VdiffRun {
 protected:
  void TearDown() override { EXPECT_TRUE(tmpIsEmpty()) << "vdiff left files in TMPDIR"; }
};

TEST_F(VdiffTest, RangesOrIdenticalWithTheExitStatus) {
  const auto a = s.write("a", "int  x = 1;\nABC\n");
  const auto b = s.write("b", "int x=1;\nabc\n");
  const auto r = vdiff({a, b});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "1,3 1,3\n");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(vdiff({"-lang=c", a, b}).out, "2,3 2,3\n");
  EXPECT_EQ(vdiff({"-i", a, b}).out, "1,2 1,2\n");
  const auto same = vdiff({"-w", "-i", a, b});
  EXPECT_EQ(same.status, 0);
  EXPECT_EQ(same.out, "Files are identical.\n");
}

TEST_F(VdiffTest, EditScript) {
  const auto a = s.write("a", "X\nA\nB\n");
  const auto b = s.write("b", "A\nB\nnew\nX");
  const auto r = vdiff({"-script", a, b});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "m2,3\na2\nnew\nX\n");
  const auto nul = s.write("nul", std::string("A\nB\nx\0y\n", 8));
  EXPECT_EQ(vdiff({"-script", a, nul}).out, std::string("m2,3\na1\nx\0y\n", 12));
  const auto same = vdiff({"-script", a, a});
  EXPECT_EQ(same.status, 0);
  EXPECT_EQ(same.out, "m1,3\n");
}

TEST_F(VdiffTest, UnifiedDiff) {
  const auto a = s.write("a", "1\n2\n3\n4\n5\n6\n7\n8\n9\n");
  const auto b = s.write("b", "1\n2\n3\n4\nfive\n6\n7\n8\n9");
  const auto r = vdiff({"-u", a, b});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "--- " + a + "\n+++ " + b +
                       "\n@@ -2,8 +2,8 @@\n 2\n 3\n 4\n-5\n+five\n 6\n 7\n 8\n-9\n+9\n"
                       "\\ No newline at end of file\n");
  const auto same = vdiff({"-u", a, a});
  EXPECT_EQ(same.status, 0);
  EXPECT_EQ(same.out, "");
}

TEST_F(VdiffTest, HelpPrintsUsageAndBadArgumentsAreTrouble) {
  const auto help = vdiff({"-h"});
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out.rfind("usage: vdiff [-b] [-w] [-i] [-lang=c] [-u | -script] FILE1 FILE2\n", 0),
            0u);
  const auto a = s.write("a", "x\n");
  for (const auto& args : std::vector<std::vector<std::string>>{
           {}, {a}, {a, a, a}, {"-q", a, a}, {"-u", "-script", a, a}, {"-script", "-b", a, a}}) {
    const auto r = vdiff(args);
    EXPECT_EQ(r.status, 2) << testing::PrintToString(args);
    EXPECT_EQ(r.err.rfind("vdiff: error: ", 0), 0u) << r.err;
    EXPECT_EQ(r.out, "");
  }
}

TEST_F(VdiffTest, BadFilesGetTheLoaderMessages) {
  const auto a = s.write("a", "x\n");
  const std::string missing = s / "missing";
  const std::string inFile = a + "/below";
  const std::string noFile = "vdiff: error: " + missing + ": No such file or directory\n";
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{missing, a}, noFile},
      {{a, missing}, noFile},
      {{s.path().string(), a}, "vdiff: error: Cannot edit a directory: " + s.path().string() + "\n"},
      {{a, inFile}, "vdiff: error: Invalid directory: " + inFile + "\n"},
      {{"-script", missing, a}, noFile},
      {{"-u", a, missing}, noFile},
  };
  for (const auto& [args, message] : cases) {
    const auto r = vdiff(args);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, message);
    EXPECT_EQ(r.out, "");
  }
}

}  // namespace
