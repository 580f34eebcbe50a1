// vdiff as a user runs it, with a temporary directory of its own: ranges, "Files
// are identical.", scripts, unified diffs that GNU patch applies, usage, messages
// and exit statuses for bad arguments and files, and nothing left behind, even
// when interrupted.  What options make equal is the golden cases' business.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "test_support.h"

namespace {

using test_support::ProgramResult;

const std::string kVdiff = std::string(DIFFVIEW_BIN) + "/vdiff";

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

class VdiffTest : public VdiffRun {
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
  EXPECT_EQ(help.out.rfind("usage: vdiff [-b] [-w] [-i] [-lang=c] [-refine | -norefine] "
                           "[-u | -script] FILE1 FILE2\n",
                           0),
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
      {{"/dev/zero", a}, "vdiff: error: Not a regular file (a FIFO, device or socket): /dev/zero\n"},
  };
  for (const auto& [args, message] : cases) {
    const auto r = vdiff(args);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, message);
    EXPECT_EQ(r.out, "");
  }
}

// Both output forms agree on what differs: line ends do not count, a
// missing final newline does.
TEST_F(VdiffTest, RangesAndUnifiedAgreeOnLineEnds) {
  const auto lf = s.write("lf", "a\nb\n");
  struct Case {
    std::string other, ranges;
  } cases[] = {
      {s.write("crlf", "a\r\nb\r\n"), "Files are identical.\n"},
      {s.write("nofinal", "a\nb"), "2,3 2,3\n"},
      {s.write("crlfnofinal", "a\r\nb"), "2,3 2,3\n"},
  };
  for (const Case& c : cases) {
    const auto ranges = vdiff({lf, c.other});
    const auto unified = vdiff({"-u", lf, c.other});
    EXPECT_EQ(ranges.out, c.ranges) << c.other;
    EXPECT_EQ(ranges.status, unified.status) << c.other;
    EXPECT_EQ(unified.out.find("\\ No newline at end of file") != std::string::npos,
              c.ranges != "Files are identical.\n")
        << unified.out;
  }
}

// Limits: under a small address-space limit a small pair still compares
// (the heap is not grown in steps larger than the limit allows); beyond
// the engine's line limit the message says which limit was hit.
TEST_F(VdiffTest, LimitsAreKeptOrNamed) {
  const auto a = s.write("a", "x\ny\n");
  const auto b = s.write("b", "x\nz\n");
  const auto limited = test_support::runProgram(
      "/bin/sh", {"-c", "ulimit -v 100000 && exec " + kVdiff + " \"$0\" \"$1\"", a, b},
      {"TMPDIR=" + tmp});
  EXPECT_EQ(limited.status, 1) << limited.err;
  EXPECT_EQ(limited.out, "2,3 2,3\n");
  std::string lines;
  lines.reserve(9000000 * 8);
  for (int i = 0; i < 9000000; i++) lines += "l\n";
  const auto big = s.write("big", lines);
  const auto r = vdiff({big, big});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err,
            "vdiff: error: Out of memory in diff.\n"
            "vdiff: error: The two files have 18000000 lines together; at most 16777214 can "
            "be compared.\n");
}

// vdiff streams the files and writes no cache file: a full temporary
// directory (a small tmpfs in a mount namespace of the test's own) does
// not stop it.
TEST_F(VdiffTest, NeedsNoTemporarySpace) {
  const auto big = s.write("big", std::string(200000, 'x') + "\n");
  const std::string script = "mount -t tmpfs -o size=64k tmpfs \"$1\" || exit 99; exec " +
                             kVdiff + " \"$0\" \"$0\"";
  auto r = test_support::runProgram("/usr/bin/unshare", {"-m", "sh", "-c", script, big, tmp},
                                    {"TMPDIR=" + tmp});
  if (r.status != 0)
    r = test_support::runProgram("/usr/bin/unshare", {"-rm", "sh", "-c", script, big, tmp},
                                 {"TMPDIR=" + tmp});
  if (r.status == 99 || r.status == 1) GTEST_SKIP() << "no mount namespace here: " << r.err;
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "Files are identical.\n");
}

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

// For LF files compared without options, `vdiff -u` is a patch that GNU
// patch applies to the first file to give the second byte for byte.
using VdiffPatchTest = VdiffRun;

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
    const auto r = vdiff({n % 2 ? "-norefine" : "-refine", "-u", a, b});
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

// The first file is a sparse file of 4 GiB: reading it takes far longer than
// the test waits before it sends the signal.
using CleanupTest = VdiffRun;

TEST_F(CleanupTest, SignalsWhileReadingEndTheRunAndLeaveNothing) {
  const std::string big = s.write("big", "");
  ASSERT_EQ(truncate(big.c_str(), 4L << 30), 0);
  const std::string other = s.write("other", "some text\n");
  for (int sig : {SIGTERM, SIGINT, SIGHUP}) {
    const pid_t pid = test_support::startProgram(kVdiff, {big, other}, {"TMPDIR=" + tmp},
                                                 s / "out", s / "err");
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    kill(pid, sig);
    EXPECT_EQ(test_support::waitProgram(pid), 2) << sig;
    EXPECT_TRUE(tmpIsEmpty()) << sig;
    if (sig == SIGINT) {
      EXPECT_NE(test_support::readFile(s / "err").find("Halted"), std::string::npos);
    }
  }
}

}  // namespace
