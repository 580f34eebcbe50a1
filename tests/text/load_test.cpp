// Loading files into line records: a table of contents with the lines and ending
// flags they load into (CR LF across chunks, lone CRs, no final newline, empty
// files), long lines, cache files gone with the records, and the widest-line
// measure (a column a byte, two for a control byte, tabs to the next stop).
#include "text/file.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "tests/text/text_test_util.h"

namespace {

using text_test::LinesOf;
using text_test::ScratchDir;
using text_test::WriteBytes;
using Lines = std::vector<std::string>;

constexpr long kChunk = 32768;  // the largest loading chunk

class LoadTest : public ::testing::Test {
 protected:
  file* Load(const std::string& bytes, const std::string& name = "f.txt") {
    WriteBytes(dir / name, bytes);
    return FileF_File((dir / name).c_str(), 0, 0);
  }
  ScratchDir dir;
};

TEST_F(LoadTest, LinesAndLineEndingFlags) {
  const std::string x(kChunk - 1, 'x');
  constexpr int kNoFinal = FILE_NO_FINAL_NEWLINE, kUniform = FILE_UNIFORM_ENDINGS,
                kCrlf = FILE_CRLF_MAJORITY | FILE_SAVE_CRLF;
  const struct {
    std::string bytes;
    Lines lines;
    int flags;  // of the three above
  } cases[] = {
      {std::string("one\ntwo\n\nfo\0ur\xff\n", 16),
       {"one", "two", "", std::string("fo\0ur\xff", 6)}, kUniform},
      {"a\nlast", {"a", "last"}, kNoFinal | kUniform},
      {"", {}, kUniform},
      {"just text", {"just text"}, kNoFinal | kUniform},
      {"a\r\nb\r\nc\n", {"a", "b", "c"}, kCrlf},
      {"a\r\nb\r\n", {"a", "b"}, kCrlf | kUniform},
      {"a\nb\r\nc\nd\n", {"a", "b", "c", "d"}, 0},
      {"a\rb\nc\r\r\nd\r", {"a\rb", "c\r", "d\r"}, kNoFinal},
      // The CR is the last byte of the first chunk, its LF the first of the next.
      {x + "\r\nnext\r\n", {x, "next"}, kCrlf | kUniform},
      {x + "\ry\n", {x + "\ry"}, kUniform},
      {x + "\r", {x + "\r"}, kNoFinal | kUniform},
  };
  for (const auto& c : cases) {
    file* f = Load(c.bytes);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(LinesOf(f), c.lines) << c.bytes.substr(0, 20);
    EXPECT_EQ(f->lineCount, static_cast<long>(c.lines.size()));
    EXPECT_EQ(f->size, static_cast<long>(c.bytes.size()));
    EXPECT_EQ(f->flags & (kNoFinal | kUniform | kCrlf), c.flags) << c.bytes.substr(0, 20);
    FileFree(f);
  }
}

TEST_F(LoadTest, HundredThousandByteLineComesBackWhole) {
  std::string big(100000, 'q');
  big[0] = 'A';
  big[99999] = 'Z';
  file* f = Load("short\n" + big + "\nafter\n");
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(LinesOf(f), (Lines{"short", big, "after"}));
  EXPECT_GT(f->widestLine, 100000);
  FileFree(f);
}

TEST_F(LoadTest, CacheFilesGoAwayWithTheRecord) {
  file* a = Load("a\n", "a");
  file* b = Load("b\n", "b");
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(dir.Others({"a", "b"}).size(), 2u);  // one cache file each
  FileFree(a);
  FileFree(b);
  EXPECT_TRUE(dir.Others({"a", "b"}).empty());
  FileFree(nullptr);
}

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
  text_test::WriteBytes(dir / "t", "\t\t\t\t\tx\n");
  file* t = FileF_File((dir / "t").c_str(), 0, 0);
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->widestLine, 41);  // 8, 16, 24, 32, 40, then x
  FileFree(f);
  FileFree(t);
}

}  // namespace
