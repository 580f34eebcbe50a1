// The KVC log reader on arbitrary bytes: a log is either refused with a
// message or read, and then every version (up to 64 below the head) is
// rebuilt or refused, never a crash.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "kvc/kvc.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string error, text;
  std::unique_ptr<KvcLog> log =
      KvcLog::parse(std::string(reinterpret_cast<const char*>(data), size), "fuzz", &error);
  if (!log) {
    if (error.empty()) abort();
    return 0;
  }
  for (int v = log->head(); v >= 1 && v > log->head() - 64; v--) {
    error.clear();
    if (!log->text(v, &text, &error) && error.empty()) abort();
  }
  return 0;
}
