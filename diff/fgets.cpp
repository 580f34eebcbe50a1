// The stream line reader of the named-file and stream sources: whole lines
// of any length, newline included, in one buffer shared for the life of the
// process.  Lines may hold NUL bytes, so the length is returned as well.
#include "diff/diff.h"

#include <cstdlib>

#include "base/gen.h"

namespace {

constexpr long kFirstCapacity = 512;

char* buffer = nullptr;
long capacity = 0;

bool Grow() {
  const long wanted = capacity ? capacity * 2 : kFirstCapacity;
  // realloc, not the foundation hook: running out here is reported and
  // ends only this comparison.
  char* bigger = static_cast<char*>(realloc(buffer, wanted));
  if (!bigger) {
    gen_error("Out of memory.");
    return false;
  }
  buffer = bigger;
  capacity = wanted;
  return true;
}

}  // namespace

char* diff_fgets(FILE* stream, long* length) {
  if (length) *length = 0;
  if (!stream) return nullptr;
  if (!buffer && !Grow()) return nullptr;
  long n = 0;
  int c;
  while ((c = getc_unlocked(stream)) != EOF) {
    if (n + 1 >= capacity && !Grow()) return nullptr;
    buffer[n++] = static_cast<char>(c);
    if (c == '\n') break;
  }
  if (n == 0) return nullptr;
  buffer[n] = '\0';
  if (length) *length = n;
  return buffer;
}
