// The window geometry file reader: whatever the file holds, only entries
// of usable sizes and places come out, and no more than its limit.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "gui/core/window_config.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  auto entries = WindowConfig_Parse(text);
  if (entries.size() > 1000) __builtin_trap();
  for (const WindowGeometryEntry& e : entries) {
    const DrawRect& r = e.rect;
    if (e.windowClass.empty() || r.width < 1 || r.height < 1 || r.width > 32767 ||
        r.height > 32767 || r.x < -32767 || r.x > 32767 || r.y < -32767 || r.y > 32767)
      __builtin_trap();
  }
  return 0;
}
