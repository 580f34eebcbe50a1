// File-name arithmetic on strings: base and directory names, the canonical
// form ("." and ".." resolved, duplicate slashes removed), joining a
// directory and a name, "~" expansion and suffixes.  Nothing here touches
// the file system except through the current and home directories.
#include "base/gen.h"

#include <pwd.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

char* to_new_string(const std::string& s) {
  return gen_copyn(s.data(), static_cast<long>(s.size()));
}

std::vector<std::string> split_components(const char* path) {
  std::vector<std::string> parts;
  std::string part;
  for (const char* p = path;; p++) {
    if (*p == '/' || *p == '\0') {
      if (!part.empty()) parts.push_back(part);
      part.clear();
      if (*p == '\0') break;
    } else {
      part += *p;
    }
  }
  return parts;
}

// The home directory for "~" (empty user) or "~user"; empty when unknown.
std::string home_of(const std::string& user) {
  if (user.empty()) return gen_gethomedir();
  const passwd* pw = getpwnam(user.c_str());
  return pw && pw->pw_dir ? pw->pw_dir : "";
}

// The start of the base name within path (trailing slashes not counted).
const char* base_start(const char* path) {
  const char* slash = std::strrchr(path, '/');
  return slash ? slash + 1 : path;
}

}  // namespace

char* gen_basename(const char* path) {
  if (!path) return nullptr;
  std::string p = path;
  while (p.size() > 1 && p.back() == '/') p.pop_back();
  if (p == "/") return gen_copy("/");
  return gen_copy(base_start(p.c_str()));
}

char* gen_dirname(const char* path) {
  if (!path) return nullptr;
  std::string p = path;
  while (p.size() > 1 && p.back() == '/') p.pop_back();
  const size_t slash = p.rfind('/');
  if (slash == std::string::npos) return gen_copy(".");
  size_t end = slash;
  while (end > 0 && p[end - 1] == '/') end--;
  if (end == 0) return gen_copy("/");
  return to_new_string(p.substr(0, end));
}

// ".." at the root stays at the root; leading ".." of a relative name stays.
char* gen_canonicalfilename(const char* path) {
  if (!path) return nullptr;
  const bool absolute = path[0] == '/';
  std::vector<std::string> kept;
  for (const std::string& part : split_components(path)) {
    if (part == ".") continue;
    if (part != "..") {
      kept.push_back(part);
    } else if (!kept.empty() && kept.back() != "..") {
      kept.pop_back();
    } else if (!absolute) {
      kept.push_back(part);
    }
  }
  std::string out = absolute ? "/" : "";
  for (size_t i = 0; i < kept.size(); i++) {
    if (i > 0) out += '/';
    out += kept[i];
  }
  if (out.empty()) out.push_back('.');  // not = ".": GCC 12 -O3 warns falsely (-Wrestrict)
  return to_new_string(out);
}

char* gen_absolutefilename(const char* path) {
  if (!path) return nullptr;
  if (path[0] == '/') return gen_canonicalfilename(path);
  char* cwd = gen_getcwd();
  char* result = gen_sconcat(cwd ? cwd : "/", path);
  gen_free(cwd);
  return result;
}

// The way from dir to path, with ".." steps where path lies outside dir;
// "." when they are the same.
char* gen_relative_filename(const char* path, const char* dir) {
  if (!path) return nullptr;
  if (!dir) return gen_copy(path);
  char* abs_path = gen_absolutefilename(path);
  char* abs_dir = gen_absolutefilename(dir);
  const auto to = split_components(abs_path);
  const auto from = split_components(abs_dir);
  gen_free(abs_path);
  gen_free(abs_dir);
  size_t common = 0;
  while (common < to.size() && common < from.size() && to[common] == from[common]) {
    common++;
  }
  std::string out;
  for (size_t i = common; i < from.size(); i++) out += out.empty() ? ".." : "/..";
  for (size_t i = common; i < to.size(); i++) {
    if (!out.empty()) out += '/';
    out += to[i];
  }
  return gen_copy(out.empty() ? "." : out.c_str());
}

char* gen_expand_filename(const char* path) {
  if (!path) return nullptr;
  std::string name = path;
  if (name[0] == '~') {
    const size_t slash = name.find('/');
    const std::string user = name.substr(1, slash == std::string::npos
                                                ? std::string::npos
                                                : slash - 1);
    const std::string home = home_of(user);
    if (!home.empty()) {
      name = home + (slash == std::string::npos ? "" : name.substr(slash));
    }
  }
  return gen_absolutefilename(name.c_str());
}

char* gen_sconcat(const char* dir, const char* name) {
  if (name && name[0] == '/') return gen_copy(name);
  std::string joined = dir ? dir : "";
  if (name && *name) {
    if (!joined.empty() && joined.back() != '/') joined += '/';
    joined += name;
  }
  if (joined.empty()) return gen_copy(".");
  return gen_canonicalfilename(joined.c_str());
}

char* gen_dconcat(const char* dir, const char* sub) {
  if (!sub || !*sub) return gen_copy(dir);
  return gen_sconcat(dir, sub);
}

char* gen_sconcatf(char* dir, const char* name) {
  char* result = gen_sconcat(dir, name);
  gen_free(dir);
  return result;
}

char* gen_dconcatf(char* dir, const char* sub) {
  char* result = gen_dconcat(dir, sub);
  gen_free(dir);
  return result;
}

char* gen_ddconcat(const char* dir, const char* sub1, const char* sub2) {
  return gen_dconcatf(gen_dconcat(dir, sub1), sub2);
}

char* gen_dsconcat(const char* dir, const char* sub, const char* name) {
  return gen_sconcatf(gen_dconcat(dir, sub), name);
}

char* gen_ddsconcat(const char* dir, const char* sub1, const char* sub2,
                    const char* name) {
  return gen_sconcatf(gen_ddconcat(dir, sub1, sub2), name);
}

// The text after the last "." of the base name; a leading "." (as in
// ".profile") does not start a suffix.
const char* gen_getsuffix(const char* path) {
  if (!path) return nullptr;
  const char* base = base_start(path);
  const char* dot = std::strrchr(base, '.');
  if (!dot || dot == base) return nullptr;
  return dot + 1;
}

char* gen_changesuffix(const char* path, const char* suffix) {
  if (!path) return nullptr;
  const char* old = gen_getsuffix(path);
  const long stem = old ? static_cast<long>(old - path - 1)
                        : static_cast<long>(std::strlen(path));
  char* base = gen_copyn(path, stem);
  char* result = gen_addsuffix(base, suffix);
  gen_free(base);
  return result;
}

char* gen_addsuffix(const char* path, const char* suffix) {
  if (!path) return nullptr;
  if (!suffix || !*suffix) return gen_copy(path);
  if (suffix[0] == '.') suffix++;
  return gen_concat_sep(path, '.', suffix);
}
