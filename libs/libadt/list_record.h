// Private to the list's files: the node, list and iterator records, and the
// two operations every change goes through (linking a node in, unlinking
// one while moving the iterators that stand on it).
#pragma once

#include "libs/libadt/list.h"

struct ListNode {
  ListNode* prev;
  ListNode* next;
  void* element;
};

struct ListIter {
  List* list;  // null once the list is gone
  ListNode* node;  // the list's sentinel at the end
  ListIter* prevIter;  // the list's chain of live iterators
  ListIter* nextIter;
};

struct List {
  List* self;  // equals the record's own address while the list is alive
  ListDeleteFunc_PT deleteFunc;
  ListCloneFunc_PT cloneFunc;
  int count;
  int iterCount;
  ListNode sentinel;  // links point to itself when the list is empty
  ListIter* iters;
};

inline bool List_IsValid(List_PT list) { return list != nullptr && list->self == list; }

// Links a new node holding `element` in before `at`; false when out of
// memory.
bool List_LinkBefore(List_PT list, ListNode* at, void* element);
// Unlinks `node`, moves the iterators on it to its successor, frees it and
// returns its element.
void* List_Unlink(List_PT list, ListNode* node);
