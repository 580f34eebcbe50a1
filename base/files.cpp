// Whole-file operations: reading a file into memory, creating directories
// with their parents, removing and copying files, and running a shell
// command.  Each reports failure by its return value.
#include "base/gen.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

bool gen_write_all(int fd, const void* data, size_t length) {
  const char* p = static_cast<const char*>(data);
  while (length > 0) {
    const ssize_t done = write(fd, p, length);
    if (done < 0 && errno == EINTR) continue;
    if (done <= 0) return false;
    p += done;
    length -= static_cast<size_t>(done);
  }
  return true;
}

// The whole file plus a terminating NUL; *size (when given) gets the byte
// count.  Null when the file cannot be read.
char* gen_readfile_into_buffer(const char* path, long* size) {
  FILE* f = path ? fopen(path, "rb") : nullptr;
  if (!f) return nullptr;
  std::string data;
  char chunk[8192];
  size_t n;
  while ((n = fread(chunk, 1, sizeof chunk, f)) > 0) data.append(chunk, n);
  const bool failed = ferror(f) != 0;
  fclose(f);
  if (failed) return nullptr;
  char* buf = static_cast<char*>(gen_alloc(1, static_cast<long>(data.size()) + 1));
  data.copy(buf, data.size());
  if (size) *size = static_cast<long>(data.size());
  return buf;
}

namespace {

// Reads a regular file of at most `limit` bytes into *data; the reason it
// was refused, or null.
const char* read_bounded(int fd, long limit, std::string* data) {
  struct stat st;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return "not a regular file";
  if (st.st_size > limit) return "too large";
  char chunk[65536];
  for (;;) {
    const ssize_t n = read(fd, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return strerror(errno);
    if (n == 0) return nullptr;
    data->append(chunk, static_cast<size_t>(n));
    if (static_cast<long>(data->size()) > limit) return "too large";  // it grew
  }
}

}  // namespace

char* gen_read_data_file(const char* path, long limit, long* size, const char* what) {
  if (size) *size = 0;
  // Non-blocking, so that opening a FIFO does not wait for a writer.
  const int fd = path ? open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC) : -1;
  if (fd < 0) return nullptr;
  std::string data;
  const char* refusal = read_bounded(fd, limit, &data);
  close(fd);
  if (refusal && !strcmp(refusal, "too large")) {
    gen_error("Not reading %s %s: larger than %ld bytes", what, path, limit);
    return nullptr;
  }
  if (refusal) {
    gen_error("Not reading %s %s: %s", what, path, refusal);
    return nullptr;
  }
  char* buf = static_cast<char*>(gen_alloc(1, static_cast<long>(data.size()) + 1));
  data.copy(buf, data.size());
  if (size) *size = static_cast<long>(data.size());
  return buf;
}

std::vector<std::string> gen_split_lines(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t nl = text.find('\n', start);
    size_t stop = nl == std::string_view::npos ? text.size() : nl;
    size_t end = stop;
    if (nl != std::string_view::npos && end > start && text[end - 1] == '\r') end--;
    lines.emplace_back(text.substr(start, end - start));
    start = stop + 1;
  }
  return lines;
}

bool gen_read_data_lines(const char* path, long limit, const char* what,
                         std::vector<std::string>* lines) {
  long size = 0;
  char* text = gen_read_data_file(path, limit, &size, what);
  if (!text) return false;
  *lines = gen_split_lines(std::string_view(text, static_cast<size_t>(size)));
  gen_free(text);
  return true;
}

// Creates path and any missing parents; 0 when the directory exists after.
int gen_createdir(const char* path, int mode) {
  if (!path || !*path) return -1;
  if (gen_isdir(path)) return 0;
  char* parent = gen_dirname(path);
  const bool parent_ok = gen_isdir(parent) || gen_createdir(parent, mode) == 0;
  gen_free(parent);
  if (!parent_ok) return -1;
  if (mkdir(path, static_cast<mode_t>(mode)) == 0) return 0;
  return gen_isdir(path) ? 0 : -1;
}

int gen_removefile(const char* path) {
  if (!path) return -1;
  return unlink(path);
}

// Copies the bytes and the permission bits; 0 on success, -1 on failure.
int gen_copyfile(const char* from, const char* to) {
  if (!from || !to) return -1;
  const int in = open(from, O_RDONLY);
  if (in < 0) return -1;
  struct stat st;
  const mode_t mode = fstat(in, &st) == 0 ? (st.st_mode & 07777) : 0644;
  const int out = open(to, O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW, mode);
  bool ok = out >= 0;
  char chunk[8192];
  while (ok) {
    const ssize_t n = read(in, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = n == 0;
      break;
    }
    ok = gen_write_all(out, chunk, static_cast<size_t>(n));
  }
  close(in);
  if (out >= 0 && close(out) != 0) ok = false;
  return ok ? 0 : -1;
}

// The command's exit status, or -1 when it could not run or was killed.
int gen_system(const char* command) {
  if (!command) return -1;
  fflush(stdout);
  fflush(stderr);
  const int status = system(command);
  if (status == -1 || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}
