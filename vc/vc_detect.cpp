// Telling which system manages a file from the file system: the strict
// rules, the directory fallback, and the one question ClearCase needs its
// own program for.
#include "vc/vc_detect.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/gen.h"
#include "vc/vc.h"
#include "vc/vc_private.h"

namespace fs = std::filesystem;

namespace {

constexpr int kCleartoolMs = 10000;  // a hung cleartool is killed after this

bool present(const fs::path& p) {
  std::error_code ec;
  return fs::exists(p, ec);
}

bool isFile(const fs::path& p) {
  std::error_code ec;
  return fs::is_regular_file(p, ec);
}

bool isDir(const fs::path& p) {
  std::error_code ec;
  return fs::is_directory(p, ec);
}

fs::path absolutePath(const char* file) {
  char* expanded = gen_expand_filename(file);
  fs::path p = expanded ? expanded : file;
  gen_free(expanded);
  return p;
}

bool cvsEntries(const fs::path& dir, const std::string& base) {
  std::ifstream in(dir / "CVS" / "Entries");
  const std::string prefix = "/" + base + "/";
  for (std::string line; std::getline(in, line);)
    if (line.compare(0, prefix.size(), prefix) == 0) return true;
  return false;
}

bool cvsDirectory(const fs::path& dir) {
  return access((dir / "CVS" / "Entries").c_str(), R_OK) == 0;
}

// Directories git does not climb into while it looks for a work tree
// ("GIT_CEILING_DIRECTORIES"): a file below one only is no git file.
fs::path normal(const fs::path& p) {
  fs::path n = p.lexically_normal();
  return n.has_filename() || n == n.root_path() ? n : n.parent_path();
}

bool gitCeiling(const fs::path& dir) {
  const char* list = getenv("GIT_CEILING_DIRECTORIES");
  std::istringstream in(list ? list : "");
  for (std::string entry; std::getline(in, entry, ':');)
    if (!entry.empty() && normal(entry) == normal(dir)) return true;
  return false;
}

// A ".git" directory, or the ".git" file of a linked work tree.
bool gitAbove(fs::path dir) {
  for (;;) {
    if (present(dir / ".git")) return true;
    if (!dir.has_parent_path() || dir.parent_path() == dir) return false;
    dir = dir.parent_path();
    if (gitCeiling(dir)) return false;
  }
}

// The log lies beside the file's resolved name: a symbolic link's target.
bool kvcLog(const fs::path& file) {
  fs::path resolved = file;
  std::error_code ec;
  if (fs::is_symlink(file, ec)) {
    fs::path target = fs::read_symlink(file, ec);
    if (!ec) resolved = target.is_absolute() ? target : file.parent_path() / target;
  }
  return isFile(resolved.parent_path() / "kvc.log" / resolved.filename());
}

bool cleartoolInstalled() {
  if (char* found = gen_findexec("cleartool")) {
    gen_free(found);
    return true;
  }
  return access("/usr/atria/bin/cleartool", X_OK) == 0;
}

bool viewAbove(fs::path dir) {
  for (;;) {
    if (present(dir / ".view.dat")) return true;
    if (!dir.has_parent_path() || dir.parent_path() == dir) return false;
    dir = dir.parent_path();
  }
}

bool clearcase(const fs::path& file) {
  if (!cleartoolInstalled()) return false;
  if (!getenv("CLEARCASE_ROOT") && !viewAbove(file.parent_path())) return false;
  std::string unrecognized;
  const bool known = vc_ClearCaseKnows(file.c_str(), &unrecognized);
  static bool told = false;
  if (!unrecognized.empty() && !told) {
    told = true;
    char* text = gen_asprintf("Unrecognized response from cleartool: %s", unrecognized.c_str());
    vc_Alert(text);
    gen_free(text);
  }
  return known;
}

// Reads what the child writes until it closes the pipe or the time is up.
std::string readAll(int fd, int ms) {
  std::string out;
  char chunk[4096];
  pollfd p{fd, POLLIN, 0};
  while (poll(&p, 1, ms) > 0) {
    const ssize_t n = read(fd, chunk, sizeof chunk);
    if (n <= 0) break;
    out.append(chunk, static_cast<size_t>(n));
  }
  return out;
}

}  // namespace

bool vc_ClearCaseKnows(const char* file, std::string* unrecognized) {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) return false;
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(fds[1], 1);
    dup2(fds[1], 2);
    execlp("cleartool", "cleartool", "ls", "-d", "-vob", file, static_cast<char*>(nullptr));
    execl("/usr/atria/bin/cleartool", "cleartool", "ls", "-d", "-vob", file,
          static_cast<char*>(nullptr));
    _exit(127);
  }
  close(fds[1]);
  const std::string out = pid > 0 ? readAll(fds[0], kCleartoolMs) : "";
  close(fds[0]);
  if (pid > 0) {
    kill(pid, SIGKILL);  // gone already, or hung
    waitpid(pid, nullptr, 0);
  }
  if (out.find("@@") != std::string::npos || out.find("-->") != std::string::npos) return true;
  if (out.find(": Error: ") == std::string::npos) *unrecognized = out;
  return false;
}

int vc_DetectStrict(const char* file, bool withClearCase) {
  if (!file || !*file) return -1;
  const fs::path path = absolutePath(file);
  const fs::path dir = path.parent_path();
  const std::string base = path.filename().string();
  if (cvsEntries(dir, base)) return VC_CVS;
  if (kvcLog(path)) return VC_KVC;
  if (withClearCase && clearcase(path)) return VC_CLEARCASE;
  if (isFile(dir / "RCS" / (base + ",v"))) return VC_RCS;
  if (gitAbove(dir)) return VC_GIT;  // git comes after the classic systems' own marks
  return -1;
}

int vc_DetectDirectory(const char* directory) {
  const fs::path dir = absolutePath(directory);
  if (cvsDirectory(dir)) return VC_CVS;
  if (isDir(dir / "kvc.log")) return VC_KVC;
  if (isDir(dir / "RCS")) return VC_RCS;
  if (gitAbove(dir)) return VC_GIT;
  return VC_KVC;
}

int vc_DetectType(const char* file, bool withClearCase) {
  const int strict = vc_DetectStrict(file, withClearCase);
  if (strict >= 0 || !file || !*file) return strict < 0 ? VC_KVC : strict;
  return vc_DetectDirectory(absolutePath(file).parent_path().c_str());
}
