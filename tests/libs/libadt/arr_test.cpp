// The growable array the engine keeps its ranges in: capacity rules, reads
// and writes past the size, and the messages for null or stale handles.
#include "libs/libadt/arr.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

void* word(intptr_t v) { return reinterpret_cast<void*>(v); }
intptr_t value(void* p) { return reinterpret_cast<intptr_t>(p); }

std::vector<intptr_t> contents(Arr_PT a) {
  std::vector<intptr_t> out;
  for (int i = 0; i < Arr_GetSize(a); i++) out.push_back(value(Arr_GetVal(a, i)));
  return out;
}

TEST(Arr, CapacityGrowsForReadsAndWritesPastTheSize) {
  Arr_PT a = Arr_New(0, nullptr);
  EXPECT_EQ(Arr_GetCapacity(a), 30);
  EXPECT_EQ(Arr_GetVal(a, 100), nullptr);
  EXPECT_EQ(Arr_GetCapacity(a), 202);
  EXPECT_EQ(Arr_GetSize(a), 0);
  Arr_Delete(a);
  a = Arr_New(2, nullptr);
  EXPECT_EQ(Arr_GetCapacity(a), 2);
  EXPECT_EQ(Arr_PutVal(a, 4, word(77)), 1);
  EXPECT_EQ(Arr_GetCapacity(a), 10);
  EXPECT_EQ(Arr_PutVal(a, 1, word(5)), 1);
  EXPECT_EQ(contents(a), (std::vector<intptr_t>{0, 5, 0, 0, 77}));
  Arr_Delete(a);
}

TEST(Arr, BadHandlesAndIndexesAreReported) {
  alignas(16) unsigned char junk[64] = {};
  for (Arr_PT bad : {static_cast<Arr_PT>(nullptr), reinterpret_cast<Arr_PT>(junk)}) {
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
