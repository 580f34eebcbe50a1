// The edit script: instructions that rebuild side 2 from side 1.  "m f,l"
// copies side-1 lines f..l ("m f" a single line), "a n" adds the n literal
// lines that follow it.  Counted in a first pass, filled in a second.
#include <cstdio>
#include <cstring>

#include "base/gen.h"
#include "diff/engine.h"

namespace diff_engine {

namespace {

// Walks side 2 from line 1 and emits the script through `emit`, which gets
// a string (null for a literal line's text) and the side-2 line number.
template <typename Emit>
void WalkScript(Emit emit) {
  const diffLineTableStruct* second = tables.second;
  const int32_t n2 = tables.count2;
  char buffer[48];
  int32_t j = 1;
  while (j <= n2) {
    if (second[j].matched) {
      const int32_t f = second[j].partner;
      int32_t l = f;
      while (j + 1 <= n2 && second[j + 1].matched && second[j + 1].partner == l + 1) {
        ++j;
        ++l;
      }
      if (f == l) {
        snprintf(buffer, sizeof buffer, "m%d", f);
      } else {
        snprintf(buffer, sizeof buffer, "m%d,%d", f, l);
      }
      emit(buffer, j);
      ++j;
      continue;
    }
    int32_t end = j;
    while (end <= n2 && !second[end].matched) ++end;
    snprintf(buffer, sizeof buffer, "a%d", end - j);
    emit(buffer, j);
    for (; j < end; ++j) emit(nullptr, j);
  }
}

}  // namespace

char** diffShowDiffs(int* count) {
  int total = 0;
  WalkScript([&](const char*, int32_t) { ++total; });
  auto** lines = static_cast<char**>(gen_alloc(total + 1, sizeof(char*)));
  int k = 0;
  WalkScript([&](const char* text, int32_t j) {
    if (text) {
      lines[k++] = gen_copy(text);
      return;
    }
    const int32_t symbol = tables.second[j].symbol;
    const uint32_t length = tables.symbols[symbol].length;
    // Copied whole: the text may hold NUL bytes.
    auto* copy = static_cast<char*>(gen_alloc(length + 1, 1));
    memcpy(copy, tables.texts[symbol], length);
    lines[k++] = copy;
  });
  *count = total;
  return lines;
}

}  // namespace diff_engine
