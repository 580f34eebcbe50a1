// The requests a tool makes of the router beyond connections: values of
// other tools (their working directory above all) and file names relative
// to it, the router's location, persistence and leaving, and tools started
// or reached through the router.
#include <algorithm>

#include "base/gen.h"
#include "libs/stp_transport/transport.h"
#include "services/sr_plugin_link.h"
#include "services/sr_proxy.h"

namespace {

constexpr char kCwd[] = "cwd";

// The linked proxy, connecting first; null when there is no router.
SRProxy* linked(RetryHandler* handler) {
  SRProxy* p = SRProxy::create();
  return p && p->connectNow(handler) ? p : nullptr;
}

// Waits for the answer to `cookie` and takes it; false when none came.
bool takeAnswer(SRProxy* p, uint32_t cookie, RetryHandler* handler, CookieAnswer* answer) {
  if (!p->waitFor(handler, [&] { return p->answers.count(cookie) > 0; })) return false;
  *answer = p->answers[cookie];
  p->answers.erase(cookie);
  return true;
}

}  // namespace

// ---- values -------------------------------------------------------------------------

std::vector<std::string> SRProxy::resolverPairs() {
  std::vector<std::string> pairs;
  for (NameValueResolver* r : resolvers) {
    std::string value;
    if (!r->resolveValue(&value)) continue;
    pairs.push_back(r->resolverName());
    pairs.push_back(value);
  }
  return pairs;
}

std::string SRProxy::resolveName(const std::string& name) {
  std::string answer, value;
  bool any = false;
  for (NameValueResolver* r : resolvers)
    if (r->resolverName() == name && r->resolveValue(&value)) answer = value, any = true;
  if (!any && name == kCwd) return sr_currentDir();
  return answer;
}

void ServiceRouter_Proxy::addNameValueResolver(NameValueResolver* resolver) {
  if (SRProxy* p = SRProxy::create()) p->resolvers.push_back(resolver);
}

void ServiceRouter_Proxy::removeNameValueResolver(NameValueResolver* resolver) {
  SRProxy* p = SRProxy::current();
  if (!p) return;
  auto& r = p->resolvers;
  r.erase(std::remove(r.begin(), r.end(), resolver), r.end());
}

char* ServiceRouter_Proxy::getCwdOfPlugin(int pluginId, RetryHandler* handler) {
  SRProxy* p = SRProxy::current();
  if (!p || pluginId == -1) return nullptr;
  const auto key = std::make_pair(pluginId, std::string(kCwd));
  if (!p->values.count(key)) {
    if (!p->linkUp() || !p->link->send_RequestValueOfNameOnPlugin(
                            static_cast<uint32_t>(pluginId), kCwd, true, handler))
      return nullptr;
    if (!p->waitFor(handler, [&] { return p->values.count(key) > 0; })) return nullptr;
  }
  const std::string& cwd = p->values[key];
  return cwd.empty() ? nullptr : gen_copy(cwd.c_str());
}

char* ServiceRouter_Proxy::resolvePluginRelFilename(int pluginId, const char* name,
                                                    RetryHandler* handler) {
  if (!name) return nullptr;
  if (name[0] == '/' || pluginId == -1) return gen_copy(name);
  char* cwd = getCwdOfPlugin(pluginId, handler);
  if (!cwd || cwd[0] != '/') {
    gen_free(cwd);
    return gen_copy(name);
  }
  char* joined = gen_sconcat(cwd, name);
  char* canonical = gen_canonicalfilename(joined);
  gen_free(joined);
  gen_free(cwd);
  return canonical;
}

char* ServiceRouter_Proxy::resolveConRelFilename(STPSpecClass* endpoint, const char* name,
                                                 RetryHandler* handler) {
  return resolvePluginRelFilename(getPluginIdForConnection(endpoint), name, handler);
}

// ---- the router ------------------------------------------------------------------------

bool ServiceRouter_Proxy::getServiceRouterLocation(std::string* host, int* port,
                                                   RetryHandler* handler) {
  SRProxy* p = linked(handler);
  if (!p) return false;
  if (!p->haveLocation) {
    if (!p->link->send_RequestLocation(true, handler)) return false;
    if (!p->waitFor(handler, [p] { return p->haveLocation; })) return false;
  }
  if (host) *host = p->locationHost;
  if (port) *port = p->locationPort;
  return true;
}

bool ServiceRouter_Proxy::setPluginPersistence(bool persistent, RetryHandler* handler,
                                               TStat* status) {
  SRProxy* p = SRProxy::current();
  if (!p) return false;
  p->persistent = persistent;
  if (!p->connected || !p->linkUp()) return true;
  return p->link->send_PersistentService(persistent, true, handler, status);
}

int ServiceRouter_Proxy::getNumPersistentServices(RetryHandler* handler, int* total) {
  SRProxy* p = linked(handler);
  uint32_t persistent = 0, all = 0;
  if (!p || !p->link->send_NumPersistentServices(&persistent, &all, handler)) return -1;
  if (total) *total = static_cast<int>(all);
  return static_cast<int>(persistent);
}

bool ServiceRouter_Proxy::requestServiceRouterDisconnect(RetryHandler* handler) {
  SRProxy* p = SRProxy::current();
  return p && p->connected && p->linkUp() &&
         p->link->send_RequestServiceRouterDisconnect(true, handler);
}

bool ServiceRouter_Proxy::setEnvironmentVariable(const char* name, const char* value,
                                                 RetryHandler* handler) {
  SRProxy* p = linked(handler);
  return p && name && p->link->send_SetEnvironmentVariable(name, value ? value : "", true, handler);
}

// ---- other tools ---------------------------------------------------------------------

bool ServiceRouter_Proxy::launchPlugin(const std::vector<std::string>& argv, int* pluginId,
                                       std::string* errors, RetryHandler* handler,
                                       const char* workingDir, bool clientStart) {
  SRProxy* p = linked(handler);
  if (!p || argv.empty()) return false;
  const uint32_t cookie = static_cast<uint32_t>(p->cookieCounter++);
  const std::string dir = workingDir ? workingDir : sr_currentDir();
  CookieAnswer answer;
  if (!p->link->send_RequestPluginLaunch(argv, cookie, clientStart, dir.c_str(), true, handler) ||
      !takeAnswer(p, cookie, handler, &answer))
    return false;
  if (pluginId) *pluginId = answer.pluginId;
  if (errors) *errors = answer.text;
  return answer.pluginId != -1;
}

bool ServiceRouter_Proxy::connectToPlugin(const char* host, int port, int* pluginId,
                                          std::string* errors, RetryHandler* handler) {
  SRProxy* p = linked(handler);
  if (!p || !host) return false;
  const uint32_t cookie = static_cast<uint32_t>(p->cookieCounter++);
  CookieAnswer answer;
  if (!p->link->send_RequestPluginConnect(host, static_cast<uint32_t>(port), cookie, true,
                                          handler) ||
      !takeAnswer(p, cookie, handler, &answer))
    return false;
  if (pluginId) *pluginId = answer.pluginId;
  if (errors) *errors = answer.text;
  return answer.pluginId != -1;
}

int ServiceRouter_Proxy::getPluginIdForService(const char* serviceName, bool startIfNotRunning,
                                               RetryHandler* handler) {
  SRProxy* p = linked(handler);
  if (!p || !serviceName) return -1;
  const uint32_t cookie = static_cast<uint32_t>(p->cookieCounter++);
  CookieAnswer answer;
  if (!p->link->send_RequestPluginIdForService(cookie, serviceName, sr_currentDir().c_str(),
                                               startIfNotRunning, true, handler) ||
      !takeAnswer(p, cookie, handler, &answer))
    return -1;
  return answer.found ? answer.pluginId : -1;
}
