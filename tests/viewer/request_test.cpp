// Request parsing and checking: both grammars, the option words, and every
// request error, observed through recording openers in place of windows.
#include "viewer/request.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/gen.h"
#include "viewer/diffviewer.h"
#include "test_support.h"
#include "viewer/opener.h"

namespace fs = std::filesystem;

namespace {

using Args = test_support::ArgVector;

std::string str(const char* s) { return s ? s : "(null)"; }

DiffRequest parse(Args& a, const char* fallback = nullptr, int options = 0) {
  return diff_ParseRequest(a.argc, a.argv(), fallback, false, false, options);
}

// A request as one line: the kind, then each side as file@version#date,
// then the extra words.
std::string describe(const DiffRequest& r) {
  std::string out = r.kind == DiffRequest::NoFile    ? "none"
                    : r.kind == DiffRequest::OneName ? "one"
                                                     : "two";
  out += " " + str(r.file1) + "@" + str(r.version1) + "#" + str(r.date1);
  out += " " + str(r.file2) + "@" + str(r.version2) + "#" + str(r.date2);
  for (const char* e : r.extra) out += std::string(" +") + e;
  return out;
}

TEST(RequestGrammar, BothGrammarsAndTheFallbackFile) {
  const struct {
    std::vector<std::string> words;
    const char* fallback;
    const char* request;
  } cases[] = {
      {{"-b"}, nullptr, "none (null)@(null)#(null) (null)@(null)#(null)"},
      {{}, "fb", "one fb@(null)#(null) (null)@(null)#(null)"},
      {{"a"}, nullptr, "one a@(null)#(null) (null)@(null)#(null)"},
      {{"a"}, "fb", "two a@(null)#(null) fb@(null)#(null)"},
      {{"a", "b", "c", "d"}, nullptr, "two a@(null)#(null) b@(null)#(null) +c +d"},
      // A bare -v at the end: no version, the file against itself.
      {{"f", "-v"}, nullptr, "two f@(null)#(null) f@(null)#(null)"},
      {{"f", "-v1.2"}, nullptr, "two f@1.2#(null) f@(null)#(null)"},
      {{"f", "-v", "1.1", "g", "-v1.3"}, nullptr, "two f@1.1#(null) g@1.3#(null)"},
      {{"f", "g", "-v", "2.0"}, nullptr, "two f@(null)#(null) g@2.0#(null)"},
      {{"-r", "A", "-r", "B", "f"}, nullptr, "two f@A#(null) f@B#(null)"},
      {{"-rA", "f", "g"}, nullptr, "two f@A#(null) f@(null)#(null)"},  // g is ignored
      {{"-D2024-01-01", "-r", "1.4", "f"}, nullptr, "two f@(null)#2024-01-01 f@1.4#(null)"},
      {{"-r", "A", "-rB"}, nullptr, "none (null)@A#(null) (null)@B#(null)"},  // no file
      {{"-r", "A", "-rB"}, "fb", "two fb@A#(null) fb@B#(null)"},
  };
  for (const auto& c : cases) {
    Args a(c.words);
    EXPECT_EQ(describe(parse(a, c.fallback)), c.request) << testing::PrintToString(c.words);
  }
}

TEST(RequestGrammar, OptionWordsAreFilteredAndLaterFlagsWin) {
  Args a({"-new", "-b", "x", "-reuse", "-b", "-w", "-i", "-lang=c", "y"});
  DiffRequest r = parse(a);
  EXPECT_TRUE(r.reuse);
  EXPECT_FALSE(r.add);
  EXPECT_EQ(r.options, 15);
  EXPECT_STREQ(a.argv()[0], "x");  // compacted to the front
  EXPECT_STREQ(a.argv()[1], "y");
  EXPECT_EQ(a.argv()[2], nullptr);
  Args b({"-add", "x", "y"});
  r = parse(b);
  EXPECT_TRUE(r.add && r.reuse);  // -add implies reuse
}

// ---- DiffViewer::main with recording openers --------------------------------

// Each viewer asked for as "file1@version1#date1 file2@version2#date2 options".
std::vector<std::string> viewersOpened;
std::vector<std::string> choosersOpened;

DiffViewer* recordViewer(const char* f1, const char* v1, const char* d1, const char* f2,
                         const char* v2, const char* d2, int options) {
  viewersOpened.push_back(str(f1) + "@" + str(v1) + "#" + str(d1) + " " + str(f2) + "@" +
                          str(v2) + "#" + str(d2) + " " + std::to_string(options));
  return nullptr;
}
void recordChooser(const char* f1, const char* f2, bool, const char*, int) {
  choosersOpened.push_back(str(f1) + "|" + str(f2));
}

class DiffViewerMainTest : public ::testing::Test {
 protected:
  void SetUp() override {
    viewersOpened.clear();
    choosersOpened.clear();
    diffViewerOpeners.openViewer = recordViewer;
    diffViewerOpeners.openChooser = recordChooser;
    dir.write("a.c", "a\n");
    dir.write("b.c", "b\n");
    dir.write("sub/a.c", "a2\n");
  }
  void TearDown() override { diffViewerOpeners = {}; }
  std::string p(const std::string& name) { return dir / name; }

  // Runs a request; returns the error text ("" for none).
  std::string run(std::vector<std::string> words, int options = 0) {
    Args a(std::move(words));
    char* err = nullptr;
    DiffViewer::main(a.argc, a.argv(), nullptr, false, false, &err, nullptr, options);
    std::string text = err ? err : "";
    gen_free(err);
    return text;
  }

  test_support::ScratchDir dir;
};

TEST_F(DiffViewerMainTest, TwoReadableFilesOpenAViewer) {
  EXPECT_EQ(run({"-w", p("a.c"), p("b.c")}, 2), "");
  EXPECT_EQ(viewersOpened, std::vector<std::string>{p("a.c") + "@(null)#(null) " + p("b.c") +
                                                    "@(null)#(null) 3"});
}

// The program's messages for a directory, a missing and an empty name are
// checked end to end by the diffview command's tests; here each side.
TEST_F(DiffViewerMainTest, DirectoryAndUnreadableSides) {
  EXPECT_EQ(run({p("missing")}), "Cannot open file for reading: " + p("missing"));
  EXPECT_EQ(run({p("sub"), p("a.c")}), "File given to diff is a directory: " + p("sub"));
  EXPECT_EQ(run({p("a.c"), p("gone")}), "Cannot open file for reading: " + p("gone"));
  EXPECT_TRUE(viewersOpened.empty());
  EXPECT_TRUE(choosersOpened.empty());
}

TEST_F(DiffViewerMainTest, UnreadableFileIsRefused) {
  if (geteuid() == 0) GTEST_SKIP() << "root reads every file";
  fs::permissions(p("b.c"), fs::perms::none);
  EXPECT_EQ(run({p("a.c"), p("b.c")}), "Cannot open file for reading: " + p("b.c"));
}

TEST_F(DiffViewerMainTest, VersionedSideNeedNotExistOnDisk) {
  EXPECT_EQ(run({p("gone"), "-v1.1", p("a.c")}), "");
  EXPECT_EQ(viewersOpened, std::vector<std::string>{p("gone") + "@1.1#(null) " + p("a.c") +
                                                    "@(null)#(null) 0"});
  EXPECT_EQ(run({"-D", "yesterday", p("gone")}),
            "Cannot open file for reading: " + p("gone"));  // side 2 is on disk
}

TEST_F(DiffViewerMainTest, DirectoryAsSecondSideTakesTheSameBaseName) {
  EXPECT_EQ(run({p("a.c"), p("sub")}), "");
  EXPECT_EQ(viewersOpened, std::vector<std::string>{p("a.c") + "@(null)#(null) " +
                                                    p("sub/a.c") + "@(null)#(null) 0"});
  EXPECT_EQ(run({p("b.c"), p("sub")}), "File given to diff is a directory: " + p("sub"));
  EXPECT_EQ(viewersOpened.size(), 1u);
}

TEST_F(DiffViewerMainTest, ExtraArgumentsAreReportedButTheViewerOpens) {
  EXPECT_EQ(run({p("a.c"), p("b.c"), "third", "fourth"}),
            "Ignoring extra arguments: third fourth");
  EXPECT_EQ(viewersOpened.size(), 1u);
}

TEST_F(DiffViewerMainTest, OneNameOpensTheChooser) {
  EXPECT_EQ(run({p("a.c")}), "");
  ASSERT_EQ(choosersOpened.size(), 1u);
  EXPECT_EQ(choosersOpened[0], p("a.c") + "|(null)");
  EXPECT_TRUE(viewersOpened.empty());
}

struct FakeViewer : DiffViewer {
  std::vector<std::string> loads;
  int raises = 0;
  void gotoRange(int) override {}
  void raiseWindow() override { raises++; }
  void loadNewDiff(const char* f1, const char*, const char*, const char* f2, const char*,
                   const char*, loadType type, int) override {
    loads.push_back(str(f1) + "|" + str(f2) + "|" + std::to_string(type));
  }
};

TEST_F(DiffViewerMainTest, ReuseAndAddLoadIntoTheLastViewer) {
  FakeViewer v;
  last_diffview = &v;
  EXPECT_EQ(run({"-reuse", p("a.c"), p("b.c")}), "");
  EXPECT_EQ(run({"-add", p("b.c"), p("a.c")}), "");
  EXPECT_EQ(run({"-new", p("a.c"), p("b.c")}), "");  // a new window is asked for
  last_diffview = nullptr;
  ASSERT_EQ(v.loads.size(), 2u);
  EXPECT_EQ(v.loads[0], p("a.c") + "|" + p("b.c") + "|1");
  EXPECT_EQ(v.loads[1], p("b.c") + "|" + p("a.c") + "|2");
  EXPECT_EQ(v.raises, 2);
  EXPECT_EQ(viewersOpened.size(), 1u);
}

}  // namespace
