// The aligned layout of two sides: rules, filler rows and the display rows
// recorded in each range, checked by laying both sides of real comparisons
// into recorders and reading the rows back side by side.
#include "viewer/alignment.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "text/file.h"
#include "tests/diff/diff_test_util.h"

namespace {

using text_test::ScratchDir;
using text_test::WriteBytes;

// Records one side's rows as short texts: "--" a rule, "" a filler row,
// "3:c" changed file line 3, "3:n" line 3 facing only filler, "3" unchanged
// line 3.
class RowRecorder : public AlignedRowSink {
 public:
  std::vector<std::string> rows;
  void addRule() override { rows.push_back("--"); }
  void addFiller(int count) override { rows.insert(rows.end(), count, ""); }
  void addFileLine(long number, line*, LineKind kind) override {
    rows.push_back(std::to_string(number) + (kind == kLineChanged    ? ":c"
                                             : kind == kLineOnlyHere ? ":n"
                                                                     : ""));
  }
};

class AlignmentTest : public ::testing::Test {
 protected:
  // Lays out both sides of a comparison of the two texts.
  void align(const std::string& left, const std::string& right, int options = 0) {
    WriteBytes(dir / "l", left);
    WriteBytes(dir / "r", right);
    c = std::make_unique<diff_test::Comparison>(dir / "l", dir / "r", options);
    ASSERT_NE(c->record, nullptr);
    align_ReadFile(c->left, c->record->colors1, c->record->colors2, leftRows);
    align_ReadFile(c->right, c->record->colors2, c->record->colors1, rightRows);
  }
  // The row (1-based) showing a file line on a side.
  static int rowOf(const RowRecorder& r, const std::string& text) {
    for (size_t i = 0; i < r.rows.size(); i++)
      if (r.rows[i] == text) return static_cast<int>(i) + 1;
    return -1;
  }
  ColorInfo* leftRanges() { return c->record->colors1; }
  ColorInfo* rightRanges() { return c->record->colors2; }

  ScratchDir dir;
  std::unique_ptr<diff_test::Comparison> c;
  RowRecorder leftRows, rightRows;
};

TEST_F(AlignmentTest, ShorterBlockGetsFillerAndFollowingLinesFaceEachOther) {
  align("a\nx1\nx2\nx3\nb\n", "a\ny\nb\n");
  EXPECT_EQ(leftRows.rows, (std::vector<std::string>{"1", "--", "2:c", "3:c", "4:c", "--", "5"}));
  EXPECT_EQ(rightRows.rows, (std::vector<std::string>{"1", "--", "2:c", "", "", "--", "3"}));
  EXPECT_EQ(diff_GetRange(leftRanges(), 0)->displayStart, 3);
  EXPECT_EQ(diff_GetRange(rightRanges(), 0)->displayEnd, 6);
}

TEST_F(AlignmentTest, DifferencesAtTheEndAreFramedAndPadded) {
  align("a\nb\n", "a\nb\nc\nd\n");
  EXPECT_EQ(leftRows.rows, (std::vector<std::string>{"1", "2", "--", "", "", "--"}));
  EXPECT_EQ(rightRows.rows, (std::vector<std::string>{"1", "2", "--", "3:n", "4:n", "--"}));
}

TEST_F(AlignmentTest, EverySideGetsTheSameNumberOfRowsOverManyDifferences) {
  std::string left, right;
  for (int i = 0; i < 60; i++) {
    left += "same " + std::to_string(i) + "\n";
    right += "same " + std::to_string(i) + "\n";
    if (i % 7 == 0) left += "left only " + std::to_string(i) + "\nmore\n";
    if (i % 5 == 0) right += "right only " + std::to_string(i) + "\n";
  }
  align(left, right);
  ASSERT_GT(diff_RangeCount(leftRanges()), 10);
  EXPECT_EQ(leftRows.rows.size(), rightRows.rows.size());
  // Both sides frame every block on the same rows.
  for (int k = 0; k < diff_RangeCount(leftRanges()); k++) {
    RangeInfo* l = diff_GetRange(leftRanges(), k);
    RangeInfo* r = diff_GetRange(rightRanges(), k);
    EXPECT_EQ(l->displayStart, r->displayStart) << k;
    EXPECT_EQ(l->displayEnd, r->displayEnd) << k;
    EXPECT_EQ(leftRows.rows[l->displayEnd - 1], "--");
    EXPECT_EQ(rightRows.rows[r->displayStart - 2], "--");
  }
}

TEST_F(AlignmentTest, RowsConvertBackToFileLines) {
  align("a\nx1\nx2\nx3\nb\nc\n", "a\ny\nb\nc\nd\n");
  // Right side rows: 1 a, 2 rule, 3 y, 4-5 filler, 6 rule, 7 b, 8 c, 9 rule, 10 d, 11 rule.
  ColorInfo* right = rightRanges();
  for (auto [row, line] : {std::pair{1, 1}, {3, 2}, {4, 2}, {6, 2}, {7, 3}, {8, 4}, {10, 5}})
    EXPECT_EQ(align_ConvertVirtualLine(right, row), line) << row;  // filler, rule: block end
  // Left rows: 1 a, 2 rule, 3-5 x1-x3, 6 rule, 7 b, 8 c, 9 rule, 10 filler,
  // 11 rule; the second block is empty there, so its filler maps to line 6.
  ColorInfo* left = leftRanges();
  EXPECT_EQ(align_ConvertVirtualLine(left, 5), 4);
  EXPECT_EQ(align_ConvertVirtualLine(left, 10), 6);
  for (const char* text : {"1", "5", "6"})
    EXPECT_EQ(align_ConvertVirtualLine(left, rowOf(leftRows, text)), std::stoi(text));
}

TEST_F(AlignmentTest, RowsFindTheirDifference) {
  align("a\nx1\nx2\nx3\nb\nc\n", "a\ny\nb\nc\nd\n");
  ColorInfo* right = rightRanges();
  EXPECT_EQ(align_InVirtualRange(right, 2), -1);  // the opening rule
  EXPECT_EQ(align_InVirtualRange(right, 3), 0);
  EXPECT_EQ(align_InVirtualRange(right, 5), 0);  // filler row
  EXPECT_EQ(align_InVirtualRange(right, 6), 0);  // closing rule
  EXPECT_EQ(align_InVirtualRange(right, 7), -1);
  EXPECT_EQ(align_InVirtualRange(right, 10), 1);
}

TEST_F(AlignmentTest, LineOfTheRightFileChoosesADifference) {
  align("a\nB\nc\nd\nE\nf\n", "a\nb\nc\nd\ne\nf\n");
  ColorInfo* right = rightRanges();
  EXPECT_EQ(align_RangeForLine(right, 2), 0);  // inside the first
  EXPECT_EQ(align_RangeForLine(right, 3), 1);  // between: the next one
  EXPECT_EQ(align_RangeForLine(right, 5), 1);
  EXPECT_EQ(align_RangeForLine(right, 6), -1);  // after the last
}

}  // namespace
