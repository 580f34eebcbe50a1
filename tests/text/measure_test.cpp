// The widest line measure: one column per byte, two for a control byte,
// tabs to the next stop; always more than the line's length.
#include "text/file.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/text/text_test_util.h"

namespace {

long Measure(const std::string& s) { return FileSetMaxW(s.data(), static_cast<long>(s.size())); }

TEST(MeasureTest, ColumnsOfLinesAtEachTabSize) {
  const struct {
    int tabSize;
    std::string line;
    long columns;
  } cases[] = {
      {8, "", 1},           {8, "abc", 4},     {8, std::string("a\x01", 2), 4},  // control: two
      {8, "\xe9", 2},       {8, "\t", 8},      {8, "a\tb", 9},  // 1 -> 2 -> 8 -> 9
      {8, "1234567\t", 16}, {4, "\t\t", 8},   {0, "\t\t", 3},  // size 0 is taken as 1
  };
  for (const auto& c : cases) {
    FileSetTabSize(c.tabSize);
    EXPECT_EQ(Measure(c.line), c.columns) << c.tabSize << " " << c.line;
    EXPECT_GT(Measure(c.line), static_cast<long>(c.line.size()));
  }
  FileSetTabSize(8);
}

TEST(MeasureTest, FileKeepsItsWidestLine) {
  text_test::ScratchDir dir;
  text_test::WriteBytes(dir / "w", "short\n\ttabbed line\n" + std::string(30, 'x') + "\n");
  file* f = FileF_File((dir / "w").c_str(), 0, 0);
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->widestLine, 31);
  f->widestLine = 0;
  FileFindMaxWidth(f);
  EXPECT_EQ(f->widestLine, 31);
  text_test::WriteBytes(dir / "t", "\t\t\t\t\tx\n");
  file* t = FileF_File((dir / "t").c_str(), 0, 0);
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->widestLine, 41);  // 8, 16, 24, 32, 40, then x
  FileFree(f);
  FileFree(t);
}

}  // namespace
