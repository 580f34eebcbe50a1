// Strings and memory: copies, concatenation with null parts, comparison
// ignoring case, shell escapes, formatted output and zero-filled
// allocation with its out-of-memory exit.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "base/gen.h"
#include "base_test_util.h"

namespace {

TEST(StringTest, CopiesAndConcatenationSkipNullParts) {
  const char* text = "hello";
  char* copy = gen_copy(text);
  EXPECT_NE(copy, text);
  EXPECT_EQ(take(copy), "hello");
  EXPECT_EQ(take(gen_copyn("hello", 3)), "hel");
  EXPECT_EQ(take(gen_copyn("hi", -1)), "<null>");
  EXPECT_EQ(take(gen_copy(nullptr)), "<null>");
  EXPECT_EQ(take(gen_concat(nullptr, "x")), "x");
  EXPECT_EQ(take(gen_concat("x", nullptr)), "x");
  EXPECT_EQ(take(gen_concat(nullptr, nullptr)), "<null>");
  EXPECT_EQ(take(gen_fconcat_sep(gen_copy("a"), '/', "e")), "a/e");
}

TEST(StringTest, ComparisonIgnoringCaseAndShellEscapes) {
  EXPECT_TRUE(gen_strequal("ABC", "abc"));
  EXPECT_FALSE(gen_strequal("ABC", "abd"));
  EXPECT_TRUE(gen_strequal(nullptr, nullptr));
  EXPECT_FALSE(gen_strequal("a", nullptr));
  EXPECT_TRUE(gen_strcaseprefix("foobar", "FOO"));
  EXPECT_FALSE(gen_strcaseprefix("fo", "FOO"));
  const char* name = "my file (1)$.txt";
  char* escaped = gen_shellescapify_filename(name);
  EXPECT_STREQ(escaped, "my\\ file\\ \\(1\\)\\$.txt");
  EXPECT_EQ(take(gen_unshellescapify_filename(escaped)), name);
  gen_free(escaped);
}

TEST(FormatTest, NewStringsOfAnyLength) {
  EXPECT_EQ(take(gen_asprintf("%d|%5s|%-3c|%x|%.2f", -12, "ab", 'z', 255, 2.5)),
            "-12|   ab|z  |ff|2.50");
  EXPECT_EQ(take(gen_msprintf("%s=%u", "n", 7u)), "n=7");
  const std::string part(700, 'q');  // longer than the stack buffer
  EXPECT_EQ(take(gen_asprintf("<%s|%s>", part.c_str(), part.c_str())),
            "<" + part + "|" + part + ">");
  gen_changeprogname("prog");
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(gen_asprintf(nullptr), nullptr);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "prog: error: [gen_asprintf]: Format was NULL (illegal).\n");
}

TEST(AllocTest, BlocksAreZeroFilledAndGrowKeepingTheirBytes) {
  auto* p = static_cast<unsigned char*>(gen_alloc(10, 8));
  ASSERT_NE(p, nullptr);
  for (int i = 0; i < 80; i++) EXPECT_EQ(p[i], 0) << i;
  gen_free(p);
  EXPECT_EQ(gen_default_alloc(0, 8), nullptr);
  auto* r = static_cast<char*>(gen_default_realloc(nullptr, 16));
  std::strcpy(r, "keep me");
  r = static_cast<char*>(gen_allocate(r, 100, 10));
  EXPECT_STREQ(r, "keep me");
  EXPECT_EQ(gen_default_realloc(r, 0), nullptr);
}

TEST(AllocTest, ExhaustedMemoryEndsWithStatusThree) {
  EXPECT_EXIT((gen_changeprogname("prog"), gen_alloc(1L << 40, 1L << 20)),
              ::testing::ExitedWithCode(3), "^prog: fatal: Out of memory\n$");
  EXPECT_EXIT((gen_changeprogname("prog"), gen_realloc(gen_alloc(1, 1), 1L << 62)),
              ::testing::ExitedWithCode(3), "^prog: fatal: Out of memory\n$");
}

}  // namespace
