// Zeroed memory for the engine's large tables.  Tables of a million lines
// are touched page by page while they are filled, and the page faults cost
// as much as the pairing itself; big blocks are therefore asked for in huge
// pages where the system offers them.  Small blocks come from calloc.
// Returns null when memory runs out, so the caller can report it.
#pragma once

#include <cstddef>

namespace diff_engine {

void* BigAlloc(size_t count, size_t size);
void BigFree(void* block);

template <typename T>
T* BigArray(size_t count) {
  return static_cast<T*>(BigAlloc(count, sizeof(T)));
}

}  // namespace diff_engine
