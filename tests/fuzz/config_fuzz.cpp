// The configuration reader on arbitrary lines: every line of the input goes
// through the scanner as a line of a configuration file would.  Nothing may
// crash, hang or grow without bound.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

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
  std::string_view text(reinterpret_cast<const char*>(data), size);
  for (const std::string& line : gen_split_lines(text)) cfg_ScanLine(line.c_str(), 1, 1);
  return 0;
}
