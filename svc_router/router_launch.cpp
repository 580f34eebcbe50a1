// Starting tools.  A provider that is not running is started from the
// service table, and the requests that wait for it are served once it has
// registered the service; a tool may also ask for a program to be started
// (RequestPluginLaunch) or connected to (RequestPluginConnect).  The router
// starts a program itself, or has the requesting tool start it (client
// start) with StartPlugin.  Either way the started tool confirms itself
// with our start cookie (StartPluginEvent); a launch that dies, fails or
// outlives its time answers its waits with "not found".
#include "svc_router/router_core.h"

#include <sys/wait.h>

#include <algorithm>
#include <cerrno>

#include "libs/stp_transport/peer_owner.h"
#include "svc_router/router_spawn.h"
#include "svc_router/tool_endpoint.h"

namespace {

const char* const kBadArguments = "Invalid arguments specified when attempting to launch plugin.";
const char* const kNotLaunched = "Unable to launch plugin.";

}  // namespace

bool RouterCore::startProvider(const ServiceRequest& request) {
  ServiceTable table;
  std::vector<std::string> problems;
  table.read(settings_.tablePaths, &problems);
  for (const std::string& p : problems) log_.event("service table %s does not parse", p.c_str());
  const ServiceProgram* entry = table.find(request.service);
  if (!entry) return false;
  for (auto& [cookie, launch] : launches_) {
    if (launch.service == request.service && !request.noReuse) {
      launch.waits.push_back(request);
      return true;
    }
  }
  ToolLink* asker = tool(request.requester);
  std::string program = request.clientStart ? entry->program
                                            : resolve_program(entry->program, settings_.programDir);
  if (!asker || program.empty()) {
    log_.event("cannot start \"%s\" for \"%s\": no such program", entry->program.c_str(),
               request.service.c_str());
    return false;
  }
  Launch launch;
  launch.service = request.service;
  launch.requester = request.requester;
  launch.workingDir = request.workingDir.empty() ? asker->cwd : request.workingDir;
  launch.waits.push_back(request);
  std::vector<std::string> args{program};
  args.insert(args.end(), entry->args.begin(), entry->args.end());
  std::string error;
  if (beginLaunch(nextCookie_++, std::move(launch), args, request.clientStart, &error)) return true;
  log_.event("cannot start \"%s\": %s", program.c_str(), error.c_str());
  return false;
}

// args: the program, then its own arguments; ours go between them.
bool RouterCore::beginLaunch(uint32_t cookie, Launch launch, std::vector<std::string> args,
                             bool clientStart, std::string* error) {
  std::vector<std::string> ours =
      clientStart ? std::vector<std::string>{"-sr_connect_servicerouter_host", "127.0.0.1",
                                             "-sr_connect_servicerouter_port"}
                  : std::vector<std::string>{"-connect_servicerouter"};
  ours.push_back(std::to_string(port_));
  ours.push_back("-sr_client_start_cookie");
  ours.push_back(std::to_string(cookie));
  args.insert(args.begin() + 1, ours.begin(), ours.end());
  launch.deadline = idle_nowMs() + settings_.launchTimeoutMs;
  if (clientStart) {
    ToolLink* asker = tool(launch.requester);
    if (!asker || !asker->endpoint()->send_StartPlugin(args, cookie, launch.workingDir.c_str(),
                                                       false)) {
      *error = "the requesting tool cannot be asked to start it";
      return false;
    }
  } else {
    launch.pid = router_spawn(args, launch.workingDir, environment_, error);
    if (launch.pid < 0) return false;
    children_.push_back(launch.pid);
  }
  log_.event("starting %s (cookie %u, pid %d) for plugin %u", args[0].c_str(), cookie,
             static_cast<int>(launch.pid), launch.requester);
  launches_[cookie] = std::move(launch);
  return true;
}

void RouterCore::serveWaits(const std::string& service) {
  for (auto it = launches_.begin(); it != launches_.end();) {
    Launch& launch = it->second;
    std::vector<ServiceRequest> ready;
    for (auto w = launch.waits.begin(); w != launch.waits.end();) {
      if (w->service != service) {
        ++w;
        continue;
      }
      ready.push_back(std::move(*w));
      w = launch.waits.erase(w);
    }
    bool done = launch.waits.empty() && !launch.reportsConnected;
    it = done ? launches_.erase(it) : std::next(it);
    for (const ServiceRequest& r : ready) {
      const auto* found = findProvider(r);
      if (found)
        connect(r, found->first, found->second);
      else
        answer(r, kNoPlugin, false);
    }
  }
}

void RouterCore::failLaunch(uint32_t cookie, const std::string& why) {
  auto it = launches_.find(cookie);
  if (it == launches_.end()) return;
  Launch launch = std::move(it->second);
  launches_.erase(it);
  log_.event("start with cookie %u failed: %s", cookie, why.c_str());
  for (const ServiceRequest& r : launch.waits) answer(r, kNoPlugin, false);
  ToolLink* asker = launch.reportsConnected ? tool(launch.requester) : nullptr;
  if (asker)
    asker->endpoint()->send_PluginConnectedEvent(launch.requesterCookie, kNoPlugin, why.c_str(),
                                                 false);
}

void RouterCore::checkLaunches() {
  int64_t now = idle_nowMs();
  std::vector<uint32_t> late;
  for (const auto& [cookie, launch] : launches_)
    if (now >= launch.deadline) late.push_back(cookie);
  for (uint32_t cookie : late) failLaunch(cookie, "the started program did not report in time");
}

// Our children only: a router inside another program must not reap
// processes that are not its own.
void RouterCore::reapChildren() {
  for (auto it = children_.begin(); it != children_.end();) {
    int status = 0;
    pid_t r = waitpid(*it, &status, WNOHANG);
    if (r == 0 || (r < 0 && errno == EINTR)) {
      ++it;
      continue;
    }
    pid_t pid = *it;
    it = children_.erase(it);
    std::vector<uint32_t> ended;
    for (const auto& [cookie, launch] : launches_)
      if (launch.pid == pid) ended.push_back(cookie);
    for (uint32_t cookie : ended) failLaunch(cookie, "the started program ended");
  }
}

void RouterCore::launchPlugin(ToolLink& tool, const std::vector<std::string>& argv,
                              uint32_t cookie, bool clientStart, const std::string& workingDir) {
  auto refuse = [&](const char* why) {
    tool.endpoint()->send_PluginConnectedEvent(cookie, kNoPlugin, why, false);
  };
  if (argv.empty() || argv[0].empty()) return refuse(kBadArguments);
  std::vector<std::string> args = argv;
  if (!clientStart) args[0] = resolve_program(argv[0], settings_.programDir);
  if (args[0].empty()) return refuse(kNotLaunched);
  Launch launch;
  launch.requester = tool.id();
  launch.requesterCookie = cookie;
  launch.reportsConnected = true;
  launch.workingDir = workingDir.empty() ? tool.cwd : workingDir;
  std::string error;
  if (!beginLaunch(nextCookie_++, std::move(launch), args, clientStart, &error)) {
    log_.event("cannot start %s: %s", argv[0].c_str(), error.c_str());
    refuse(kNotLaunched);
  }
}

// Only a tool of this user on this host is connected to (and never the
// router itself).
void RouterCore::connectPlugin(ToolLink& tool, const std::string& host, uint32_t port,
                               uint32_t cookie) {
  bool local = host.empty() || host == "localhost" || host == "127.0.0.1";
  auto* transport = new STPTransport(32768);
  bool ok = local && port > 0 && port < 65536 && port != static_cast<uint32_t>(port_) &&
            transport->connect("127.0.0.1", static_cast<int>(port), nullptr) &&
            stp_peer_is_own_user(transport->getFD());
  uint32_t id = ok ? adopt(transport)->id() : kNoPlugin;
  transport->delRef();
  tool.endpoint()->send_PluginConnectedEvent(cookie, id, ok ? "" : "Unable to connect to plugin.",
                                             false);
}

void RouterCore::startPluginEvent(ToolLink& tool, uint32_t cookie, bool success,
                                  const std::string& error) {
  auto it = launches_.find(cookie);
  if (it == launches_.end()) return;
  if (!success) return failLaunch(cookie, error.empty() ? kNotLaunched : error);
  Launch& launch = it->second;
  if (tool.cwd.empty()) tool.cwd = launch.workingDir;
  log_.event("plugin %u: started with cookie %u", tool.id(), cookie);
  if (launch.reportsConnected) {
    if (ToolLink* asker = this->tool(launch.requester))
      asker->endpoint()->send_PluginConnectedEvent(launch.requesterCookie, tool.id(), "", false);
    launch.reportsConnected = false;
  }
  if (launch.waits.empty()) launches_.erase(it);
}
