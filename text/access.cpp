// Whether a name can be loaded, with the loader's messages for every way it
// cannot: a directory of the path that cannot be searched or is not a
// directory, a missing file, a directory, a special file (whose reading may
// block or never end), an unreadable file.
#include "text/file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "base/gen.h"

namespace {

bool DirectoryWritable(const char* name) {
  char* dir = gen_dirname(name);
  const bool ok = access(dir && *dir ? dir : ".", W_OK) == 0;
  gen_free(dir);
  return ok;
}

// Reports a name that cannot be examined; returns 0 for a missing file that
// may become a new one, -1 otherwise.
int ReportStatFailure(const char* name, int error, int options) {
  switch (error) {
    case EACCES:
      gen_error("No access to directory: %s", name);
      return -1;
    case ENOTDIR:
      gen_error("Invalid directory: %s", name);
      return -1;
    case ENOENT:
      if (!DirectoryWritable(name)) {
        gen_error("No such file (and no write access to directory): %s", name);
        return -1;
      }
      if (!(options & FILE_LOAD_MUST_EXIST)) return 0;
      break;
    default:
      break;
  }
  const char* text = strerror(error);
  if (text && strncmp(text, "Unknown error", 13) != 0) {
    gen_error("%s: %s", name, text);
  } else {
    gen_error("Error(%d) on file: %s", error, name);
  }
  return -1;
}

}  // namespace

int FileCheckAccess(const char* name, int options) {
  if (!name || !*name) {
    gen_error("%s: %s", name ? name : "", strerror(ENOENT));
    return -1;
  }
  struct stat st;
  if (stat(name, &st) != 0) return ReportStatFailure(name, errno, options);
  if (S_ISDIR(st.st_mode)) {
    gen_error("Cannot edit a directory: %s", name);
    return -1;
  }
  if (!S_ISREG(st.st_mode)) {
    gen_error("Not a regular file (a FIFO, device or socket): %s", name);
    return -1;
  }
  if (access(name, R_OK) != 0) {
    gen_error("Cannot read file (protected): %s", name);
    return -1;
  }
  return 1;
}
