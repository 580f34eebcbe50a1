// vc_service: the suite's version-control service program.  The service
// router starts it ("-connect_servicerouter PORT ...") when a tool asks
// for "VersionControl.KVC", ".CVS", ".RCS" or ".Git", or for plain
// "VersionControl" (each file served by the system holding it); it offers
// all five and serves them until the router lets it go.  Start reading at
// vcs_server.h (the messages) and vc_backend.h (the systems).
#include <memory>
#include <vector>

#include "base/gen.h"
#include "services/servicerouter_proxy.h"
#include "services/svc_event_loop.h"
#include "vc_service/vcs_server.h"

int main(int argc, char** argv) {
  gen_init(argv[0], 0, 0);
  if (!ServiceRouter_Proxy::argsIndicateLaunchedFromServiceRouter(argc, argv)) {
    gen_error("%s", "vc_service is started by the service router when a tool asks for "
                    "version control; it takes no other arguments");
    return 2;
  }
  std::vector<std::unique_ptr<VcsServiceFactory>> factories;
  for (const char* system : kVcsSystems)
    factories.push_back(std::make_unique<VcsServiceFactory>(system));
  if (!ServiceRouter_Proxy::startup(true, &argc, argv, nullptr, false, nullptr, true, false)) {
    gen_error("%s", "cannot connect to the service router");
    return 1;
  }
  Svc_EventLoop().enterLoop();
  ServiceRouter_Proxy::shutdown(true);
  factories.clear();
  return 0;
}
