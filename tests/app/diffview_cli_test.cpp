// The diffview command as a user meets it: usage, option words, request
// errors in the program's message format, toolkit switches and bad input.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "test_support.h"
#include "xvfb_server.h"

namespace {

using test_support::ProgramResult;
using test_support::runProgram;

const std::string kDiffview = std::string(DIFFVIEW_BIN) + "/diffview";

const char* const kUsage =
    "Usage (kvc-style):\n\t diffview [options] file1 [-v vers1] [file2 [-v vers2]]\n"
    "   Or (cvs-style):\n\t diffview [options] [-r rev1|-D date1] [-r rev2|-D date2] file1 [file2]\n"
    "options:\n"
    "\t-h, --help      display this usage screen\n"
    "\n"
    "\t-reuse          reuse an existing diffview window (default)\n"
    "\t-new, -noreuse  open a new diffview window\n"
    "\t-add            add to diff list, but only display if no other diffs\n"
    "\n"
    "\t-b          ignore amount of whitespace\n"
    "\t-lang=c     ignore whitespace using C tokenization\n"
    "\t-w          ignore all whitespace\n"
    "\t-i          ignore changes in case\n";

// Requests that open no window: the program still starts its toolkit, so
// the suite runs against its own X server.
class DiffviewCli : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    server = new XvfbServer;
    if (!server->start()) GTEST_SKIP() << "no Xvfb";
  }
  static void TearDownTestSuite() {
    delete server;
    server = nullptr;
  }
  static XvfbServer* server;

  void SetUp() override {
    home.write("a.txt", "one\ntwo\n");
    home.write("b.txt", "one\nthree\n");
  }

  // Served by this process's own window ("-noclient"): the hand-off to a
  // running viewer has tests of its own.
  ProgramResult run(std::vector<std::string> args) {
    args.insert(args.begin(), "-noclient");
    return runProgram(kDiffview, args, {"HOME=" + home.path().string()});
  }
  std::string p(const std::string& name) { return home / name; }

  test_support::ScratchDir home;
};

XvfbServer* DiffviewCli::server = nullptr;

TEST_F(DiffviewCli, HelpPrintsUsageAndSucceeds) {
  for (const char* word : {"-h", "--help", "-help"}) {
    ProgramResult r = run({"-b", word, "never-looked-at"});
    EXPECT_EQ(r.status, 0) << word;
    EXPECT_EQ(r.out, kUsage) << word;
    EXPECT_EQ(r.err, "") << word;
  }
  EXPECT_EQ(run({}).out, kUsage);  // nothing to compare
  EXPECT_EQ(run({"-noclient"}).out, kUsage);
}

TEST_F(DiffviewCli, MissingEmptyAndOverlongArguments) {
  ProgramResult r = run({p("a.txt"), p("nope")});
  EXPECT_EQ(r.err, "diffview: error: Cannot open file for reading: " + p("nope") + "\n");
  r = run({"", p("a.txt")});
  EXPECT_EQ(r.err, "diffview: error: Cannot open file for reading: \n");
  std::string name(20000, 'n');
  r = run({name, p("a.txt")});
  EXPECT_EQ(r.err, "diffview: error: Cannot open file for reading: " + name + "\n");
  r = run({"-b", "-new"});
  EXPECT_EQ(r.err, "diffview: error: error: no file specified to diff\n");
}

TEST_F(DiffviewCli, WithoutDisplayEndsWithStatusOne) {
  ProgramResult r = runProgram(kDiffview, {"-noclient", p("a.txt"), p("b.txt")},
                               {"HOME=" + home.path().string(), "DISPLAY=:7919"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
}

TEST_F(DiffviewCli, ToolkitSwitchesAreTakenOut) {
  ProgramResult r = run({"-XBogusSwitch", "-ZDiffViewer", "-nosplash", "/etc"});
  EXPECT_EQ(r.err, "diffview: warning: Ignoring unknown switch \"-XBogusSwitch\"\n"
                   "diffview: error: File given to diff is a directory: /etc\n");
  // Words after -run reach the request even when they look like switches.
  r = run({"-run", "-XTamsel", p("a.txt")});
  EXPECT_EQ(r.err, "diffview: error: Cannot open file for reading: -XTamsel\n");
}

TEST_F(DiffviewCli, GarbageInUserSwitchFileIsReportedNotFatal) {
  home.write(".qen/diffview.xsw", "NoSuchSwitch 1\n\xff\xfe\x01 2\nTamsel\n");
  ProgramResult r = run({"/etc"});
  std::string xsw = p(".qen/diffview.xsw");
  EXPECT_NE(r.err.find("diffview: warning: Ignoring unknown option \"NoSuchSwitch\" in \"" +
                       xsw + "\"\n"),
            std::string::npos)
      << r.err;
  EXPECT_NE(r.err.find("diffview: error: File given to diff is a directory: /etc\n"),
            std::string::npos);
  EXPECT_EQ(r.status, 2);  // refused, no window
}

TEST_F(DiffviewCli, GarbageInUserConfigurationIsReportedNotFatal) {
  std::string junk;
  for (int i = 0; i < 60; i++) junk += "no_such_option_" + std::to_string(i) + " 1\n";
  home.write(".qen/qen.cfg", junk);
  ProgramResult r = run({"/etc"});
  EXPECT_NE(r.err.find("Too many errors, aborting.\n"), std::string::npos) << r.err;
  EXPECT_EQ(r.err.find("no_such_option_55"), std::string::npos);
  EXPECT_NE(r.err.find("File given to diff is a directory: /etc"), std::string::npos);
}

// Special files among the user's files and as a compared file: each is
// named in a message and never waited for; the request is refused.
TEST_F(DiffviewCli, SpecialFilesAreRefusedNotWaitedFor) {
  home.write(".qen/syntax_coloring/README", "");
  ASSERT_EQ(mkfifo(p(".qen/qen.cfg").c_str(), 0600), 0);
  ASSERT_EQ(symlink("/dev/zero", p(".qen/diffview.xsw").c_str()), 0);
  ASSERT_EQ(mkfifo(p(".qen/syntax_coloring/index.gsc").c_str(), 0600), 0);
  ASSERT_EQ(mkfifo(p("pipe").c_str(), 0600), 0);
  ProgramResult r = run({p("pipe"), p("a.txt")});
  for (const std::string& expected :
       {"Not reading configuration file " + p(".qen/qen.cfg") + ": not a regular file\n",
        "Not reading switch file " + p(".qen/diffview.xsw") + ": not a regular file\n",
        "Not reading options file " + p(".qen/syntax_coloring/index.gsc") +
            ": not a regular file\n",
        "diffview: error: Not a regular file (a FIFO, device or socket): " + p("pipe") + "\n"})
    EXPECT_NE(r.err.find(expected), std::string::npos) << expected << "\nin:\n" << r.err;
  EXPECT_EQ(r.status, 2);
}

TEST_F(DiffviewCli, EchoedConfigurationValuesAreClipped) {
  home.write(".qen/qen.cfg", "no_such_option " + std::string(1 << 20, 'v') + "\n");
  ProgramResult r = run({"/etc"});
  EXPECT_NE(r.err.find("Unknown configuration option: no_such_option " + std::string(80, 'v') +
                       "...\n"),
            std::string::npos);
  EXPECT_LT(r.err.size(), 500u);
}

}  // namespace
