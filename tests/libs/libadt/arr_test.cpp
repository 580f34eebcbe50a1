// The growable array: capacity rules, reads and writes past the size,
// removal with and without deleting, resizing, sorting, and the messages
// for null or stale handles.
#include "libs/libadt/arr.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

std::vector<void*> deleted;
void record_delete(void* p) { deleted.push_back(p); }

void* word(intptr_t v) { return reinterpret_cast<void*>(v); }
intptr_t value(void* p) { return reinterpret_cast<intptr_t>(p); }

TEST(Arr, CapacityRules) {
  Arr_PT a = Arr_New(0, nullptr);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(Arr_GetCapacity(a), 30);
  EXPECT_EQ(Arr_GetSize(a), 0);
  EXPECT_EQ(Arr_GetVal(a, 100), nullptr);
  EXPECT_EQ(Arr_GetCapacity(a), 202);
  EXPECT_EQ(Arr_GetSize(a), 0);
  EXPECT_EQ(Arr_GetVal(a, 201), nullptr);
  EXPECT_EQ(Arr_GetCapacity(a), 202);
  Arr_Delete(a);
  a = Arr_New(5, nullptr);
  EXPECT_EQ(Arr_GetCapacity(a), 5);
  Arr_Delete(a);
}

TEST(Arr, PutPastTheSizeExtendsItWithNulls) {
  Arr_PT a = Arr_New(2, nullptr);
  EXPECT_EQ(Arr_PutVal(a, 10, word(77)), 1);
  EXPECT_EQ(Arr_GetSize(a), 11);
  EXPECT_EQ(Arr_GetCapacity(a), 22);
  for (int i = 0; i < 10; i++) EXPECT_EQ(Arr_GetVal(a, i), nullptr) << i;
  EXPECT_EQ(value(Arr_GetVal(a, 10)), 77);
  EXPECT_EQ(Arr_PutVal(a, 3, word(5)), 1);
  EXPECT_EQ(Arr_GetSize(a), 11);
  Arr_Delete(a);
}

TEST(Arr, DeleteValShiftsAndReturnsOrDeletes) {
  deleted.clear();
  Arr_PT a = Arr_New(0, record_delete);
  for (int i = 0; i < 5; i++) Arr_PutVal(a, i, word(i + 1));
  EXPECT_EQ(value(Arr_DeleteVal(a, 1, 0)), 2);
  EXPECT_TRUE(deleted.empty());
  EXPECT_EQ(Arr_DeleteVal(a, 0, 1), nullptr);
  EXPECT_EQ(deleted, std::vector<void*>{word(1)});
  ASSERT_EQ(Arr_GetSize(a), 3);
  EXPECT_EQ(value(Arr_GetVal(a, 0)), 3);
  EXPECT_EQ(value(Arr_GetVal(a, 2)), 5);
  EXPECT_EQ(Arr_GetVal(a, 3), nullptr);
  EXPECT_EQ(Arr_DeleteVal(a, 3, 1), nullptr);
  EXPECT_EQ(Arr_GetSize(a), 3);
  Arr_Delete(a);
  EXPECT_EQ(deleted.size(), 4u);
}

TEST(Arr, DeleteValWithoutDeleteFunctionHandsTheElementBack) {
  Arr_PT a = Arr_New(0, nullptr);
  Arr_PutVal(a, 0, word(9));
  EXPECT_EQ(value(Arr_DeleteVal(a, 0, 1)), 9);
  EXPECT_EQ(Arr_GetSize(a), 0);
  Arr_Delete(a);
}

TEST(Arr, SetSizeDeletesBeyondAndGrowsWithNulls) {
  deleted.clear();
  Arr_PT a = Arr_New(0, record_delete);
  for (int i = 0; i < 6; i++) Arr_PutVal(a, i, word(i + 1));
  EXPECT_EQ(Arr_SetSize(a, 4), 1);
  EXPECT_EQ(deleted, (std::vector<void*>{word(5), word(6)}));
  EXPECT_EQ(Arr_SetSize(a, 40), 1);
  EXPECT_EQ(Arr_GetSize(a), 40);
  EXPECT_EQ(Arr_GetVal(a, 4), nullptr);
  EXPECT_EQ(Arr_GetVal(a, 39), nullptr);
  EXPECT_EQ(value(Arr_GetVal(a, 3)), 4);
  EXPECT_EQ(Arr_SetSize(a, 0), 1);
  EXPECT_EQ(deleted.size(), 6u);
  Arr_Delete(a);
  EXPECT_EQ(deleted.size(), 6u);
}

TEST(Arr, SortOrdersTheValidElements) {
  Arr_PT a = Arr_New(0, nullptr);
  const intptr_t input[] = {5, -3, 9, 0, 9, 2};
  for (int i = 0; i < 6; i++) Arr_PutVal(a, i, word(input[i]));
  Arr_Sort(a, [](const void* x, const void* y) {
    intptr_t l = reinterpret_cast<intptr_t>(x), r = reinterpret_cast<intptr_t>(y);
    return l < r ? -1 : l > r ? 1 : 0;
  });
  std::vector<intptr_t> got;
  for (int i = 0; i < Arr_GetSize(a); i++) got.push_back(value(Arr_GetVal(a, i)));
  EXPECT_EQ(got, (std::vector<intptr_t>{-3, 0, 2, 5, 9, 9}));
  Arr_Delete(a);
}

TEST(Arr, NullOrInvalidHandlesAreReported) {
  alignas(16) unsigned char junk[64] = {};
  auto* stale = reinterpret_cast<Arr_PT>(junk);
  for (Arr_PT bad : {static_cast<Arr_PT>(nullptr), stale}) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(Arr_GetSize(bad), -1);
    EXPECT_EQ(Arr_GetVal(bad, 0), nullptr);
    EXPECT_EQ(Arr_PutVal(bad, 0, word(1)), 0);
    EXPECT_EQ(Arr_DeleteVal(bad, 0, 1), nullptr);
    EXPECT_EQ(Arr_SetSize(bad, 3), 0);
    Arr_Delete(bad);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Arr_GetSize() called on NULL or invalid Arr_PT\n"
              "Arr_GetVal called on NULL or invalid Arr_PT\n"
              "Arr_PutVal called on NULL or invalid Arr_PT\n"
              "Arr_DeleteVal() called on NULL or invalid Arr_PT\n"
              "Arr_SetSize() called on NULL or invalid Arr_PT\n"
              "Arr_Delete called on NULL or invalid Arr_PT\n");
  }
}

TEST(Arr, NegativeIndexIsRefused) {
  Arr_PT a = Arr_New(0, nullptr);
  testing::internal::CaptureStderr();
  EXPECT_EQ(Arr_GetVal(a, -1), nullptr);
  EXPECT_EQ(Arr_PutVal(a, -5, word(1)), 0);
  EXPECT_EQ(Arr_New(-1, nullptr), nullptr);
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("negative index"), std::string::npos) << err;
  EXPECT_NE(err.find("Negative capacity"), std::string::npos) << err;
  EXPECT_EQ(Arr_GetSize(a), 0);
  Arr_Delete(a);
}

}  // namespace
