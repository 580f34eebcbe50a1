// ServiceRouter_Proxy's start, shutdown and state: the static operations
// that create, query and release the process-wide proxy.
#include <signal.h>
#include <unistd.h>

#include <sstream>

#include "base/gen.h"
#include "libs/stp_transport/stp_log.h"
#include "libs/stp_transport/stp_retry.h"
#include "libs/stp_transport/transport.h"
#include "services/service_factory.h"
#include "services/sr_plugin_link.h"
#include "services/sr_proxy.h"

namespace {

constexpr long kFarewellMs = 1000;  // to send the last request to the router

// "-sr_debug" naming this program: the debugger is started on this
// process, without waiting for it.
void debugSelf(const SRSettings& s) {
  if (s.debugPlugin.empty() || s.debugger.empty() || s.debugPlugin != gen_getprogname()) return;
  std::vector<std::string> args = {s.debugger};
  std::istringstream opts(s.debuggerOpts);
  for (std::string w; opts >> w;) args.push_back(w);
  args.insert(args.end(), {"-p", std::to_string(getpid())});
  if (fork() != 0) return;
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  execvp(argv[0], argv.data());
  _exit(127);
}

}  // namespace

bool ServiceRouter_Proxy::startup(bool persistent, int* argc, char** argv, const char* display,
                                  bool privateRouter, RetryHandler* handler, bool connectNow,
                                  bool mayStartRouter) {
  SRProxy* p = SRProxy::create();
  if (!p) return false;
  if (p->started) return true;
  p->started = true;
  p->persistent = persistent;
  p->display = display ? display : "";
  p->connectNowFlag = connectNow;
  p->mayStartRouter = mayStartRouter;
  if (argc && argv) p->takeArguments(argc, argv);
  const int choice = p->settings.privateChoice;
  p->privateRouter = choice >= 0 ? choice == 1 : privateRouter;
  if (p->globalLog) p->globalLog->add("Created global ServiceRouter_Proxy.\n");
  debugSelf(p->settings);
  if (GlobalServiceFactoryList().empty() && p->preConnectFactories.empty() &&
      !p->settings.launched && !connectNow)
    return true;
  return p->connectNow(handler);
}

void ServiceRouter_Proxy::shutdown(bool wait) {
  SRProxy* p = SRProxy::current();
  if (!p) return;
  if (p->linkUp()) {
    TimeoutSTPRetryHandler farewell(p->transport, kFarewellMs);
    p->link->send_RequestServiceRouterDisconnect(true, &farewell);
  }
  std::map<pid_t, std::string> children = p->pluginPids;
  if (p->routerPid > 0) children[p->routerPid] = "svc_router";
  SRProxy::destroy();
  sr_check_children(children, wait);
}

void ServiceRouter_Proxy::setDisabled(bool disabled) { SRProxy::disabled = disabled; }
bool ServiceRouter_Proxy::isDisabled() { return SRProxy::disabled; }

bool ServiceRouter_Proxy::launchedFromServiceRouter() {
  SRProxy* p = SRProxy::current();
  return p && p->settings.launched;
}

bool ServiceRouter_Proxy::isAlive() {
  if (SRProxy::disabled) return false;
  SRProxy* p = SRProxy::current();
  return !p || !p->triedConnect || p->linkUp();
}

bool ServiceRouter_Proxy::isTransportAlive() {
  SRProxy* p = SRProxy::current();
  return p && p->transport && p->transport->isAlive();
}

bool ServiceRouter_Proxy::acceptedAConnection() {
  SRProxy* p = SRProxy::current();
  return p && p->accepted;
}

int ServiceRouter_Proxy::getNumServiceConnections() {
  SRProxy* p = SRProxy::current();
  return p ? static_cast<int>(p->connectedServices.size()) : 0;
}

int ServiceRouter_Proxy::getNumServerConnections() {
  SRProxy* p = SRProxy::current();
  return p ? p->serverConnections : 0;
}

STPTransport* ServiceRouter_Proxy::getTransport() {
  SRProxy* p = SRProxy::create();
  return p && p->connectNow(nullptr) ? p->transport : nullptr;
}

std::string ServiceRouter_Proxy::getZone() {
  SRProxy* p = SRProxy::current();
  return p ? p->zone() : "";
}

int ServiceRouter_Proxy::myPluginId() {
  SRProxy* p = SRProxy::current();
  return p ? p->pluginId : -1;
}

std::vector<pid_t> ServiceRouter_Proxy::getPluginPids() {
  std::vector<pid_t> pids;
  if (SRProxy* p = SRProxy::current())
    for (const auto& [pid, name] : p->pluginPids) pids.push_back(pid);
  return pids;
}

void ServiceRouter_Proxy::notePluginPidExit(pid_t pid) {
  if (SRProxy* p = SRProxy::current()) p->pluginPids.erase(pid);
}

int ServiceRouter_Proxy::getCookie() {
  SRProxy* p = SRProxy::create();
  return p ? p->cookieCounter++ : 0;
}

STPLog* ServiceRouter_Proxy::getGlobalLog() {
  SRProxy* p = SRProxy::current();
  return p ? p->globalLog : nullptr;
}

void ServiceRouter_Proxy::setGlobalLog(STPLog* log) {
  if (SRProxy* p = SRProxy::create()) p->globalLog = log;
}
