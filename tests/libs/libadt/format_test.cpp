// The formatter against the C library's snprintf: every standard conversion
// over a grid of flags, widths, precisions and values must print the same
// bytes.  Roman numerals, %n and malformed formats are checked on their own.
#include "libs/libadt/format.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "libs/libadt/adt_report.h"

namespace {

void append(void* ctx, const char* s, long n) { static_cast<std::string*>(ctx)->append(s, n); }

template <typename... A>
std::string ours(const char* format, A... args) {
  std::string out;
  int n = MT_Sprintf(append, &out, format, args...);
  EXPECT_EQ(n, static_cast<int>(out.size())) << format;
  return out;
}

template <typename... A>
std::string theirs(const char* format, A... args) {
  std::vector<char> buf(std::snprintf(nullptr, 0, format, args...) + 1);
  std::snprintf(buf.data(), buf.size(), format, args...);
  return buf.data();
}

template <typename... A>
void expect_like_snprintf(const std::string& format, A... args) {
  EXPECT_EQ(ours(format.c_str(), args...), theirs(format.c_str(), args...))
      << "format \"" << format << "\"";
}

// Every combination of flags, width and precision in front of `conv`.
std::vector<std::string> grid(const std::string& length, char conv) {
  std::vector<std::string> out;
  for (const char* flags : {"", "-", "+", " ", "#", "0", "-+", "+0", " 0", "#0", "-#0"})
    for (const char* width : {"", "1", "9"})
      for (const char* prec : {"", ".", ".0", ".3", ".12"})
        out.push_back(std::string("[%") + flags + width + prec + length + conv + "]");
  return out;
}

TEST(MTFormat, IntegersMatchSnprintf) {
  for (char conv : {'d', 'i'})
    for (const auto& f : grid("", conv))
      for (int v : {0, 1, -1, 7, -42, 255, 123456, INT_MAX, INT_MIN}) expect_like_snprintf(f, v);
  for (char conv : {'o', 'u', 'x', 'X'})
    for (const auto& f : grid("", conv))
      for (unsigned v : {0u, 1u, 8u, 255u, 0xdeadbeefu, UINT_MAX}) expect_like_snprintf(f, v);
}

TEST(MTFormat, LengthModifiersMatchSnprintf) {
  for (const auto& f : grid("hh", 'd')) expect_like_snprintf(f, 300);
  for (const auto& f : grid("h", 'x')) expect_like_snprintf(f, 0x12345);
  for (const auto& f : grid("l", 'd')) expect_like_snprintf(f, LONG_MIN);
  for (const auto& f : grid("ll", 'o')) expect_like_snprintf(f, ULLONG_MAX);
  for (const auto& f : grid("z", 'u')) expect_like_snprintf(f, SIZE_MAX);
}

TEST(MTFormat, StringsCharactersAndPointersMatchSnprintf) {
  for (const char* f : {"%s", "%10s", "%-10s", "%.0s", "%.3s", "%8.2s", "%-8.20s"})
    for (const char* s : {"", "a", "hello world", static_cast<const char*>(nullptr)})
      expect_like_snprintf(f, s);
  for (const char* f : {"%c", "%5c", "%-5c|"})
    for (int c : {int{'x'}, int{' '}, 255}) expect_like_snprintf(f, c);
  for (const char* f : {"%p", "%20p", "%-20p|"})
    for (void* p : {static_cast<void*>(nullptr), reinterpret_cast<void*>(uintptr_t{0xabc})})
      expect_like_snprintf(f, p);
}

TEST(MTFormat, FloatsMatchSnprintf) {
  const double values[] = {0.0, -0.0, 1.0, 0.5, 1.5, 2.5, 3.14159265358979, -2.718281828,
                           1e-5, 1e-4, 0.000123456, 123456.789, 999999.5, 9.9999995,
                           1e15, 1e300, 5e-324, DBL_MAX, INFINITY, -INFINITY, NAN};
  for (char conv : {'e', 'E', 'f', 'F', 'g', 'G'})
    for (const auto& f : grid("", conv))
      for (double v : values) {
        bool carry_into_exponent = v == 999999.5 && f.find('#') != std::string::npos;
        if (!carry_into_exponent || (conv != 'g' && conv != 'G')) expect_like_snprintf(f, v);
      }
  // With '#', %g keeps its zeros when rounding carries into exponent form;
  // the C library here prints "1.e+06", so compare with the %e form.
  EXPECT_EQ(ours("%#g", 999999.5), theirs("%#.5e", 999999.5));
}

TEST(MTFormat, RandomValuesMatchSnprintf) {
  std::mt19937_64 rng(20240607);
  for (int i = 0; i < 3000; i++) {
    uint64_t bits = rng();
    double d;
    std::memcpy(&d, &bits, sizeof d);
    expect_like_snprintf("%.17g %e %.0f", d, d, std::fmod(d, 1e30));
    expect_like_snprintf("%lld %llx %#llo", static_cast<long long>(bits), bits, bits);
  }
}

TEST(MTFormat, StarsLiteralsAndPercent) {
  expect_like_snprintf("%*d|%-*d|%*d", 6, 1, 6, 2, -6, 3);
  expect_like_snprintf("%.*f|%.*f|%*.*s|", 2, 3.14159, -1, 3.14159, 5, 2, "hello");
  expect_like_snprintf("100%% of %s, no conversions here", "it");
  expect_like_snprintf("%-+08.3d|%+ d|% +d", 5, 5, 5);
}

// Reads a Roman numeral back (either case); -1 for a letter that is none.
int roman_value(const std::string& s) {
  const std::string letters = "ivxlcdm";
  const int worth[] = {1, 5, 10, 50, 100, 500, 1000};
  int total = 0;
  for (size_t i = 0; i < s.size(); i++) {
    size_t k = letters.find(static_cast<char>(std::tolower(s[i])));
    if (k == std::string::npos) return -1;
    size_t next = i + 1 < s.size() ? letters.find(static_cast<char>(std::tolower(s[i + 1])))
                                   : std::string::npos;
    total += next != std::string::npos && worth[next] > worth[k] ? -worth[k] : worth[k];
  }
  return total;
}

TEST(MTFormatRoman, EveryNumeralReadsBackInShortestForm) {
  EXPECT_EQ(ours("%r %R [%6r][%-6R]", 1994, 3999, 3, 40), "mcmxciv MMMCMXCIX [   iii][XL    ]");
  EXPECT_EQ(ours("%lr|%+8lR", 0L, 4000L), "0|   +4000");  // outside 1..3999: decimal
  for (int v = 1; v <= 3999; v++) {
    std::string lower = ours("%r", v);
    std::string upper = ours("%R", v);
    ASSERT_EQ(roman_value(lower), v) << lower;
    ASSERT_EQ(roman_value(upper), v) << upper;
    for (char c : lower) ASSERT_TRUE(std::islower(static_cast<unsigned char>(c)));
    ASSERT_EQ(lower.find("iiii"), std::string::npos);
    ASSERT_EQ(lower.find("xxxx"), std::string::npos);
    ASSERT_EQ(lower.find("cccc"), std::string::npos);
  }
}

TEST(MTFormatRefusal, PercentNIsRefusedWithAMessage) {
  static std::string reported;
  adt_set_report_hook([](int severity, const char* text) {
    reported = std::to_string(severity) + " " + text;
  });
  std::string out;
  int count = 0;
  EXPECT_EQ(MT_Sprintf(append, &out, "ab%ncd", &count), -1);
  adt_set_report_hook(nullptr);
  EXPECT_EQ(reported, "3 %n format is not supported");
  EXPECT_EQ(count, 0);
  testing::internal::CaptureStderr();  // without a hook: standard error
  EXPECT_EQ(MT_Sprintf(nullptr, nullptr, "%n", static_cast<int*>(nullptr)), -1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "%n format is not supported\n");
}

}  // namespace
