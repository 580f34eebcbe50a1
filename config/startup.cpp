// Reading the configuration at start-up: the site file, the site level,
// the user file, then the configuration service, each overriding what came
// before; and the notice about the main program's superseded old files.
#include <unistd.h>

#include <string>
#include <vector>

#include "base/debugflag.h"
#include "base/gen.h"
#include "config/config.h"
#include "config/config_dirs.h"
#include "config/config_private.h"
#include "config/config_vars.h"

namespace {

// Temporary files go to the directory "TempDir" names, while it is one
// this process may write to; otherwise where the foundation puts them.
const char* configuredTempDir(const char* fallback) {
  static std::string refused;
  const char* dir = cfg_temp_dir;
  if (dir && *dir && gen_isdir(dir) && gen_access(dir, W_OK | X_OK) == 0) return dir;
  if (dir && *dir && refused != dir) {
    refused = dir;
    gen_warning("TempDir \"%s\" is not a directory this program can write to; using %s",
                dir, gen_default_temp_dir(fallback));
  }
  return gen_default_temp_dir(fallback);
}

// The environment's main program, whose old-style files are reported.
const char* const kMainProgram = "qen";

// Option values once the site file was read, by table and row.
std::vector<std::vector<std::string>> siteLevel;

void recordSiteLevel() {
  siteLevel.assign(cfg_table_count, {});
  for (int t = 0; t < cfg_table_count; t++) {
    for (int r = 0; r < cfg_tables[t].count; r++) {
      char* text = cfg_GetOptionValueText(&cfg_tables[t].rows[r]);
      siteLevel[t].push_back(text);
      gen_free(text);
    }
  }
}

void reportIfSuperseded(char* oldFile, const char* what, const char* newFile) {
  if (oldFile && gen_access(oldFile, 0) == 0) {
    gen_warning("%s is no longer read; it is superseded by the %s %s", oldFile,
                what, newFile ? newFile : "");
  }
  gen_free(oldFile);
}

void reportOldFiles(const char* siteFile, const char* userFile) {
  const char* progdir = gen_getprogdir();
  reportIfSuperseded(progdir ? gen_sconcat(progdir, "site.vornecfg") : nullptr,
                     "global .cfg file", siteFile);
  reportIfSuperseded(gen_sconcat(gen_gethomedir(), ".vornecfg"), "user .cfg file",
                     userFile);
}

char* configFileIn(char* dir, const char* progname) {
  bool single = debugFlag[DBG_UseSingleConfigFile] != 0;
  char* path = cfg_CreateConfigFilename(dir, progname, single, single);
  gen_free(dir);
  return path;
}

void applyServiceSettings(const char* progname) {
  if (!cfg_ConfigServiceInUse()) return;
  const cfg_ConfigService* service = cfg_GetConfigService();
  gen_strarray lines;
  gen_strarray_init(&lines);
  if (service->fetch(progname, &lines)) {
    for (int i = 0; i < lines.count; i++) cfg_ScanLine(lines.strs[i], 1, 0);
  }
  gen_strarray_free(&lines);
  if (service->register_client) service->register_client(progname);
}

}  // namespace

int shr_ReadConfigFiles(const char* progname) {
  if (!progname) progname = gen_getprogname();
  char* siteFile = configFileIn(cfg_GetSiteConfigDir(), progname);
  char* userFile = configFileIn(cfg_GetUserConfigDir(false), progname);
  if (gen_strequal(progname, kMainProgram)) reportOldFiles(siteFile, userFile);
  bool skipFiles = cfg_GetNoConfigFiles();
  if (!skipFiles) cfg_ReadFile(siteFile, 1);
  recordSiteLevel();
  if (!skipFiles) cfg_ReadFile(userFile, 1);
  gen_free(siteFile);
  gen_free(userFile);
  applyServiceSettings(progname);
  gen_temp_dir = configuredTempDir;
  cfg_RunAfterReadHook();
  return 1;
}

const char* cfg_GetSiteLevelValue(const _ConfigOption* option) {
  if (!option) return nullptr;
  for (int t = 0; t < static_cast<int>(siteLevel.size()); t++) {
    for (int r = 0; r < cfg_tables[t].count; r++) {
      if (&cfg_tables[t].rows[r] != option) continue;
      return r < static_cast<int>(siteLevel[t].size()) ? siteLevel[t][r].c_str() : nullptr;
    }
  }
  return nullptr;
}
