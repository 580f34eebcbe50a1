// Strings and memory: copies, concatenation with null parts, comparison
// ignoring case, searching, the quoting family, formatted output, the
// running checksum, zero-filled allocation and the scratch buffer ring.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <set>
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
  EXPECT_EQ(take(gen_concatn("ab", "cdef", 2)), "abcd");
  EXPECT_EQ(take(gen_concat9("1", "2", "3", "4", "5", "6", "7", "8", "9")), "123456789");
  EXPECT_EQ(take(gen_concat4(nullptr, nullptr, nullptr, nullptr)), "<null>");
  EXPECT_EQ(take(gen_concat_sep("a", ':', "b")), "a:b");
  EXPECT_EQ(take(gen_concat_sep("a", '\0', "b")), "ab");
  EXPECT_EQ(take(gen_concat_int("line ", -42)), "line -42");
  char* s = gen_copy("a");
  s = gen_fconcat(s, "b");
  s = gen_fconcat3(s, "c", "d");
  s = gen_fconcat_sep(s, '/', "e");
  s = gen_fconcat_int(s, 7);
  s = gen_fconcatn(s, "xyz", 1);
  EXPECT_EQ(take(s), "abcd/e7x");
}

TEST(StringTest, ComparisonAndSearch) {
  EXPECT_TRUE(gen_strequal("ABC", "abc"));
  EXPECT_FALSE(gen_strequal("ABC", "abd"));
  EXPECT_TRUE(gen_strequal(nullptr, nullptr));
  EXPECT_LT(gen_stricmp("apple", "BANANA"), 0);
  EXPECT_EQ(gen_strnicmp("HELLOx", "helloY", 5), 0);
  EXPECT_NE(gen_strnicmp("HELLOx", "helloY", 6), 0);
  EXPECT_TRUE(gen_strprefix("foobar", "foo"));
  EXPECT_FALSE(gen_strprefix("foobar", "FOO"));
  EXPECT_TRUE(gen_strcaseprefix("foobar", "FOO"));
  EXPECT_TRUE(gen_strsuffix("file.c", ".c"));
  EXPECT_FALSE(gen_strsuffix("c", "file.c"));
  const char* s = "abcABCabc";
  EXPECT_EQ(gen_strstr(s, "abc"), s);
  EXPECT_EQ(gen_strrstr(s, "abc"), s + 6);
  EXPECT_EQ(gen_strcasestr(s, "BC"), s + 1);
  EXPECT_EQ(gen_strrcasestr(s, "ABC"), s + 6);
  EXPECT_EQ(gen_strstr(s, "xyz"), nullptr);
  char text[] = "MiXeD 123";
  EXPECT_STREQ(gen_strlower(text), "mixed 123");
  EXPECT_STREQ(gen_strupper(text), "MIXED 123");
  char line[] = "  one, two,,three ";
  char* save = nullptr;
  std::string tokens;
  for (char* t = gen_strtok_r(line, " ,", &save); t; t = gen_strtok_r(nullptr, " ,", &save))
    tokens += std::string("[") + t + "]";
  EXPECT_EQ(tokens, "[one][two][three]");
}

TEST(StringTest, QuotingAndEscapesRoundTrip) {
  EXPECT_EQ(take(gen_quotify_string("say \"hi\"")), "\"say \\\"hi\\\"\"");
  EXPECT_EQ(take(gen_single_quotify_string("it's")), "'it'\\''s'");
  EXPECT_EQ(take(gen_dequotify_string("\"a\\\"b\"")), "a\"b");
  EXPECT_EQ(take(gen_dequotify_string("'a b'")), "a b");
  const char* raw = "tab\there\nbell\a\\end\x01";
  char* escaped = gen_escapify_string(raw);
  EXPECT_STREQ(escaped, "tab\\there\\nbell\\a\\\\end\\001");
  EXPECT_EQ(take(gen_unescapify_string(escaped)), raw);
  gen_free(escaped);
  const char* name = "my file (1)$.txt";
  escaped = gen_shellescapify_filename(name);
  EXPECT_STREQ(escaped, "my\\ file\\ \\(1\\)\\$.txt");
  EXPECT_EQ(take(gen_unshellescapify_filename(escaped)), name);
  gen_free(escaped);
}

TEST(FormatTest, NewStringsAndBoundedBuffers) {
  EXPECT_EQ(take(gen_asprintf("%d|%5s|%-3c|%x|%.2f", -12, "ab", 'z', 255, 2.5)),
            "-12|   ab|z  |ff|2.50");
  EXPECT_EQ(take(gen_msprintf("%s=%u", "n", 7u)), "n=7");
  const std::string part(700, 'q');  // longer than the stack buffer
  EXPECT_EQ(take(gen_asprintf("<%s|%s>", part.c_str(), part.c_str())),
            "<" + part + "|" + part + ">");
  char buf[6];
  EXPECT_EQ(gen_snprintf(buf, sizeof buf, "%s-%d", "abcd", 123), 8);
  EXPECT_STREQ(buf, "abcd-");
  EXPECT_EQ(gen_snprintf(nullptr, 0, "%d", 42), 2);
  gen_changeprogname("prog");
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(gen_asprintf(nullptr), nullptr);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "prog: error: [gen_asprintf]: Format was NULL (illegal).\n");
}

// An independent reference: the message is divided bit by bit as a
// polynomial over GF(2), feeding each data bit into the register's top.
std::uint32_t reference_cksum(const std::string& data, std::uint32_t reg) {
  for (unsigned char byte : data) {
    for (int bit = 7; bit >= 0; bit--) {
      const std::uint32_t in = (byte >> bit) & 1u;
      reg = (reg << 1) ^ (((reg >> 31) ^ in) ? 0x10211021u : 0u);
    }
  }
  return reg;
}

TEST(CksumTest, MatchesTheReferenceAndRunsInPieces) {
  const std::string text = "The quick brown fox jumps over the lazy dog";
  const unsigned long whole = gen_cksum(text.data(), static_cast<long>(text.size()), 0);
  EXPECT_EQ(whole, reference_cksum(text, 0));
  unsigned long state = gen_cksum(text.data(), 10, 0);
  state = gen_cksum(text.data() + 10, static_cast<long>(text.size()) - 10, state);
  EXPECT_EQ(state, whole);
  EXPECT_EQ(gen_cksum(text.data(), 5, 0xdeadbeef),
            reference_cksum(text.substr(0, 5), 0xdeadbeef));
  EXPECT_EQ(gen_cksum(nullptr, 10, 77), 77u);
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

TEST(TempBufTest, RingOfBuffersGrowsOnDemand) {
  char* first = gen_temp_copy(3, "one");
  char* second = gen_temp_copy(3, "two");
  char* third = gen_temp_copy(3, "six");
  EXPECT_EQ((std::set<char*>{first, second, third}).size(), 3u);
  EXPECT_EQ(gen_temp_copy(3, "ten"), first);  // the ring came round again
  EXPECT_STREQ(second, "two");
  EXPECT_STREQ(third, "six");
  EXPECT_EQ(gen_temp_copy(2, nullptr), nullptr);
  char* bufs[8];
  for (int i = 0; i < 8; i++) {
    bufs[i] = gen_get_temp_buf(8, 16);
    std::snprintf(bufs[i], 16, "slot %d", i);
  }
  for (int i = 0; i < 8; i++) EXPECT_EQ(std::string(bufs[i]), "slot " + std::to_string(i));
}

}  // namespace
