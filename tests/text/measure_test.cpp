// The widest line measure: one column per byte, two for a control byte,
// tabs to the next stop; always more than the line's length.
#include "text/file.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/text/text_test_util.h"

namespace {

long Measure(const std::string& s) { return FileSetMaxW(s.data(), static_cast<long>(s.size())); }

TEST(MeasureTest, CountsColumns) {
  EXPECT_EQ(Measure(""), 1);
  EXPECT_EQ(Measure("abc"), 4);
  EXPECT_EQ(Measure(std::string("a\x01", 2)), 4);  // control byte: two columns
  EXPECT_EQ(Measure("\xe9"), 2);                     // high bytes count one
}

TEST(MeasureTest, TabsAdvanceToTheNextStop) {
  FileSetTabSize(8);
  EXPECT_EQ(Measure("\t"), 8);     // 8 * ((8 + 1) / 8)
  EXPECT_EQ(Measure("a\tb"), 9);   // 1 -> 2 -> 8 -> 9
  EXPECT_EQ(Measure("1234567\t"), 16);
  FileSetTabSize(4);
  EXPECT_EQ(Measure("\t\t"), 8);  // 1 -> 4 -> 8
  FileSetTabSize(0);               // taken as 1
  EXPECT_EQ(Measure("\t\t"), 3);
  FileSetTabSize(8);
}

TEST(MeasureTest, AlwaysExceedsTheLength) {
  for (const std::string s : {"", "x", "\t\t\t", "a\tb\tc", "\x01\x02"}) {
    EXPECT_GT(Measure(s), static_cast<long>(s.size())) << s;
  }
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
