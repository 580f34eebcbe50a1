// Containers no program uses yet: the hash table (growth keeps every item
// findable, duplicates are refused, iteration visits each item once), the
// linked list (a stack at the end, iterators that follow removals) and the
// growable string (appends as a std::string would); and the messages each
// gives for bad arguments.
#include "libs/libadt/ht.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "libs/libadt/adt_report.h"
#include "libs/libadt/list.h"
#include "libs/libadt/mstring.h"

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

void* word(intptr_t v) { return reinterpret_cast<void*>(v); }
intptr_t value(void* p) { return reinterpret_cast<intptr_t>(p); }
std::vector<intptr_t> deleted;

TEST(LinkedList, StackAndIteratorsFollowingRemovals) {
  List_PT list = List_New([](void* p) { deleted.push_back(value(p)); }, nullptr);
  for (intptr_t v = 1; v <= 4; v++) List_Push(list, word(v));
  EXPECT_EQ(value(List_PeekNFromEnd(list, 3)), 1);
  EXPECT_EQ(value(List_Pop(list)), 4);
  ListIter_PT it = List_Begin(list);
  ListIter_Next(it);  // at 2
  ListIter_PT other = ListIter_Copy(it);
  EXPECT_EQ(ListIter_DelCurNext(it, 1), nullptr);
  EXPECT_EQ(deleted, std::vector<intptr_t>{2});
  EXPECT_EQ(value(ListIter_GetValue(other)), 3);  // moved on with the removal
  EXPECT_EQ(value(List_Pop(list)), 3);
  EXPECT_EQ(ListIter_AtEnd(other), 1);
  ListIter_Delete(other);
  List_Delete(list);  // the live iterator is detached
  EXPECT_EQ(deleted, (std::vector<intptr_t>{2, 1}));
  EXPECT_EQ(ListIter_GetValue(it), nullptr);
  ListIter_Delete(it);
  testing::internal::CaptureStderr();
  EXPECT_EQ(List_Push(nullptr, word(1)), 0);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "List_Push() called on NULL or invalid List_PT\n");
}

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
