// The engine through its entry points: the edit script of every source
// kind, long lines, and the failures with their messages.  The result
// tables are the property tests' business.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "base/gen.h"
#include "tests/diff/diff_test_util.h"

namespace {

using text_test::ScratchDir;
using text_test::WriteBytes;
using Strings = std::vector<std::string>;

// diff_mem over two lists of C strings; returns the script.
Strings Script(Strings a, Strings b) {
  std::vector<char*> pa, pb;
  for (auto& s : a) pa.push_back(s.data());
  for (auto& s : b) pb.push_back(s.data());
  int count = -1;
  char** lines = nullptr;
  diffInfo* info = diff_mem(static_cast<int>(pa.size()), pa.data(),
                            static_cast<int>(pb.size()), pb.data(), &count, &lines);
  Strings script;
  for (int k = 0; k < count; ++k) script.emplace_back(lines[k]);
  diff_freescript(count, lines);
  diff_free(info);
  return script;
}

TEST(ScriptTest, CopiesAndAddsToRebuildSideTwo) {
  EXPECT_EQ(Script({"a", "b", "c"}, {"a", "x", "c"}), (Strings{"m1", "a1", "x", "m3"}));
  EXPECT_EQ(Script({"a", "b", "c"}, {"a", "b", "c"}), (Strings{"m1,3"}));
  EXPECT_EQ(Script({}, {"p", "q"}), (Strings{"a2", "p", "q"}));
  EXPECT_EQ(Script({"p", "q"}, {}), Strings{});
  // Without move resolution a moved line is copied from where it was.
  EXPECT_EQ(Script({"x", "a", "b"}, {"a", "b", "x"}), (Strings{"m2,3", "m1"}));
}

class NamedFilesTest : public ::testing::Test {
 protected:
  std::string Write(const std::string& name, const std::string& bytes) {
    WriteBytes(dir / name, bytes);
    return dir / name;
  }
  ScratchDir dir;
};

TEST_F(NamedFilesTest, LinesKeepTheirNewlines) {
  const std::string a = Write("a", "one\ntwo");
  const std::string b = Write("b", "one\ntwo\n");
  int count = 0;
  char** script = nullptr;
  diffInfo* info = diff_kvc2(a.c_str(), b.c_str(), &count, &script);
  ASSERT_NE(info, nullptr);
  ASSERT_EQ(count, 3);
  EXPECT_STREQ(script[0], "m1");
  EXPECT_STREQ(script[1], "a1");
  EXPECT_STREQ(script[2], "two\n");  // "two" without LF is another line
  diff_freescript(count, script);
  diff_free(info);
}

TEST_F(NamedFilesTest, TextComparisonResolvesMoves) {
  const std::string a = Write("a", "X\nA\nB\n");
  const std::string b = Write("b", "A\nB\nX\n");
  diffInfo* info = diff_text(a.c_str(), b.c_str());
  ASSERT_NE(info, nullptr);
  EXPECT_FALSE(info->firstLines[1].matched);
  EXPECT_FALSE(info->secondLines[3].matched);
  EXPECT_EQ(info->firstLines[2].partner, 1);
  diff_free(info);
}

TEST_F(NamedFilesTest, StreamSideReadsTheGivenCount) {
  const std::string a = Write("a", "1\n2\n3\n");
  const std::string b = Write("b", "1\n3\nignored\n");
  FILE* stream = fopen(b.c_str(), "r");
  ASSERT_NE(stream, nullptr);
  int count = 0;
  char** script = nullptr;
  diffInfo* info = diff_kvc(a.c_str(), 2, stream, &count, &script);
  EXPECT_EQ(diff_kvc(a.c_str(), 5, stream, nullptr, nullptr), nullptr);  // too short
  fclose(stream);
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(info->secondCount, 2);
  ASSERT_EQ(count, 2);
  EXPECT_STREQ(script[0], "m1");
  EXPECT_STREQ(script[1], "m3");
  diff_freescript(count, script);
  diff_free(info);
}

TEST_F(NamedFilesTest, MissingFileIsReported) {
  const std::string a = Write("a", "1\n");
  const std::string missing = dir / "missing";
  ::testing::internal::CaptureStderr();
  diffInfo* info = diff_kvc2(a.c_str(), missing.c_str(), nullptr, nullptr);
  const std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(info, nullptr);
  EXPECT_NE(err.find("error: Error opening file - " + missing), std::string::npos) << err;
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(diff_text(missing.c_str(), a.c_str()), nullptr);
  EXPECT_NE(::testing::internal::GetCapturedStderr().find("Error opening file"),
            std::string::npos);
}

TEST(FailureTest, UnknownSourceKindIsReported) {
  ::testing::internal::CaptureStderr();
  diffInfo* info = diffFiles(7, nullptr, 0, DIFF_STRINGS, nullptr, 0, false, nullptr,
                             nullptr, false);
  const std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(info, nullptr);
  EXPECT_NE(err.find("error: Error - unknown file type 7"), std::string::npos) << err;
}

TEST(FailureTest, TooManyLinesIsOutOfMemory) {
  // The ladder ends at 16777215: that many lines in all cannot be compared.
  ::testing::internal::CaptureStderr();
  diffInfo* info = diffFiles(DIFF_STRINGS, nullptr, 16777215, DIFF_STRINGS, nullptr, 0,
                             false, nullptr, nullptr, false);
  const std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(info, nullptr);
  EXPECT_NE(err.find("error: Out of memory in diff."), std::string::npos) << err;
}

TEST(FailureTest, NullFilesFailAndFreeAcceptsNull) {
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(diff_merge(nullptr, nullptr, 0), nullptr);
  ::testing::internal::GetCapturedStderr();
  diff_free(nullptr);
  diff_freescript(0, nullptr);
}

TEST(LongLineTest, HundredThousandByteLinesCompareByContent) {
  ScratchDir dir;
  std::string a(100000, 'a');
  std::string b = a;
  b[99999] = 'b';  // differs in the last byte only
  WriteBytes(dir / "l", "head\n" + a + "\n" + a + "\ntail\n");
  WriteBytes(dir / "r", "head\n" + a + "\n" + b + "\ntail\n");
  diff_test::Comparison c(dir / "l", dir / "r", 0);
  EXPECT_EQ(c.Ranges(), "3,4 3,4\n");
  diff_test::Comparison same(dir / "l", dir / "l", DIFF_IGNORE_SPACE_AMOUNT);
  EXPECT_EQ(same.Ranges(), "identical\n");
}

}  // namespace
