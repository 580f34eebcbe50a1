// The walk that lays one side out in rows, and the row arithmetic built on
// the display rows it records.
#include "viewer/alignment.h"

#include <algorithm>

#include "diff/diff.h"
#include "text/file.h"

namespace {

// The walk's position: the next unhandled range of this side and its
// partner, and the rows added so far that are not file lines.
struct Walk {
  ColorInfo* mine;
  ColorInfo* other;
  int index = 0;
  int extra = 0;
  RangeInfo* range() { return diff_GetRange(mine, index); }
  RangeInfo* partner() { return diff_GetRange(other, index); }
};

// A block ends at line k: pad the shorter side, record its rows and close
// it with the second rule.
void closeBlock(Walk& w, AlignedRowSink& sink) {
  RangeInfo* r = w.range();
  RangeInfo* o = w.partner();
  int otherLines = o ? o->end - o->start : 0;
  int pad = otherLines - (r->end - r->start);
  r->displayStart = w.extra + 1 + r->start;
  if (pad > 0) {
    sink.addFiller(pad);
    w.extra += pad;
  }
  r->displayEnd = w.extra + 1 + r->end;
  w.extra += 2;
  sink.addRule();
}

// The rules and filler rows that come before file line k (or before the
// end when k is the line count + 1).
void framesAt(Walk& w, long k, AlignedRowSink& sink) {
  RangeInfo* r = w.range();
  if (!r) return;
  if (k == r->start) sink.addRule();
  if (k == r->end) closeBlock(w, sink);
}

}  // namespace

void align_ReadFile(file* f, ColorInfo* mine, ColorInfo* other, AlignedRowSink& sink) {
  Walk w{mine, other};
  long k = 1;
  for (line* l = f->firstLine; l; l = l->next, k++) {
    framesAt(w, k, sink);
    RangeInfo* r = w.range();
    LineKind kind = kLineSame;
    if (r && k >= r->start && k < r->end) {
      RangeInfo* o = w.partner();
      kind = o && o->end > o->start ? kLineChanged : kLineOnlyHere;
    }
    sink.addFileLine(k, l, kind);
    if (r && k == r->end) w.index++;
  }
  framesAt(w, k, sink);
}

int align_ConvertVirtualLine(ColorInfo* mine, int row) {
  int skipped = 0;
  int n = diff_RangeCount(mine);
  for (int i = 0; i < n; i++) {
    RangeInfo* r = diff_GetRange(mine, i);
    if (row < r->displayStart) return row - skipped;
    if (row <= r->displayEnd) {
      int offset = row - r->displayStart;
      return offset < r->end - r->start ? r->start + offset : r->end - 1;
    }
    skipped += (r->displayEnd - r->displayStart) - (r->end - r->start) + 2;
  }
  return row - skipped;
}

int align_InVirtualRange(ColorInfo* mine, int row) {
  int n = diff_RangeCount(mine);
  for (int i = 0; i < n; i++) {
    RangeInfo* r = diff_GetRange(mine, i);
    if (r->displayStart <= row && row <= r->displayEnd) return i;
    if (row < r->displayStart) return -1;
  }
  return -1;
}

int align_RangeForLine(ColorInfo* right, int line) {
  int n = diff_RangeCount(right);
  for (int i = 0; i < n; i++) {
    RangeInfo* r = diff_GetRange(right, i);
    if (line <= r->start || line < r->end) return i;
  }
  return -1;
}

int align_Digits(long lineCount) {
  int digits = 0;
  for (long power = 1; power <= lineCount; power *= 10) digits++;
  return digits;
}

int align_GutterWidth(long lineCount, int charWidth) {
  return charWidth * std::max(align_Digits(lineCount), 4) + 2;
}
