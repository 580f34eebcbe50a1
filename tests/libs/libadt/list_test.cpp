// The linked list (no program uses it yet): stack operations at the end,
// walking and editing through iterators (which follow removals), clearing,
// and the messages for null lists.
#include "libs/libadt/list.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using Values = std::vector<intptr_t>;
void* word(intptr_t v) { return reinterpret_cast<void*>(v); }
intptr_t value(void* p) { return reinterpret_cast<intptr_t>(p); }

Values contents(List_PT list) {
  Values out;
  ListIter_PT it = List_Begin(list);
  for (; !ListIter_AtEnd(it); ListIter_Next(it)) out.push_back(value(ListIter_GetValue(it)));
  ListIter_Delete(it);
  return out;
}

Values deleted;
List_PT list_of(Values values) {
  List_PT list = List_New([](void* p) { deleted.push_back(value(p)); }, nullptr);
  for (intptr_t v : values) EXPECT_EQ(List_Push(list, word(v)), 1);
  return list;
}

TEST(LinkedList, StackAtTheEndAndIteratorsInOrder) {
  List_PT list = list_of({});
  EXPECT_EQ(List_Pop(list), nullptr);
  EXPECT_EQ(List_PeekEnd(list), nullptr);
  ListIter_PT it = List_Begin(list);
  EXPECT_EQ(ListIter_AtEnd(it), 1);
  ListIter_Delete(it);
  for (intptr_t v = 1; v <= 4; v++) List_Push(list, word(v));
  EXPECT_EQ(List_GetSize(list), 4);
  EXPECT_EQ(value(List_PeekEnd(list)), 4);
  EXPECT_EQ(value(List_PeekNFromEnd(list, 3)), 1);
  EXPECT_EQ(List_PeekNFromEnd(list, 4), nullptr);
  EXPECT_EQ(List_PeekNFromEnd(list, -1), nullptr);
  EXPECT_EQ(value(List_Pop(list)), 4);
  it = List_Begin(list);
  EXPECT_EQ(ListIter_Next(it), 1);
  ListIter_PT copy = ListIter_Copy(it);
  EXPECT_EQ(ListIter_Next(it), 1);
  EXPECT_EQ(ListIter_Next(it), 0);
  EXPECT_EQ(ListIter_AtEnd(it), 1);
  EXPECT_EQ(ListIter_Next(it), 0);
  EXPECT_EQ(ListIter_GetValue(it), nullptr);
  EXPECT_EQ(value(ListIter_GetValue(copy)), 2);
  ListIter_Delete(it);
  ListIter_Delete(copy);
  EXPECT_EQ(contents(list), (Values{1, 2, 3}));
  List_Delete(list);
}

TEST(LinkedList, RemovalsMoveEveryIteratorOnTheElement) {
  deleted.clear();
  List_PT list = list_of({1, 2, 3, 4});
  ListIter_PT it = List_Begin(list);
  ListIter_Next(it);  // at 2
  ListIter_PT other = ListIter_Copy(it);
  EXPECT_EQ(ListIter_DelCurNext(it, 1), nullptr);
  EXPECT_EQ(deleted, Values{2});
  EXPECT_EQ(value(ListIter_GetValue(it)), 3);
  EXPECT_EQ(value(ListIter_GetValue(other)), 3);
  EXPECT_EQ(value(ListIter_DelCurNext(it, 0)), 3);  // handed back, not deleted
  EXPECT_EQ(value(List_Pop(list)), 4);  // the iterators on 4 move to the end
  EXPECT_EQ(ListIter_AtEnd(other), 1);
  EXPECT_EQ(contents(list), Values{1});
  ListIter_Delete(it);
  ListIter_Delete(other);
  List_Clear(list);
  EXPECT_EQ(deleted, (Values{2, 1}));
  List_Push(list, word(8));  // still usable
  it = List_Begin(list);
  List_Delete(list);  // live iterators are detached
  EXPECT_EQ(deleted, (Values{2, 1, 8}));
  EXPECT_EQ(ListIter_AtEnd(it), 1);
  EXPECT_EQ(ListIter_GetValue(it), nullptr);
  EXPECT_EQ(ListIter_Copy(it), nullptr);
  ListIter_Delete(it);
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
