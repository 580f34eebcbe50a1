// Reading text one line at a time: gen_afgets hands out each line as a new
// string of any length; gen_getline reuses one caller-held buffer.
#include "base/gen.h"

#include <cstring>

namespace {

constexpr long kAfgetsStart = 2048;  // first buffer; doubled while too short
constexpr long kGetlineStep = 250;   // gen_getline grows by this much

}  // namespace

// Like fgets: the line keeps its line feed (the last line may lack one).
char* gen_afgets(FILE* f) {
  if (!f) return nullptr;
  long capacity = kAfgetsStart;
  char* buf = static_cast<char*>(gen_alloc(1, capacity));
  long len = 0;
  while (fgets(buf + len, static_cast<int>(capacity - len), f)) {
    len += static_cast<long>(std::strlen(buf + len));
    if (len > 0 && buf[len - 1] == '\n') return buf;
    if (len < capacity - 1) break;  // end of input inside this piece
    capacity *= 2;
    buf = static_cast<char*>(gen_realloc(buf, capacity));
  }
  if (len > 0) return buf;
  gen_free(buf);
  return nullptr;
}

// The line ends at a line feed, a carriage return (a carriage return and
// line feed pair counts as one ending) or the end of input; the ending is
// not stored.  Returns *buf, or null at end of input when nothing was read.
char* gen_getline(FILE* f, char** buf, long* capacity) {
  if (!f || !buf || !capacity) return nullptr;
  long len = 0;
  int c = EOF;
  for (;;) {
    c = getc(f);
    if (c == EOF || c == '\n' || c == '\r') break;
    if (!*buf || len + 1 >= *capacity) {
      *capacity = (*buf ? *capacity : 0) + kGetlineStep;
      *buf = static_cast<char*>(gen_realloc(*buf, *capacity));
    }
    (*buf)[len++] = static_cast<char>(c);
  }
  if (c == EOF && len == 0) return nullptr;
  if (c == '\r') {
    const int next = getc(f);
    if (next != '\n' && next != EOF) ungetc(next, f);
  }
  if (!*buf || *capacity < 1) {
    *capacity = kGetlineStep;
    *buf = static_cast<char*>(gen_realloc(*buf, *capacity));
  }
  (*buf)[len] = '\0';
  return *buf;
}
