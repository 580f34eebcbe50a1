// Strings: copies, concatenation with null and empty parts, comparison
// ignoring case, searching, character classes and the quoting family.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "base/gen.h"

namespace {

// Takes ownership of a returned string and compares it by value.
std::string take(char* s) {
  if (!s) return "<null>";
  std::string copy = s;
  gen_free(s);
  return copy;
}

TEST(CopyTest, CopiesAreNewAndBounded) {
  const char* text = "hello";
  char* copy = gen_copy(text);
  EXPECT_NE(copy, text);
  EXPECT_EQ(take(copy), "hello");
  EXPECT_EQ(take(gen_copyn("hello", 3)), "hel");
  EXPECT_EQ(take(gen_copyn("hi", 10)), "hi");
  EXPECT_EQ(take(gen_copyn("hi", -1)), "<null>");
  EXPECT_EQ(take(gen_copy(nullptr)), "<null>");
}

TEST(CopyTest, StrchangeReplacesTheOwnedString) {
  char* p = gen_copy("old");
  gen_strchange(&p, "new");
  EXPECT_STREQ(p, "new");
  gen_strchange(&p, p);  // same string: nothing happens
  EXPECT_STREQ(p, "new");
  gen_strchangen(&p, "abcdef", 2);
  EXPECT_STREQ(p, "ab");
  gen_strchange(&p, nullptr);
  EXPECT_EQ(p, nullptr);
}

TEST(ConcatTest, NullOrEmptyPartsGiveACopyOfTheOther) {
  EXPECT_EQ(take(gen_concat(nullptr, "x")), "x");
  EXPECT_EQ(take(gen_concat("", "x")), "x");
  EXPECT_EQ(take(gen_concat("x", nullptr)), "x");
  EXPECT_EQ(take(gen_concat(nullptr, nullptr)), "<null>");
  EXPECT_EQ(take(gen_concat("ab", "cd")), "abcd");
  EXPECT_EQ(take(gen_concatn("ab", "cdef", 2)), "abcd");
}

TEST(ConcatTest, ManyPartsSkipNulls) {
  EXPECT_EQ(take(gen_concat3("a", nullptr, "c")), "ac");
  EXPECT_EQ(take(gen_concat5("1", "2", "3", "4", "5")), "12345");
  EXPECT_EQ(take(gen_concat9("1", "2", "3", "4", "5", "6", "7", "8", "9")),
            "123456789");
  EXPECT_EQ(take(gen_concat4(nullptr, nullptr, nullptr, nullptr)), "<null>");
}

TEST(ConcatTest, SeparatorAndNumber) {
  EXPECT_EQ(take(gen_concat_sep("a", ':', "b")), "a:b");
  EXPECT_EQ(take(gen_concat_sep(nullptr, ':', "b")), "b");
  EXPECT_EQ(take(gen_concat_sep("a", ':', nullptr)), "a");
  EXPECT_EQ(take(gen_concat_sep("a", '\0', "b")), "ab");
  EXPECT_EQ(take(gen_concat_int("line ", -42)), "line -42");
}

TEST(ConcatTest, FreeingFormsConsumeTheirFirstArgument) {
  char* s = gen_copy("a");
  s = gen_fconcat(s, "b");
  s = gen_fconcat3(s, "c", "d");
  s = gen_fconcat_sep(s, '/', "e");
  s = gen_fconcat_int(s, 7);
  s = gen_fconcatn(s, "xyz", 1);
  EXPECT_EQ(take(s), "abcd/e7x");
}

TEST(CompareTest, EqualityIgnoresAsciiCase) {
  EXPECT_TRUE(gen_strequal("ABC", "abc"));
  EXPECT_FALSE(gen_strequal("ABC", "abd"));
  EXPECT_TRUE(gen_strequal(nullptr, nullptr));
  EXPECT_FALSE(gen_strequal("a", nullptr));
  EXPECT_FALSE(gen_strequal(nullptr, "a"));
  EXPECT_LT(gen_stricmp("apple", "BANANA"), 0);
  EXPECT_GT(gen_stricmp("b", "A"), 0);
  EXPECT_EQ(gen_strnicmp("HELLOx", "helloY", 5), 0);
  EXPECT_NE(gen_strnicmp("HELLOx", "helloY", 6), 0);
}

TEST(CompareTest, PrefixesAndSuffixes) {
  EXPECT_TRUE(gen_strprefix("foobar", "foo"));
  EXPECT_FALSE(gen_strprefix("foobar", "FOO"));
  EXPECT_TRUE(gen_strcaseprefix("foobar", "FOO"));
  EXPECT_TRUE(gen_strsuffix("file.c", ".c"));
  EXPECT_FALSE(gen_strsuffix("c", "file.c"));
  EXPECT_FALSE(gen_strprefix(nullptr, "a"));
}

TEST(SearchTest, FirstAndLastOccurrences) {
  const char* s = "abcABCabc";
  EXPECT_EQ(gen_strstr(s, "abc"), s);
  EXPECT_EQ(gen_strrstr(s, "abc"), s + 6);
  EXPECT_EQ(gen_strcasestr(s, "BC"), s + 1);
  EXPECT_EQ(gen_strrcasestr(s, "ABC"), s + 6);
  EXPECT_EQ(gen_strstr(s, "xyz"), nullptr);
  EXPECT_EQ(gen_strstr(nullptr, "a"), nullptr);
}

TEST(SearchTest, CaseChangeAndTokens) {
  char text[] = "MiXeD 123";
  EXPECT_STREQ(gen_strlower(text), "mixed 123");
  EXPECT_STREQ(gen_strupper(text), "MIXED 123");
  char line[] = "  one, two,,three ";
  char* save = nullptr;
  std::string tokens;
  for (char* t = gen_strtok_r(line, " ,", &save); t;
       t = gen_strtok_r(nullptr, " ,", &save)) {
    tokens += std::string("[") + t + "]";
  }
  EXPECT_EQ(tokens, "[one][two][three]");
}

TEST(CharClassTest, AsciiClasses) {
  EXPECT_TRUE(gen_isspace('\t'));
  EXPECT_FALSE(gen_isspace('x'));
  EXPECT_TRUE(gen_isblank(' '));
  EXPECT_FALSE(gen_isblank('\n'));
  EXPECT_TRUE(gen_isupper('Q'));
  EXPECT_FALSE(gen_isupper('q'));
  EXPECT_TRUE(gen_isalnum('7'));
  EXPECT_FALSE(gen_isalnum('_'));
  EXPECT_TRUE(gen_is_alphanum('_'));
  EXPECT_TRUE(gen_is_separator('('));
  EXPECT_FALSE(gen_is_separator('a'));
  EXPECT_TRUE(gen_is_arith('+'));
  EXPECT_FALSE(gen_is_arith('a'));
  EXPECT_FALSE(gen_is_arith(0));
  EXPECT_TRUE(gen_isblankstring(" \t\n"));
  EXPECT_TRUE(gen_isblankstring(nullptr));
  EXPECT_FALSE(gen_isblankstring(" x "));
}

TEST(QuotingTest, DoubleAndSingleQuotes) {
  EXPECT_EQ(take(gen_quotify_string("say \"hi\"")), "\"say \\\"hi\\\"\"");
  EXPECT_EQ(take(gen_single_quotify_string("it's")), "'it'\\''s'");
  EXPECT_EQ(take(gen_dequotify_string("\"a\\\"b\"")), "a\"b");
  EXPECT_EQ(take(gen_dequotify_string("'a b'")), "a b");
  EXPECT_EQ(take(gen_dequotify_string("plain")), "plain");
  EXPECT_EQ(take(gen_quotify_string(nullptr)), "<null>");
}

TEST(QuotingTest, EscapesRoundTrip) {
  const char* raw = "tab\there\nbell\a\\end\x01";
  char* escaped = gen_escapify_string(raw);
  EXPECT_STREQ(escaped, "tab\\there\\nbell\\a\\\\end\\001");
  EXPECT_EQ(take(gen_unescapify_string(escaped)), raw);
  gen_free(escaped);
}

TEST(QuotingTest, ShellEscapesRoundTrip) {
  const char* name = "my file (1)$.txt";
  char* escaped = gen_shellescapify_filename(name);
  EXPECT_STREQ(escaped, "my\\ file\\ \\(1\\)\\$.txt");
  EXPECT_EQ(take(gen_unshellescapify_filename(escaped)), name);
  gen_free(escaped);
}

}  // namespace
