// The linked list proper: creation, copying, the stack operations at its
// end, and the node surgery shared with the iterators.  A sentinel node
// closes the ring, so no operation special-cases an empty list.
#include "libs/libadt/list.h"

#include <cstdio>
#include <cstdlib>

#include "libs/libadt/list_record.h"

namespace {

bool refuse(List_PT list, const char* message) {
  if (List_IsValid(list)) return false;
  std::fputs(message, stderr);
  return true;
}

}  // namespace

bool List_LinkBefore(List_PT list, ListNode* at, void* element) {
  auto* node = static_cast<ListNode*>(std::malloc(sizeof(ListNode)));
  if (node == nullptr) return false;
  *node = ListNode{at->prev, at, element};
  at->prev->next = node;
  at->prev = node;
  list->count++;
  return true;
}

void* List_Unlink(List_PT list, ListNode* node) {
  for (ListIter* it = list->iters; it != nullptr; it = it->nextIter)
    if (it->node == node) it->node = node->next;
  node->prev->next = node->next;
  node->next->prev = node->prev;
  void* element = node->element;
  std::free(node);
  list->count--;
  return element;
}

List_PT List_New(ListDeleteFunc_PT deleteFunc, ListCloneFunc_PT cloneFunc) {
  auto* list = static_cast<List*>(std::calloc(1, sizeof(List)));
  if (list == nullptr) {
    std::fputs("Out of memory in List_New()\n", stderr);
    return nullptr;
  }
  list->self = list;
  list->deleteFunc = deleteFunc;
  list->cloneFunc = cloneFunc;
  list->sentinel.prev = &list->sentinel;
  list->sentinel.next = &list->sentinel;
  return list;
}

void List_Clear(List_PT list) {
  if (refuse(list, "List_Clear() called on NULL or invalid List_PT\n")) return;
  while (list->count > 0) {
    void* element = List_Unlink(list, list->sentinel.prev);
    if (list->deleteFunc != nullptr) list->deleteFunc(element);
  }
}

void List_Delete(List_PT list) {
  if (list == nullptr) return;
  if (refuse(list, "List_Delete() called on invalid List_PT\n")) return;
  List_Clear(list);
  for (ListIter* it = list->iters; it != nullptr; it = it->nextIter) {
    it->list = nullptr;
    it->node = nullptr;
  }
  list->self = nullptr;
  std::free(list);
}

List_PT List_Clone(List_PT list) {
  if (refuse(list, "List_Clone() called on NULL or invalid List_PT\n")) return nullptr;
  if (list->cloneFunc == nullptr && list->deleteFunc != nullptr) {
    std::fputs("List_Clone() needs a clone function for a list owning its elements\n",
               stderr);
    return nullptr;
  }
  List_PT copy = List_New(list->deleteFunc, list->cloneFunc);
  if (copy == nullptr) return nullptr;
  for (ListNode* n = list->sentinel.next; n != &list->sentinel; n = n->next) {
    void* element = list->cloneFunc != nullptr ? list->cloneFunc(n->element) : n->element;
    if (!List_LinkBefore(copy, &copy->sentinel, element)) {
      if (list->deleteFunc != nullptr) list->deleteFunc(element);
      std::fputs("Out of memory in List_Clone()\n", stderr);
      List_Delete(copy);
      return nullptr;
    }
  }
  return copy;
}

int List_GetSize(List_PT list) {
  if (refuse(list, "List_GetSize() called on NULL or invalid List_PT\n")) return -1;
  return list->count;
}

int List_Push(List_PT list, void* element) {
  if (refuse(list, "List_Push() called on NULL or invalid List_PT\n")) return 0;
  if (List_LinkBefore(list, &list->sentinel, element)) return 1;
  std::fputs("Out of memory in List_Push()\n", stderr);
  return 0;
}

void* List_Pop(List_PT list) {
  if (refuse(list, "List_Pop() called on NULL or invalid List_PT\n")) return nullptr;
  if (list->count == 0) return nullptr;
  return List_Unlink(list, list->sentinel.prev);
}

void* List_PeekEnd(List_PT list) { return List_PeekNFromEnd(list, 0); }

void* List_PeekNFromEnd(List_PT list, int n) {
  if (refuse(list, "List_PeekNFromEnd() called on NULL or invalid List_PT\n")) return nullptr;
  if (n < 0 || n >= list->count) return nullptr;
  ListNode* node = list->sentinel.prev;
  while (n-- > 0) node = node->prev;
  return node->element;
}
