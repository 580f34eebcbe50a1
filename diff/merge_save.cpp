// Writing a result to disk: into a fresh file beside the target, renamed
// over it only when every byte is written, so that a failed save leaves
// the target as it was and no temporary file behind.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "base/gen.h"
#include "diff/merge_private.h"
#include "text/file.h"

namespace merge_private {

namespace {

constexpr mode_t kNewFileMode = 0666;  // before the umask

void ReportWriteFailure(const char* path, int error) {
  gen_error("Can't write %s: %s", path, strerror(error));
}

}  // namespace

bool WriteFileAtomically(const char* path, std::string_view text) {
  struct stat st;
  const bool exists = stat(path, &st) == 0;
  char* temp = gen_tempname(path, "merge");
  if (!temp) {
    ReportWriteFailure(path, EEXIST);
    return false;
  }
  const int fd = open(temp, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kNewFileMode);
  if (fd < 0) {
    ReportWriteFailure(path, errno);
    gen_free(temp);
    return false;
  }
  int error = 0;
  if (!gen_write_all(fd, text.data(), text.size())) error = errno ? errno : EIO;
  if (!error && exists && fchmod(fd, st.st_mode & 07777) != 0) error = errno;
  if (close(fd) != 0 && !error) error = errno;
  if (!error && rename(temp, path) != 0) error = errno;
  const bool ok = error == 0;
  if (!ok) {
    unlink(temp);
    ReportWriteFailure(path, error);
  }
  gen_free(temp);
  return ok;
}

std::string MergedName(const char* name1) {
  char* dir = gen_dirname(name1);
  char* base = gen_basename(name1);
  std::string merged = dir && *dir ? dir : ".";
  merged += "/Merged_";
  merged += base ? base : "";
  gen_free(dir);
  gen_free(base);
  return merged;
}

std::string FileText(file* f) {
  std::string text;
  if (!f) return text;
  for (line* l = f->firstLine; l; l = l->next) {
    const char* bytes = FileLineText(f, l);
    if (bytes) text.append(bytes, static_cast<size_t>(l->length));
    if (l->next || !(f->flags & FILE_NO_FINAL_NEWLINE)) text.push_back('\n');
  }
  return text;
}

}  // namespace merge_private
