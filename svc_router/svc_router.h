// The service router: the process through which the suite's tools find
// each other.  Every tool keeps one link to it; the router gives each tool
// a plugin id and routing numbers (RNs), keeps the list of services each
// offers, pairs a client with a provider (starting the provider from the
// service table when none runs), and from then on forwards their frames
// raw by destination RN.  One thread, one select loop (an IdleNotifier of
// its own); a tool that misbehaves loses its link, never the router.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class STPTransport;
class RouterCore;

// How a router is started: "-connect_servicerouter" PORT, "-log" FILE,
// "-sr_log_internal" FILE, "-not_shared", "-sr_zone" ZONE.
struct RouterArgs {
  int connectPort = 0;
  std::string log;          // trace of the router's messages, and the tools' logs
  std::string internalLog;  // the router's own events
  bool shared = true;       // write the registration file of the zone
  std::string zone;
};
// Parses argv[1..argc); false with *error saying what is wrong.
bool router_parse_args(int argc, const char* const* argv, RouterArgs* out, std::string* error);

struct RouterSettings {
  // Service tables in the options-database format, later ones overriding
  // earlier ones entry by entry; absent files are skipped.
  std::vector<std::string> tablePaths;
  std::string programDir;    // where programs named without a folder are found first
  std::string log;           // file names as in RouterArgs; empty: none
  std::string internalLog;
  long idleExitMs = 5000;    // finished once no tool was connected this long
  long launchTimeoutMs = 30000;  // a started provider must register by then
};

class ServiceRouter {
 public:
  explicit ServiceRouter(const RouterSettings& settings);
  ~ServiceRouter();
  ServiceRouter(const ServiceRouter&) = delete;
  ServiceRouter& operator=(const ServiceRouter&) = delete;

  // Opens the listening socket on a free loopback port.
  bool listen(std::string* error);
  int port() const;
  // Connects to the tool that started us; that link is the first tool.
  bool connectBack(int port, std::string* error);
  // Serves an already connected transport (a loopback pair in tests) as a
  // tool; a reference is taken.
  void adopt(STPTransport* transport);

  // One turn of the loop: waits at most maxWaitMs for traffic, serves it,
  // then ends the links of tools that left and the waits that expired.
  void runOnce(long maxWaitMs);
  // True once no tool has been connected for idleExitMs.
  bool finished() const;
  size_t toolCount() const;

 private:
  std::unique_ptr<RouterCore> core_;
};
