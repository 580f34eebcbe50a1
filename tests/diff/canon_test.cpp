// Canonical forms under the option bits and their precedence: whitespace
// options first (-b over -w), then C tokens, then case alone.
#include <gtest/gtest.h>

#include <string>

#include "diff/diff.h"

namespace {

std::string Canon(const std::string& s, int options) {
  std::string out(s.size() + 1, '?');
  const long n = diff_canonicalize(s.data(), static_cast<long>(s.size()), options, out.data());
  return out.substr(0, n);
}

constexpr int W = DIFF_IGNORE_ALL_SPACE;
constexpr int B = DIFF_IGNORE_SPACE_AMOUNT;
constexpr int C = DIFF_C_TOKENS;
constexpr int I = DIFF_IGNORE_CASE;

TEST(CanonTest, NoOptionsCopiesTheLine) {
  EXPECT_EQ(Canon(" A \t b ", 0), " A \t b ");
  EXPECT_EQ(Canon(std::string("x\0y", 3), 0), std::string("x\0y", 3));
}

TEST(CanonTest, AmountOfWhitespace) {
  EXPECT_EQ(Canon("a\tb", B), "a b");
  EXPECT_EQ(Canon("a  b", B), Canon("a b", B));
  EXPECT_EQ(Canon("  lead and trail \t", B), "lead and trail");
  EXPECT_EQ(Canon("a\r\f\nb", B), "a b");
  EXPECT_NE(Canon("a b", B), Canon("ab", B));
  EXPECT_EQ(Canon("a\vb", B), "a\vb");  // vertical tab is not whitespace here
}

TEST(CanonTest, AllWhitespace) {
  EXPECT_EQ(Canon(" a \t b ", W), "ab");
  EXPECT_EQ(Canon("a b", W), Canon("ab", W));
}

TEST(CanonTest, AmountWinsOverAll) {
  EXPECT_EQ(Canon(" a \t b ", W | B), "a b");
  EXPECT_NE(Canon("a b", W | B), Canon("ab", W | B));
}

TEST(CanonTest, CTokensKeepABlankOnlyBetweenWords) {
  EXPECT_EQ(Canon("x = y", C), "x=y");
  EXPECT_EQ(Canon("int   x", C), "int x");
  EXPECT_NE(Canon("int x", C), Canon("intx", C));
  EXPECT_EQ(Canon("  f ( a_1 , $b ) ; ", C), "f(a_1,$b);");
  EXPECT_EQ(Canon("a_1 $b", C), "a_1 $b");
}

TEST(CanonTest, WhitespaceOptionsIgnoreCTokens) {
  EXPECT_EQ(Canon("x = y", C | B), "x = y");
  EXPECT_EQ(Canon("x = y", C | W), "x=y");
}

TEST(CanonTest, CaseFolding) {
  EXPECT_EQ(Canon("ABC xyz", I), "abc xyz");
  EXPECT_EQ(Canon("\xc4Z", I), "\xc4z");  // only A-Z fold
  EXPECT_EQ(Canon("A  B", B | I), "a b");
  EXPECT_EQ(Canon("A  B", W | I), "ab");
  EXPECT_EQ(Canon("INT  X = 1", C | I), "int x=1");
}

TEST(CanonTest, BlankLinesBecomeEmpty) {
  for (int options : {W, B, C, W | B, B | I}) {
    EXPECT_EQ(Canon(" \t \r", options), "") << options;
  }
  EXPECT_EQ(Canon(" \t", I), " \t");
}

TEST(CanonTest, UnknownBitsAloneCopy) { EXPECT_EQ(Canon("A  b", 16), "A  b"); }

}  // namespace
