// Canonical forms under the option bits and their precedence: whitespace
// options first (-b over -w), then C tokens, then case alone; one table.
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

TEST(CanonTest, FormsUnderEachOptionSet) {
  const struct {
    std::string line;
    int options;
    std::string canonical;
  } cases[] = {
      {" A \t b ", 0, " A \t b "},
      {std::string("x\0y", 3), 0, std::string("x\0y", 3)},
      {"a\tb", B, "a b"},
      {"a  b", B, "a b"},
      {"  lead and trail \t", B, "lead and trail"},
      {"a\r\f\nb", B, "a b"},
      {"a\vb", B, "a\vb"},  // vertical tab is not whitespace here
      {" a \t b ", W, "ab"},
      {" a \t b ", W | B, "a b"},  // amount wins over all
      {"x = y", C, "x=y"},
      {"int   x", C, "int x"},  // a blank stays only between words
      {"  f ( a_1 , $b ) ; ", C, "f(a_1,$b);"},
      {"a_1 $b", C, "a_1 $b"},
      {"x = y", C | B, "x = y"},  // whitespace options win over C tokens
      {"x = y", C | W, "x=y"},
      {"ABC xyz", I, "abc xyz"},
      {"\xc4Z", I, "\xc4z"},  // only A-Z fold
      {"A  B", B | I, "a b"},
      {"A  B", W | I, "ab"},
      {"INT  X = 1", C | I, "int x=1"},
      {" \t \r", W, ""},  // blank lines become empty
      {" \t \r", C, ""},
      {" \t \r", B | I, ""},
      {" \t", I, " \t"},
      {"A  b", 16, "A  b"},  // unknown bits alone copy
  };
  for (const auto& c : cases) EXPECT_EQ(Canon(c.line, c.options), c.canonical) << c.line;
}

}  // namespace
