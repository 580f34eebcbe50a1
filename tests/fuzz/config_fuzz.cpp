// The configuration reader on arbitrary lines: every line of the input goes
// through the scanner as a line of a configuration file would.  Nothing may
// crash, hang or grow without bound.
#include <cstddef>
#include <cstdint>
#include <string>

#include "base/gen.h"
#include "config/config.h"
#include "config/config_dirs.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool started = [] {
    gen_init("fuzz_config", 0, 0);
    cfg_SetNoConfigFiles(true);  // "include" must not wander through the disk
    return true;
  }();
  (void)started;
  cfg_SetEverythingToDefaults();
  const char* cursor = reinterpret_cast<const char*>(data);
  const char* end = cursor + size;
  std::string line;
  while (gen_next_text_line(&cursor, end, &line)) cfg_ScanLine(line.c_str(), 1, 1);
  return 0;
}
