// The service factories' bookkeeping and the global list.
#include "services/service_factory.h"

#include <algorithm>

#include "libs/stp_transport/endpoint.h"
#include "services/sr_proxy.h"

namespace {
bool anyCreated = false;
}

std::vector<ServiceFactory*>& GlobalServiceFactoryList() {
  static std::vector<ServiceFactory*> list;
  return list;
}

ServiceFactory::ServiceFactory(const char* name, int maxConnections, bool registerGlobally)
    : name_(name ? name : ""), max_(maxConnections) {
  if (registerGlobally) GlobalServiceFactoryList().push_back(this);
}

ServiceFactory::ServiceFactory(RegisterWithProxy, const char* name, int maxConnections)
    : ServiceFactory(name, maxConnections, false) {
  ServiceRouter_Proxy::registerServiceFactory(this, nullptr);
}

ServiceFactory::~ServiceFactory() {
  auto& list = GlobalServiceFactoryList();
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  if (SRProxy* proxy = SRProxy::current()) proxy->forgetFactory(this);
}

bool ServiceFactory::canAcceptNewConnection() { return max_ < 0 || count_ < max_; }

void ServiceFactory::connectionNegotiated(STPSpecClass*) {}

bool ServiceFactory::createdAService() { return anyCreated; }

STPSpecClass* ServiceFactory::makeConnection(STPTransport* transport, uint32_t localRN,
                                             uint32_t remoteRN) {
  STPSpecClass* endpoint = getService(transport, localRN, remoteRN);
  if (!endpoint) return nullptr;
  if (endpoint->getTransport() != transport) endpoint->setTransport(transport, localRN, remoteRN);
  endpoints_.push_back(endpoint);
  count_++;
  created_ = anyCreated = true;
  return endpoint;
}

void ServiceFactory::connectionEnded(STPSpecClass* endpoint) {
  auto it = std::find(endpoints_.begin(), endpoints_.end(), endpoint);
  if (it == endpoints_.end()) return;
  endpoints_.erase(it);
  count_--;
}
