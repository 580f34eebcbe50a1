// Reading a file into the model, one chunk at a time: each chunk has the
// CR of every CR LF pair removed (a CR ending a chunk waits for the next
// chunk's first byte), is appended to the cache file, and yields a line
// record per LF.  Only the records stay in memory; the last chunk stays in
// the window.
#include "text/text_private.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>

#include "base/gen.h"

namespace {

constexpr long kChunkUnit = 8192;   // window sizes are whole units of this
constexpr long kMaxChunk = 32768;   // and at most this

struct LoadState {
  file* f;
  long written = 0;     // bytes appended to the cache file so far
  long lineStart = 0;   // cache offset of the current line's first byte
  long lineMeasure = 1; // measure of the current line's bytes in earlier chunks
  long lfCount = 0;
  long crlfCount = 0;
  bool heldCR = false;  // a CR ended the previous chunk
};

long ReadChunk(int fd, char* buffer, long capacity) {
  long done = 0;
  while (done < capacity) {
    const ssize_t n = read(fd, buffer + done, capacity - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return -1;
    if (n == 0) break;
    done += n;
  }
  return done;
}

// Drops, in place, the CR of each CR LF pair among the `n` bytes at
// `data`; returns the remaining length.  A CR in the last byte is held back
// for the next chunk.  A chunk without CR is left untouched.
long RemoveCRs(LoadState& s, char* data, long n) {
  char* cr = static_cast<char*>(memchr(data, '\r', n));
  if (!cr) return n;
  long out = cr - data;
  long p = out;
  while (cr) {
    const long stop = cr - data;
    memmove(data + out, data + p, stop - p);
    out += stop - p;
    if (stop + 1 == n) {
      s.heldCR = true;
    } else if (data[stop + 1] == '\n') {
      s.crlfCount++;
    } else {
      data[out++] = '\r';
    }
    p = stop + 1;
    cr = p < n ? static_cast<char*>(memchr(data + p, '\r', n - p)) : nullptr;
  }
  memmove(data + out, data + p, n - p);
  return out + (n - p);
}

// True when some byte of the text is below 32 (a tab or a control byte),
// eight bytes at a time: without one, a line's measure is its length + 1.
bool HasControlByte(const char* text, long length) {
  constexpr uint64_t kOnes = 0x0101010101010101ull;
  constexpr uint64_t kHighs = 0x8080808080808080ull;
  long k = 0;
  for (; k + 8 <= length; k += 8) {
    uint64_t word;
    memcpy(&word, text + k, 8);
    if ((word - kOnes * 32) & ~word & kHighs) return true;
  }
  for (; k < length; ++k) {
    if (static_cast<unsigned char>(text[k]) < 32) return true;
  }
  return false;
}

// The measure of a whole line, skipping the byte walk when it cannot win.
long LineMeasure(const char* text, long length, long widest, long perByte) {
  if (1 + length * perByte <= widest) return 0;
  if (!HasControlByte(text, length)) return length + 1;
  return FileSetMaxW(text, length);
}

// Appends a line record for each LF among the `n` cleaned bytes at `data`,
// which start at cache offset s.written, and keeps the widest measure.
void SplitLines(LoadState& s, const char* data, long n) {
  file* f = s.f;
  const long tab = std::max(2, FileGetTabSize());
  long p = 0;
  while (p < n) {
    const char* lf = static_cast<const char*>(memchr(data + p, '\n', n - p));
    if (!lf) {
      s.lineMeasure = text_private::MeasureFrom(s.lineMeasure, data + p, n - p);
      return;
    }
    const long q = lf - data;
    const long length = s.written + q - s.lineStart;
    if (s.lineStart >= s.written) {
      f->widestLine = std::max(f->widestLine, LineMeasure(data + p, length, f->widestLine, tab));
    } else {
      f->widestLine = std::max(f->widestLine, text_private::MeasureFrom(s.lineMeasure, data + p, q - p));
    }
    FileAppendO(f, s.lineStart, length);
    s.lfCount++;
    s.lineStart = s.written + q + 1;
    s.lineMeasure = 1;
    p = q + 1;
  }
}

bool AppendToCache(LoadState& s, int cacheFd, const char* data, long n) {
  if (!gen_write_all(cacheFd, data, static_cast<size_t>(n))) return false;
  SplitLines(s, data, n);
  s.f->cacheOffset = s.written;
  s.f->cacheLength = n;
  s.written += n;
  return true;
}

// A held CR not followed by LF is text of the current line: it goes to the
// cache file ahead of the next chunk.
bool KeepHeldCR(LoadState& s, int cacheFd) {
  if (!gen_write_all(cacheFd, "\r", 1)) return false;
  s.lineMeasure = text_private::MeasureFrom(s.lineMeasure, "\r", 1);
  s.written++;
  return true;
}

// End of input: a held CR is text, and bytes after the last LF are a line.
bool FinishLoad(LoadState& s, int cacheFd) {
  file* f = s.f;
  if (s.heldCR) {
    if (!KeepHeldCR(s, cacheFd)) return false;
    f->cacheBuffer[f->cacheLength++] = '\r';  // the window buffer has a spare byte
  }
  if (s.lineStart < s.written) {
    FileAppendO(f, s.lineStart, s.written - s.lineStart);
    f->widestLine = std::max(f->widestLine, s.lineMeasure);
    f->flags |= FILE_NO_FINAL_NEWLINE;
  }
  const long bare = s.lfCount - s.crlfCount;
  if (s.crlfCount > bare) f->flags |= FILE_CRLF_MAJORITY | FILE_SAVE_CRLF;
  if (s.crlfCount == 0 || s.crlfCount == s.lfCount) f->flags |= FILE_UNIFORM_ENDINGS;
  return true;
}

// Streams `fd` into the cache file.  False on a read or write failure.
bool FileLoad(file* f, int fd) {
  LoadState s;
  s.f = f;
  const int cacheFd = text_private::CacheDescriptor(f);
  if (cacheFd < 0) return false;
  char* buffer = f->cacheBuffer;
  for (;;) {
    const long n = ReadChunk(fd, buffer, f->cacheCapacity);
    if (n < 0) return false;
    if (n == 0) return FinishLoad(s, cacheFd);
    if (s.heldCR) {
      s.heldCR = false;
      if (buffer[0] == '\n') {
        s.crlfCount++;
      } else if (!KeepHeldCR(s, cacheFd)) {
        return false;
      }
    }
    const long cleaned = RemoveCRs(s, buffer, n);
    if (!AppendToCache(s, cacheFd, buffer, cleaned)) return false;
  }
}

long WindowCapacity(long size) {
  if (size <= 0) return kMaxChunk;
  return std::min(kMaxChunk, (size + kChunkUnit - 1) / kChunkUnit * kChunkUnit);
}

}  // namespace

namespace text_private {

bool FileFillup(file* f, const char* name) {
  f->cacheCapacity = WindowCapacity(f->size);
  f->cacheBuffer = static_cast<char*>(gen_alloc(f->cacheCapacity + 1, 1));
  int fd = -1;
  if (!(f->flags & FILE_NEW)) {
    fd = open(name, O_RDONLY);
    if (fd < 0) {
      gen_error("Can't open file: %s", name);
      return false;
    }
  }
  if (!CacheCreate(f)) {
    if (fd >= 0) close(fd);
    gen_error("Can't open temp file: %s", name);
    return false;
  }
  f->language = ChooseLanguage(name);
  if (fd < 0) {
    f->flags |= FILE_UNIFORM_ENDINGS;
    return true;
  }
  const bool ok = FileLoad(f, fd);
  close(fd);
  if (!ok) gen_error("No space for tempfile");
  return ok;
}

}  // namespace text_private
