// The growable pointer array.  Capacity grows to twice the slot count an
// access needs, so runs of appends reallocate rarely; the record carries a
// self pointer so calls on a stale or foreign handle are caught and reported.
#include "libs/libadt/arr.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

struct Arr {
  Arr* self;  // equals the record's own address while the array is alive
  void** elems;
  int capacity;
  int size;
  ArrDeleteFunc_PT deleteFunc;
};

namespace {

bool valid(Arr_PT arr) { return arr != nullptr && arr->self == arr; }

bool refuse(Arr_PT arr, const char* message) {
  if (valid(arr)) return false;
  std::fputs(message, stderr);
  return true;
}

// Makes room for index i: when i + 1 slots do not fit, the capacity becomes
// 2 * (i + 1).  New slots are zeroed.
bool expand_full_size(Arr_PT arr, int i) {
  if (i < arr->capacity) return true;
  long long want = 2LL * (static_cast<long long>(i) + 1);
  void** grown = nullptr;
  if (want <= INT_MAX)
    grown = static_cast<void**>(
        std::realloc(arr->elems, static_cast<size_t>(want) * sizeof(void*)));
  if (grown == nullptr) {
    std::fputs("Out of memory in Arr_ExpandFullSize()\n", stderr);
    return false;
  }
  std::memset(grown + arr->capacity, 0,
              static_cast<size_t>(want - arr->capacity) * sizeof(void*));
  arr->elems = grown;
  arr->capacity = static_cast<int>(want);
  return true;
}

bool bad_index(int index, const char* message) {
  if (index >= 0) return false;
  std::fputs(message, stderr);
  return true;
}

void delete_range(Arr_PT arr, int from, int to) {
  for (int i = from; i < to; i++) {
    if (arr->deleteFunc != nullptr && arr->elems[i] != nullptr)
      arr->deleteFunc(arr->elems[i]);
    arr->elems[i] = nullptr;
  }
}

ArrCompareFunc_PT sort_compare;  // the comparison of the running Arr_Sort

int compare_slots(const void* a, const void* b) {
  return sort_compare(*static_cast<void* const*>(a), *static_cast<void* const*>(b));
}

}  // namespace

Arr_PT Arr_New(int capacity, ArrDeleteFunc_PT deleteFunc) {
  if (capacity < 0) {
    std::fputs("Negative capacity in Arr_New()\n", stderr);
    return nullptr;
  }
  if (capacity == 0) capacity = 30;
  auto* arr = static_cast<Arr*>(std::calloc(1, sizeof(Arr)));
  void** elems = static_cast<void**>(std::calloc(static_cast<size_t>(capacity), sizeof(void*)));
  if (arr == nullptr || elems == nullptr) {
    std::free(arr);
    std::free(elems);
    std::fputs("Out of memory in Arr_New()\n", stderr);
    return nullptr;
  }
  *arr = Arr{arr, elems, capacity, 0, deleteFunc};
  return arr;
}

void Arr_Delete(Arr_PT arr) {
  if (refuse(arr, "Arr_Delete called on NULL or invalid Arr_PT\n")) return;
  delete_range(arr, 0, arr->size);
  std::free(arr->elems);
  arr->self = nullptr;
  std::free(arr);
}

int Arr_GetSize(Arr_PT arr) {
  if (refuse(arr, "Arr_GetSize() called on NULL or invalid Arr_PT\n")) return -1;
  return arr->size;
}

int Arr_GetCapacity(Arr_PT arr) {
  if (refuse(arr, "Arr_GetCapacity() called on NULL or invalid Arr_PT\n")) return -1;
  return arr->capacity;
}

void* Arr_GetVal(Arr_PT arr, int index) {
  if (refuse(arr, "Arr_GetVal called on NULL or invalid Arr_PT\n")) return nullptr;
  if (bad_index(index, "Arr_GetVal called with a negative index\n")) return nullptr;
  if (!expand_full_size(arr, index)) return nullptr;
  return index < arr->size ? arr->elems[index] : nullptr;
}

int Arr_PutVal(Arr_PT arr, int index, void* value) {
  if (refuse(arr, "Arr_PutVal called on NULL or invalid Arr_PT\n")) return 0;
  if (bad_index(index, "Arr_PutVal called with a negative index\n")) return 0;
  if (!expand_full_size(arr, index)) return 0;
  arr->elems[index] = value;
  if (index >= arr->size) arr->size = index + 1;
  return 1;
}

void* Arr_DeleteVal(Arr_PT arr, int index, int deleteIt) {
  if (refuse(arr, "Arr_DeleteVal() called on NULL or invalid Arr_PT\n")) return nullptr;
  if (index < 0 || index >= arr->size) return nullptr;
  void* removed = arr->elems[index];
  std::memmove(arr->elems + index, arr->elems + index + 1,
               static_cast<size_t>(arr->size - index - 1) * sizeof(void*));
  arr->size--;
  arr->elems[arr->size] = nullptr;
  if (!deleteIt || arr->deleteFunc == nullptr) return removed;
  if (removed != nullptr) arr->deleteFunc(removed);
  return nullptr;
}

int Arr_SetSize(Arr_PT arr, int size) {
  if (refuse(arr, "Arr_SetSize() called on NULL or invalid Arr_PT\n")) return 0;
  if (bad_index(size, "Arr_SetSize() called with a negative size\n")) return 0;
  if (size < arr->size) {
    delete_range(arr, size, arr->size);
  } else if (size > 0 && !expand_full_size(arr, size - 1)) {
    return 0;
  }
  arr->size = size;
  return 1;
}

void Arr_Sort(Arr_PT arr, ArrCompareFunc_PT compare) {
  if (refuse(arr, "Arr_Sort() called on NULL or invalid Arr_PT\n")) return;
  if (compare == nullptr || arr->size < 2) return;
  ArrCompareFunc_PT outer = sort_compare;  // a comparison may itself sort
  sort_compare = compare;
  std::qsort(arr->elems, static_cast<size_t>(arr->size), sizeof(void*), compare_slots);
  sort_compare = outer;
}
