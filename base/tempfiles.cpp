// Temporary directory and temporary file names.  A name is
// "<dir>/dv_<pid><counter>.<suffix>" with the process number and a
// process-wide counter written in base 32, so names from one run never
// collide and names from different runs differ in the pid part.
#include "base/gen.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <string>
#include <vector>

gen_temp_dir_fn gen_temp_dir = gen_default_temp_dir;

namespace {

constexpr char kDigits[] = "0123456789abcdefghijklmnopqrstuv";
constexpr long kLastCounter = 1048575;  // the largest four-digit base-32 value
constexpr char kStemPrefix[] = "dv_";

long counter = 0;  // the last counter value handed out

std::string base32(unsigned long value) {
  std::string digits;
  do {
    digits.insert(digits.begin(), kDigits[value % 32]);
    value /= 32;
  } while (value != 0);
  return digits;
}

bool usable_dir(const char* dir) {
  return dir && *dir && gen_access(dir, W_OK | X_OK) == 0;
}

// The next stem, "dv_<pid><counter>" or the builder's fixed name; empty
// once the counter is exhausted.
std::string next_stem() {
  if (const char* fixed = gen_getenv("BUILDER_TEMPORARY_NAME", nullptr)) {
    return fixed;
  }
  if (counter >= kLastCounter) return "";
  counter++;
  return kStemPrefix + base32(static_cast<unsigned long>(getpid())) +
         base32(static_cast<unsigned long>(counter));
}

std::string name_in(const char* dir, const std::string& stem, const char* suffix) {
  std::string name = dir && *dir ? dir : ".";
  if (name.back() != '/') name += '/';
  name += stem;
  name += '.';
  if (suffix && suffix[0] == '.') suffix++;
  if (suffix) name += suffix;
  return name;
}

// Fills names[i] for each (dir, suffix) pair with a shared stem such that
// none of the files exists.  False when the counter runs out.
bool make_names(const std::vector<std::pair<const char*, const char*>>& wanted,
                std::vector<std::string>& names) {
  const bool fixed = gen_getenv("BUILDER_TEMPORARY_NAME", nullptr) != nullptr;
  for (;;) {
    const std::string stem = next_stem();
    if (stem.empty()) return false;
    names.clear();
    bool taken = false;
    for (const auto& [dir, suffix] : wanted) {
      names.push_back(name_in(dir, stem, suffix));
      if (gen_access(names.back().c_str(), F_OK) == 0) taken = true;
    }
    if (!taken || fixed) return true;
  }
}

char* to_new_string(const std::string& s) {
  return gen_copyn(s.data(), static_cast<long>(s.size()));
}

}  // namespace

// TMPDIR when usable, else the fallback when usable, else /var/tmp/ (or
// /tmp where /var/tmp/ is missing).  Computed once; passing a fallback
// computes it afresh.
const char* gen_default_temp_dir(const char* fallback) {
  static char* dir = nullptr;
  if (dir && !fallback) return dir;
  const char* env = gen_getenv("TMPDIR", nullptr);
  if (usable_dir(env)) {
    gen_strchange(&dir, env);
  } else if (fallback && gen_access(fallback, F_OK) == 0) {
    gen_strchange(&dir, fallback);
  } else {
    gen_strchange(&dir, gen_access("/var/tmp/", F_OK) != 0 ? "/tmp" : "/var/tmp/");
  }
  return dir;
}

char* tmp1name(const char* suffix) {
  std::vector<std::string> names;
  if (!make_names({{gen_temp_dir(nullptr), suffix}}, names)) return nullptr;
  return to_new_string(names[0]);
}

// A fresh name beside path (in its directory), or in the temporary
// directory when path is null.
char* gen_tempname(const char* path, const char* suffix) {
  if (!path) return tmp1name(suffix);
  char* dir = gen_dirname(path);
  std::vector<std::string> names;
  const bool ok = make_names({{dir, suffix}}, names);
  gen_free(dir);
  return ok ? to_new_string(names[0]) : nullptr;
}

// Two names with one stem; 0 on success, -1 (names untouched) otherwise.
int tmp2name(const char* suffix1, const char* suffix2, char** name1, char** name2) {
  const char* dir = gen_temp_dir(nullptr);
  std::vector<std::string> names;
  if (!make_names({{dir, suffix1}, {dir, suffix2}}, names)) return -1;
  if (name1) *name1 = to_new_string(names[0]);
  if (name2) *name2 = to_new_string(names[1]);
  return 0;
}

// Three names with one stem; the third lies in dir2 when it is given.
int xtmp3names(const char* dir2, const char* s1, const char* s2, const char* s3,
               char** n1, char** n2, char** n3) {
  const char* dir = gen_temp_dir(nullptr);
  std::vector<std::string> names;
  if (!make_names({{dir, s1}, {dir, s2}, {dir2 ? dir2 : dir, s3}}, names)) {
    return -1;
  }
  if (n1) *n1 = to_new_string(names[0]);
  if (n2) *n2 = to_new_string(names[1]);
  if (n3) *n3 = to_new_string(names[2]);
  return 0;
}

// Creates and opens a fresh temporary file (mode 0600); the descriptor, or
// -1 when no name could be created.  *name receives the file's name.
int gen_mkstemp(const char* suffix, char** name) {
  for (;;) {
    char* candidate = tmp1name(suffix);
    if (!candidate) return -1;
    // Exclusive and not through a link: a name planted in a shared
    // directory is skipped, never written through.
    const int fd = open(candidate, O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd >= 0) {
      if (name) {
        *name = candidate;
      } else {
        gen_free(candidate);
      }
      return fd;
    }
    gen_free(candidate);
    if (errno != EEXIST || gen_getenv("BUILDER_TEMPORARY_NAME", nullptr)) return -1;
  }
}

bool gen_process_exists(long pid) {
  if (pid <= 0 || pid > INT_MAX) return false;
  return kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

namespace {

long base32_value(const std::string& digits) {
  long value = 0;
  for (char c : digits) {
    const char* at = strchr(kDigits, c);
    if (!at || !c || value > (LONG_MAX >> 5)) return -1;
    value = value * 32 + (at - kDigits);
  }
  return value;
}

// A stem "dv_<pid><counter>" whose every reading (the counter has one to
// four digits, neither part a leading zero) names a process that is gone.
bool stem_of_dead_process(const std::string& stem) {
  const size_t start = sizeof kStemPrefix - 1;
  if (stem.compare(0, start, kStemPrefix) != 0 || stem.size() < start + 2) return false;
  bool readable = false;
  for (size_t digits = 1; digits <= 4 && start + digits < stem.size(); ++digits) {
    const size_t split = stem.size() - digits;
    if (stem[split] == '0' || stem[start] == '0') continue;
    const long pid = base32_value(stem.substr(start, split - start));
    if (pid < 0 || base32_value(stem.substr(split)) < 0) continue;
    if (gen_process_exists(pid)) return false;
    readable = true;
  }
  return readable;
}

}  // namespace

void gen_remove_stale_temporaries() {
  const std::string dir = gen_temp_dir(nullptr);
  DIR* d = opendir(dir.c_str());
  if (!d) return;
  while (dirent* e = readdir(d)) {
    const std::string name = e->d_name;
    if (!stem_of_dead_process(name.substr(0, name.find('.')))) continue;
    const std::string path = dir + (dir.back() == '/' ? "" : "/") + name;
    struct stat st;
    if (lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == getuid())
      unlink(path.c_str());
  }
  closedir(d);
}
