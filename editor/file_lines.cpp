#include "editor/file_lines.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "base/gen.h"
#include "text/file.h"

std::string edit_LineText(file* f, line* l) {
  const char* text = FileLineText(f, l);
  return text ? std::string(text, l->length) : std::string();
}

void edit_SetLineText(file* f, line* l, std::string_view text) {
  if (l->capacity < static_cast<long>(text.size())) {
    if (l->capacity != -1) gen_free(l->storage.text);
    l->capacity = static_cast<long>(text.size()) + 16;
    l->storage.text = static_cast<char*>(gen_alloc(l->capacity + 1, 1));
  }
  std::memcpy(l->storage.text, text.data(), text.size());
  l->length = static_cast<long>(text.size());
  long measure = FileSetMaxW(text.data(), l->length);
  if (measure > f->widestLine) f->widestLine = measure;
  f->flags |= FILE_MODIFIED;
}

line* edit_InsertLine(file* f, line* before, std::string_view text) {
  line* l = _FileInsertO(f, before, 0, 0);
  edit_SetLineText(f, l, text);
  return l;
}

void edit_RemoveLine(file* f, line* l) {
  if (l->previous) l->previous->next = l->next;
  else f->firstLine = l->next;
  if (l->next) l->next->previous = l->previous;
  else f->lastLine = l->previous;
  f->lineCount--;
  f->flags |= FILE_MODIFIED;
  LineFree(l);
}

namespace {

bool writeAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    ssize_t n = write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

// The lines in one buffer, flushed every 64 KB.
bool writeLines(int fd, file* f) {
  const char* ending = (f->flags & FILE_SAVE_CRLF) ? "\r\n" : "\n";
  std::string out;
  for (line* l = f->firstLine; l; l = l->next) {
    const char* text = FileLineText(f, l);
    if (!text && l->length > 0) return (errno = EIO), false;
    out.append(text ? text : "", l->length);
    if (l->next || !(f->flags & FILE_NO_FINAL_NEWLINE)) out += ending;
    if (out.size() < 65536) continue;
    if (!writeAll(fd, out.data(), out.size())) return false;
    out.clear();
  }
  return writeAll(fd, out.data(), out.size());
}

void fail(std::string* error, const char* name) {
  *error = "Can't write ";
  *error += name;
  *error += ": ";
  *error += std::strerror(errno);
}

}  // namespace

bool edit_WriteFile(file* f, const char* name, std::string* error) {
  std::string temporary = name;
  temporary += ".diffview-XXXXXX";
  int fd = mkstemp(temporary.data());
  if (fd < 0) return fail(error, name), false;
  // The old file's permissions, or a new file's under the umask.
  struct stat old{};
  mode_t mask = umask(0);
  umask(mask);
  fchmod(fd, stat(name, &old) == 0 ? (old.st_mode & 07777) : (0666 & ~mask));
  bool ok = writeLines(fd, f);
  if (close(fd) != 0) ok = false;
  if (ok && rename(temporary.c_str(), name) == 0) return true;
  fail(error, name);
  unlink(temporary.c_str());
  return false;
}
