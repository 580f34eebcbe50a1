// Reading a configuration file line by line, abandoning it after too many
// bad lines, and the "include" option that reads another file in place.
#include <unistd.h>

#include <string>

#include "base/gen.h"
#include "config/config.h"
#include "config/config_dirs.h"
#include "config/config_private.h"
#include "config/config_vars.h"

namespace {

// A file is abandoned once this many of its lines have failed.
constexpr int kMaxFailedLines = 50;
// Included files may include others, but not without end.
constexpr int kMaxIncludeDepth = 8;
// A configuration file is a few kilobytes; anything near this is no
// configuration (or /dev/zero) and is not read.
constexpr long kMaxFileBytes = 4L << 20;

int includeDepth;

}  // namespace

int cfg_ReadFile(const char* path, int fromFile) {
  if (!path || gen_isdir(path)) return 0;
  std::vector<std::string> lines;
  if (!gen_read_data_lines(path, kMaxFileBytes, "configuration file", &lines)) {
    return 0;  // an absent file is not an error
  }
  if (cfg_report_reading) gen_printf("Reading Configuration File: %s\n", path);
  int failures = 0;
  for (const std::string& line : lines) {
    if (cfg_ScanLine(line.c_str(), fromFile, 0)) continue;
    if (++failures < kMaxFailedLines) continue;
    gen_error("Too many errors, aborting.\n");
    return 0;
  }
  return 1;
}

int cfg_IncludeFile(_ConfigOption*, const cfg_Value* value) {
  if (!value || !value->text || !*value->text || includeDepth >= kMaxIncludeDepth) {
    return 0;
  }
  char* path = cfg_SearchFileInConfigDirs(value->text, R_OK);
  if (!path) return 0;
  includeDepth++;
  int ok = cfg_ReadFile(path, 1);
  includeDepth--;
  gen_free(path);
  return ok;
}
