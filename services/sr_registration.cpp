// Writing, reading and removing the registration file: an options database
// headed "Service Router" with the router's "Port" and "Pid".
#include "services/sr_registration.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "base/gen.h"
#include "libs/libcxxutil/options_database.h"
#include "services/sr_files.h"

namespace {

constexpr char kHeading[] = "Service Router";
constexpr long kMaxFileBytes = 4096;  // a registration is a few dozen bytes

std::string registration_text(int port, int pid) {
  ut_options_database db;
  ut_options_node* node = db.get_root_node()->find_or_add_child(kHeading);
  node->set_int("Port", port);
  node->set_int("Pid", pid);
  return db.write_to_string();
}

// The file's bytes, read through a descriptor that is checked to be the
// same regular file lstat saw (no link followed, no swap in between).
bool read_checked(const std::string& path, const struct stat& seen, std::string* text) {
  int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat now;
  bool same = fstat(fd, &now) == 0 && S_ISREG(now.st_mode) && now.st_dev == seen.st_dev &&
              now.st_ino == seen.st_ino;
  char buffer[kMaxFileBytes];
  ssize_t n = same ? read(fd, buffer, sizeof buffer) : -1;
  close(fd);
  if (n < 0) return false;
  text->assign(buffer, static_cast<size_t>(n));
  return true;
}

bool parse(const std::string& path, const std::string& text, int* port, int* pid) {
  ut_options_database db;
  if (!db.read_from_string(text, path.c_str())) return false;
  const ut_options_node* node = db.get_root_node()->find_child(kHeading);
  if (!node) return false;
  bool hasPort = false, hasPid = false;
  *port = node->get_int("Port", &hasPort);
  *pid = node->get_int("Pid", &hasPid);
  return hasPort && hasPid && *port > 0 && *port < 65536;
}

}  // namespace

bool sr_write_registration(const std::string& path, int port, int pid, std::string* error) {
  const std::string text = registration_text(port, pid);
  std::string temp;
  bool created = false;
  for (int attempt = 0; attempt < 100 && !created; attempt++) {
    temp = path + ".new" + std::to_string(getpid()) + "_" + std::to_string(attempt);
    created = sr_create_exclusive(temp, text);
    if (!created && errno != EEXIST) break;
  }
  if (!created) {
    if (error) *error = "Cannot create a file beside " + path + ": " + strerror(errno);
    return false;
  }
  if (rename(temp.c_str(), path.c_str()) != 0) {
    if (error) *error = "Cannot write " + path + ": " + strerror(errno);
    unlink(temp.c_str());
    return false;
  }
  return true;
}

bool sr_remove_registration(const std::string& path) {
  return unlink(path.c_str()) == 0 || errno == ENOENT;
}

bool sr_remove_own_registration(const std::string& path, int pid) {
  std::string why, text;
  struct stat info;
  if (sr_check_file(path, &why, &info) != SRFileTrust::trusted) return false;
  int port = 0, filePid = 0;
  if (!read_checked(path, info, &text) || !parse(path, text, &port, &filePid)) return false;
  return filePid == pid && sr_remove_registration(path);
}

SRRegistrationState sr_read_registration(const std::string& path, int* port, int* pid) {
  std::string why, text;
  struct stat info;
  switch (sr_check_file(path, &why, &info)) {
    case SRFileTrust::absent: return SRRegistrationState::absent;
    case SRFileTrust::untrusted:
      sr_warn_untrusted(path, why);
      return SRRegistrationState::untrusted;
    case SRFileTrust::trusted: break;
  }
  if (!read_checked(path, info, &text) || !parse(path, text, port, pid))
    return SRRegistrationState::absent;
  if (!gen_process_exists(*pid)) return SRRegistrationState::absent;
  return SRRegistrationState::valid;
}
