// Questions about files on disk: existence and access, kind, size, identity
// and link targets, and the current directory.  Each answers falsely (or
// with null or -1) for a null name or a name that cannot be examined.
#include "base/gen.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

bool gen_samefile(const char* a, const char* b) {
  if (!a || !b) return false;
  struct stat sa, sb;
  if (stat(a, &sa) != 0 || stat(b, &sb) != 0) return false;
  return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

char* gen_getcwd() {
  std::string buf(256, '\0');
  while (!getcwd(buf.data(), buf.size())) {
    if (errno != ERANGE) return nullptr;
    buf.resize(buf.size() * 2);
  }
  return gen_copy(buf.c_str());
}

bool gen_isdir(const char* path) {
  struct stat st;
  return path && stat(path, &st) == 0 && S_ISDIR(st.st_mode);
}

bool gen_isspecial(const char* path) {
  struct stat st;
  return path && stat(path, &st) == 0 && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode);
}

bool gen_islink(const char* path) {
  struct stat st;
  return path && lstat(path, &st) == 0 && S_ISLNK(st.st_mode);
}

char* gen_readlink(const char* path) {
  if (!path) return nullptr;
  std::string buf(256, '\0');
  for (;;) {
    const ssize_t n = readlink(path, buf.data(), buf.size());
    if (n < 0) return nullptr;
    if (static_cast<size_t>(n) < buf.size()) {
      return gen_copyn(buf.data(), static_cast<long>(n));
    }
    buf.resize(buf.size() * 2);
  }
}

long gen_filesize(const char* path) {
  struct stat st;
  if (!path || stat(path, &st) != 0) return -1;
  return static_cast<long>(st.st_size);
}

int gen_access(const char* path, int mode) {
  if (!path) return -1;
  return access(path, mode);
}
