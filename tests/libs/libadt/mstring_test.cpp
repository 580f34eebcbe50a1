// The growable string (no program uses it yet): capacity rules, appending
// plain and formatted text, and the reports for a null MString.
#include "libs/libadt/mstring.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "libs/libadt/adt_report.h"

namespace {

TEST(MString, CapacityRules) {
  MString* m = MString_new(0);
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(m->capacity, 1);
  EXPECT_STREQ(MString_str(m), "");
  EXPECT_EQ(MString_ensureCapacity(m, 1), 0);
  EXPECT_EQ(m->capacity, 2);
  EXPECT_EQ(MString_ensureCapacity(m, 10), 0);
  EXPECT_EQ(m->capacity, 20);
  EXPECT_EQ(MString_append(m, "0123456789abcdefghij"), 20);
  EXPECT_EQ(m->capacity, 40);
  MString_delete(m);
}

TEST(MString, AppendsMatchAStdString) {
  std::mt19937 rng(7);
  MString* m = MString_new(3);
  std::string expected;
  for (int i = 0; i < 2000; i++) {
    std::string piece(rng() % 40, static_cast<char>('a' + rng() % 26));
    int n = static_cast<int>(rng() % 50);
    MString_appendn(m, piece.c_str(), n);
    expected += piece.substr(0, static_cast<size_t>(n));
    MString_append(m, "|");
    expected += "|";
  }
  EXPECT_EQ(MString_len(m), static_cast<int>(expected.size()));
  EXPECT_EQ(MString_str(m), expected);
  EXPECT_LT(MString_len(m), m->capacity);
  EXPECT_EQ(MString_append(m, nullptr), MString_len(m));
  MString_delete(m);
}

TEST(MString, AppendfFormatsLikeSnprintf) {
  MString* m = MString_new(1);
  MString_append(m, "x=");
  EXPECT_EQ(MString_appendf(m, "%05d|%-6s|%.3f|%c", 42, "ab", 2.0 / 3, 'z'), 22);
  char expected[64];
  std::snprintf(expected, sizeof expected, "x=%05d|%-6s|%.3f|z", 42, "ab", 2.0 / 3);
  EXPECT_STREQ(MString_str(m), expected);
  adt_set_report_hook([](int, const char*) {});
  int n = 0;
  EXPECT_EQ(MString_appendf(m, "more%n", &n), -1);
  adt_set_report_hook(nullptr);
  EXPECT_STREQ(MString_str(m), expected);
  MString_delete(m);
}

std::vector<std::string> reports;

TEST(MString, NullIsReportedAsAnError) {
  reports.clear();
  adt_set_report_hook([](int severity, const char* text) {
    reports.push_back(std::to_string(severity) + " " + text);
  });
  const std::vector<std::pair<std::string, bool>> calls = {
      {"MString_append", MString_append(nullptr, "x") == -1},
      {"MString_appendn", MString_appendn(nullptr, "x", 1) == -1},
      {"MString_appendf", MString_appendf(nullptr, "%d", 1) == -1},
      {"MString_peel", MString_peel(nullptr) == nullptr},
      {"MString_copy", MString_copy(nullptr) == nullptr},
      {"MString_ensureCapacity", MString_ensureCapacity(nullptr, 5) == -1},
      {"MString_removeTrailingWhiteSpace", MString_removeTrailingWhiteSpace(nullptr) == -1},
      {"MString_len", MString_len(nullptr) == -1}};
  MString_delete(nullptr);
  adt_set_report_hook(nullptr);
  ASSERT_EQ(reports.size(), calls.size());
  for (size_t i = 0; i < calls.size(); i++) {
    EXPECT_TRUE(calls[i].second) << calls[i].first;
    EXPECT_EQ(reports[i], "3 [" + calls[i].first + "]: cannot operate on NULL");
  }
  testing::internal::CaptureStderr();
  MString_len(nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "[MString_len]: cannot operate on NULL\n");
}

}  // namespace
