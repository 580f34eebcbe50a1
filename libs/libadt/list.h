// List: a doubly linked list of pointer-sized elements, used as a stack
// (push and pop at the end) and walked with iterators that the list knows
// about, so removing an element moves the iterators standing on it.  A list
// created with a delete function owns its elements.
#pragma once

using List_PT = struct List*;
using ListIter_PT = struct ListIter*;
using ListDeleteFunc_PT = void (*)(void* element);
using ListCloneFunc_PT = void* (*)(const void* element);

// Returns null with "Out of memory in List_New()" when out of memory.
List_PT List_New(ListDeleteFunc_PT deleteFunc, ListCloneFunc_PT cloneFunc);
// Deletes every element through the delete function; the list stays usable.
void List_Clear(List_PT list);
// Clears and frees the list.  Null is accepted.  Iterators still alive
// become detached: they only answer "at end" until deleted.
void List_Delete(List_PT list);
// A copy whose elements come from the clone function, or are the same words
// when there is none (refused, null, when the list owns its elements).
List_PT List_Clone(List_PT list);
// Element count; -1 for a null or invalid list.
int List_GetSize(List_PT list);

// Appends at the end; returns 1, or 0 on failure.
int List_Push(List_PT list, void* element);
// Removes the last element and gives it to the caller; null when empty.
void* List_Pop(List_PT list);
// The last element / the n-th from the end (0 is the last); null when
// there is no such element.
void* List_PeekEnd(List_PT list);
void* List_PeekNFromEnd(List_PT list, int n);

// A new iterator at the first element, or at the end for an empty list.
ListIter_PT List_Begin(List_PT list);
// A new iterator at the end, the place just past the last element.
ListIter_PT List_End(List_PT list);
// Moves to the next element; returns 1 while at an element, 0 at the end
// (where it stays).
int ListIter_Next(ListIter_PT it);
ListIter_PT ListIter_Copy(ListIter_PT it);
void ListIter_Delete(ListIter_PT it);
// The current element; null at the end.
void* ListIter_GetValue(ListIter_PT it);
// 1 at the end (also for a null or detached iterator).
int ListIter_AtEnd(ListIter_PT it);
// Removes the current element (deleted through the delete function when
// `deleteIt` is set and one exists) and moves to the next; other iterators
// on it move along too.  Returns the element when it was not deleted, else
// null.
void* ListIter_DelCurNext(ListIter_PT it, int deleteIt);
// Inserts beside the current element: after it when `after` is set, before
// it otherwise.  At the end, "before" appends and "after" prepends.  The
// iterator stays where it is.  Returns 1, or 0 on failure.
int ListIter_InsBeside(ListIter_PT it, void* element, int after);
