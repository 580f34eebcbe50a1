// The checks and the exclusive creation behind the registration and lock
// files: another user may create names in a shared temporary directory, so
// nothing is trusted that this user did not create alone.
#include "services/sr_files.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "base/gen.h"

SRFileTrust sr_check_file(const std::string& path, std::string* why, struct stat* info) {
  struct stat own;
  struct stat* st = info ? info : &own;
  if (lstat(path.c_str(), st) != 0) return SRFileTrust::absent;
  if (!S_ISREG(st->st_mode)) {
    *why = S_ISLNK(st->st_mode) ? "it is a symbolic link" : "it is not a regular file";
  } else if (st->st_uid != geteuid()) {
    *why = "it belongs to another user";
  } else if (st->st_mode & (S_IWGRP | S_IWOTH)) {
    *why = "other users may write it";
  } else {
    return SRFileTrust::trusted;
  }
  return SRFileTrust::untrusted;
}

void sr_warn_untrusted(const std::string& path, const std::string& why) {
  gen_warning("Not trusting service router file %s: %s.\n", path.c_str(), why.c_str());
}

bool sr_create_exclusive(const std::string& path, const std::string& text) {
  int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  bool ok = gen_write_all(fd, text.data(), text.size());
  int saved = errno;
  if (close(fd) != 0 && ok) {
    ok = false;
    saved = errno;
  }
  if (!ok) {
    unlink(path.c_str());
    errno = saved;
  }
  return ok;
}
