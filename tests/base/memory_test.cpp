// Memory: zero-filled allocation through the hooks, the out-of-memory exit,
// the scratch buffer ring and the counted string array.
#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "base/gen.h"

namespace {

TEST(AllocTest, BlocksAreZeroFilled) {
  auto* p = static_cast<unsigned char*>(gen_alloc(10, 8));
  ASSERT_NE(p, nullptr);
  for (int i = 0; i < 80; i++) EXPECT_EQ(p[i], 0) << i;
  gen_free(p);
}

TEST(AllocTest, NonPositiveCountGivesNull) {
  EXPECT_EQ(gen_default_alloc(0, 8), nullptr);
  EXPECT_EQ(gen_default_alloc(-3, 8), nullptr);
  gen_free(nullptr);  // accepted
}

TEST(AllocTest, ReallocAllocatesGrowsAndFrees) {
  auto* p = static_cast<char*>(gen_default_realloc(nullptr, 16));
  ASSERT_NE(p, nullptr);
  for (int i = 0; i < 16; i++) EXPECT_EQ(p[i], 0);
  std::strcpy(p, "keep me");
  p = static_cast<char*>(gen_allocate(p, 100, 10));
  EXPECT_STREQ(p, "keep me");
  EXPECT_EQ(gen_default_realloc(p, 0), nullptr);
}

TEST(AllocTest, StructcopyDuplicatesBytes) {
  const int values[3] = {1, -2, 3};
  auto* copy = static_cast<int*>(gen_structcopy(values, sizeof values));
  ASSERT_NE(copy, nullptr);
  EXPECT_NE(copy, values);
  EXPECT_EQ(std::memcmp(copy, values, sizeof values), 0);
  gen_free(copy);
  EXPECT_EQ(gen_structcopy(nullptr, 4), nullptr);
}

TEST(AllocTest, ExhaustedMemoryEndsWithStatusThree) {
  EXPECT_EXIT(
      {
        gen_changeprogname("prog");
        gen_alloc(1L << 40, 1L << 20);
      },
      ::testing::ExitedWithCode(3), "^prog: fatal: Out of memory\n$");
  EXPECT_EXIT(
      {
        gen_changeprogname("prog");
        gen_realloc(gen_alloc(1, 1), 1L << 62);
      },
      ::testing::ExitedWithCode(3), "^prog: fatal: Out of memory\n$");
}

TEST(TempBufTest, BuffersStayValidForSlotsCalls) {
  char* first = gen_temp_copy(3, "one");
  char* second = gen_temp_copy(3, "two");
  char* third = gen_temp_copy(3, "six");
  EXPECT_STREQ(first, "one");
  EXPECT_STREQ(second, "two");
  EXPECT_STREQ(third, "six");
  std::set<char*> distinct = {first, second, third};
  EXPECT_EQ(distinct.size(), 3u);
  char* fourth = gen_temp_copy(3, "ten");
  EXPECT_EQ(fourth, first);  // the ring came round again
  EXPECT_STREQ(second, "two");
  EXPECT_STREQ(third, "six");
}

TEST(TempBufTest, BuffersGrowOnDemand) {
  char* small = gen_get_temp_buf(1, 4);
  ASSERT_NE(small, nullptr);
  char* big = gen_get_zeroed_temp_buf(1, 100000);
  ASSERT_NE(big, nullptr);
  for (long i = 0; i < 100000; i += 997) EXPECT_EQ(big[i], 0);
  std::memset(big, 'x', 100000);  // the whole size is usable
  EXPECT_EQ(gen_get_temp_buf(1, 0), nullptr);
  EXPECT_EQ(gen_temp_copy(2, nullptr), nullptr);
}

TEST(TempBufTest, MoreSlotsThanBeforeGrowTheRing) {
  char* bufs[8];
  for (int i = 0; i < 8; i++) {
    bufs[i] = gen_get_temp_buf(8, 16);
    std::snprintf(bufs[i], 16, "slot %d", i);
  }
  for (int i = 0; i < 8; i++) {
    EXPECT_STREQ(bufs[i], ("slot " + std::to_string(i)).c_str());
  }
}

TEST(StrArrayTest, AddsOwnedCopies) {
  gen_strarray a;
  gen_strarray_init(&a);
  EXPECT_EQ(a.count, 0);
  char word[] = "alpha";
  gen_strarray_add_str(&a, word);
  word[0] = 'X';
  gen_strarray_add_strn(&a, "betagamma", 4);
  ASSERT_EQ(a.count, 2);
  EXPECT_STREQ(a.strs[0], "alpha");
  EXPECT_STREQ(a.strs[1], "beta");
  gen_strarray_free(&a);
  EXPECT_EQ(a.count, 0);
  EXPECT_EQ(a.strs, nullptr);
  gen_strarray_free(nullptr);
}

}  // namespace
