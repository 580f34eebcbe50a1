// The diffmerge command as a shell and git use it: exit statuses, the
// result written with -o, inputs left untouched and no temporary file
// left behind when the merge cannot be done, and git mergetool resolving
// a file git left conflicted (a change beside a deleted duplicate line)
// while reporting the file with a true conflict.  DISPLAY is emptied, so
// a merge that needs the windows fails instead of waiting for a user.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/test_support.h"

namespace {

using test_support::ProgramResult;
using test_support::readFile;
using test_support::runProgram;
using test_support::ScratchDir;

const std::string kDiffmerge = std::string(DIFFVIEW_BIN) + "/diffmerge";

struct Command {
  ScratchDir dir;
  std::string tmp = dir.write("tmp/.keep", "");
  std::vector<std::string> env = {"DISPLAY=", "TMPDIR=" + dir / "tmp", "HOME=" + dir.path().string(),
                                  "GIT_AUTHOR_NAME=t", "GIT_AUTHOR_EMAIL=t@example.org",
                                  "GIT_COMMITTER_NAME=t", "GIT_COMMITTER_EMAIL=t@example.org"};
  ProgramResult run(std::vector<std::string> args) { return runProgram(kDiffmerge, args, env); }
  ProgramResult git(std::vector<std::string> args) {
    args.insert(args.begin(), {"-C", dir / "repo"});
    return runProgram("git", args, env);
  }
};

TEST(DiffmergeCommand, ExitStatusResultAndUntouchedInputs) {
  Command c;
  const std::string base = c.dir.write("base", "a\nb\nc\nd\ne\n");
  const std::string one = c.dir.write("one", "A\nb\nc\nd\ne\n");
  const std::string two = c.dir.write("two", "a\nb\nc\nd\nE\n");
  const std::string out = c.dir / "out";
  ProgramResult r = c.run({"-auto", "-o", out, one, two, base});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(readFile(out), "A\nb\nc\nd\nE\n");
  // A conflict needs the windows: nothing written, the inputs as they were.
  const std::string other = c.dir.write("other", "Z\nb\nc\nd\ne\n");
  r = c.run({"-auto", "-o", c.dir / "out2", one, other, base});
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("diffmerge: error: "), std::string::npos) << r.err;
  EXPECT_FALSE(std::filesystem::exists(c.dir / "out2"));
  EXPECT_EQ(readFile(one), "A\nb\nc\nd\ne\n");
  EXPECT_EQ(readFile(other), "Z\nb\nc\nd\ne\n");
  // Trouble and nothing to do.
  r = c.run({"-auto", "-o", out, one, c.dir / "missing", base});
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("diffmerge: error: Can't open file " + c.dir / "missing"),
            std::string::npos) << r.err;
  EXPECT_EQ(c.run({"-auto", "-o", one, one, two, base}).status, 2);  // over an input
  EXPECT_EQ(readFile(one), "A\nb\nc\nd\ne\n");
  EXPECT_EQ(c.run({"-auto", one}).status, 2);
  EXPECT_EQ(c.run({"-x", one, two}).status, 2);
  r = c.run({"-auto", "-o", out, one, one, one});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("All files are identical."), std::string::npos) << r.err;
  // Without -o the result is saved beside file 1 as Merged_one.
  EXPECT_EQ(c.run({"-auto", one, two, base}).status, 0);
  EXPECT_EQ(readFile(c.dir / "Merged_one"), "A\nb\nc\nd\nE\n");
  EXPECT_EQ(c.dir.entries("tmp"), std::vector<std::string>{".keep"});
}

TEST(DiffmergeCommand, GitMergetoolResolvesWhatTheRulesResolve) {
  Command c;
  c.dir.write("repo/auto.txt", "c\nd\nc\na\na\na\nd\n");
  c.dir.write("repo/conflict.txt", "one\ntwo\nthree\n");
  ASSERT_EQ(c.git({"init", "-q", "-b", "main"}).status, 0);
  c.git({"add", "."});
  c.git({"commit", "-qm", "base"});
  c.git({"checkout", "-qb", "theirs"});
  c.dir.write("repo/auto.txt", "c\nd\nc\na\na\nd\n");  // one "a" fewer
  c.dir.write("repo/conflict.txt", "one\nTWO theirs\nthree\n");
  c.git({"commit", "-qam", "theirs"});
  c.git({"checkout", "-q", "main"});
  c.dir.write("repo/auto.txt", "c\nd\nc\na\na\na\nX\nd\n");  // X after the last "a"
  c.dir.write("repo/conflict.txt", "one\nTWO ours\nthree\n");
  c.git({"commit", "-qam", "ours"});
  ASSERT_NE(c.git({"merge", "theirs"}).status, 0);
  ASSERT_EQ(c.git({"status", "--porcelain"}).out, "UU auto.txt\nUU conflict.txt\n");
  c.git({"config", "mergetool.diffmerge.cmd",
         "'" + kDiffmerge + "' -auto -o \"$MERGED\" \"$LOCAL\" \"$REMOTE\" \"$BASE\""});
  c.git({"config", "mergetool.diffmerge.trustExitCode", "true"});
  c.git({"config", "mergetool.prompt", "false"});
  c.git({"config", "mergetool.keepBackup", "false"});
  const ProgramResult r = c.git({"mergetool", "--tool=diffmerge"});
  EXPECT_NE(r.status, 0);
  EXPECT_NE(r.err.find("merge of conflict.txt failed"), std::string::npos) << r.err;
  EXPECT_EQ(c.git({"status", "--porcelain"}).out, "M  auto.txt\nUU conflict.txt\n");
  EXPECT_EQ(readFile(c.dir / "repo/auto.txt"), "c\nd\nc\na\na\nX\nd\n");
  EXPECT_NE(readFile(c.dir / "repo/conflict.txt").find("<<<<<<< HEAD"), std::string::npos);
}

}  // namespace
