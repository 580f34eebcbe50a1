// The linked list: stack operations at the end, walking and editing through
// iterators (which follow removals), clearing, cloning, and the messages for
// null lists.
#include "libs/libadt/list.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

void* word(intptr_t v) { return reinterpret_cast<void*>(v); }
intptr_t value(void* p) { return reinterpret_cast<intptr_t>(p); }

std::vector<intptr_t> contents(List_PT list) {
  std::vector<intptr_t> out;
  ListIter_PT it = List_Begin(list);
  for (; !ListIter_AtEnd(it); ListIter_Next(it)) out.push_back(value(ListIter_GetValue(it)));
  ListIter_Delete(it);
  return out;
}

List_PT list_of(std::initializer_list<intptr_t> values) {
  List_PT list = List_New(nullptr, nullptr);
  for (intptr_t v : values) List_Push(list, word(v));
  return list;
}

TEST(LinkedList, PushPopAndPeek) {
  List_PT list = List_New(nullptr, nullptr);
  EXPECT_EQ(List_GetSize(list), 0);
  EXPECT_EQ(List_Pop(list), nullptr);
  EXPECT_EQ(List_PeekEnd(list), nullptr);
  for (intptr_t v = 1; v <= 4; v++) EXPECT_EQ(List_Push(list, word(v)), 1);
  EXPECT_EQ(List_GetSize(list), 4);
  EXPECT_EQ(value(List_PeekEnd(list)), 4);
  EXPECT_EQ(value(List_PeekNFromEnd(list, 0)), 4);
  EXPECT_EQ(value(List_PeekNFromEnd(list, 3)), 1);
  EXPECT_EQ(List_PeekNFromEnd(list, 4), nullptr);
  EXPECT_EQ(List_PeekNFromEnd(list, -1), nullptr);
  EXPECT_EQ(value(List_Pop(list)), 4);
  EXPECT_EQ(value(List_Pop(list)), 3);
  EXPECT_EQ(contents(list), (std::vector<intptr_t>{1, 2}));
  List_Delete(list);
}

TEST(LinkedList, IteratorsWalkInOrder) {
  List_PT list = list_of({10, 20, 30});
  ListIter_PT it = List_Begin(list);
  EXPECT_EQ(value(ListIter_GetValue(it)), 10);
  EXPECT_EQ(ListIter_Next(it), 1);
  ListIter_PT copy = ListIter_Copy(it);
  EXPECT_EQ(ListIter_Next(it), 1);
  EXPECT_EQ(ListIter_Next(it), 0);
  EXPECT_EQ(ListIter_AtEnd(it), 1);
  EXPECT_EQ(ListIter_Next(it), 0);
  EXPECT_EQ(ListIter_GetValue(it), nullptr);
  EXPECT_EQ(value(ListIter_GetValue(copy)), 20);
  ListIter_Delete(it);
  ListIter_Delete(copy);
  List_PT empty = List_New(nullptr, nullptr);
  it = List_Begin(empty);
  EXPECT_EQ(ListIter_AtEnd(it), 1);
  ListIter_Delete(it);
  List_Delete(empty);
  List_Delete(list);
}

TEST(LinkedList, InsertBesideTheCurrentElementOrTheEnd) {
  List_PT list = list_of({1, 2, 3});
  ListIter_PT it = List_Begin(list);
  ListIter_Next(it);  // at 2
  ListIter_InsBeside(it, word(15), 0);
  ListIter_InsBeside(it, word(25), 1);
  EXPECT_EQ(value(ListIter_GetValue(it)), 2);
  ListIter_PT end = List_End(list);
  ListIter_InsBeside(end, word(99), 0);
  ListIter_InsBeside(end, word(0), 1);
  EXPECT_EQ(contents(list), (std::vector<intptr_t>{0, 1, 15, 2, 25, 3, 99}));
  EXPECT_EQ(List_GetSize(list), 7);
  ListIter_Delete(it);
  ListIter_Delete(end);
  List_Delete(list);
}

std::vector<intptr_t> deleted;
void record_delete(void* p) { deleted.push_back(value(p)); }

TEST(LinkedList, DeleteCurrentMovesEveryIteratorOnIt) {
  deleted.clear();
  List_PT list = List_New(record_delete, nullptr);
  for (intptr_t v = 1; v <= 4; v++) List_Push(list, word(v));
  ListIter_PT it = List_Begin(list);
  ListIter_Next(it);  // at 2
  ListIter_PT other = ListIter_Copy(it);
  EXPECT_EQ(ListIter_DelCurNext(it, 1), nullptr);
  EXPECT_EQ(deleted, std::vector<intptr_t>{2});
  EXPECT_EQ(value(ListIter_GetValue(it)), 3);
  EXPECT_EQ(value(ListIter_GetValue(other)), 3);
  EXPECT_EQ(value(ListIter_DelCurNext(it, 0)), 3);
  EXPECT_EQ(deleted.size(), 1u);
  EXPECT_EQ(value(List_Pop(list)), 4);  // the iterators on 4 move to the end
  EXPECT_EQ(ListIter_AtEnd(other), 1);
  EXPECT_EQ(ListIter_DelCurNext(it, 1), nullptr);
  EXPECT_EQ(contents(list), std::vector<intptr_t>{1});
  ListIter_Delete(it);
  ListIter_Delete(other);
  List_Delete(list);
  EXPECT_EQ(deleted, (std::vector<intptr_t>{2, 1}));
}

TEST(LinkedList, ClearDeletesAllAndKeepsTheListUsable) {
  deleted.clear();
  List_PT list = List_New(record_delete, nullptr);
  for (intptr_t v = 1; v <= 3; v++) List_Push(list, word(v));
  List_Clear(list);
  EXPECT_EQ(deleted.size(), 3u);
  EXPECT_EQ(List_GetSize(list), 0);
  List_Push(list, word(8));
  EXPECT_EQ(contents(list), std::vector<intptr_t>{8});
  List_Delete(list);
}

TEST(LinkedList, DeletingTheListDetachesLiveIterators) {
  List_PT list = list_of({1, 2});
  ListIter_PT it = List_Begin(list);
  List_Delete(list);
  EXPECT_EQ(ListIter_AtEnd(it), 1);
  EXPECT_EQ(ListIter_GetValue(it), nullptr);
  EXPECT_EQ(ListIter_Next(it), 0);
  EXPECT_EQ(ListIter_Copy(it), nullptr);
  ListIter_Delete(it);
}

void* clone_string(const void* s) {
  size_t n = std::strlen(static_cast<const char*>(s)) + 1;
  return std::memcpy(std::malloc(n), s, n);
}

TEST(LinkedList, CloneCopiesThroughTheCloneFunction) {
  List_PT list = List_New(std::free, clone_string);
  List_Push(list, clone_string("alpha"));
  List_Push(list, clone_string("beta"));
  List_PT copy = List_Clone(list);
  ASSERT_EQ(List_GetSize(copy), 2);
  EXPECT_NE(List_PeekEnd(copy), List_PeekEnd(list));
  List_Delete(list);
  EXPECT_STREQ(static_cast<const char*>(List_PeekNFromEnd(copy, 1)), "alpha");
  EXPECT_STREQ(static_cast<const char*>(List_PeekEnd(copy)), "beta");
  List_Delete(copy);

  List_PT owning = List_New(std::free, nullptr);
  testing::internal::CaptureStderr();
  EXPECT_EQ(List_Clone(owning), nullptr);
  EXPECT_NE(testing::internal::GetCapturedStderr(), "");
  List_Delete(owning);
}

TEST(LinkedList, NullListsAreReported) {
  testing::internal::CaptureStderr();
  EXPECT_EQ(List_GetSize(nullptr), -1);
  EXPECT_EQ(List_Push(nullptr, word(1)), 0);
  EXPECT_EQ(List_Pop(nullptr), nullptr);
  EXPECT_EQ(List_Begin(nullptr), nullptr);
  EXPECT_EQ(ListIter_InsBeside(nullptr, word(1), 0), 0);
  List_Delete(nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "List_GetSize() called on NULL or invalid List_PT\n"
            "List_Push() called on NULL or invalid List_PT\n"
            "List_Pop() called on NULL or invalid List_PT\n"
            "List_Begin() called on NULL or invalid List_PT\n"
            "ListIter_InsBeside() called on NULL or detached ListIter_PT\n");
  EXPECT_EQ(ListIter_AtEnd(nullptr), 1);
  EXPECT_EQ(ListIter_DelCurNext(nullptr, 1), nullptr);
}

}  // namespace
