// GenFreer: collects allocations to free together later, typically when the
// function that made them returns.  Everything still marked is freed by the
// destructor; cancelling a pointer hands it back to the caller.
#pragma once

#include <cstdlib>
#include <set>

class GenFreer {
 public:
  using FreeFunc = void (*)(void* p);

  // Frees with `freeFunc`, free(3) by default (what gen_free does).
  explicit GenFreer(FreeFunc freeFunc = std::free) : free_(freeFunc) {}
  ~GenFreer();
  GenFreer(const GenFreer&) = delete;
  GenFreer& operator=(const GenFreer&) = delete;

  // Marks `p` to be freed; null is ignored, marking twice frees once.
  void mark(void* p);
  // Marks each of the `count` strings of `array` and the array itself.
  void markStringArray(char** array, int count);
  // Unmarks `p`, which the caller keeps.
  void cancel(void* p);
  // Unmarks everything.
  void cancelAll();
  // Number of pointers marked.
  int size() const { return static_cast<int>(marked_.size()); }

 private:
  FreeFunc free_;
  std::set<void*> marked_;
};
