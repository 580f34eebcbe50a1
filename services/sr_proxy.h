// Private to services/: the process-wide state behind ServiceRouter_Proxy
// and the steps its operations share (finding the router, the link's
// set-up, waits, connection bookkeeping).  ServiceRouter_Proxy's static
// operations and the router link's message handlers work on it.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "services/servicerouter_proxy.h"

class RetryHandler;
class ServiceFactory;
class SRNegotiator;
class SRP_SocketListener;
class SRPluginLink;
class STPLog;
class STPSpecClass;
class STPTransport;

// One service connection of this tool.
struct ServiceStatus {
  STPSpecClass* endpoint = nullptr;  // one reference held
  int pluginId = -1;                 // the peer's
  bool server = false;               // made by one of our factories
  ServiceFactory* factory = nullptr; // that factory
  bool sharedObject = false;
  bool deleting = false;
};

struct ConnectionReply {
  std::string serviceName;
  uint32_t localRN = 0;
  bool found = false, sharedObject = false, accepted = false;
  uint32_t serviceRN = 0;
  int pluginId = -1;
  std::string sharedObjectName;
  uint32_t cookie = 0;
};

// What the router answered to a request made with a cookie.
struct CookieAnswer {
  int pluginId = -1;
  bool found = false;
  std::string text;
};

// The command-line settings of the proxy.
struct SRSettings {
  bool launched = false;       // "-connect_servicerouter" and friends
  std::string host = "127.0.0.1";
  int port = 0;                // the router's, when known
  std::string traceLog;        // "-sr_log"
  std::string routerLog;       // "-sr_log_router", "-sr_log_all"
  std::string routerInternalLog;  // "-sr_log_router_internal"
  std::string zone;            // "-sr_zone"
  bool hasStartCookie = false;
  uint32_t startCookie = 0;    // "-sr_client_start_cookie"
  int privateChoice = -1;      // "-sr_private" 1, "-sr_shared" 0, else the default
  bool newRouter = false;      // "-sr_new"
  std::string debugPlugin, debugger, debuggerOpts;
  bool debugStartup = false;
  std::string startupDebugger, startupDebuggerOpts;
  std::string routerDir;       // "-sr_dir", absolute
};

// Checks the children a proxy started (pid and program name) once, or,
// with `wait`, for up to 4 s, killing those still running then.
void sr_check_children(const std::map<pid_t, std::string>& children, bool wait);

class SRProxy {
 public:
  static SRProxy* current();         // null before creation or when disabled
  static SRProxy* create();          // the proxy, created on first use
  static void destroy();
  static bool disabled;

  SRProxy();
  ~SRProxy();
  SRProxy(const SRProxy&) = delete;
  SRProxy& operator=(const SRProxy&) = delete;

  // ---- the arguments (servicerouter_args.cpp) ----
  void takeArguments(int* argc, char** argv);

  // ---- finding the router and the link (sr_connect.cpp, sr_init.cpp) ----
  bool connectNow(RetryHandler* handler);  // connects once; true when linked
  bool doSRConnectNow(RetryHandler* handler);
  bool init(RetryHandler* handler);
  bool linkUp() const;                     // connected and the link alive
  void linkDied();                         // the router's connection ended
  // Serves the router link until `done`, the link dies or the handler
  // (a 15 s one when null) gives up; whether `done`.
  bool waitFor(RetryHandler* handler, const std::function<bool()>& done);
  std::string zone();                      // the given zone, else the default

  // ---- services (sr_connections.cpp) ----
  void forgetFactory(ServiceFactory* factory);
  void assignRNs(const std::vector<uint32_t>& rns);
  void connectionRequested(int requester, uint32_t serviceRN, uint32_t remoteRN,
                           const std::vector<std::string>& pairs);
  void connectionDropped(uint32_t localRN, uint32_t remoteRN);
  void negotiated(ServiceStatus status, bool up);  // a pending server connection is done
  // Where the endpoint's connection is listed: the connected or the
  // pending list and its index; false when neither.
  bool findConnection(STPSpecClass* endpoint, std::vector<ServiceStatus>** list, size_t* index);
  // Removes the connection from `list`, telling the router when
  // `tellRouter` (we dropped it), and runs the connection-died listeners.
  void endConnection(std::vector<ServiceStatus>& list, size_t index, bool tellRouter);
  std::vector<std::string> resolverPairs();
  // The value of `name` from the resolvers (the last answer wins).
  std::string resolveName(const std::string& name);

  // ---- tools started for the router (sr_children.cpp) ----
  void startPlugin(const std::vector<std::string>& args, uint32_t cookie,
                   const std::string& workingDir);

  SRSettings settings;
  std::string display;
  bool persistent = true, connectNowFlag = false, mayStartRouter = true;
  bool started = false, connected = false, accepted = false;
  bool provider = false, privateRouter = false, triedConnect = false;
  int pluginId = -1;
  int cookieCounter = 1;
  int serverConnections = 0;

  STPTransport* transport = nullptr;   // one reference
  SRPluginLink* link = nullptr;        // one reference
  std::unique_ptr<SRP_SocketListener> listener;
  std::unique_ptr<STPLog> traceLog;
  pid_t routerPid = 0;                 // a private router we started

  std::vector<ServiceFactory*> preConnectFactories;
  std::deque<ServiceFactory*> waitingForRN;
  std::map<uint32_t, ServiceFactory*> factoryByRN;
  std::set<uint32_t> ownRNs, spareRNs;
  std::vector<ServiceStatus> connectedServices, pendingServices;
  std::vector<ConnectionReply> replies;
  std::map<std::pair<int, std::string>, std::string> values;
  std::map<uint32_t, CookieAnswer> answers;
  std::vector<NameValueResolver*> resolvers;
  std::vector<ConnectionDiedListener*> diedListeners;
  std::unique_ptr<SRNegotiator> negotiator;
  std::map<pid_t, std::string> pluginPids;
  bool haveLocation = false;
  std::string locationHost;
  int locationPort = 0;
  STPLog* globalLog = nullptr;
  std::unique_ptr<STPLog> forwardingLog;

 private:
  bool connectTo(const std::string& host, int port);
  bool startRouter(bool shared, RetryHandler* handler);
  bool connectShared(bool* existing);
  bool reachRouter(RetryHandler* handler, bool* existing);
  bool retryWithNewRouter(RetryHandler* handler);
  void makeLink(STPTransport* t);
  void dropLink();
};

// The process's working directory ("/" when it cannot be had): what the
// router and peers resolve this tool's relative names against.
std::string sr_currentDir();
