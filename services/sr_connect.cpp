// Finding the router: the launching router, a private one, the one the
// registration file names, or a new one started from the router
// directory.  A router is used only when its end of the connection
// belongs to this user.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <sstream>

#include "base/gen.h"
#include "libs/stp_transport/child_process.h"
#include "libs/stp_transport/peer_owner.h"
#include "libs/stp_transport/stp_retry.h"
#include "libs/stp_transport/transport.h"
#include "services/sr_proxy.h"
#include "services/sr_registration.h"

namespace {

constexpr size_t kLinkBufferBytes = 32768;
constexpr long kRouterStartMs = 10000;  // for a new router to connect back
constexpr int kConnectMs = 5000;        // a router too busy to accept is given up

// A connection to a router on this host, or -1.  Not blocking: a stopped
// router whose backlog is full must not hold the tool for minutes.
int connectLocal(const std::string& host, int port) {
  sockaddr_in to = {};
  to.sin_family = AF_INET;
  to.sin_port = htons(static_cast<uint16_t>(port));
  const char* address = host == "localhost" ? "127.0.0.1" : host.c_str();
  if (port <= 0 || port > 65535 || inet_pton(AF_INET, address, &to.sin_addr) != 1) return -1;
  int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  if (connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to) == 0) return fd;
  pollfd p = {fd, POLLOUT, 0};
  int error = 0;
  socklen_t length = sizeof error;
  if (errno == EINPROGRESS && poll(&p, 1, kConnectMs) == 1 &&
      getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0)
    return fd;
  close(fd);
  return -1;
}

std::vector<std::string> words(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> out;
  for (std::string w; in >> w;) out.push_back(w);
  return out;
}

// True when the peer of the transport's connection is one of our own
// processes; otherwise the connection is closed with a warning.
bool ownPeer(STPTransport* t, const char* what) {
  if (stp_peer_is_own_user(t->getFD())) return true;
  gen_warning("Not using the %s: its connection does not belong to this user.\n", what);
  t->closeConnection();
  return false;
}

}  // namespace

bool SRProxy::connectTo(const std::string& host, int port) {
  const int fd = connectLocal(host, port);
  if (fd < 0) return false;
  auto* t = new STPTransport(kLinkBufferBytes);
  t->bindFD(fd);
  if (!ownPeer(t, "service router")) {
    t->delRef();
    return false;
  }
  makeLink(t);
  return true;
}

// Starts "svc_router" from the router directory; it connects back to a
// port of ours given after "-connect_servicerouter".
bool SRProxy::startRouter(bool shared, RetryHandler*) {
  const std::string program = settings.routerDir + "/svc_router";
  if (access(program.c_str(), X_OK) != 0) return false;
  std::vector<std::string> args;
  if (settings.debugStartup) {
    args.push_back(settings.startupDebugger);
    for (const std::string& w : words(settings.startupDebuggerOpts)) args.push_back(w);
  }
  const int portArg = static_cast<int>(args.size()) + 2;
  args.insert(args.end(), {program, "-connect_servicerouter"});
  if (!settings.routerLog.empty()) args.insert(args.end(), {"-log", settings.routerLog});
  if (!settings.routerInternalLog.empty())
    args.insert(args.end(), {"-sr_log_internal", settings.routerInternalLog});
  if (!shared) args.push_back("-not_shared");
  args.insert(args.end(), {"-sr_zone", zone()});

  auto* t = new STPTransport(kLinkBufferBytes);
  makeLink(t);
  STPChildProcess child(false);
  std::vector<const char*> argv;
  for (const std::string& a : args) argv.push_back(a.c_str());
  child.setCommand(argv.data(), static_cast<int>(argv.size()));
  child.setInsertHostname(false);
  child.setPortArg(portArg);
  child.setTransport(t);
  TimeoutSTPRetryHandler wait(t, kRouterStartMs);  // woken by the connect-back
  TStat status;
  if (!child.launch(&wait, &status) || !ownPeer(t, "started service router")) {
    if (child.getPID() > 0) child.killChild();
    dropLink();
    return false;
  }
  if (!shared) routerPid = child.getPID();
  return true;
}

// Under the registration lock: the registered router, else a new shared
// one.  *existing tells whether a running router was reached.
bool SRProxy::connectShared(bool* existing) {
  const std::string path = sr_registration_path(zone());
  SRRegistrationLock lock(path);
  int port = 0, pid = 0;
  SRRegistrationState state = SRRegistrationState::untrusted;
  if (lock.locked()) {
    state = sr_read_registration(path, &port, &pid);
  } else if (lock.result() != SRLockResult::untrusted) {
    gen_error("Unable to lock service router file.\n");
    return false;
  }
  if (state == SRRegistrationState::untrusted) {
    privateRouter = true;
    if (startRouter(false, nullptr)) return true;
    gen_warning("Unable to launch private service router.\n");
    return false;
  }
  if (state == SRRegistrationState::absent) {
    if (mayStartRouter && startRouter(true, nullptr)) return true;
    gen_warning("Unable to launch service router.\n");
    return false;
  }
  if (connectTo("127.0.0.1", port)) return *existing = true;
  if (mayStartRouter && startRouter(true, nullptr)) return true;
  gen_warning("Unable to connect to a running or launch a new servicerouter.\n");
  return false;
}

bool SRProxy::retryWithNewRouter(RetryHandler* handler) {
  gen_warning("Unable to connect to existing service router, attempting to start our own...\n");
  dropLink();
  const std::string path = sr_registration_path(zone());
  {
    SRRegistrationLock lock(path);
    if (!lock.locked()) {
      gen_error("Unable to lock service router file.\n");
      return false;
    }
    sr_remove_registration(path);
    if (!startRouter(true, handler)) {
      gen_warning("Unable to launch new servicerouter.\n");
      return false;
    }
  }
  if (init(handler)) return true;
  gen_warning("Failed to initialize new service router.\n");
  dropLink();
  return false;
}

// Reaches a router as the settings ask; *existing tells whether it is a
// running router found through the registration file.
bool SRProxy::reachRouter(RetryHandler* handler, bool* existing) {
  if (settings.launched) {
    if (privateRouter || settings.newRouter)
      gen_warning("Incompatible options specified, defaulting to connecting to launching "
                  "ServiceRouter.\n");
    if (connectTo(settings.host, settings.port)) return true;
    gen_error("Unable to connect to ServiceRouter who launched us.\n");
    return false;
  }
  if (!mayStartRouter && (privateRouter || settings.newRouter)) return false;
  if (settings.newRouter) sr_remove_registration(sr_registration_path(zone()));
  if (privateRouter) {
    if (startRouter(false, handler)) return true;
    gen_warning("Unable to launch private service router.\n");
    return false;
  }
  if (settings.port > 0) {
    if (connectTo(settings.host, settings.port)) return true;
    gen_warning("Unable to connect to specified service router.\n");
    return false;
  }
  return connectShared(existing);
}

bool SRProxy::doSRConnectNow(RetryHandler* handler) {
  bool existing = false;
  if (!reachRouter(handler, &existing)) return false;
  if (init(handler)) return true;
  if (existing && mayStartRouter) return retryWithNewRouter(handler);
  gen_warning("Unable to initialize service router.\n");
  dropLink();
  return false;
}

bool SRProxy::connectNow(RetryHandler* handler) {
  if (connected) return linkUp();
  if (triedConnect) return false;
  triedConnect = true;
  if (settings.routerDir.empty()) {
    char path[PATH_MAX] = {};
    ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    char* dir = n > 0 ? gen_dirname(path) : gen_getcwd();
    settings.routerDir = dir ? dir : ".";
    gen_free(dir);
  }
  return doSRConnectNow(handler);
}
