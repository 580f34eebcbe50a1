// Guarded file I/O: opening and seeking fail fatally with a message naming
// the file; reading, writing and closing report trouble and carry on,
// leaving the decision to the caller through their return values.
#include "base/gen.h"

#include <cerrno>
#include <cstring>
#include <string>

namespace {

// "input" or "output", from the first of r, w, a in the mode.
const char* direction(const char* mode) {
  for (const char* p = mode; p && *p; p++) {
    if (*p == 'r') return "input";
    if (*p == 'w' || *p == 'a') return "output";
  }
  return "input";
}

}  // namespace

FILE* gen_safe_fopen(const char* name, const char* description, const char* mode) {
  const char* m = mode ? mode : "r";
  errno = 0;
  FILE* f = name ? fopen(name, m) : nullptr;
  if (f) return f;
  if (!name) errno = EINVAL;
  std::string shown = name ? name : "(null)";
  if (description) shown = std::string(description) + " (" + shown + ")";
  gen_perrorexit(1, "Unable to open %s for %s: ", shown.c_str(), direction(m));
}

long gen_safe_fread(void* buf, long size, long count, FILE* f, const char* name) {
  if (!buf) {
    gen_error("internal: null buffer passed to gen_safe_fread");
    return 0;
  }
  if (!f || size <= 0 || count <= 0) return 0;
  errno = 0;
  const long n = static_cast<long>(
      fread(buf, static_cast<size_t>(size), static_cast<size_t>(count), f));
  if (n == 0) {
    if (name) {
      gen_perror("Error reading from '%s'", name);
    } else {
      gen_perror("Error reading from file");
    }
  }
  return n;
}

long gen_safe_fwrite(const void* buf, long size, long count, FILE* f,
                     const char* name) {
  if (!buf || !f || size <= 0 || count <= 0) return 0;
  errno = 0;
  const long n = static_cast<long>(
      fwrite(buf, static_cast<size_t>(size), static_cast<size_t>(count), f));
  if (n < count) {
    if (name) {
      gen_perror("Error writing to '%s'", name);
    } else {
      gen_perror("Error writing to file");
    }
  }
  return n;
}

int gen_safe_fclose(FILE* f, const char* name) {
  if (!f) return EOF;
  errno = 0;
  const int result = fclose(f);
  if (result != 0) gen_perror("Error closing %s: ", name ? name : "file");
  return result;
}

void gen_safe_fseek(FILE* f, long offset, int whence, const char* name) {
  errno = 0;
  if (f && fseek(f, offset, whence) == 0) return;
  if (!f) errno = EBADF;
  if (name) {
    gen_perrorexit(1, "seek failed to %d in '%s'", static_cast<int>(offset), name);
  }
  gen_perrorexit(1, "seek failed to %d in file", static_cast<int>(offset));
}
