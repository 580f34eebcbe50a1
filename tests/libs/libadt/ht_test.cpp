// The hash table (no program uses it yet): bucket ladder and growth,
// duplicate refusal, removal, iteration, deep cloning, and the messages for
// bad arguments.
#include "libs/libadt/ht.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <string>

namespace {

HT_PT string_table(long size) {
  return HT_New(size, HT_StringHashFunc, HT_StringCompareFunc, HT_StringDeleteFunc,
                HT_StringDeleteFunc, HT_StringCloneFunc, HT_StringCloneFunc);
}

bool insert(HT_PT ht, const std::string& key, const std::string& object) {
  void* k = HT_StringCloneFunc(key.c_str());
  void* o = HT_StringCloneFunc(object.c_str());
  if (HT_InsertItem(ht, k, o) == 1) return true;
  std::free(k);
  std::free(o);
  return false;
}

std::string find(HT_PT ht, const std::string& key) {
  auto* o = static_cast<const char*>(HT_FindItem(ht, key.c_str()));
  return o != nullptr ? o : "<absent>";
}

// Every key/object pair an iteration visits; a key seen twice fails.
std::map<std::string, std::string> walk(HT_PT ht) {
  std::map<std::string, std::string> pairs;
  HTIter_PT it = HT_Begin(ht);
  for (; !HTIter_AtEnd(it); HTIter_Inc(it)) {
    std::string key = static_cast<const char*>(HTIter_GetKey(it));
    EXPECT_EQ(pairs.count(key), 0u) << key << " visited twice";
    pairs[key] = static_cast<const char*>(HTIter_GetValue(it));
  }
  HTIter_Delete(it);
  return pairs;
}

TEST(HT, BucketLadderAndGrowth) {
  for (auto [size, buckets] : std::map<long, int>{{-4, 29}, {29, 29}, {30, 59}, {1000, 1049}}) {
    HT_PT ht = string_table(size);
    EXPECT_EQ(HT_GetBucketCount(ht), buckets) << size;
    HT_Delete(ht);
  }
  HT_PT ht = string_table(0);
  for (int i = 0; i < 58; i++) ASSERT_TRUE(insert(ht, "k" + std::to_string(i), "v"));
  EXPECT_EQ(HT_GetBucketCount(ht), 29);
  ASSERT_TRUE(insert(ht, "k58", "v"));  // chains average more than two links
  EXPECT_EQ(HT_GetBucketCount(ht), 59);
  HT_Delete(ht);
  testing::internal::CaptureStderr();
  EXPECT_EQ(string_table(1104691374L), nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "approxSize far too big in HT_New()\n");
}

TEST(HT, ManyItemsStayFindableAndIterationVisitsEachOnce) {
  HT_PT ht = string_table(0);
  HTIter_PT b = HT_Begin(ht), e = HT_End(ht);
  EXPECT_TRUE(HTIter_Equal(b, e));
  EXPECT_EQ(HTIter_GetValue(b), nullptr);
  HTIter_Delete(b);
  HTIter_Delete(e);
  std::map<std::string, std::string> expected;
  for (int i = 0; i < 20000; i++) {
    expected["key" + std::to_string(i)] = std::to_string(i * 7);
    ASSERT_TRUE(insert(ht, "key" + std::to_string(i), std::to_string(i * 7)));
  }
  EXPECT_EQ(HT_GetSize(ht), 20000);
  EXPECT_LE(HT_GetSize(ht), 2 * HT_GetBucketCount(ht));
  for (int i = 0; i < 20000; i += 7) ASSERT_EQ(find(ht, "key" + std::to_string(i)), std::to_string(i * 7));
  EXPECT_EQ(find(ht, "key20000"), "<absent>");
  EXPECT_EQ(walk(ht), expected);
  EXPECT_FALSE(insert(ht, "key5", "second"));  // a duplicate is refused
  EXPECT_EQ(find(ht, "key5"), "35");
  EXPECT_EQ(HT_RemoveItem(ht, "key5"), 1);
  EXPECT_EQ(HT_RemoveItem(ht, "key5"), 0);
  EXPECT_EQ(HT_HasItem(ht, "key5"), 0);
  HT_Delete(ht);
}

TEST(HT, CloneCopiesThroughTheCloneFunctionsOrWordForWord) {
  HT_PT ht = string_table(0);
  for (int i = 0; i < 100; i++) insert(ht, "k" + std::to_string(i), std::to_string(i));
  HT_PT copy = HT_Clone(ht);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(HT_GetBucketCount(copy), HT_GetBucketCount(ht));
  EXPECT_NE(HT_FindItem(copy, "k5"), HT_FindItem(ht, "k5"));
  std::map<std::string, std::string> original = walk(ht);
  HT_Delete(ht);
  EXPECT_EQ(walk(copy), original);
  HT_Delete(copy);

}

TEST(HT, BadArgumentsAreReported) {
  testing::internal::CaptureStderr();
  EXPECT_EQ(HT_New(0, nullptr, HT_StringCompareFunc, nullptr, nullptr, nullptr, nullptr),
            nullptr);
  EXPECT_EQ(HT_New(0, HT_StringHashFunc, nullptr, nullptr, nullptr, nullptr, nullptr),
            nullptr);
  EXPECT_EQ(HT_InsertItem(nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(HT_GetSize(nullptr), -1);
  EXPECT_EQ(HT_FindItem(nullptr, "x"), nullptr);
  EXPECT_EQ(HT_Begin(nullptr), nullptr);
  HT_Delete(nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "HashFunc_PT NULL in HT_New()\n"
            "CompareFunc_PT NULL in HT_New()\n"
            "HT_InsertItem() called on NULL or invalid HT_PT\n"
            "HT_GetSize() called on NULL or invalid HT_PT\n"
            "HT_FindItem() called on NULL or invalid HT_PT\n"
            "HT_Begin() called on NULL or invalid HT_PT\n");
}

}  // namespace
