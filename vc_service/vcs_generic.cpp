// What every backend answers from its history and its fetching: the
// neighbours of a version, its information, restoring into a file, and
// the defaults of the operations a system may not have.  Versions are
// walked along their line of development: "1.2.1.3" goes with the other
// "1.2.1.x" and, before the first of them, back to "1.2"; names without
// dots (git, KVC) form one line in the history's order.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstdio>
#include <cstring>

#include "vc_service/vc_backend.h"
#include "vc_service/vcs_parts.h"

namespace {

std::string branchOf(const std::string& v) {
  const size_t dot = v.rfind('.');
  return dot == std::string::npos ? "" : v.substr(0, dot);
}

long lastNumber(const std::string& v) {
  const size_t dot = v.rfind('.');
  return strtol(v.c_str() + (dot == std::string::npos ? 0 : dot + 1), nullptr, 10);
}

}  // namespace

std::vector<std::string> vcs_Lane(const History_Info& history, const std::string& name) {
  std::vector<std::string> lane;
  for (const History_Info_Item& item : history.items)
    if (branchOf(item.version) == branchOf(name)) lane.push_back(item.version);
  if (name.find('.') != std::string::npos)
    std::stable_sort(lane.begin(), lane.end(), [](const std::string& a, const std::string& b) {
      return lastNumber(a) > lastNumber(b);
    });
  return lane;
}

std::string VcBackend::canonical(const std::string&, const std::string& version,
                                 std::string* name) {
  *name = version;
  return vcs_CheckVersionName(version);
}

std::string vcs_FileStamp(const std::string& path) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0) return "";
  char text[128];
  snprintf(text, sizeof text, "%lu:%lu:%lld:%lld.%09ld", static_cast<unsigned long>(st.st_dev),
           static_cast<unsigned long>(st.st_ino), static_cast<long long>(st.st_size),
           static_cast<long long>(st.st_mtim.tv_sec), st.st_mtim.tv_nsec);
  return text;
}

std::string VcBackend::keptHistory(const std::string& file, History_Info* h) {
  const std::string stamp = historyStamp(file);
  auto at = kept_.find(file);
  if (!stamp.empty() && at != kept_.end() && at->second.stamp == stamp) {
    *h = at->second.history;
    return "";
  }
  std::string error = history(file, h);
  if (!error.empty() || stamp.empty()) {
    kept_.erase(file);
    return error;
  }
  if (kept_.size() >= 64) kept_.clear();  // a bound, not a policy
  kept_[file] = Kept{stamp, *h};
  return "";
}

std::string VcBackend::nameIn(const History_Info& h, const std::string& file,
                              const std::string& version, std::string* name) {
  for (const History_Info_Item& item : h.items)
    if (item.version == version) {
      *name = version;
      return "";
    }
  return canonical(file, version, name);
}

std::string VcBackend::previous(const std::string& file, const std::string& version,
                                std::string* out) {
  History_Info h;
  std::string name, error = keptHistory(file, &h);
  if (!error.empty()) return error;
  if (h.items.empty()) return file + " has no versions";
  if (version.empty()) {
    const std::vector<std::string> trunk = vcs_Lane(h, h.items[0].version);
    *out = trunk.empty() ? h.items[0].version : trunk[0];
    return "";
  }
  if (!(error = nameIn(h, file, version, &name)).empty()) return error;
  const std::vector<std::string> lane = vcs_Lane(h, name);
  const auto at = std::find(lane.begin(), lane.end(), name);
  if (at == lane.end()) return "no version " + version + " of " + file;
  if (at + 1 != lane.end()) {
    *out = *(at + 1);
    return "";
  }
  const std::string point = branchOf(branchOf(name));
  if (point.find('.') == std::string::npos) return version + " is the first version of " + file;
  *out = point;
  return "";
}

std::string VcBackend::next(const std::string& file, const std::string& version,
                            std::string* out) {
  if (version.empty()) return "the working file " + file + " has no next version";
  History_Info h;
  std::string name, error = keptHistory(file, &h);
  if (error.empty()) error = nameIn(h, file, version, &name);
  if (!error.empty()) return error;
  const std::vector<std::string> lane = vcs_Lane(h, name);
  const auto at = std::find(lane.begin(), lane.end(), name);
  if (at == lane.end()) return "no version " + version + " of " + file;
  if (at == lane.begin()) return version + " is the newest version of " + file;
  *out = *(at - 1);
  return "";
}

std::string VcBackend::info(const std::string& file, const std::string& version,
                            VersionInfo* info) {
  History_Info h;
  std::string name, error = keptHistory(file, &h);
  if (error.empty()) error = nameIn(h, file, version, &name);
  if (!error.empty()) return error;
  for (const History_Info_Item& item : h.items) {
    if (item.version != name) continue;
    *info = VersionInfo(file.c_str(), name.c_str(), item.username.c_str(), item.date.c_str(),
                        item.comments.c_str());
    return "";
  }
  return "no version " + version + " of " + file;
}

std::string VcBackend::restoreVersion(const std::string& file, const std::string& outname,
                                      const std::string& version) {
  std::string text, error = vcs_CheckVersionName(version);
  if (error.empty()) error = fetch(file, version, &text);
  return error.empty() ? vcs_WriteOut(outname, text) : error;
}

std::string VcBackend::restoreDate(const std::string& file, const std::string& outname,
                                   const std::string& date) {
  if (date.empty()) return "no date given for " + file;
  std::string text, error = fetchAtDate(file, date, &text);
  return error.empty() ? vcs_WriteOut(outname, text) : error;
}

std::string VcBackend::owner(const std::string& file, std::string* user) {
  VcStatus s;
  std::string error = status(file, &s);
  *user = s.lockedBy;
  return error;
}

std::string VcBackend::unsupported(const char* message) const {
  return std::string(message) + " is not supported for " + name();
}

std::string VcBackend::checkIn(const std::string&, const std::string&, std::string*) {
  return unsupported("CheckInFile");
}
std::string VcBackend::checkOut(const std::string&) { return unsupported("CheckOutFile"); }
std::string VcBackend::checkOutVersion(const std::string& file, const std::string& version) {
  return restoreVersion(file, file, version);
}
std::string VcBackend::uncheck(const std::string&) { return unsupported("UncheckFile"); }
std::string VcBackend::getFile(const std::string&) { return unsupported("GetFile"); }
std::string VcBackend::add(const std::string&) { return unsupported("AddFilesToVC"); }
std::string VcBackend::place(const std::string&, const std::string&) {
  return unsupported("PlaceFileUnderVC");
}
std::string VcBackend::remove(const std::string&) { return unsupported("RemoveFiles"); }
std::string VcBackend::unremove(const std::string&, std::string*) {
  return unsupported("UnremoveFiles");
}
std::string VcBackend::commitDirectory(const std::string&, const std::string&) {
  return unsupported("CommitDirectories");
}

std::string vcs_Absolute(const std::string& file) {
  if (!file.empty() && file[0] == '/') return file;
  char cwd[PATH_MAX];
  if (!getcwd(cwd, sizeof cwd)) return file;
  return std::string(cwd) + "/" + file;
}

std::string vcs_DirOf(const std::string& file) {
  const size_t slash = file.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : file.substr(0, slash);
}

std::string vcs_BaseOf(const std::string& file) {
  const size_t slash = file.rfind('/');
  return slash == std::string::npos ? file : file.substr(slash + 1);
}

std::string vcs_CheckVersionName(const std::string& version) {
  if (version.empty()) return "no version given";
  if (version[0] == '-') return "bad version name \"" + version + "\"";
  for (unsigned char c : version)
    if (c <= ' ' || c == 0x7f) return "bad version name \"" + version + "\"";
  return "";
}

std::string vcs_WriteOut(const std::string& path, const std::string& text) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return "cannot write " + path + ": " + strerror(errno);
  size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  const bool ok = done == text.size();
  const std::string why = strerror(errno);
  close(fd);
  return ok ? "" : "cannot write " + path + ": " + why;
}
