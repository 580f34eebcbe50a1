// The router's state and rules behind ServiceRouter: the tools and their
// links, the services they offer, the routing numbers and who owns each,
// the connections between clients and providers, the waits for providers
// being started, and the values asked of one tool by another.  The
// member functions are spread over files by topic: router_core.cpp (links,
// the loop, forwarding), router_messages.cpp (ids, RNs, services, values),
// router_connections.cpp, router_launch.cpp.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "gui/loop/idle_notifier.h"
#include "svc_router/router_log.h"
#include "svc_router/service_table.h"
#include "svc_router/svc_router.h"
#include "svc_router/tool_link.h"

constexpr uint32_t kNoPlugin = 0xFFFFFFFF;  // "none" in plugin id fields
constexpr uint32_t kRouterRN = 1;           // the router's end of every link

// What a tool asks for when it wants a connection (or a provider's id).
struct ServiceRequest {
  uint32_t requester = 0;
  std::string service;
  uint32_t providingPlugin = kNoPlugin;
  std::vector<std::string> pairs;
  std::string workingDir;
  uint32_t cookie = 0;
  bool noReuse = false;
  bool clientStart = false;
  bool mayStart = true;         // a provider may be started from the table
  bool wantsConnection = true;  // false: only the provider's plugin id
};

class RouterCore {
 public:
  explicit RouterCore(const RouterSettings& settings);
  ~RouterCore();
  RouterCore(const RouterCore&) = delete;
  RouterCore& operator=(const RouterCore&) = delete;

  // ---- links and the loop (router_core.cpp) ----
  bool listen(std::string* error);
  int port() const { return port_; }
  bool connectBack(int port, std::string* error);
  // Serves a connected transport as a new tool; the new link.
  ToolLink* adopt(STPTransport* transport);
  void acceptPending();
  void runOnce(long maxWaitMs);
  bool finished() const;
  size_t toolCount() const { return tools_.size(); }
  STPTransport* forwardTarget(ToolLink& from, uint32_t destinationRN);
  RouterLog& log() { return log_; }

  // ---- plain messages (router_messages.cpp) ----
  void introduce(ToolLink& tool);
  void registerServices(ToolLink& tool, const std::vector<std::string>& names);
  void reserveRNs(ToolLink& tool, uint32_t count);
  void unregisterService(ToolLink& tool, uint32_t rn);
  void releaseRN(ToolLink& tool, uint32_t rn);
  void countPersistent(uint32_t* persistent, uint32_t* total) const;
  void sendLocation(ToolLink& tool);
  void requestValue(ToolLink& tool, uint32_t pluginId, const std::string& name);
  void answerValue(ToolLink& tool, uint32_t requester, const std::string& name,
                   const std::string& value);
  void setEnvironment(const std::string& variable, const std::string& value);
  void disconnectRequested(ToolLink& tool);

  // ---- connections (router_connections.cpp) ----
  void requestService(ServiceRequest request);
  void connectionAccepted(ToolLink& provider, uint32_t serviceRN, uint32_t clientRN, bool accept);
  void dropConnection(ToolLink& tool, uint32_t localRN, uint32_t remoteRN);

  // ---- starting tools (router_launch.cpp) ----
  void launchPlugin(ToolLink& tool, const std::vector<std::string>& argv, uint32_t cookie,
                    bool clientStart, const std::string& workingDir);
  void connectPlugin(ToolLink& tool, const std::string& host, uint32_t port, uint32_t cookie);
  void startPluginEvent(ToolLink& tool, uint32_t cookie, bool success, const std::string& error);

 private:
  struct Service {
    std::string name;
    uint32_t tool;
  };
  struct Connection {  // keyed by the client's RN
    std::string service;
    uint32_t client, provider, serviceRN, cookie;
    bool accepted;
  };
  struct ValueRequest {
    uint32_t requester, provider;
    std::string name;
  };
  // A tool being started: by us (pid), by the requesting tool (StartPlugin)
  // or by connecting to it (RequestPluginConnect).  Keyed by our own start
  // cookie, which the started tool confirms with StartPluginEvent.
  struct Launch {
    std::string service;       // the service it should register, or empty
    uint32_t requester = kNoPlugin;
    uint32_t requesterCookie = 0;
    bool reportsConnected = false;  // the requester awaits PluginConnectedEvent
    pid_t pid = 0;
    int64_t deadline = 0;
    std::string workingDir;
    std::vector<ServiceRequest> waits;  // served once `service` registers
  };

  // router_core.cpp
  ToolLink* tool(uint32_t id) const;  // null when gone or leaving
  void housekeeping();
  void removeTool(uint32_t id);
  void updateIdleClock();
  // router_messages.cpp
  uint32_t allocateRN(ToolLink& owner);
  void forgetRN(uint32_t rn);
  void forgetValuesOf(uint32_t id);
  // router_connections.cpp
  const std::pair<const uint32_t, Service>* findProvider(const ServiceRequest& request) const;
  void connect(const ServiceRequest& request, uint32_t serviceRN, const Service& service);
  void answer(const ServiceRequest& request, uint32_t providerId, bool found);
  void dropConnectionsOf(uint32_t id);
  void endConnection(std::map<uint32_t, Connection>::iterator it, uint32_t droppedBy);
  // router_launch.cpp
  bool startProvider(const ServiceRequest& request);
  bool beginLaunch(uint32_t cookie, Launch launch, std::vector<std::string> args,
                   bool clientStart, std::string* error);
  void serveWaits(const std::string& service);
  void failLaunch(uint32_t cookie, const std::string& why);
  void checkLaunches();
  void reapChildren();

  RouterSettings settings_;
  RouterLog log_;
  IdleNotifier notifier_;
  int listenFd_ = -1, port_ = 0;
  std::unique_ptr<SocketListener> acceptor_;
  std::map<uint32_t, std::unique_ptr<ToolLink>> tools_;
  std::map<uint32_t, uint32_t> rnOwner_;
  std::map<uint32_t, Service> services_;        // by service RN
  std::map<uint32_t, Connection> connections_;  // by client RN
  std::vector<ValueRequest> values_;
  std::map<uint32_t, Launch> launches_;         // by start cookie
  std::vector<pid_t> children_;                 // to reap
  std::vector<std::pair<std::string, std::string>> environment_;
  uint32_t nextPluginId_ = 1, nextRN_ = 16, nextCookie_ = 1;
  int64_t idleSince_ = 0;  // when the last tool left; 0 while one is there
};
