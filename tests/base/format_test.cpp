// Formatted output into new strings and bounded buffers (including the
// Roman numeral conversions), and the running checksum.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "base/gen.h"

// %r and %R are the formatter's own conversions, unknown to the compiler.
#pragma GCC diagnostic ignored "-Wformat"
#pragma GCC diagnostic ignored "-Wformat-extra-args"

namespace {

using ::testing::internal::CaptureStderr;
using ::testing::internal::GetCapturedStderr;

std::string take(char* s) {
  if (!s) return "<null>";
  std::string copy = s;
  gen_free(s);
  return copy;
}

TEST(AsprintfTest, StandardConversions) {
  EXPECT_EQ(take(gen_asprintf("%d|%5s|%-3c|%x|%.2f", -12, "ab", 'z', 255, 2.5)),
            "-12|   ab|z  |ff|2.50");
  EXPECT_EQ(take(gen_msprintf("%s=%u", "n", 7u)), "n=7");
  EXPECT_EQ(take(gen_asprintf("%s", "")), "");
}

TEST(AsprintfTest, RomanNumerals) {
  EXPECT_EQ(take(gen_asprintf("%r", 1994)), "mcmxciv");
  EXPECT_EQ(take(gen_asprintf("%R", 2024)), "MMXXIV");
  EXPECT_EQ(take(gen_asprintf("page %R of %r", 4, 9)), "page IV of ix");
}

TEST(AsprintfTest, LongResultsSpillToTheHeap) {
  const std::string part(700, 'q');
  EXPECT_EQ(take(gen_asprintf("<%s|%s>", part.c_str(), part.c_str())),
            "<" + part + "|" + part + ">");
}

TEST(AsprintfTest, NullFormatIsReported) {
  gen_changeprogname("prog");
  CaptureStderr();
  EXPECT_EQ(gen_asprintf(nullptr), nullptr);
  EXPECT_EQ(GetCapturedStderr(),
            "prog: error: [gen_asprintf]: Format was NULL (illegal).\n");
}

TEST(SnprintfTest, TruncatesButCountsEverything) {
  char buf[6];
  EXPECT_EQ(gen_snprintf(buf, sizeof buf, "%s-%d", "abcd", 123), 8);
  EXPECT_STREQ(buf, "abcd-");
  EXPECT_EQ(gen_snprintf(buf, sizeof buf, "%R", 3), 3);
  EXPECT_STREQ(buf, "III");
  EXPECT_EQ(gen_snprintf(nullptr, 0, "%d", 42), 2);
}

// An independent reference: the message is divided bit by bit as a
// polynomial over GF(2), feeding each data bit into the register's top.
std::uint32_t reference_cksum(const std::string& data, std::uint32_t reg) {
  for (unsigned char byte : data) {
    for (int bit = 7; bit >= 0; bit--) {
      const std::uint32_t in = (byte >> bit) & 1u;
      const std::uint32_t out = reg >> 31;
      reg = (reg << 1) ^ ((out ^ in) ? 0x10211021u : 0u);
    }
  }
  return reg;
}

TEST(CksumTest, MatchesTheReferenceAndRunsInPieces) {
  const std::string text = "The quick brown fox jumps over the lazy dog";
  const unsigned long whole = gen_cksum(text.data(), static_cast<long>(text.size()), 0);
  EXPECT_EQ(whole, reference_cksum(text, 0));
  EXPECT_EQ(gen_cksum("\x01", 1, 0), 0x10211021u);  // one bit, fed last
  unsigned long state = gen_cksum(text.data(), 10, 0);
  state = gen_cksum(text.data() + 10, static_cast<long>(text.size()) - 10, state);
  EXPECT_EQ(state, whole);
  EXPECT_EQ(gen_cksum(text.data(), 5, 0xdeadbeef),
            reference_cksum(text.substr(0, 5), 0xdeadbeef));
  EXPECT_EQ(gen_cksum(nullptr, 10, 77), 77u);
  EXPECT_EQ(gen_cksum("", 0, 5), 5u);
}

}  // namespace
