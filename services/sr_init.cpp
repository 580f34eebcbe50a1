// Initialising the router link: negotiation, the start cookie, the working
// directory, the services offered, persistence and debugging, and the
// wait for this tool's plugin id.
#include <algorithm>

#include "base/gen.h"
#include "libs/stp_transport/stp_retry.h"
#include "libs/stp_transport/transport.h"
#include "services/service_factory.h"
#include "services/sr_plugin_link.h"
#include "services/sr_proxy.h"

bool SRProxy::init(RetryHandler* handler) {
  TimeoutSTPRetryHandler fallback(transport, RetryHandler::kDefaultTimeoutMs);
  RetryHandler* h = handler ? handler : &fallback;
  TStat status;
  if (!link->negotiate(h, &status)) {
    gen_warning("Negotiation with ServiceRouter failed during initialization: %s.\n",
                status.getMessage().c_str());
    return false;
  }
  if (settings.hasStartCookie &&
      !link->send_StartPluginEvent(settings.startCookie, 1, "", true, h)) {
    gen_error("Unable to give the ServiceRouter the client start cookie.\n");
    return false;
  }
  if ((!settings.launched || settings.hasStartCookie) &&
      !link->send_SetWorkingDir(sr_currentDir().c_str(), true, h)) {
    gen_error("Unable to send our working directory to the ServiceRouter.\n");
    return false;
  }
  std::vector<ServiceFactory*> factories = GlobalServiceFactoryList();
  for (ServiceFactory* f : preConnectFactories)
    if (std::find(factories.begin(), factories.end(), f) == factories.end())
      factories.push_back(f);
  preConnectFactories.clear();
  std::vector<std::string> names;
  for (ServiceFactory* f : factories) names.push_back(f->getName());
  waitingForRN.insert(waitingForRN.end(), factories.begin(), factories.end());
  if (!link->send_RegisterServiceList(names, true, h)) {
    gen_error("Failed to send list of available services.\n");
    return false;
  }
  if (!persistent) link->send_PersistentService(0, true, h);
  if (!settings.debugPlugin.empty())
    link->send_DebugPlugin(settings.debugPlugin.c_str(), 1, settings.debugger.c_str(),
                           settings.debuggerOpts.c_str(), true, h);
  connected = waitFor(h, [this] { return pluginId != -1; });
  return connected;
}
