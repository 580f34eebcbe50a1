// The connection to the suite's service router.  For now it holds what the
// program needs before any connection exists: recognising, from the command
// line alone, that the router launched this process.
#pragma once

class ServiceRouter_Proxy {
 public:
  // True when any argument before the last is "-connect_servicerouter",
  // "-sr_connect_servicerouter_host" or "-sr_connect_servicerouter_port"
  // (each needs a value after it, hence "before the last").
  static bool argsIndicateLaunchedFromServiceRouter(int argc, const char* const* argv);
};
