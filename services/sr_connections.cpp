// Service connections through the router: the factories and their RNs,
// connections other tools ask for (incoming), connections this tool asks
// for (outgoing), and their end from either side.
#include <algorithm>

#include "base/gen.h"
#include "libs/stp_transport/stp_retry.h"
#include "libs/stp_transport/transport.h"
#include "services/service_factory.h"
#include "services/sr_negotiator.h"
#include "services/sr_plugin_link.h"
#include "services/sr_proxy.h"

namespace {

constexpr uint32_t kAnyPlugin = 0xffffffff;

}  // namespace

// ---- factories ------------------------------------------------------------------

bool ServiceRouter_Proxy::registerServiceFactory(ServiceFactory* factory, RetryHandler* handler) {
  SRProxy* p = SRProxy::create();
  if (!p || !factory) return false;
  p->provider = true;
  if (p->connected) {
    if (!p->linkUp()) return false;
    p->waitingForRN.push_back(factory);
    return p->link->send_RegisterServiceList({factory->getName()}, true, handler);
  }
  auto& pre = p->preConnectFactories;
  if (std::find(pre.begin(), pre.end(), factory) == pre.end()) pre.push_back(factory);
  return !p->started || p->connectNow(handler);
}

void SRProxy::forgetFactory(ServiceFactory* factory) {
  auto& pre = preConnectFactories;
  pre.erase(std::remove(pre.begin(), pre.end(), factory), pre.end());
  waitingForRN.erase(std::remove(waitingForRN.begin(), waitingForRN.end(), factory),
                     waitingForRN.end());
  for (auto* list : {&connectedServices, &pendingServices})
    for (ServiceStatus& s : *list)
      if (s.factory == factory) s.factory = nullptr;
  const uint32_t rn = factory->getServiceRN();
  if (!rn || factoryByRN.erase(rn) == 0) return;
  ownRNs.erase(rn);
  if (linkUp()) link->send_UnregisterService(rn, false);
}

void SRProxy::assignRNs(const std::vector<uint32_t>& rns) {
  for (uint32_t rn : rns) {
    if (waitingForRN.empty()) {
      spareRNs.insert(rn);
      continue;
    }
    ServiceFactory* f = waitingForRN.front();
    waitingForRN.pop_front();
    f->setServiceRN(rn);
    factoryByRN[rn] = f;
    ownRNs.insert(rn);
  }
}

// ---- incoming -------------------------------------------------------------------

void SRProxy::connectionRequested(int requester, uint32_t serviceRN, uint32_t remoteRN,
                                  const std::vector<std::string>& pairs) {
  if (requester == -1) return;
  auto it = factoryByRN.find(serviceRN);
  ServiceFactory* f = it == factoryByRN.end() ? nullptr : it->second;
  STPSpecClass* e = f && f->canAcceptNewConnection()
                        ? f->makeConnection(transport, serviceRN, remoteRN)
                        : nullptr;
  if (!e) {
    link->send_ConnectionAcceptedEvent(serviceRN, remoteRN, 0, false);
    return;
  }
  if (globalLog) e->setLogging(globalLog);
  link->send_ConnectionAcceptedEvent(serviceRN, remoteRN, 1, false);
  for (size_t i = 0; i + 1 < pairs.size(); i += 2) values[{requester, pairs[i]}] = pairs[i + 1];
  ServiceStatus status{e, requester, true, f};
  if (requester == pluginId) {
    e->negotiate_local();
    negotiated(status, true);
    return;
  }
  pendingServices.push_back(status);
  if (!negotiator) negotiator = std::make_unique<SRNegotiator>(this);
  negotiator->add(e);
}

void SRProxy::negotiated(ServiceStatus status, bool up) {
  if (status.factory) status.factory->connectionNegotiated(status.endpoint);
  accepted = true;
  if (up) {
    connectedServices.push_back(status);
    serverConnections++;
    return;
  }
  if (status.factory) status.factory->connectionEnded(status.endpoint);
  status.endpoint->delRef();
}

// ---- outgoing -------------------------------------------------------------------

namespace {

// Waits for the router's reply to our request `cookie`; false when none came.
bool awaitReply(SRProxy* p, const char* name, uint32_t cookie, RetryHandler* handler,
                ConnectionReply* reply) {
  auto match = [&] {
    return std::find_if(p->replies.begin(), p->replies.end(), [&](const ConnectionReply& r) {
      return r.cookie == cookie && r.serviceName == name;
    });
  };
  if (!p->waitFor(handler, [&] { return match() != p->replies.end(); })) return false;
  auto it = match();
  *reply = *it;
  p->replies.erase(it);
  return true;
}

bool negotiateClient(SRProxy* p, STPSpecClass* endpoint, const ConnectionReply& r,
                     RetryHandler* handler) {
  endpoint->setTransport(p->transport, r.localRN, r.serviceRN);
  p->ownRNs.insert(r.localRN);
  if (p->ownRNs.count(r.serviceRN)) {
    endpoint->negotiate_local();
    return true;
  }
  TimeoutSTPRetryHandler fallback(p->transport, RetryHandler::kDefaultTimeoutMs);
  TStat status;
  if (endpoint->negotiate(handler ? handler : &fallback, &status)) return true;
  p->ownRNs.erase(r.localRN);
  if (p->linkUp()) {
    p->link->send_DropServiceConnection(r.localRN, r.serviceRN, false);
    p->link->send_ReleaseRN(r.localRN, false);
  }
  return false;
}

}  // namespace

bool ServiceRouter_Proxy::getServiceConnection(const char* serviceName, STPSpecClass* endpoint,
                                               bool* found, bool* accepted,
                                               RetryHandler* handler, const char* workingDir,
                                               bool localOnly, bool noReuse, bool clientStart) {
  if (found) *found = false;
  if (accepted) *accepted = false;
  SRProxy* p = SRProxy::create();
  if (!p || !serviceName || !endpoint || !p->connectNow(handler)) return false;
  const uint32_t cookie = static_cast<uint32_t>(p->cookieCounter++);
  const std::string dir = workingDir ? workingDir : sr_currentDir();
  if (!p->link->send_RequestServiceConnection(serviceName, kAnyPlugin, p->resolverPairs(),
                                              dir.c_str(), localOnly, cookie, noReuse,
                                              clientStart, true, handler))
    return false;
  ConnectionReply r;
  if (!awaitReply(p, serviceName, cookie, handler, &r)) return false;
  if (found) *found = r.found;
  if (!r.found) return false;
  if (r.sharedObject) {
    gen_error("Unable to setup connection to shared object service.\n");
    return false;
  }
  if (accepted) *accepted = r.accepted;
  if (!r.accepted || !negotiateClient(p, endpoint, r, handler)) return false;
  endpoint->addRef();
  if (p->globalLog) endpoint->setLogging(p->globalLog);
  p->connectedServices.push_back(ServiceStatus{endpoint, r.pluginId, false, nullptr});
  return true;
}

// ---- the end of a connection -------------------------------------------------------

bool SRProxy::findConnection(STPSpecClass* endpoint, std::vector<ServiceStatus>** list,
                             size_t* index) {
  for (auto* l : {&connectedServices, &pendingServices}) {
    for (size_t i = 0; i < l->size(); i++) {
      if ((*l)[i].endpoint != endpoint) continue;
      *list = l;
      *index = i;
      return true;
    }
  }
  return false;
}

void SRProxy::endConnection(std::vector<ServiceStatus>& list, size_t index, bool tellRouter) {
  const ServiceStatus s = list[index];
  const bool wasConnected = &list == &connectedServices;
  list.erase(list.begin() + static_cast<long>(index));
  STPSpecClass* e = s.endpoint;
  const uint32_t local = e->getLocalRN();
  if (negotiator) negotiator->forget(e);
  e->markAsDown();
  if (tellRouter && linkUp()) link->send_DropServiceConnection(local, e->getRemoteRN(), false);
  if (!s.server) {
    ownRNs.erase(local);
    if (linkUp()) link->send_ReleaseRN(local, false);
  } else {
    if (wasConnected) serverConnections--;
    if (s.factory) s.factory->connectionEnded(e);
  }
  std::vector<ConnectionDiedListener*> listeners = diedListeners;
  for (ConnectionDiedListener* l : listeners) l->connectionDied(e);
  e->delRef();
}

void SRProxy::connectionDropped(uint32_t localRN, uint32_t remoteRN) {
  for (auto* l : {&connectedServices, &pendingServices}) {
    for (size_t i = 0; i < l->size(); i++) {
      STPSpecClass* e = (*l)[i].endpoint;
      if (e->getLocalRN() != localRN || e->getRemoteRN() != remoteRN) continue;
      endConnection(*l, i, false);
      return;
    }
  }
}

bool ServiceRouter_Proxy::dropServiceConnection(STPSpecClass* endpoint, RetryHandler*,
                                                bool force) {
  SRProxy* p = SRProxy::current();
  std::vector<ServiceStatus>* list = nullptr;
  size_t index = 0;
  if (!p || !p->findConnection(endpoint, &list, &index)) return false;
  if (endpoint->getCallerCount() > 0 && !force) return false;
  p->endConnection(*list, index, true);
  return true;
}

void ServiceRouter_Proxy::installConnectionDiedListener(ConnectionDiedListener* listener) {
  if (SRProxy* p = SRProxy::create()) p->diedListeners.push_back(listener);
}

void ServiceRouter_Proxy::removeConnectionDiedListener(ConnectionDiedListener* listener) {
  SRProxy* p = SRProxy::current();
  if (!p) return;
  auto& l = p->diedListeners;
  l.erase(std::remove(l.begin(), l.end(), listener), l.end());
}

int ServiceRouter_Proxy::getPluginIdForConnection(STPSpecClass* endpoint) {
  SRProxy* p = SRProxy::current();
  std::vector<ServiceStatus>* list = nullptr;
  size_t index = 0;
  if (!p || !p->findConnection(endpoint, &list, &index)) return -1;
  return (*list)[index].pluginId;
}
