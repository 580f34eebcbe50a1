// svc_router: the service router program.  A tool starts it with
//   svc_router -connect_servicerouter PORT [-log FILE] [-sr_log_internal FILE]
//              [-not_shared] [-sr_zone ZONE]
// It listens on a loopback port of its own, connects back to PORT (the
// tool that started it), announces itself in the zone's registration file
// unless "-not_shared", serves the tools until none has been connected for
// a while, and removes its registration when it ends.  The router's rules
// start in router_core.h.
#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "base/gen.h"
#include "config/config_dirs.h"
#include "services/sr_registration.h"
#include "svc_router/svc_router.h"

namespace {

constexpr long kIdleExitMs = 5000;        // no tool for this long: the router ends
constexpr const char* kTableName = "svc_router.services";
constexpr long kLoopWaitMs = 1000;

std::string registrationPath;

void removeRegistration() {
  if (!registrationPath.empty()) sr_remove_own_registration(registrationPath, getpid());
}

long idleExitMs() {
  const char* text = std::getenv("SVC_ROUTER_IDLE_MS");
  long ms = text ? std::atol(text) : 0;
  return ms > 0 ? ms : kIdleExitMs;
}

std::string joined(const char* dir, const char* name) {
  return dir ? std::string(dir) + "/" + name : std::string();
}

RouterSettings settingsFrom(const RouterArgs& args) {
  RouterSettings s;
  char* defaults = cfg_GetSiteDefaultConfigDir();
  char* user = cfg_GetUserConfigDir(false);
  s.tablePaths = {joined(defaults, kTableName), joined(user, kTableName)};
  gen_free(defaults);
  gen_free(user);
  if (const char* dir = gen_getprogdir()) s.programDir = dir;
  s.log = args.log;
  s.internalLog = args.internalLog;
  s.idleExitMs = idleExitMs();
  return s;
}

}  // namespace

int main(int argc, char** argv) {
  gen_init(argv[0], 0, 0);
  // The shipped service table lives beside the executable.
  if (char* dir = gen_findexecdir(argv[0])) {
    gen_changeprogdir(dir);
    gen_free(dir);
  }
  signal(SIGPIPE, SIG_IGN);  // a tool that vanishes mid-write ends its link, not us
  RouterArgs args;
  std::string error;
  if (!router_parse_args(argc, argv, &args, &error)) gen_errorexit(1, "%s", error.c_str());
  ServiceRouter router(settingsFrom(args));
  if (!router.listen(&error) || !router.connectBack(args.connectPort, &error))
    gen_errorexit(1, "%s", error.c_str());
  if (args.shared) {
    std::string path = sr_registration_path(args.zone);
    if (sr_write_registration(path, router.port(), getpid(), &error)) {
      registrationPath = path;
      atexit(removeRegistration);
    } else {
      gen_warning("%s", error.c_str());
    }
  }
  while (!router.finished()) router.runOnce(kLoopWaitMs);
  return 0;
}
