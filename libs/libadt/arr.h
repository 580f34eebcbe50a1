// Arr: a growable array of pointer-sized elements.  Reading or writing any
// index first makes room for it, so callers can treat the array as
// unbounded; an array created with a delete function owns its elements.
#pragma once

using Arr_PT = struct Arr*;
using ArrDeleteFunc_PT = void (*)(void* element);
// Compares two elements themselves (not pointers to them), qsort-style.
using ArrCompareFunc_PT = int (*)(const void* a, const void* b);

// Capacity 0 means 30.  Returns null (with a message) when out of memory or
// when the capacity is negative.
Arr_PT Arr_New(int capacity, ArrDeleteFunc_PT deleteFunc);
// Deletes the valid elements through the delete function, then the array.
void Arr_Delete(Arr_PT arr);

// Number of valid elements; -1 for a null or invalid array.
int Arr_GetSize(Arr_PT arr);
// Allocated slots; -1 for a null or invalid array.
int Arr_GetCapacity(Arr_PT arr);

// The element at `index`, or null beyond the size (the size is unchanged,
// but the capacity grows to cover the index).
void* Arr_GetVal(Arr_PT arr, int index);
// Stores `value` at `index`, extending the size to index + 1 when needed
// (skipped slots become null).  An element it overwrites is not deleted.
// Returns 1, or 0 on failure.
int Arr_PutVal(Arr_PT arr, int index, void* value);
// Removes the element at `index`, shifting the later ones down.  With
// `deleteIt` set and a delete function present the element is deleted and 0
// returned; otherwise the element is returned to the caller.
void* Arr_DeleteVal(Arr_PT arr, int index, int deleteIt);
// Shrinking deletes the elements beyond `size`; growing adds null elements.
// Returns 1, or 0 on failure.
int Arr_SetSize(Arr_PT arr, int size);
// Sorts the valid elements with qsort through `compare`.
void Arr_Sort(Arr_PT arr, ArrCompareFunc_PT compare);
