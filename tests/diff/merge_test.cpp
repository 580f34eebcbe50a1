// The merge model without windows: the three-way walk with auto mode on
// generated cases, agreement with git merge-file over many random edits
// (conflicts resolved as git marks them), the two-way Skip walk, the
// default markers, and the messages for bad and identical inputs.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdarg>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/gen.h"
#include "diff/merge.h"
#include "tests/support/test_support.h"
#include "text/file.h"

namespace {

using test_support::ScratchDir;

// The messages of the program's message facility while it lives.
struct Messages {
  static inline std::vector<std::string> said;
  gen_domessage_fn saved = gen_domessage;
  Messages() { said.clear(), gen_domessage = Capture; }
  ~Messages() { gen_domessage = saved; }
  static int Capture(int, const char* format, va_list args) {
    char text[1024];
    vsnprintf(text, sizeof text, format, args);
    said.push_back(text);
    return 0;
  }
  static bool Has(const std::string& text) {
    for (const std::string& s : said)
      if (s == text) return true;
    return false;
  }
};

struct Outcome {
  MergeOutcome outcome;
  std::string result;  // the saved result, "" when none
  std::vector<RangeInfo> stops;  // file 1's range at every stop
};

using Chooser = std::function<MergeChoice(mcargs*)>;

// Merges one and two (against base unless it is null) in `dir`, answering
// every stop with `choose`.
Outcome Merge(const ScratchDir& dir, const char* base, const std::string& one,
              const std::string& two, bool automatic, const Chooser& choose,
              const char* suffix = ".txt") {
  const std::string name1 = dir.write(std::string("one") + suffix, one);
  const std::string name2 = dir.write("two.txt", two);
  const std::string nameB = base ? dir.write("base.txt", base) : "";
  const std::string result = dir / "result";
  unlink(result.c_str());
  MergeRequest rq = {};
  rq.files[0].name = name1.c_str();
  rq.files[1].name = name2.c_str();
  rq.files[2].name = nameB.c_str();
  rq.automatic = automatic;
  rq.resultName = result.c_str();
  mcargs* mc = nullptr;
  Outcome out{MergeFiles(&rq, &mc), "", {}};
  while (out.outcome == MERGE_WAITING) {
    RangeInfo r1;
    merge_Current(mc, &r1, nullptr, nullptr);
    out.stops.push_back(r1);
    out.outcome = merge_Choose(mc, choose(mc));
  }
  if (access(result.c_str(), F_OK) == 0) out.result = test_support::readFile(result);
  return out;
}

MergeChoice Never(mcargs*) {
  ADD_FAILURE() << "the merge stopped";
  return MERGE_ABORT;
}

// Conflict blocks marked as git merge-file marks them.
MergeChoice GitBlock(mcargs* mc) {
  gen_strchange(&mc->header, "<<<<<<< one");
  gen_strchange(&mc->separator, "=======");
  gen_strchange(&mc->trailer, ">>>>>>> two");
  gen_strchange(&mc->newPrefix, "");
  gen_strchange(&mc->oldPrefix, "");
  mc->newFirst = true;
  mc->prefixGiven = true;
  return MERGE_BOTH;
}

TEST(MergeModel, ThreeWayAutoTakesWhatOnlyOneSideOrBothAlikeChanged) {
  ScratchDir dir;
  const char* base = "a\nb\nc\nd\ne\n";
  // Only one side changed (first line on one side, last line on the other).
  Outcome o = Merge(dir, base, "A\nb\nc\nd\ne\n", "a\nb\nc\nd\nE\n", true, Never);
  EXPECT_EQ(o.outcome, MERGE_SAVED);
  EXPECT_EQ(o.result, "A\nb\nc\nd\nE\n");
  // Both changed alike: taken once; a deletion on one side.
  o = Merge(dir, base, "a\nB\nc\ne\n", "a\nB\nc\nd\ne\n", true, Never);
  EXPECT_EQ(o.result, "a\nB\nc\ne\n");
  // Empty base: one side added, the other stayed empty.
  o = Merge(dir, "", "x\ny\n", "", true, Never);
  EXPECT_EQ(o.result, "x\ny\n");
  // One side emptied the file, the other left it.
  o = Merge(dir, base, "", base, true, Never);
  EXPECT_EQ(o.outcome, MERGE_SAVED);
  EXPECT_EQ(o.result, "");
  // No final newline: kept when the last line is file 1's.
  o = Merge(dir, "a\nb\nc", "A\nb\nc", "a\nb\nc", true, Never);
  EXPECT_EQ(o.result, "A\nb\nc");
  // Both changed differently: stops at the conflict, file 1's line 3.
  o = Merge(dir, base, "a\nb\nX\nd\ne\n", "a\nb\nY\nd\nE\n", true, GitBlock);
  ASSERT_EQ(o.stops.size(), 1u);
  EXPECT_EQ(o.stops[0].start, 3);
  EXPECT_EQ(o.stops[0].end, 4);
  EXPECT_EQ(o.result, "a\nb\n<<<<<<< one\nX\n=======\nY\n>>>>>>> two\nd\nE\n");
  // Without auto every difference stops; File2 then File1.
  int stop = 0;
  o = Merge(dir, base, "A\nb\nc\nd\ne\n", "a\nb\nc\nd\nE\n", false,
            [&](mcargs*) { return ++stop == 1 ? MERGE_FILE2 : MERGE_FILE1; });
  EXPECT_EQ(o.stops.size(), 2u);
  EXPECT_EQ(o.result, "a\nb\nc\nd\ne\n");
  // Both sides added different lines to an empty base: a conflict.
  o = Merge(dir, "", "x\n", "y\n", true, [](mcargs*) { return MERGE_ABORT; });
  EXPECT_EQ(o.outcome, MERGE_ABORTED);
  EXPECT_EQ(o.result, "");
}

TEST(MergeModel, SaveModesWriteFileOneOnlyWhenAsked) {
  ScratchDir dir;
  const std::string base = dir.write("base.txt", "a\nb\nc\n");
  const std::string two = dir.write("two.txt", "a\nb\nC\n");
  struct {
    int mode;
    std::string one;
    MergeOutcome outcome;
    std::string after;  // file 1 afterwards
  } cases[] = {
      {1, "A\nb\nc\n", MERGE_SAVED, "A\nb\nC\n"},
      {-1, "A\nb\nc\n", MERGE_SAVED, "A\nb\nC\n"},
      {-1, "a\nb\nc\n", MERGE_NOT_SAVED, "a\nb\nc\n"},  // the result is file 2
  };
  for (const auto& c : cases) {
    const std::string one = dir.write("one.txt", c.one);
    MergeRequest rq = {};
    rq.files[0].name = one.c_str();
    rq.files[1].name = two.c_str();
    rq.files[2].name = base.c_str();
    rq.automatic = true;
    rq.saveMode = c.mode;
    EXPECT_EQ(MergeFiles(&rq, nullptr), c.outcome) << c.mode;
    EXPECT_EQ(test_support::readFile(one), c.after) << c.mode;
  }
  EXPECT_EQ(dir.entries().size(), 3u);
}

// A random three-way case: a base of unique lines cut into stretches, each
// left alone, changed on one side, changed alike, or changed differently.
// Four common lines part the stretches: git joins conflicts that fewer
// common lines part.
struct Case {
  std::string base, one, two;
};

std::string NewLines(std::mt19937& random, const std::string& tag, int* counter) {
  std::string text;
  const int n = static_cast<int>(random() % 3);  // 0: a deletion
  for (int k = 0; k < n; ++k) text += tag + " line " + std::to_string((*counter)++) + "\n";
  return text;
}

Case RandomCase(std::mt19937& random) {
  Case c;
  int counter = 0;
  const int stretches = 1 + static_cast<int>(random() % 8);
  for (int s = 0; s < stretches; ++s) {
    std::string orig;
    for (int k = 0; s > 0 && k < 4; ++k) {
      const std::string common = "common line " + std::to_string(counter++) + "\n";
      c.base += common, c.one += common, c.two += common;
    }
    const int n = static_cast<int>(random() % 3);
    for (int k = 0; k < n; ++k) orig += "base line " + std::to_string(counter++) + "\n";
    std::string one = orig, two = orig;
    switch (random() % 6) {
      case 0:
        one = NewLines(random, "one", &counter);
        break;
      case 1:
        two = NewLines(random, "two", &counter);
        break;
      case 2:
        one = two = NewLines(random, "both", &counter);
        break;
      case 3:
        one = NewLines(random, "one", &counter);
        two = NewLines(random, "two", &counter);
        if (one == two) two += "two only\n";
        break;
      default:
        break;
    }
    c.base += orig, c.one += one, c.two += two;
  }
  return c;
}

TEST(MergeModel, AgreesWithGitMergeFileOverRandomEdits) {
  ScratchDir dir;
  Messages quiet;
  std::mt19937 random(20261207);
  for (int round = 0; round < 150; ++round) {
    const Case c = RandomCase(random);
    const Outcome o = Merge(dir, c.base.c_str(), c.one, c.two, true, GitBlock);
    const test_support::ProgramResult git = test_support::runProgram(
        "git", {"merge-file", "-p", "-L", "one", "-L", "base", "-L", "two", dir / "one.txt",
                dir / "base.txt", dir / "two.txt"});
    const std::string label = "base:\n" + c.base + "one:\n" + c.one + "two:\n" + c.two;
    if (c.one == c.two && c.one == c.base) {
      EXPECT_EQ(o.outcome, MERGE_NOTHING) << label;
      continue;
    }
    EXPECT_EQ(o.outcome, MERGE_SAVED) << label;
    EXPECT_EQ(static_cast<int>(o.stops.size()), git.status) << label;
    EXPECT_EQ(o.result, git.out) << label;
  }
}

TEST(MergeModel, TwoWaySkipKeepsTheCommonLines) {
  ScratchDir dir;
  Outcome o = Merge(dir, nullptr, "a\nb\nc\nd\n", "x\nb\nd\ny\n", false,
                    [](mcargs*) { return MERGE_SKIP; });
  EXPECT_EQ(o.stops.size(), 3u);
  EXPECT_EQ(o.result, "b\nd\n");
  // "Both" in two-way: file 1's lines, then file 2's after the old prefix.
  o = Merge(dir, nullptr, "a\nb\n", "a\nc\n", false, [](mcargs* mc) {
    mc->prefixGiven = false;
    return MERGE_BOTH;
  });
  const std::string user = gen_getusername();
  ASSERT_EQ(o.result.rfind("a\n|" + user + ": ", 0), 0u) << o.result;
  const std::string tail = "b\n|End NEW CODE |OLD CODE\n|c\n|End OLD CODE\n";
  EXPECT_EQ(o.result.substr(o.result.size() - tail.size()), tail);
  // "Edit" appends the composed block as accepted; "Base" in two-way takes nothing.
  o = Merge(dir, nullptr, "a\nb\n", "a\nc\n", false, [](mcargs* mc) {
    GitBlock(mc);
    return mc->record->diffFile1->lineNumber == 2 ? MERGE_EDIT : MERGE_SKIP;
  });
  EXPECT_EQ(o.result, "a\n<<<<<<< one\nb\n=======\nc\n>>>>>>> two\n");
}

TEST(MergeModel, DefaultMarkersFollowFileOnesSuffix) {
  const std::pair<const char*, std::vector<std::string>> cases[] = {
      {"x.c", {"/* End NEW CODE */ /* OLD CODE */", "/* End OLD CODE */", "/* "}},
      {"x.cxx", {"// End NEW CODE // OLD CODE", "// End OLD CODE", "// "}},
      {"x.txt", {"|End NEW CODE |OLD CODE", "|End OLD CODE", "|"}},
      {"x", {"|End NEW CODE |OLD CODE", "|End OLD CODE", "|"}},
      {"x.f", {"CEnd NEW CODE COLD CODE", "CEnd OLD CODE", "C"}},
  };
  for (const auto& [name, want] : cases) {
    mcargs mc = {};
    merge_DefaultPrefix(&mc, name);
    EXPECT_EQ(mc.separator, want[0]) << name;
    EXPECT_EQ(mc.trailer, want[1]) << name;
    EXPECT_EQ(mc.oldPrefix, want[2]) << name;
    EXPECT_STREQ(mc.newPrefix, "");
    EXPECT_TRUE(mc.newFirst);
    const std::string header = mc.header;
    EXPECT_EQ(header.find(gen_getusername() + std::string(": ")), want[2].size()) << header;
    for (char* s : {mc.header, mc.separator, mc.trailer, mc.newPrefix, mc.oldPrefix}) gen_free(s);
  }
}

bool FetchAnyVersion(const char* name, const char*, const char*, const char* destination) {
  return gen_copyfile(name, destination) == 0;
}

TEST(MergeModel, BadAndIdenticalInputsGetTheirMessages) {
  ScratchDir dir;
  Messages messages;
  const std::string one = dir.write("one.txt", "a\n");
  const std::string two = dir.write("two.txt", "b\n");
  const std::string binary = dir.write("bin.txt", std::string("a\0b\n", 4));
  const std::string fifo = dir / "fifo";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const std::string missing = dir / "missing.txt";
  struct {
    std::string name1, name2, base;
    MergeOutcome outcome;
    std::string message;
  } cases[] = {
      {missing, two, "", MERGE_FAILED, "Can't open file " + missing},
      {dir.path().string(), two, "", MERGE_FAILED, "Can't open file " + dir.path().string()},
      {one, missing, "", MERGE_FAILED, "Can't open file " + missing},
      {one, binary, "", MERGE_FAILED, "Can't open file " + binary},
      {binary, two, "", MERGE_FAILED, "Binary file: " + binary},
      {one, two, fifo, MERGE_FAILED, "Can't open file " + fifo},
      {one, two, missing, MERGE_FAILED, "Can't open file " + missing},
      {one, one + "x", "", MERGE_FAILED, "Can't open file " + one + "x"},
      {one, one, "", MERGE_NOTHING, "Files are identical."},
      {one, dir.path().string(), "", MERGE_NOTHING, "Files are identical."},
      {one, one, one, MERGE_NOTHING, "All files are identical."},
  };
  for (const auto& c : cases) {
    Messages::said.clear();
    MergeRequest rq = {};
    rq.files[0].name = c.name1.c_str();
    rq.files[1].name = c.name2.c_str();
    rq.files[2].name = c.base.c_str();
    rq.automatic = true;
    EXPECT_EQ(MergeFiles(&rq, nullptr), c.outcome) << c.name1 << " " << c.name2 << " " << c.base;
    EXPECT_TRUE(Messages::Has(c.message)) << c.message;
  }
  // The same version of one file twice; other versions through a fetch hook.
  FileSetVersionFetchHook(FetchAnyVersion);
  MergeRequest rq = {};
  rq.files[0] = {one.c_str(), "1.2"};
  rq.files[1] = {one.c_str(), "1.2"};
  EXPECT_EQ(MergeFiles(&rq, nullptr), MERGE_NOTHING);
  EXPECT_TRUE(Messages::Has("Merging same version - nothing to do: " + one));
  rq.files[1] = {"", "1.3"};
  EXPECT_EQ(MergeFiles(&rq, nullptr), MERGE_NOTHING);
  EXPECT_TRUE(Messages::Has("Files are identical."));
  FileSetVersionFetchHook(nullptr);
  // A base that cannot be loaded is left out when the user agrees.
  MergeHooks hooks = {};
  hooks.ask = [](const char* question) {
    return std::string(question).find("proceed with merge anyway?") != std::string::npos;
  };
  merge_SetHooks(&hooks);
  rq = {};
  rq.files[0].name = one.c_str();
  rq.files[1].name = two.c_str();
  rq.files[2].name = missing.c_str();
  mcargs* mc = nullptr;
  ASSERT_EQ(MergeFiles(&rq, &mc), MERGE_WAITING);
  EXPECT_FALSE(mc->threeWay);
  EXPECT_EQ(merge_Discard(mc), MERGE_ABORTED);
  merge_SetHooks(nullptr);
  // Nothing was left in the directory but the inputs.
  EXPECT_EQ(dir.entries().size(), 4u);
}

}  // namespace
