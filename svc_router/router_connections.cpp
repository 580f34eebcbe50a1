// Connections between a client and a provider.  The client gets a fresh
// RN; the provider is asked (ConnectionRequestedEvent) and answers
// (ConnectionAcceptedEvent), and the answer goes back to the client
// (ConnectionReplyEvent).  From then on each side's frames reach the other
// by RN.  Either side may drop the connection; the other is told with its
// own local and remote RN.
#include "svc_router/router_core.h"

#include "svc_router/tool_endpoint.h"

// The newest registration wins: a provider started for this request is
// the last to have registered.
const std::pair<const uint32_t, RouterCore::Service>* RouterCore::findProvider(
    const ServiceRequest& request) const {
  const std::pair<const uint32_t, Service>* best = nullptr;
  for (const auto& entry : services_) {
    const Service& s = entry.second;
    if (s.name != request.service) continue;
    if (request.providingPlugin != kNoPlugin && s.tool != request.providingPlugin) continue;
    ToolLink* provider = tool(s.tool);
    if (provider && provider->reachable()) best = &entry;
  }
  return best;
}

void RouterCore::requestService(ServiceRequest request) {
  if (!tool(request.requester)) return;
  const auto* found = findProvider(request);
  bool fresh = request.noReuse && request.wantsConnection;
  if (found && !fresh) {
    connect(request, found->first, found->second);
    return;
  }
  if (request.mayStart && request.providingPlugin == kNoPlugin && startProvider(request)) return;
  if (found) {
    connect(request, found->first, found->second);
    return;
  }
  answer(request, kNoPlugin, false);
}

// The reply that ends a request without a connection (or with a provider's
// id only).
void RouterCore::answer(const ServiceRequest& request, uint32_t providerId, bool found) {
  ToolLink* asker = tool(request.requester);
  if (!asker) return;
  if (!request.wantsConnection) {
    asker->endpoint()->send_PluginIdForServiceReplyEvent(request.cookie, request.service.c_str(),
                                                         providerId, found, false);
    return;
  }
  asker->endpoint()->send_ConnectionReplyEvent(request.service.c_str(), 0, found, 0, 0, 0,
                                               providerId, "", request.cookie, false);
}

void RouterCore::connect(const ServiceRequest& request, uint32_t serviceRN,
                         const Service& service) {
  if (!request.wantsConnection) {
    answer(request, service.tool, true);
    return;
  }
  ToolLink* client = tool(request.requester);
  ToolLink* provider = tool(service.tool);
  uint32_t clientRN = client && provider ? allocateRN(*client) : 0;
  if (clientRN == 0) {
    answer(request, kNoPlugin, false);
    return;
  }
  connections_[clientRN] = Connection{request.service, client->id(), provider->id(), serviceRN,
                                      request.cookie, false};
  provider->endpoint()->send_ConnectionRequestedEvent(client->id(), serviceRN, clientRN,
                                                      request.pairs, false);
}

void RouterCore::connectionAccepted(ToolLink& provider, uint32_t serviceRN, uint32_t clientRN,
                                    bool accept) {
  auto it = connections_.find(clientRN);
  if (it == connections_.end()) return;
  Connection& c = it->second;
  if (c.provider != provider.id() || c.serviceRN != serviceRN || c.accepted) return;
  ToolLink* client = tool(c.client);
  if (!client) {
    endConnection(it, c.client);
    return;
  }
  client->endpoint()->send_ConnectionReplyEvent(c.service.c_str(), clientRN, 1, 0, accept,
                                                serviceRN, provider.id(), "", c.cookie, false);
  if (!accept) {
    connections_.erase(it);
    forgetRN(clientRN);
    return;
  }
  c.accepted = true;
  log_.event("plugin %u: connected to \"%s\" of plugin %u (RN %u to %u)", c.client,
             c.service.c_str(), c.provider, clientRN, serviceRN);
}

// From the client: (its RN, the service RN); from the provider: (the
// service RN, the client's RN).
void RouterCore::dropConnection(ToolLink& tool, uint32_t localRN, uint32_t remoteRN) {
  auto it = connections_.find(localRN);
  if (it != connections_.end() && it->second.client == tool.id() &&
      it->second.serviceRN == remoteRN) {
    endConnection(it, tool.id());
    return;
  }
  it = connections_.find(remoteRN);
  if (it != connections_.end() && it->second.provider == tool.id() &&
      it->second.serviceRN == localRN)
    endConnection(it, tool.id());
}

// Tells the side that did not end it.  A provider that had not answered
// yet leaves the client with a reply that was not accepted.
void RouterCore::endConnection(std::map<uint32_t, Connection>::iterator it, uint32_t droppedBy) {
  uint32_t clientRN = it->first;
  Connection c = it->second;
  connections_.erase(it);
  if (droppedBy == c.provider) {
    if (ToolLink* client = tool(c.client)) {
      if (c.accepted)
        client->endpoint()->send_ConnectionDroppedEvent(clientRN, c.serviceRN, false);
      else
        client->endpoint()->send_ConnectionReplyEvent(c.service.c_str(), clientRN, 1, 0, 0,
                                                      c.serviceRN, c.provider, "", c.cookie, false);
    }
  } else if (ToolLink* provider = tool(c.provider)) {
    provider->endpoint()->send_ConnectionDroppedEvent(c.serviceRN, clientRN, false);
  }
  forgetRN(clientRN);
  log_.event("plugin %u: connection to \"%s\" of plugin %u ended", c.client, c.service.c_str(),
             c.provider);
}

void RouterCore::dropConnectionsOf(uint32_t id) {
  for (auto it = connections_.begin(); it != connections_.end();) {
    auto next = std::next(it);
    if (it->second.client == id || it->second.provider == id) endConnection(it, id);
    it = next;
  }
}
