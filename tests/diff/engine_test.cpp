// The engine through its entry points: the stream line reader, canonical forms
// under the option bits, the failures with their messages, and the comparison
// record (ranges of a walk, temporary copies removed with it).  Result tables and
// edit scripts are the property tests' business, the script's form vdiff's.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "base/gen.h"
#include "diff/diff.h"
#include "tests/diff/diff_test_util.h"

namespace {

using text_test::ScratchDir;
using text_test::WriteBytes;

class NamedFilesTest : public ::testing::Test {
 protected:
  std::string Write(const std::string& name, const std::string& bytes) {
    WriteBytes(dir / name, bytes);
    return dir / name;
  }
  ScratchDir dir;
};

TEST_F(NamedFilesTest, MissingFileIsReported) {
  const std::string a = Write("a", "1\n");
  const std::string missing = dir / "missing";
  ::testing::internal::CaptureStderr();
  diffInfo* info = diff_kvc2(a.c_str(), missing.c_str(), nullptr, nullptr);
  const std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(info, nullptr);
  EXPECT_NE(err.find("error: Error opening file - " + missing), std::string::npos) << err;
}

TEST(FailureTest, UnknownSourceKindAndTooManyLinesAreReported) {
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(diffFiles(7, nullptr, 0, DIFF_STRINGS, nullptr, 0, false, nullptr, nullptr, false),
            nullptr);
  // The size ladder ends at 16777215: that many lines in all cannot be compared.
  EXPECT_EQ(diffFiles(DIFF_STRINGS, nullptr, 16777215, DIFF_STRINGS, nullptr, 0, false, nullptr,
                      nullptr, false),
            nullptr);
  const std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("error: Error - unknown file type 7\n"), std::string::npos) << err;
  EXPECT_NE(err.find("error: Out of memory in diff.\n"), std::string::npos) << err;
}

std::string Canon(const std::string& s, int options) {
  std::string out(s.size() + 1, '?');
  const long n = diff_canonicalize(s.data(), static_cast<long>(s.size()), options, out.data());
  return out.substr(0, n);
}

constexpr int W = DIFF_IGNORE_ALL_SPACE;
constexpr int B = DIFF_IGNORE_SPACE_AMOUNT;
constexpr int C = DIFF_C_TOKENS;
constexpr int I = DIFF_IGNORE_CASE;

TEST(CanonTest, FormsUnderEachOptionSet) {
  const struct {
    std::string line;
    int options;
    std::string canonical;
  } cases[] = {
      {" A \t b ", 0, " A \t b "},
      {std::string("x\0y", 3), 0, std::string("x\0y", 3)},
      {"a\tb", B, "a b"},
      {"  lead and trail \t", B, "lead and trail"},
      {"a\vb", B, "a\vb"},  // vertical tab is not whitespace here
      {" a \t b ", W, "ab"},
      {" a \t b ", W | B, "a b"},  // amount wins over all
      {"x = y", C, "x=y"},
      {"  f ( a_1 , $b ) ; ", C, "f(a_1,$b);"},
      {"int   a_1 $b", C, "int a_1 $b"},  // a blank stays only between words
      {"x = y", C | B, "x = y"},  // whitespace options win over C tokens
      {"ABC xyz", I, "abc xyz"},
      {"\xc4Z", I, "\xc4z"},  // only A-Z fold
      {"A  B", B | I, "a b"},
      {"INT  X = 1", C | I, "int x=1"},
      {" \t \r", W, ""},  // blank lines become empty
      {" \t", I, " \t"},
      {"A  b", 16, "A  b"},  // unknown bits alone copy
  };
  for (const auto& c : cases) EXPECT_EQ(Canon(c.line, c.options), c.canonical) << c.line;
}

// Reads every line of `bytes` through diff_fgets.
std::vector<std::string> ReadAll(const std::string& bytes) {
  FILE* stream = fmemopen(const_cast<char*>(bytes.data()), bytes.size(), "r");
  std::vector<std::string> lines;
  long length = 0;
  while (const char* text = diff_fgets(stream, &length)) lines.emplace_back(text, length);
  fclose(stream);
  return lines;
}

TEST(FgetsTest, LinesOfAnyLengthKeepTheirNewlineAndNulBytes) {
  EXPECT_EQ(ReadAll("a\nbc\n\nlast"), (std::vector<std::string>{"a\n", "bc\n", "\n", "last"}));
  EXPECT_TRUE(ReadAll("").empty());
  const std::string bytes("a\0b\n\0\n", 6);
  EXPECT_EQ(ReadAll(bytes),
            (std::vector<std::string>{std::string("a\0b\n", 4), std::string("\0\n", 2)}));
  for (size_t size : {510u, 511u, 512u, 513u, 1023u, 1024u, 5000u, 100000u}) {
    const std::string line(size, 'w');
    EXPECT_EQ(ReadAll(line + "\n" + line), (std::vector<std::string>{line + "\n", line}))
        << size;
  }
}

TEST(FgetsTest, NullStreamGivesNull) {
  long length = 5;
  EXPECT_EQ(diff_fgets(nullptr, &length), nullptr);
  EXPECT_EQ(length, 0);
}

class RecordTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteBytes(dir / "l", "a\nb\nc\nd\ne\nf\n");
    WriteBytes(dir / "r", "a\nB\nc\nd\nE\nf\ng\n");
  }
  ScratchDir dir;
};

TEST_F(RecordTest, WalkGivesOneRangePerSideAndDifference) {
  diff_test::Comparison c(dir / "l", dir / "r", 0);
  EXPECT_EQ(c.Ranges(), "2,3 2,3\n5,6 5,6\n7,7 7,8\n");
  EXPECT_EQ(diff_RangeCount(c.record->colors2), 3);
  EXPECT_EQ(c.side1(0)->displayStart, 0);  // display rows are the viewer's
  EXPECT_EQ(c.record->colors1->current, 0);
  EXPECT_EQ(c.record->colors2->current, 0);
  EXPECT_EQ(diff_GetRange(c.record->colors1, 3), nullptr);
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
