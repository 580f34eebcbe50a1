// The connection to the suite's service router.  Each tool holds one
// process-wide proxy: it finds the router of its user, display and host
// through the registration file (or starts one), announces the services
// the tool offers, asks the router for connections to other tools'
// services, and turns the connections other tools ask for into endpoints
// made by the registered ServiceFactory objects.  All service traffic of
// the tool travels over the one router connection.
//
// Every operation is static and works on the process-wide proxy; when the
// proxy is disabled, or the router is gone, they answer "no" and the tool
// goes on alone.  Every wait runs under a RetryHandler (a null one means
// a 15 s wait that ends at once when the router's connection ends).
// Strings returned as char* are new, to be released with gen_free.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

class RetryHandler;
class ServiceFactory;
class STPLog;
class STPSpecClass;
class STPTransport;
class TStat;

// Told when a service connection of this tool ends (dropped by either
// side, or the router gone).
class ConnectionDiedListener {
 public:
  virtual ~ConnectionDiedListener() = default;
  virtual void connectionDied(STPSpecClass* endpoint) = 0;
};

// A named value of this tool that others may ask for ("cwd" is answered
// by the proxy itself); its pair accompanies every connection request.
class NameValueResolver {
 public:
  virtual ~NameValueResolver() = default;
  virtual std::string resolverName() = 0;
  // False when there is no value now.
  virtual bool resolveValue(std::string* value) = 0;
};

class ServiceRouter_Proxy {
 public:
  // ---- command line and start ----
  // True when any argument before the last is "-connect_servicerouter",
  // "-sr_connect_servicerouter_host" or "-sr_connect_servicerouter_port"
  // (each needs a value after it, hence "before the last").
  static bool argsIndicateLaunchedFromServiceRouter(int argc, const char* const* argv);
  // Whether argv[index] is one of the proxy's own arguments; *count gets
  // the words it takes (2 with a value, 1 for a switch).
  static bool isSRArgument(int argc, const char* const* argv, int index, int* count);
  // Creates the proxy if needed, takes its arguments out of argv (argc
  // adjusted, argv[argc] null), and connects now when the tool offers
  // services, was launched by the router, or `connectNow` asks for it.
  // False when disabled or when connecting failed; true when already
  // started.  `display` (may be null) names the display for the zone.
  static bool startup(bool persistent, int* argc, char** argv, const char* display,
                      bool privateRouter, RetryHandler* handler, bool connectNow,
                      bool mayStartRouter);
  // Asks the router to let this tool go, releases the link and the proxy,
  // then checks the children it started (a private router, tools it
  // started for the router): with `wait`, for up to 4 s, killing the
  // ones still running.
  static void shutdown(bool wait);
  // A disabled proxy answers "no" to everything and does nothing.
  static void setDisabled(bool disabled);
  static bool isDisabled();

  // ---- state ----
  static bool launchedFromServiceRouter();
  // Not disabled, and either not yet connected or the link is up.
  static bool isAlive();
  static bool isTransportAlive();
  static bool acceptedAConnection();
  static int getNumServiceConnections();
  static int getNumServerConnections();
  // The router transport, connecting first if needed; null when none.
  static STPTransport* getTransport();
  static std::string getZone();
  static int myPluginId();  // -1 until the router has sent it
  static std::vector<pid_t> getPluginPids();
  static void notePluginPidExit(pid_t pid);
  // A fresh cookie to match a request with its answer.
  static int getCookie();

  // ---- offering and using services ----
  // Makes the tool a provider of the factory's service.
  static bool registerServiceFactory(ServiceFactory* factory, RetryHandler* handler);
  // Connects `endpoint` to the service: false when it was not found
  // (*found false), refused (*accepted false), or the link failed.
  static bool getServiceConnection(const char* serviceName, STPSpecClass* endpoint, bool* found,
                                   bool* accepted, RetryHandler* handler,
                                   const char* workingDir = nullptr, bool localOnly = false,
                                   bool noReuse = false, bool clientStart = false);
  // Ends a connection; refused (false) while calls are in progress on the
  // endpoint unless `force`.
  static bool dropServiceConnection(STPSpecClass* endpoint, RetryHandler* handler, bool force);
  static void installConnectionDiedListener(ConnectionDiedListener* listener);
  static void removeConnectionDiedListener(ConnectionDiedListener* listener);

  // ---- persistence and leaving ----
  static bool setPluginPersistence(bool persistent, RetryHandler* handler, TStat* status);
  // The router's count of persistent services (*total: all), or -1.
  static int getNumPersistentServices(RetryHandler* handler, int* total);
  static bool requestServiceRouterDisconnect(RetryHandler* handler);
  static bool getServiceRouterLocation(std::string* host, int* port, RetryHandler* handler);

  // ---- peers ----
  static int getPluginIdForConnection(STPSpecClass* endpoint);  // -1 if unknown
  // The peer's "cwd" value, or null when unknown.
  static char* getCwdOfPlugin(int pluginId, RetryHandler* handler);
  // An absolute name unchanged; a relative one joined to the peer's
  // working directory and made canonical (unchanged when that is unknown).
  static char* resolvePluginRelFilename(int pluginId, const char* name, RetryHandler* handler);
  static char* resolveConRelFilename(STPSpecClass* endpoint, const char* name,
                                     RetryHandler* handler);
  // Asks the router to start a tool / connect to one listening at
  // host:port; *pluginId gets its id, *errors the router's error text.
  static bool launchPlugin(const std::vector<std::string>& argv, int* pluginId,
                           std::string* errors, RetryHandler* handler,
                           const char* workingDir = nullptr, bool clientStart = false);
  static bool connectToPlugin(const char* host, int port, int* pluginId, std::string* errors,
                              RetryHandler* handler);
  // The id of the tool offering the service, or -1.
  static int getPluginIdForService(const char* serviceName, bool startIfNotRunning,
                                   RetryHandler* handler);
  // Set in the environment of the tools the router starts.
  static bool setEnvironmentVariable(const char* name, const char* value, RetryHandler* handler);
  static void addNameValueResolver(NameValueResolver* resolver);
  static void removeNameValueResolver(NameValueResolver* resolver);

  // ---- logging ----
  // The log every service endpoint of the tool traces to (may be null).
  static STPLog* getGlobalLog();
  static void setGlobalLog(STPLog* log);
};
