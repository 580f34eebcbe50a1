// The hash table (no program uses it yet): growth keeps every item
// findable, duplicates are refused, iteration visits each item once, and
// bad arguments are reported.
#include "libs/libadt/ht.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>

namespace {

TEST(HT, GrowsKeepingEveryItemAndVisitsEachOnce) {
  HT_PT ht = HT_New(0, HT_StringHashFunc, HT_StringCompareFunc, HT_StringDeleteFunc,
                    HT_StringDeleteFunc, HT_StringCloneFunc, HT_StringCloneFunc);
  EXPECT_EQ(HT_GetBucketCount(ht), 29);
  for (int i = 0; i < 5000; i++) {
    const std::string key = "k" + std::to_string(i);
    ASSERT_EQ(HT_InsertItem(ht, HT_StringCloneFunc(key.c_str()), HT_StringCloneFunc("v")), 1);
  }
  EXPECT_LE(HT_GetSize(ht), 2 * HT_GetBucketCount(ht));
  char key[] = "k7";
  EXPECT_EQ(HT_InsertItem(ht, key, key), 0);  // a duplicate is refused
  EXPECT_STREQ(static_cast<const char*>(HT_FindItem(ht, "k4999")), "v");
  EXPECT_EQ(HT_RemoveItem(ht, "k7"), 1);
  EXPECT_EQ(HT_HasItem(ht, "k7"), 0);
  std::set<std::string> seen;
  HTIter_PT it = HT_Begin(ht);
  for (; !HTIter_AtEnd(it); HTIter_Inc(it))
    EXPECT_TRUE(seen.insert(static_cast<const char*>(HTIter_GetKey(it))).second);
  HTIter_Delete(it);
  EXPECT_EQ(seen.size(), 4999u);
  HT_Delete(ht);
}

TEST(HT, BadArgumentsAreReported) {
  testing::internal::CaptureStderr();
  EXPECT_EQ(HT_New(0, nullptr, HT_StringCompareFunc, nullptr, nullptr, nullptr, nullptr),
            nullptr);
  EXPECT_EQ(HT_InsertItem(nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(HT_GetSize(nullptr), -1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "HashFunc_PT NULL in HT_New()\n"
            "HT_InsertItem() called on NULL or invalid HT_PT\n"
            "HT_GetSize() called on NULL or invalid HT_PT\n");
}

}  // namespace
