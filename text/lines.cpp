// Line records.  They come from a process-wide free list refilled 200 at a
// time, so loading a million lines costs a few thousand allocations; freed
// records go back on the list for the next file.
#include "text/file.h"

#include <cassert>

#include "base/gen.h"

namespace {

constexpr int kRefillCount = 200;  // records allocated per refill

line* freeLines = nullptr;  // linked through `next`

void Refill() {
  auto* block = static_cast<line*>(gen_alloc(kRefillCount, sizeof(line)));
  for (int k = 0; k < kRefillCount; ++k) {
    block[k].next = freeLines;
    freeLines = &block[k];
  }
}

}  // namespace

line* LineFAlloc(long offset, long length) {
  if (!freeLines) Refill();
  line* l = freeLines;
  freeLines = l->next;
  l->storage.offset = offset;
  l->previous = nullptr;
  l->next = nullptr;
  l->length = length;
  l->capacity = -1;
  l->syntaxState = 0;
  l->extra = nullptr;
  return l;
}

void LineFree(line* l) {
  if (!l) return;
  if (l->capacity != -1) gen_free(l->storage.text);
  l->storage.offset = 0;
  l->capacity = -1;
  l->previous = nullptr;
  l->next = freeLines;
  freeLines = l;
}

line* _FileInsertO(file* f, line* before, long offset, long length) {
  assert(f && "inserting a line into no file");
  line* l = LineFAlloc(offset, length);
  l->next = before;
  l->previous = before ? before->previous : f->lastLine;
  if (l->previous) {
    l->previous->next = l;
  } else {
    f->firstLine = l;
  }
  if (before) {
    before->previous = l;
  } else {
    f->lastLine = l;
  }
  f->lineCount++;
  return l;
}

line* FileAppendO(file* f, long offset, long length) {
  return _FileInsertO(f, nullptr, offset, length);
}

line* FileGetLine(file* f, long number) {
  if (!f || number < 1 || number > f->lineCount) return nullptr;
  line* l = f->firstLine;
  for (long k = 1; k < number && l; ++k) l = l->next;
  return l;
}
