// Streaming line reader (see line_reader.h).
#include "diff/line_reader.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

constexpr long kBlockBytes = 256 * 1024;

}  // namespace

DiffLineReader::~DiffLineReader() {
  if (in_) fclose(in_);
  free(block_);
}

bool DiffLineReader::Open(const char* name) {
  in_ = fopen(name, "rb");
  if (!in_) return false;
  block_ = static_cast<char*>(malloc(kBlockBytes));
  capacity_ = block_ ? kBlockBytes : 0;
  failed_ = block_ == nullptr;
  return block_ != nullptr;
}

bool DiffLineReader::NeedsRead() {
  if (lineEnd_ >= 0 || eof_) return false;
  const void* lf = memchr(block_ + begin_, '\n', static_cast<size_t>(end_ - begin_));
  if (!lf) return true;
  lineEnd_ = static_cast<const char*>(lf) - block_;
  return false;
}

bool DiffLineReader::Read() {
  if (eof_ || failed_) return false;
  const long kept = end_ - begin_;
  if (kept == capacity_) {
    // A line longer than the block: the block grows to hold it.
    char* bigger = static_cast<char*>(realloc(block_, capacity_ * 2));
    if (!bigger) {
      failed_ = true;
      return false;
    }
    block_ = bigger;
    capacity_ *= 2;
  }
  memmove(block_, block_ + begin_, static_cast<size_t>(kept));
  begin_ = 0;
  end_ = kept;
  const size_t got = fread(block_ + end_, 1, static_cast<size_t>(capacity_ - end_), in_);
  end_ += static_cast<long>(got);
  if (got == 0) {
    failed_ = ferror(in_) != 0;
    eof_ = true;
  }
  return true;
}

bool DiffLineReader::Next(const char** text, long* length) {
  if (!block_) return false;
  while (NeedsRead()) {
    if (!Read()) break;
  }
  if (failed_) return false;
  if (lineEnd_ < 0) {
    // The end of the file: the bytes left are the last line, if any.
    if (begin_ == end_) return false;
    lineEnd_ = end_;
  }
  *text = block_ + begin_;
  *length = lineEnd_ - begin_;
  if (lineEnd_ < end_ && *length > 0 && block_[lineEnd_ - 1] == '\r') --*length;
  begin_ = lineEnd_ < end_ ? lineEnd_ + 1 : end_;
  lineEnd_ = -1;
  return true;
}

long DiffLineReader::CountLines(const char* name) {
  FILE* in = fopen(name, "rb");
  if (!in) return -1;
  static char block[kBlockBytes];
  long count = 0;
  char last = '\n';
  for (size_t got; (got = fread(block, 1, sizeof block, in)) > 0;) {
    count += std::count(block, block + got, '\n');
    last = block[got - 1];
  }
  const bool failed = ferror(in) != 0;
  fclose(in);
  if (failed) return -1;
  return last == '\n' ? count : count + 1;
}
