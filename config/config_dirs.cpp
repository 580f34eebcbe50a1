// The configuration directories, the configuration file name in a
// directory, file lookup across the directories, and the debug switch
// files read from them.
#include "config/config_dirs.h"

#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "base/debugflag.h"
#include "base/gen.h"
#include "config/config_private.h"

namespace {

std::string userDirOverride;
bool noConfigFiles;

bool isRegularAccessible(const char* path, int mode) {
  return gen_access(path, mode) == 0 && !gen_isdir(path);
}

bool exists(const char* path) { return gen_access(path, F_OK) == 0; }

}  // namespace

void cfg_SetUserConfigDir(const char* dir) { userDirOverride = dir ? dir : ""; }
void cfg_SetNoConfigFiles(bool on) { noConfigFiles = on; }
bool cfg_GetNoConfigFiles() { return noConfigFiles; }

void cfg_CleanupConfigDirs() {
  userDirOverride.clear();
  noConfigFiles = false;
}

char* cfg_GetUserConfigDir(bool create) {
  char* dir = !userDirOverride.empty() ? gen_copy(userDirOverride.c_str())
                                       : gen_sconcat(gen_gethomedir(), ".qen");
  if (create && !gen_isdir(dir) && mkdir(dir, 0755) != 0) {
    char* text = gen_concat("Couldn't create user config directory: ", dir);
    cfg_Alert(text);
    gen_free(text);
  }
  return dir;
}

char* cfg_GetSiteConfigDir() {
  const char* progdir = gen_getprogdir();
  return progdir ? gen_sconcat(progdir, "config") : nullptr;
}

char* cfg_GetSiteDefaultConfigDir() {
  const char* progdir = gen_getprogdir();
  return progdir ? gen_sconcat(progdir, "defaults") : nullptr;
}

char* cfg_CreateConfigFilename(const char* dir, const char* progname,
                               bool useOverride, bool useSingleFile) {
  if (!dir || !progname) return nullptr;
  char* ownName = gen_concat(progname, ".cfg");
  if (useOverride) {
    char* path = gen_dsconcat(dir, "override", ownName);
    if (exists(path)) {
      gen_free(ownName);
      return path;
    }
    gen_free(path);
  }
  if (useSingleFile) {
    char* path = gen_sconcat(dir, "qen.cfg");
    if (exists(path)) {
      gen_free(ownName);
      return path;
    }
    gen_free(path);
  }
  char* path = gen_sconcat(dir, ownName);
  gen_free(ownName);
  return path;
}

char* cfg_SearchFileInConfigDirs(const char* name, int mode) {
  if (!name || !*name) return nullptr;
  if (name[0] == '/') return gen_access(name, mode) == 0 ? gen_copy(name) : nullptr;
  char* dirs[3] = {nullptr, nullptr, nullptr};
  if (!noConfigFiles) {
    dirs[0] = cfg_GetUserConfigDir(false);
    dirs[1] = cfg_GetSiteConfigDir();
  }
  dirs[2] = cfg_GetSiteDefaultConfigDir();
  char* found = nullptr;
  for (char* dir : dirs) {
    if (!dir || found) continue;
    char* path = gen_sconcat(dir, name);
    if (isRegularAccessible(path, mode)) found = path;
    else gen_free(path);
  }
  for (char* dir : dirs) gen_free(dir);
  return found;
}

void ReadXSWFiles() {
  char* siteDefaults = cfg_GetSiteDefaultConfigDir();
  char* site = cfg_GetSiteConfigDir();
  char* user = cfg_GetUserConfigDir(false);
  const char* dirs[4] = {gen_getprogdir(), siteDefaults, site, user};
  ReadXSWFilesFrom(dirs, 4);
  gen_free(siteDefaults);
  gen_free(site);
  gen_free(user);
}
