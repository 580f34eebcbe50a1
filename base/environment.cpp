// The environment as the program sees it: variables with defaults, the
// user's login name and home directory.
#include "base/gen.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace {

const passwd* own_entry() { return getpwuid(getuid()); }

}  // namespace

const char* gen_getenv(const char* name, const char* fallback) {
  if (!name) return fallback;
  const char* value = getenv(name);
  return value && *value ? value : fallback;
}

// The login name from the password database, else $USER, else "unknown".
const char* gen_getusername() {
  static std::string name;
  const passwd* pw = own_entry();
  name = pw && pw->pw_name ? pw->pw_name : gen_getenv("USER", "unknown");
  return name.c_str();
}

// $HOME when set, else the password database's home, else "/".
const char* gen_gethomedir() {
  static std::string home;
  const char* env = gen_getenv("HOME", nullptr);
  if (env) {
    home = env;
  } else {
    const passwd* pw = own_entry();
    home = pw && pw->pw_dir ? pw->pw_dir : "/";
  }
  return home.c_str();
}
