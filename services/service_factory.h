// ServiceFactory: one named service a tool offers.  When another tool asks
// the router for the service, the proxy asks the factory for an endpoint
// on the router connection; the factory counts its connections and may
// refuse new ones beyond its maximum.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class STPSpecClass;
class STPTransport;

class ServiceFactory {
 public:
  struct RegisterWithProxy {};  // selects the constructor that registers at once

  // Global registration puts the factory on GlobalServiceFactoryList,
  // whose services the proxy announces when it connects.  A maximum of -1
  // means unlimited.
  ServiceFactory(const char* name, int maxConnections, bool registerGlobally);
  // Registers with the process-wide proxy at once.
  ServiceFactory(RegisterWithProxy, const char* name, int maxConnections);
  // Withdraws the service (from the list, the proxy and the router).
  virtual ~ServiceFactory();
  ServiceFactory(const ServiceFactory&) = delete;
  ServiceFactory& operator=(const ServiceFactory&) = delete;

  // Unlimited, or fewer connections than the maximum.
  virtual bool canAcceptNewConnection();
  // The endpoint for a new connection on `transport` (its local and
  // remote RN given), with one reference for the caller; null refuses.
  virtual STPSpecClass* getService(STPTransport* transport, uint32_t localRN,
                                   uint32_t remoteRN) = 0;
  // The endpoint's negotiation ended (it may have gone down instead).
  virtual void connectionNegotiated(STPSpecClass* endpoint);

  const std::string& getName() const { return name_; }
  int getMaxConnections() const { return max_; }
  int getNumConnections() const { return count_; }
  bool hasCreatedAConnection() const { return created_; }
  const std::vector<STPSpecClass*>& getConnections() const { return endpoints_; }
  uint32_t getServiceRN() const { return serviceRN_; }
  // Whether any factory of the process has made an endpoint.
  static bool createdAService();

  // Bookkeeping by the proxy: an endpoint made or gone, the RN given.
  STPSpecClass* makeConnection(STPTransport* transport, uint32_t localRN, uint32_t remoteRN);
  void connectionEnded(STPSpecClass* endpoint);
  void setServiceRN(uint32_t rn) { serviceRN_ = rn; }

 private:
  std::string name_;
  int max_;
  int count_ = 0;
  bool created_ = false;
  std::vector<STPSpecClass*> endpoints_;
  uint32_t serviceRN_ = 0;
};

// The factories created with global registration, in creation order.
std::vector<ServiceFactory*>& GlobalServiceFactoryList();
