// Where the registration file lives and what it is called: the directory,
// the zone that separates independent sets of tools, and the display id the
// zone is made from.
#include "services/sr_registration.h"

#include <md5.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <climits>
#include <cstdlib>

#include "base/gen.h"

namespace {

bool writable_dir(const char* dir) {
  return dir && *dir && gen_isdir(dir) && access(dir, W_OK | X_OK) == 0;
}

std::string host_name() {
  char name[HOST_NAME_MAX + 1] = {};
  if (gethostname(name, sizeof name - 1) != 0) return "localhost";
  return name;
}

// ":N" or ":N.M".
bool is_bare_display(const std::string& value) {
  size_t i = 1;
  if (value.size() < 2 || value[0] != ':' || !isdigit(static_cast<unsigned char>(value[1])))
    return false;
  while (i < value.size() && isdigit(static_cast<unsigned char>(value[i]))) i++;
  if (i == value.size()) return true;
  if (value[i] != '.' || i + 1 == value.size()) return false;
  for (i++; i < value.size(); i++)
    if (!isdigit(static_cast<unsigned char>(value[i]))) return false;
  return true;
}

std::string owned(char* s) {
  std::string result = s ? s : "";
  gen_free(s);
  return result;
}

}  // namespace

std::string sr_registration_dir() {
  const char* env = getenv("TMPDIR");
  if (writable_dir(env)) return env;
  if (writable_dir("/var/tmp/")) return "/var/tmp/";
  return "/tmp";
}

std::string sr_registration_path(const std::string& zone) {
  std::string name = zone.empty() ? "svc" : "svc_" + zone;
  return owned(gen_sconcat(sr_registration_dir().c_str(), name.c_str()));
}

std::string sr_lock_path(const std::string& registrationPath) {
  return owned(gen_changesuffix(registrationPath.c_str(), ".lock"));
}

std::string sr_display_id(const std::string& displayName) {
  if (!displayName.empty()) return displayName;
  const std::string host = host_name();
  const char* env = getenv("DISPLAY");
  const std::string value = env ? env : "";
  if (value.empty() || value == ":0" || value == ":0.0" || value == host + ":0" ||
      value == host + ":0.0")
    return "DISP" + host + ":0.0";
  if (is_bare_display(value)) return "DISP" + host + value;
  return "DISP" + value;
}

std::string sr_digest_hex(const unsigned char digest[16]) {
  static const char hex[] = "0123456789abcdef";
  std::string text;
  for (int i = 0; i < 16; i++) {
    text += hex[digest[i] & 0xf];
    text += hex[digest[i] >> 4];
  }
  return text;
}

std::string sr_default_zone(const std::string& routerDir, const std::string& displayId) {
  std::string text;
  const std::string marker = owned(gen_sconcat(routerDir.c_str(), "servicerouter"));
  struct stat info;
  if (stat(marker.c_str(), &info) == 0) text += std::to_string(info.st_mtime);
  text += owned(gen_absolutefilename(routerDir.c_str()));
  text += displayId;
  text += gen_getusername();
  text += host_name();
  if (const char* root = getenv("CLEARCASE_ROOT")) text += root;
  MD5_CTX context;
  MD5Init(&context);
  MD5Update(&context, reinterpret_cast<const uint8_t*>(text.data()), text.size());
  unsigned char digest[16];
  MD5Final(digest, &context);
  return sr_digest_hex(digest);
}
