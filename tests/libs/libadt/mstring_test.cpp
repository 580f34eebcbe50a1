// The growable string (no program uses it yet): appending plain and
// formatted text as a std::string would, and the report for a null one.
#include "libs/libadt/mstring.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>

#include "libs/libadt/adt_report.h"

namespace {

TEST(MString, AppendsMatchAStdString) {
  std::mt19937 rng(7);
  MString* m = MString_new(0);
  std::string expected;
  for (int i = 0; i < 2000; i++) {
    std::string piece(rng() % 40, static_cast<char>('a' + rng() % 26));
    int n = static_cast<int>(rng() % 50);
    MString_appendn(m, piece.c_str(), n);
    expected += piece.substr(0, static_cast<size_t>(n));
    MString_appendf(m, "|%d", i);
    expected += "|" + std::to_string(i);
  }
  EXPECT_EQ(MString_str(m), expected);
  EXPECT_LT(MString_len(m), m->capacity);
  MString_delete(m);
  testing::internal::CaptureStderr();
  EXPECT_EQ(MString_append(nullptr, "x"), -1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "[MString_append]: cannot operate on NULL\n");
}

}  // namespace
