// Directory listings, filters and path arithmetic of the file choice
// dialogue.
#include "gui/lists/file_choose_dir.h"

#include <dirent.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

bool fc_matchesFilter(const char* filter, const std::string& name) {
  if (!filter || !*filter) return true;
  std::string all(filter);
  size_t start = 0;
  while (start <= all.size()) {
    size_t end = all.find(';', start);
    std::string pattern = all.substr(start, end == std::string::npos ? end : end - start);
    if (!pattern.empty() && fnmatch(pattern.c_str(), name.c_str(), 0) == 0) return true;
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return false;
}

bool fc_isDirectory(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool fc_isReadableDirectory(const std::string& path) {
  return fc_isDirectory(path) && access(path.c_str(), R_OK | X_OK) == 0;
}

bool fc_listDirectory(const std::string& dir, const char* filter,
                      std::vector<FileChooseEntry>* out) {
  out->clear();
  std::unique_ptr<DIR, int (*)(DIR*)> d(opendir(dir.c_str()), closedir);
  if (!d) return false;
  std::vector<std::string> dirs, files;
  while (dirent* e = readdir(d.get())) {
    std::string name = e->d_name;
    if (name.empty() || name[0] == '.') continue;
    if (fc_isDirectory(fc_join(dir, name))) dirs.push_back(name);
    else if (fc_matchesFilter(filter, name)) files.push_back(name);
  }
  std::sort(dirs.begin(), dirs.end());
  std::sort(files.begin(), files.end());
  if (fc_normalise(dir) != "/") out->push_back({"..", true});
  for (const std::string& n : dirs) out->push_back({n, true});
  for (const std::string& n : files) out->push_back({n, false});
  return true;
}

std::string fc_normalise(const std::string& path) {
  std::string full = path;
  if (full.empty() || full[0] != '/') {
    char* cwd = getcwd(nullptr, 0);
    full = std::string(cwd ? cwd : "/") + "/" + path;
    free(cwd);
  }
  std::vector<std::string> parts;
  size_t start = 0;
  while (start < full.size()) {
    size_t end = full.find('/', start);
    if (end == std::string::npos) end = full.size();
    std::string part = full.substr(start, end - start);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    start = end + 1;
  }
  std::string out;
  for (const std::string& p : parts) out += "/" + p;
  return out.empty() ? "/" : out;
}

std::string fc_parent(const std::string& dir) {
  std::string d = fc_normalise(dir);
  size_t slash = d.rfind('/');
  return slash == 0 || slash == std::string::npos ? "/" : d.substr(0, slash);
}

std::string fc_join(const std::string& dir, const std::string& name) {
  if (name == "..") return fc_parent(dir);
  if (!name.empty() && name[0] == '/') return name;
  if (dir.empty()) return name;
  return dir.back() == '/' ? dir + name : dir + "/" + name;
}

std::string fc_startDirectory(const char* asked) {
  if (asked && *asked) {
    std::string a = fc_normalise(asked);
    if (fc_isReadableDirectory(a)) return a;
    std::string parent = fc_parent(a);  // a file's directory
    if (!fc_isDirectory(a) && fc_isReadableDirectory(parent)) return parent;
  }
  const char* home = getenv("HOME");
  if (home && *home && fc_isReadableDirectory(home)) return fc_normalise(home);
  char* cwd = getcwd(nullptr, 0);
  std::string here = cwd ? cwd : "";
  free(cwd);
  if (!here.empty() && fc_isReadableDirectory(here)) return here;
  return "/";
}
