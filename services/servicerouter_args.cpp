// Command-line arguments by which the service router marks a process it
// launched.
#include "services/servicerouter_proxy.h"

#include <cstring>

bool ServiceRouter_Proxy::argsIndicateLaunchedFromServiceRouter(
    int argc, const char* const* argv) {
  static const char* const markers[] = {"-connect_servicerouter",
                                        "-sr_connect_servicerouter_host",
                                        "-sr_connect_servicerouter_port"};
  for (int i = 0; i + 1 < argc; i++) {
    if (!argv[i]) continue;
    for (const char* m : markers)
      if (strcmp(argv[i], m) == 0) return true;
  }
  return false;
}
