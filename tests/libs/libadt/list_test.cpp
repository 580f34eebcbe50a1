// The linked list (no program uses it yet): a stack at the end, iterators
// that follow removals, and the messages for null lists.
#include "libs/libadt/list.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

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

}  // namespace
