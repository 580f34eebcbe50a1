// Reading a configuration file line by line, abandoning it after too many
// bad lines, and the "include" option that reads another file in place.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

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

int includeDepth;

}  // namespace

int cfg_ReadFile(const char* path, int fromFile) {
  if (!path || gen_isdir(path)) return 0;
  FILE* f = fopen(path, "r");
  if (!f) return 0;  // an absent file is not an error
  if (cfg_report_reading) gen_printf("Reading Configuration File: %s\n", path);
  char* line = nullptr;
  size_t capacity = 0;
  int failures = 0;
  bool abandoned = false;
  while (getline(&line, &capacity, f) >= 0) {
    if (cfg_ScanLine(line, fromFile, 0)) continue;
    if (++failures < kMaxFailedLines) continue;
    gen_error("Too many errors, aborting.\n");
    abandoned = true;
    break;
  }
  free(line);  // getline's buffer comes from the C library
  fclose(f);
  return abandoned ? 0 : 1;
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
