// The comparison record: walking a result into ranges, stepping between
// differences with the user interface hooks, finding a difference by
// position, and tearing the record down with its temporary copies.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "tests/diff/diff_test_util.h"

namespace {

using text_test::ScratchDir;
using text_test::WriteBytes;

struct HookLog {
  int beeps = 0;
  int shown = 0;
  int destroyed = 0;
  bool previousDimmed = false;
  bool nextDimmed = false;
};
HookLog hookLog;

class RecordTest : public ::testing::Test {
 protected:
  void SetUp() override {
    hookLog = HookLog();
    DiffUiHooks hooks = {};
    hooks.beep = [] { hookLog.beeps++; };
    hooks.showDiff = [](DiffStuff*) { hookLog.shown++; };
    hooks.destroyWindow = [](DiffStuff*) { hookLog.destroyed++; };
    hooks.dimButtons = [](DiffStuff*, bool previous, bool next) {
      hookLog.previousDimmed = previous;
      hookLog.nextDimmed = next;
    };
    diff_SetUiHooks(&hooks);
    WriteBytes(dir / "l", "a\nb\nc\nd\ne\nf\n");
    WriteBytes(dir / "r", "a\nB\nc\nd\nE\nf\ng\n");
  }
  void TearDown() override { diff_SetUiHooks(nullptr); }
  ScratchDir dir;
};

TEST_F(RecordTest, WalkGivesOneRangePerSideAndDifference) {
  diff_test::Comparison c(dir / "l", dir / "r", 0);
  EXPECT_EQ(c.Ranges(), "2,3 2,3\n5,6 5,6\n7,7 7,8\n");
  EXPECT_EQ(diff_RangeCount(c.record->colors2), 3);
  EXPECT_EQ(c.side1(0)->displayStart, 0);  // display rows are the viewer's
  EXPECT_EQ(c.record->colors1->current, 0);
  EXPECT_EQ(c.record->colors2->current, 0);
  EXPECT_EQ(hookLog.shown, 1);
  EXPECT_TRUE(hookLog.previousDimmed);
  EXPECT_FALSE(hookLog.nextDimmed);
  EXPECT_EQ(diff_GetRange(c.record->colors1, 3), nullptr);
}

TEST_F(RecordTest, CommandStepsAndBeepsAtTheEnds) {
  diff_test::Comparison c(dir / "l", dir / "r", 0);
  DiffStuff* r = c.record;
  ASSERT_EQ(r->command, diff_Command2);
  r->command(r, 2);  // already at the first difference
  EXPECT_EQ(hookLog.beeps, 1);
  EXPECT_EQ(r->colors1->current, 0);
  r->command(r, 1);
  r->command(r, 1);
  EXPECT_EQ(r->colors1->current, 2);
  EXPECT_EQ(r->colors2->current, 2);
  EXPECT_TRUE(hookLog.nextDimmed);
  EXPECT_FALSE(hookLog.previousDimmed);
  r->command(r, 1);
  EXPECT_EQ(hookLog.beeps, 2);
  EXPECT_EQ(r->colors1->current, 2);
  r->command(r, 2);
  EXPECT_EQ(r->colors1->current, 1);
  EXPECT_FALSE(hookLog.nextDimmed);
}

TEST_F(RecordTest, FindRangeTakesTheFirstDifferenceAtOrAfterAPosition) {
  diff_test::Comparison c(dir / "l", dir / "r", 0);
  DiffStuff* r = c.record;
  diff_FindRange(r, 5);
  EXPECT_EQ(r->colors1->current, 1);
  EXPECT_EQ(r->colors2->current, 1);
  diff_FindRange(r, 1);
  EXPECT_EQ(r->colors1->current, 0);
  diff_FindRange(r, 7);  // inside the last side-2 range
  EXPECT_EQ(r->colors1->current, 2);
  diff_FindRange(r, 50);  // past every range: unchanged
  EXPECT_EQ(r->colors1->current, 2);
}

TEST_F(RecordTest, IdenticalFilesStoreNoRanges) {
  diff_test::Comparison c(dir / "l", dir / "l", 0);
  ASSERT_NE(c.record, nullptr);
  EXPECT_TRUE(c.identical);
  ::testing::internal::CaptureStdout();
  diff_CalculateAllDiffs(c.record);
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "Files are identical.\n");
  EXPECT_EQ(hookLog.destroyed, 1);
  EXPECT_EQ(c.count(), 0);
}

TEST_F(RecordTest, DestroyRemovesTemporaryCopies) {
  file* a = FileFVName((dir / "l").c_str(), nullptr, nullptr);
  file* b = FileFVName((dir / "r").c_str(), nullptr, nullptr);
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  const std::string copyA = a->name, copyB = b->name;
  DiffStuff* r = diff_NewRecord(diff_merge(a, b, 0), a, b, "l", "r", "l vs. r");
  EXPECT_STREQ(DiffStuff_GetFile(r, 1)->name, copyA.c_str());
  EXPECT_EQ(DiffStuff_GetFile(r, 3), nullptr);
  EXPECT_EQ(DiffStuff_GetFile(r, 4), nullptr);
  diff_FreeColorInfo(r->colors1);
  diff_FreeColorInfo(r->colors2);
  DiffStuffDestroy(r);
  EXPECT_NE(access(copyA.c_str(), F_OK), 0);
  EXPECT_NE(access(copyB.c_str(), F_OK), 0);
  // The originals were registered when the copies were made.
  FileFree(FileFName((dir / "l").c_str(), 0));
  FileFree(FileFName((dir / "r").c_str(), 0));
  EXPECT_TRUE(dir.Others({"l", "r"}).empty());
  DiffStuffDestroy(nullptr);
}

}  // namespace
