// Reading a named file line by line as the text model loads it: lines end
// at LF, a CR just before the LF is dropped, the bytes after the last LF
// are one more line, an empty file has no lines.  The file is streamed in
// blocks; only the block holding the current lines is in memory.
#pragma once

#include <cstdio>

class DiffLineReader {
 public:
  DiffLineReader() = default;
  ~DiffLineReader();
  DiffLineReader(const DiffLineReader&) = delete;
  DiffLineReader& operator=(const DiffLineReader&) = delete;

  // False when the file cannot be opened.
  bool Open(const char* name);
  // True when the next line is not wholly in the block, so that Next will
  // move or replace the bytes of the lines returned so far.
  bool NeedsRead();
  // The next line (text without its end, valid until Next moves the block;
  // see NeedsRead); false at the end of the file or on a read error.
  bool Next(const char** text, long* length);
  // True when reading stopped on an error rather than at the end.
  bool failed() const { return failed_; }

  // The number of lines of a named file, -1 when it cannot be read.
  static long CountLines(const char* name);

 private:
  // Keeps the unread bytes and reads more behind them; false at the end.
  bool Read();

  FILE* in_ = nullptr;
  char* block_ = nullptr;
  long capacity_ = 0;
  long begin_ = 0;  // first unread byte
  long end_ = 0;    // one past the last byte read
  long lineEnd_ = -1;  // the LF ending the next line, once found
  bool eof_ = false;
  bool failed_ = false;
};
