// Process identity: the program name every message starts with, the path
// the program was started with, the directory holding the executable, and
// the suite's version level.  gen_init sets these up once at start.
#include "base/gen.h"

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "base/gen_private.h"

int bigendian_host = 0;

namespace {

char* progname = nullptr;
char* execname = nullptr;
char* progdir = nullptr;
int version = 0;
bool destructed = false;

// 1 on a big-endian host, 0 on a little-endian one, -1 when neither.
int host_byte_order() {
  const std::uint32_t probe = 0x01020304;
  unsigned char bytes[4];
  std::memcpy(bytes, &probe, sizeof bytes);
  if (bytes[0] == 1 && bytes[3] == 4) return 1;
  if (bytes[0] == 4 && bytes[3] == 1) return 0;
  return -1;
}

void free_identity() {
  gen_free(progname);
  gen_free(execname);
  gen_free(progdir);
  progname = execname = progdir = nullptr;
}

}  // namespace

void gen_init(const char* argv0, int /*flags1*/, int /*flags2*/) {
  std::string path = argv0 ? argv0 : "";
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  free_identity();
  execname = gen_copy(path.c_str());
  progname = gen_basename(execname);
  destructed = false;

  gen_private::install_signal_traps();
  gen_private::install_adt_report_hook();

  const int order = host_byte_order();
  if (order < 0) gen_errorexit(1, "Could not determine host endianness");
  bigendian_host = order;

  static bool registered = false;
  if (!registered) {
    registered = true;
    std::atexit(gen_destruct);
  }
}

void gen_destruct() {
  if (destructed) return;
  destructed = true;
  free_identity();
}

void gen_changeprogname(const char* name) { gen_strchange(&progname, name); }

const char* gen_getprogname() { return progname ? progname : ""; }

const char* gen_getexecname() { return execname ? execname : ""; }

void gen_changeprogdir(const char* dir) {
  if (!dir) {
    gen_strchange(&progdir, nullptr);
    return;
  }
  char* real = realpath(dir, nullptr);
  gen_strchange(&progdir, real ? real : dir);
  free(real);
}

const char* gen_getprogdir() { return progdir; }

// A name with a "/" is taken as it stands; otherwise each PATH directory is
// tried for an executable file of that name.
char* gen_findexec(const char* name) {
  if (!name || !*name) return nullptr;
  if (std::strchr(name, '/')) {
    return gen_access(name, X_OK) == 0 ? gen_absolutefilename(name) : nullptr;
  }
  std::string dirs = gen_getenv("PATH", "/bin:/usr/bin");
  std::size_t start = 0;
  while (start <= dirs.size()) {
    std::size_t end = dirs.find(':', start);
    if (end == std::string::npos) end = dirs.size();
    std::string dir = dirs.substr(start, end - start);
    char* candidate = gen_sconcat(dir.empty() ? "." : dir.c_str(), name);
    if (gen_access(candidate, X_OK) == 0 && !gen_isdir(candidate)) {
      char* full = gen_absolutefilename(candidate);
      gen_free(candidate);
      return full;
    }
    gen_free(candidate);
    start = end + 1;
  }
  return nullptr;
}

char* gen_findexecdir(const char* name) {
  char* path = gen_findexec(name);
  if (!path) return nullptr;
  char* dir = gen_dirname(path);
  gen_free(path);
  return dir;
}

void gen_set_version(int v) {
  if (v >= 9) {
    gen_error("Attempt to set version to an illegal value");
    return;
  }
  version = v;
}

int gen_get_version() { return version; }

bool gen_is_at_least_version(int v) { return v <= version; }

bool gen_is_at_most_version(int v) { return version <= v; }
