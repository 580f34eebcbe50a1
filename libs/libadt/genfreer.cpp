// The deferred freer: an ordered set of pointers, so a pointer marked twice
// is freed once and cancelling is a lookup.
#include "libs/libadt/genfreer.h"

GenFreer::~GenFreer() {
  for (void* p : marked_) free_(p);
}

void GenFreer::mark(void* p) {
  if (p != nullptr) marked_.insert(p);
}

void GenFreer::markStringArray(char** array, int count) {
  if (array == nullptr) return;
  for (int i = 0; i < count; i++) mark(array[i]);
  mark(array);
}

void GenFreer::cancel(void* p) { marked_.erase(p); }

void GenFreer::cancelAll() { marked_.clear(); }
