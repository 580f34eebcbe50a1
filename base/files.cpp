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
