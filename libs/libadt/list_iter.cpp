// Iterators over a list.  Each one is registered in its list's chain, so
// that removing a node can move every iterator standing on it and deleting
// the list can detach them instead of leaving them dangling.
#include "libs/libadt/list.h"

#include <cstdio>
#include <cstdlib>

#include "libs/libadt/list_record.h"

namespace {

bool attached(ListIter_PT it) { return it != nullptr && List_IsValid(it->list); }

ListIter_PT make_iter(List_PT list, ListNode* node) {
  auto* it = static_cast<ListIter*>(std::calloc(1, sizeof(ListIter)));
  if (it == nullptr) {
    std::fputs("Out of memory in List_Begin()\n", stderr);
    return nullptr;
  }
  *it = ListIter{list, node, nullptr, list->iters};
  if (list->iters != nullptr) list->iters->prevIter = it;
  list->iters = it;
  list->iterCount++;
  return it;
}

ListIter_PT start(List_PT list, bool atEnd, const char* message) {
  if (!List_IsValid(list)) {
    std::fputs(message, stderr);
    return nullptr;
  }
  return make_iter(list, atEnd ? &list->sentinel : list->sentinel.next);
}

}  // namespace

ListIter_PT List_Begin(List_PT list) {
  return start(list, false, "List_Begin() called on NULL or invalid List_PT\n");
}

ListIter_PT List_End(List_PT list) {
  return start(list, true, "List_End() called on NULL or invalid List_PT\n");
}

int ListIter_Next(ListIter_PT it) {
  if (ListIter_AtEnd(it)) return 0;
  it->node = it->node->next;
  return ListIter_AtEnd(it) ? 0 : 1;
}

ListIter_PT ListIter_Copy(ListIter_PT it) {
  if (!attached(it)) return nullptr;
  return make_iter(it->list, it->node);
}

void ListIter_Delete(ListIter_PT it) {
  if (it == nullptr) return;
  if (attached(it)) {
    if (it->prevIter != nullptr) it->prevIter->nextIter = it->nextIter;
    else it->list->iters = it->nextIter;
    if (it->nextIter != nullptr) it->nextIter->prevIter = it->prevIter;
    it->list->iterCount--;
  }
  std::free(it);
}

void* ListIter_GetValue(ListIter_PT it) {
  return ListIter_AtEnd(it) ? nullptr : it->node->element;
}

int ListIter_AtEnd(ListIter_PT it) {
  return !attached(it) || it->node == &it->list->sentinel ? 1 : 0;
}

void* ListIter_DelCurNext(ListIter_PT it, int deleteIt) {
  if (ListIter_AtEnd(it)) return nullptr;
  List_PT list = it->list;
  void* element = List_Unlink(list, it->node);
  if (!deleteIt || list->deleteFunc == nullptr) return element;
  list->deleteFunc(element);
  return nullptr;
}

int ListIter_InsBeside(ListIter_PT it, void* element, int after) {
  if (!attached(it)) {
    std::fputs("ListIter_InsBeside() called on NULL or detached ListIter_PT\n", stderr);
    return 0;
  }
  if (List_LinkBefore(it->list, after ? it->node->next : it->node, element)) return 1;
  std::fputs("Out of memory in ListIter_InsBeside()\n", stderr);
  return 0;
}
