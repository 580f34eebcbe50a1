// The router's command line, as a tool starting it writes it.
#include "svc_router/svc_router.h"

#include <cstdlib>
#include <cstring>

namespace {

bool parsePort(const char* text, int* port) {
  char* end = nullptr;
  long value = std::strtol(text, &end, 10);
  if (end == text || *end || value <= 0 || value > 65535) return false;
  *port = static_cast<int>(value);
  return true;
}

}  // namespace

bool router_parse_args(int argc, const char* const* argv, RouterArgs* out, std::string* error) {
  for (int i = 1; i < argc; i++) {
    std::string word = argv[i];
    if (word == "-not_shared") {
      out->shared = false;
      continue;
    }
    std::string* text = word == "-log"               ? &out->log
                         : word == "-sr_log_internal" ? &out->internalLog
                         : word == "-sr_zone"         ? &out->zone
                                                      : nullptr;
    bool isPort = word == "-connect_servicerouter";
    if (!text && !isPort) {
      *error = "unknown argument \"" + word + "\"";
      return false;
    }
    if (i + 1 >= argc) {
      *error = word + " needs a value";
      return false;
    }
    const char* value = argv[++i];
    if (text) {
      *text = value;
    } else if (!parsePort(value, &out->connectPort)) {
      *error = std::string("bad port \"") + value + "\"";
      return false;
    }
  }
  if (out->connectPort == 0) {
    *error = "-connect_servicerouter PORT is required";
    return false;
  }
  return true;
}
