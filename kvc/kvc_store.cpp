// The store on disk: where a file's log lives, checking in and fetching,
// whole-file reading and writing, dates and the user's name.
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "kvc/kvc.h"

namespace {

std::string dirOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string baseOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The file a symbolic link points at, else the name itself.
std::string resolved(const std::string& file) {
  struct stat st;
  if (lstat(file.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return file;
  char buf[PATH_MAX];
  if (!realpath(file.c_str(), buf)) return file;
  return buf;
}

std::string systemError(const std::string& what, const std::string& path) {
  return "cannot " + what + " " + path + ": " + strerror(errno);
}

// The check-in proper, with the log folder locked.
bool checkInLocked(const std::string& file, const std::string& path, const std::string& text,
                   const KvcVersion& info, int* number, std::string* error) {
  if (!kvc_HasLog(file)) {
    *number = 1;
    return kvc_WriteFile(path, KvcLog::first(text, info), error);
  }
  std::unique_ptr<KvcLog> log = KvcLog::readFor(file, error);
  std::string head, bytes;
  if (!log || !log->text(log->head(), &head, error)) return false;
  if (head == text) {
    *error = file + " is unchanged since version " + std::to_string(log->head());
    return false;
  }
  if (!log->withNewHead(text, info, &bytes, error)) return false;
  *number = log->head() + 1;
  return kvc_WriteFile(path, bytes, error);
}

}  // namespace

std::string kvc_LogPath(const std::string& file) {
  const std::string target = resolved(file);
  return dirOf(target) + "/kvc.log/" + baseOf(target);
}

bool kvc_HasLog(const std::string& file) {
  struct stat st;
  return stat(kvc_LogPath(file).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::unique_ptr<KvcLog> KvcLog::readFor(const std::string& file, std::string* error) {
  const std::string path = kvc_LogPath(file);
  if (!kvc_HasLog(file)) {
    *error = file + " is not under version control";
    return nullptr;
  }
  std::string bytes;
  if (!kvc_ReadFile(path, &bytes, error)) return nullptr;
  return parse(std::move(bytes), path, error);
}

bool kvc_CheckIn(const std::string& file, const std::string& comment, int* number,
                 std::string* error) {
  std::string text;
  if (!kvc_ReadFile(file, &text, error)) return false;
  const KvcVersion info{0, static_cast<int64_t>(time(nullptr)), kvc_Username(), comment};
  const std::string path = kvc_LogPath(file), dir = dirOf(path);
  if (mkdir(dir.c_str(), 0777) != 0 && errno != EEXIST) {
    *error = systemError("create", dir);
    return false;
  }
  // Check-ins of files in one folder take turns: each reads the log it
  // replaces.  The lock ends with the descriptor, also when a process dies.
  const int lock = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (lock < 0 || flock(lock, LOCK_EX) != 0) {
    *error = systemError("lock", dir);
    if (lock >= 0) close(lock);
    return false;
  }
  const bool ok = checkInLocked(file, path, text, info, number, error);
  close(lock);
  return ok;
}

bool kvc_Fetch(const std::string& file, int number, int64_t date, std::string* text,
               std::string* error) {
  std::unique_ptr<KvcLog> log = KvcLog::readFor(file, error);
  if (!log) return false;
  if (number == 0) {
    number = log->versionAt(date);
    if (number == 0) {
      *error = "no version of " + file + " at or before " + kvc_FormatDate(date) +
               " (version 1 is of " + kvc_FormatDate(log->versions()[0].date) + ")";
      return false;
    }
  }
  return log->text(number, text, error);
}

bool kvc_ReadFile(const std::string& path, std::string* bytes, std::string* error) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    *error = systemError("open", path);
    return false;
  }
  bytes->clear();
  char buf[65536];
  ssize_t n;
  while ((n = read(fd, buf, sizeof buf)) > 0 || (n < 0 && errno == EINTR))
    if (n > 0) bytes->append(buf, static_cast<size_t>(n));
  if (n < 0) *error = systemError("read", path);
  close(fd);
  return n == 0;
}

bool kvc_WriteFile(const std::string& path, const std::string& bytes, std::string* error) {
  std::string temp = dirOf(path) + "/.#" + baseOf(path) + ".XXXXXX";
  const int fd = mkstemp(temp.data());
  if (fd < 0) {
    *error = systemError("create a file beside", path);
    return false;
  }
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  struct stat st;
  const mode_t mode = stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0644;
  const bool ok = done == bytes.size() && fchmod(fd, mode) == 0 && close(fd) == 0 &&
                  rename(temp.c_str(), path.c_str()) == 0;
  if (!ok) {
    *error = systemError("write", path);
    unlink(temp.c_str());
  }
  return ok;
}

bool kvc_ParseDate(const std::string& text, int64_t* date) {
  if (!text.empty() && text[0] == '@') {
    char* end = nullptr;
    *date = strtoll(text.c_str() + 1, &end, 10);
    return end != text.c_str() + 1 && *end == '\0';
  }
  std::string s = text;
  for (const char* zone : {" UTC", "Z", " +0000"})
    if (s.size() > strlen(zone) && s.ends_with(zone)) s.resize(s.size() - strlen(zone));
  for (char& c : s)
    if (c == '-' || c == '/' || c == 'T') c = ' ';
  struct tm tm = {};
  for (const char* format : {"%Y %m %d %H:%M:%S", "%Y %m %d %H:%M", "%Y %m %d"}) {
    tm = {};
    const char* end = strptime(s.c_str(), format, &tm);
    if (end && *end == '\0') {
      *date = static_cast<int64_t>(timegm(&tm));
      return true;
    }
  }
  return false;
}

std::string kvc_FormatDate(int64_t date) {
  const time_t t = static_cast<time_t>(date);
  struct tm tm;
  char buf[64];
  if (!gmtime_r(&t, &tm) || strftime(buf, sizeof buf, "%Y/%m/%d %H:%M:%S", &tm) == 0)
    std::snprintf(buf, sizeof buf, "@%lld", static_cast<long long>(date));
  return buf;
}

std::string kvc_Username() {
  if (const struct passwd* pw = getpwuid(getuid()); pw && pw->pw_name) return pw->pw_name;
  const char* user = getenv("USER");
  return user ? user : "unknown";
}
