// The cache files and the window onto them.  At most five cache
// descriptors stay open, most recently used first; a sixth closes the least
// recently used one, which is reopened by name when needed again.  A line's
// text is served from a window read in whole kilobytes, so walking lines in
// order reads the cache file sequentially and a line of any length comes
// back whole.
#include "text/text_private.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "base/gen.h"

namespace {

constexpr int kMaxOpenCaches = 5;
constexpr long kWindowAlign = 1024;  // windows start and end on kilobytes

file* openCaches[kMaxOpenCaches];  // most recently used first
int openCount = 0;

void MoveToFront(int index) {
  file* f = openCaches[index];
  for (int k = index; k > 0; --k) openCaches[k] = openCaches[k - 1];
  openCaches[0] = f;
}

void Forget(file* f) {
  for (int k = 0; k < openCount; ++k) {
    if (openCaches[k] != f) continue;
    for (int m = k; m + 1 < openCount; ++m) openCaches[m] = openCaches[m + 1];
    openCount--;
    return;
  }
}

// Adds an open descriptor of f at the front, closing the least recently
// used descriptor when the limit is reached.
void AddOpen(file* f) {
  if (openCount == kMaxOpenCaches) {
    file* oldest = openCaches[--openCount];
    close(oldest->cacheDescriptor);
    oldest->cacheDescriptor = -1;
  }
  openCaches[openCount++] = f;
  MoveToFront(openCount - 1);
}

long ReadFully(int fd, char* buffer, long length, long offset) {
  long done = 0;
  while (done < length) {
    const ssize_t n = pread(fd, buffer + done, length - done, offset + done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return n < 0 ? -1 : done;
    done += n;
  }
  return done;
}

}  // namespace

namespace text_private {

bool CacheCreate(file* f) {
  char* name = nullptr;
  const int fd = CreateTrackedTemporary("cache", &name);
  if (fd < 0) return false;
  f->cacheFileName = name;
  f->cacheDescriptor = fd;
  AddOpen(f);
  return true;
}

int CacheDescriptor(file* f) {
  if (f->cacheDescriptor >= 0) {
    for (int k = 0; k < openCount; ++k) {
      if (openCaches[k] == f) MoveToFront(k);
    }
    return f->cacheDescriptor;
  }
  if (!f->cacheFileName) return -1;
  const int fd = open(f->cacheFileName, O_RDONLY);
  if (fd < 0) return -1;
  f->cacheDescriptor = fd;
  AddOpen(f);
  return fd;
}

void CacheDestroy(file* f) {
  if (f->cacheDescriptor >= 0) {
    close(f->cacheDescriptor);
    f->cacheDescriptor = -1;
    Forget(f);
  }
  if (f->cacheFileName) {
    unlink(f->cacheFileName);
    ForgetTemporary(f->cacheFileName);
    gen_free(f->cacheFileName);
    f->cacheFileName = nullptr;
  }
}

int CacheOpenCount() { return openCount; }

bool CacheLoadWindow(file* f, long offset, long length) {
  const long start = offset / kWindowAlign * kWindowAlign;
  long end = std::max(offset + length, start + f->cacheCapacity);
  end = (end + kWindowAlign - 1) / kWindowAlign * kWindowAlign;
  if (end - start > f->cacheCapacity) {
    gen_free(f->cacheBuffer);
    f->cacheCapacity = end - start;
    f->cacheBuffer = static_cast<char*>(gen_alloc(f->cacheCapacity + 1, 1));
  }
  const int fd = CacheDescriptor(f);
  const long got = fd < 0 ? -1 : ReadFully(fd, f->cacheBuffer, end - start, start);
  if (got < offset + length - start) {
    f->cacheLength = 0;
    return false;
  }
  f->cacheOffset = start;
  f->cacheLength = got;
  return true;
}

}  // namespace text_private

const char* FileLineTextInWindow(const file* f, const line* l) {
  if (!f || !l) return nullptr;
  if (l->capacity != -1) return l->storage.text;
  const long offset = l->storage.offset;
  if (offset >= f->cacheOffset && offset + l->length <= f->cacheOffset + f->cacheLength) {
    return f->cacheBuffer + (offset - f->cacheOffset);
  }
  return nullptr;
}

const char* FileLineText(file* f, line* l) {
  if (!f || !l) return nullptr;
  if (const char* text = FileLineTextInWindow(f, l)) return text;
  const long offset = l->storage.offset;
  if (!text_private::CacheLoadWindow(f, offset, l->length)) return nullptr;
  return f->cacheBuffer + (offset - f->cacheOffset);
}
