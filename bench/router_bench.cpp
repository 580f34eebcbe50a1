// Benchmark of the service router, printed as one table:
//   - a first tool's start-up with the router started on demand,
//   - connecting to a service another tool offers,
//   - a small call with reply (DiffView CreateNewDiff) through the router,
//     beside the same call made directly over loopback TCP,
//   - ten clients calling one provider at once,
//   - the router's resident memory with one tool and with fifty.
// Every tool is a forked child that starts its own proxy; the router is
// the svc_router beside this program, in a private TMPDIR.  This process
// adopts the orphans (the router) so that none outlives it.  Run it as
// bench/router.sh does; it is not a test.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "base/gen.h"
#include "bench/bench_table.h"
#include "libs/stp_transport/stp_retry.h"
#include "libs/stp_transport/transport.h"
#include "services/interfaces/DiffView_client_Impl.h"
#include "services/interfaces/DiffView_display_Impl.h"
#include "services/service_factory.h"
#include "services/servicerouter_proxy.h"
#include "services/sr_registration.h"
#include "services/svc_event_loop.h"

namespace {

using bench::Clock;
using bench::fmt;
using bench::percentile;
using bench::row;
using bench::usSince;

constexpr int kStarts = 10;        // fresh routers started
constexpr int kConnects = 200;     // service connections made
constexpr int kWarmup = 1000;
constexpr int kRounds = 10000;     // calls measured, routed and direct
constexpr int kClients = 10;
constexpr int kClientCalls = 2000; // by each of the clients at once
constexpr int kTools = 50;         // connected for the memory reading
constexpr long kAnswerMs = 60000;  // a child that says nothing by then failed
constexpr long kRouterEndMs = 5000;
const char kService[] = "DiffView";
const char kCommand[] = "left right";
const char kCurrent[] = "/tmp/x";

double nowUs() {
  return std::chrono::duration<double, std::micro>(Clock::now().time_since_epoch()).count();
}

// ---- processes ----------------------------------------------------------------------

std::string scratch;         // the private TMPDIR
std::vector<pid_t> living;   // forked children not yet ended
int killedRouters = 0;

bool gone(pid_t pid) {
  if (waitpid(pid, nullptr, WNOHANG) == pid) return true;
  return kill(pid, 0) != 0 && errno == ESRCH;
}

// Waits up to `ms` for `pid` to end, then kills it; whether it ended alone.
bool endProcess(pid_t pid, long ms) {
  const auto end = Clock::now() + std::chrono::milliseconds(ms);
  while (!gone(pid) && Clock::now() < end) std::this_thread::sleep_for(std::chrono::milliseconds(2));
  std::erase(living, pid);
  if (gone(pid)) return true;
  kill(pid, SIGKILL);
  while (!gone(pid)) std::this_thread::sleep_for(std::chrono::milliseconds(2));
  return false;
}

// Kills the children and routers left, reaps any other orphan adopted
// (waiting a little for it), removes the TMPDIR.
void cleanUp() {
  for (pid_t pid : std::vector<pid_t>(living)) endProcess(pid, 0);
  const auto end = Clock::now() + std::chrono::milliseconds(kRouterEndMs);
  for (pid_t r; (r = waitpid(-1, nullptr, WNOHANG)) >= 0;) {
    if (r > 0) continue;
    if (Clock::now() > end) {
      fprintf(stderr, "router_bench: a process of this run outlived it\n");
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  std::error_code ignored;
  if (scratch.empty()) return;
  for (const auto& e : std::filesystem::directory_iterator(scratch, ignored))
    fprintf(stderr, "router_bench: left behind: %s\n", e.path().c_str());
  std::filesystem::remove_all(scratch, ignored);
}

[[noreturn]] void fail(const char* what) {
  fprintf(stderr, "router_bench: %s\n", what);
  cleanUp();
  exit(1);
}

bool await(int fd, short events) {
  pollfd p = {fd, events, 0};
  return poll(&p, 1, kAnswerMs) == 1;
}

bool writeAll(int fd, const void* data, size_t n) {
  const auto* p = static_cast<const char*>(data);
  for (size_t done = 0; done < n;) {
    const ssize_t k = await(fd, POLLOUT) ? write(fd, p + done, n - done) : -1;
    if (k <= 0) return false;
    done += static_cast<size_t>(k);
  }
  return true;
}

bool readAll(int fd, void* data, size_t n) {
  auto* p = static_cast<char*>(data);
  for (size_t done = 0; done < n;) {
    const ssize_t k = await(fd, POLLIN) ? read(fd, p + done, n - done) : -1;
    if (k <= 0) return false;
    done += static_cast<size_t>(k);
  }
  return true;
}

void put(int fd, const std::vector<double>& v) {
  uint32_t n = static_cast<uint32_t>(v.size());
  writeAll(fd, &n, sizeof n);
  writeAll(fd, v.data(), n * sizeof(double));
}

std::vector<double> take(int fd) {
  uint32_t n = 0;
  if (!readAll(fd, &n, sizeof n)) fail("a child gave no answer");
  std::vector<double> v(n);
  if (!readAll(fd, v.data(), n * sizeof(double))) fail("a child's answer was cut short");
  return v;
}

struct Child {
  pid_t pid;
  int fd;  // what the child puts
};

// Forks a child running `body` with the write end of a pipe to us.
Child spawn(const std::function<void(int out)>& body) {
  int p[2];
  if (pipe2(p, O_CLOEXEC) != 0) fail("no pipe");
  fflush(stdout);
  const pid_t pid = fork();
  if (pid < 0) fail("no fork");
  if (pid == 0) {
    close(p[0]);
    body(p[1]);
    _exit(0);
  }
  close(p[1]);
  living.push_back(pid);
  return {pid, p[0]};
}

// Blocks until a byte or the end arrives on `fd`.
void awaitByte(int fd) {
  char c;
  if (!readAll(fd, &c, 1)) fail("a child never got ready");
}

long rssKb(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);)
    if (line.starts_with("VmRSS:")) return atol(line.c_str() + 6);
  return -1;
}

// ---- the tools (each in a child) ----------------------------------------------------

class BenchDisplay : public DiffView_display_Impl {
  void msg_CreateNewDiff(const char*, const char*, int, int, char**) override {}
};

class BenchFactory : public ServiceFactory {
 public:
  BenchFactory() : ServiceFactory(kService, -1, true) {}
  STPSpecClass* getService(STPTransport* t, uint32_t local, uint32_t remote) override {
    auto* display = new BenchDisplay;
    display->setTransport(t, local, remote);
    return display;
  }
};

void startTool() {
  if (!ServiceRouter_Proxy::startup(true, nullptr, nullptr, nullptr, false, nullptr, true, true) ||
      ServiceRouter_Proxy::myPluginId() < 0)
    _exit(2);
}

[[noreturn]] void leaveTool() {
  ServiceRouter_Proxy::shutdown(true);
  _exit(0);
}

double routerPid() {
  int port = 0, pid = 0;
  sr_read_registration(sr_registration_path(ServiceRouter_Proxy::getZone()), &port, &pid);
  return pid;
}

DiffView_client_Impl* connectClient() {
  auto* client = new DiffView_client_Impl;
  bool found = false, accepted = false;
  if (!ServiceRouter_Proxy::getServiceConnection(kService, client, &found, &accepted, nullptr))
    _exit(3);
  return client;
}

void dropClient(DiffView_client_Impl* client) {
  ServiceRouter_Proxy::dropServiceConnection(client, nullptr, true);
  client->delRef();
}

void call(DiffView_client_Impl* client, RetryHandler* handler) {
  char* reply = nullptr;
  TStat status;
  if (!client->send_CreateNewDiff(kCommand, kCurrent, 0, 0, &reply, handler, &status)) _exit(4);
  gen_free(reply);
}

// `n` calls, microseconds each.
std::vector<double> calls(DiffView_client_Impl* client, RetryHandler* handler, int n) {
  std::vector<double> us;
  for (int i = 0; i < n; i++) {
    auto start = Clock::now();
    call(client, handler);
    us.push_back(usSince(start));
  }
  return us;
}

// Offers the service until a byte arrives on `stop`; puts the router's pid.
void runProvider(int out, int stop) {
  auto* factory = new BenchFactory;
  startTool();
  put(out, {routerPid()});
  Svc_EventLoop loop;
  loop.setSleepTime(20);
  loop.addExitCondition([stop] {
    pollfd p = {stop, POLLIN, 0};
    return poll(&p, 1, 0) > 0;
  });
  loop.enterLoop();
  ServiceRouter_Proxy::shutdown(true);
  delete factory;
}

// ---- the measures -------------------------------------------------------------------

// What a child running `body` puts, once it has ended.
std::vector<double> childResult(const std::function<void(int out)>& body) {
  Child c = spawn(body);
  std::vector<double> got = take(c.fd);
  close(c.fd);
  endProcess(c.pid, kAnswerMs);
  return got;
}

// Milliseconds from startup to a plugin id, each time with a new router
// that ends once its tool has left.
std::vector<double> startUps() {
  std::vector<double> ms;
  for (int i = 0; i < kStarts; i++) {
    std::vector<double> got = childResult([](int out) {
      auto start = Clock::now();
      startTool();
      put(out, {usSince(start) / 1000, routerPid()});
      leaveTool();
    });
    const pid_t router = static_cast<pid_t>(got[1]);
    if (router <= 0) fail("no router registered");
    living.push_back(router);
    if (!endProcess(router, kRouterEndMs)) killedRouters++;
    ms.push_back(got[0]);
  }
  return ms;
}

// Microseconds to connect, each connection dropped before the next.
std::vector<double> connectTimes() {
  return childResult([](int out) {
    startTool();
    std::vector<double> us;
    for (int i = 0; i < kConnects; i++) {
      auto start = Clock::now();
      DiffView_client_Impl* client = connectClient();
      us.push_back(usSince(start));
      dropClient(client);
    }
    put(out, us);
    leaveTool();
  });
}

std::vector<double> routedCalls() {
  return childResult([](int out) {
    startTool();
    DiffView_client_Impl* client = connectClient();
    TimeoutSTPRetryHandler handler(ServiceRouter_Proxy::getTransport(), kAnswerMs);
    calls(client, &handler, kWarmup);
    put(out, calls(client, &handler, kRounds));
    dropClient(client);
    leaveTool();
  });
}

// The display side of the direct call: serves until the caller leaves.
void runPeer(int port) {
  auto* transport = new STPTransport;
  TStat status;
  if (!transport->connect("127.0.0.1", port, &status)) _exit(1);
  auto* display = new BenchDisplay;
  display->setTransport(transport, 0, 0);
  if (!display->negotiate(display->getDefaultRetryHandler(), &status)) _exit(1);
  while (transport->isAlive()) transport->serviceOnce(1000, nullptr);
  _exit(0);
}

std::vector<double> directCalls() {
  int port = 0;
  const int listener = STPTransport::getListenSocket(&port);
  if (listener < 0) fail("no listening socket");
  Child peer = spawn([port](int) { runPeer(port); });
  close(peer.fd);
  pollfd p = {listener, POLLIN, 0};
  const int fd = poll(&p, 1, kAnswerMs) == 1 ? accept(listener, nullptr, nullptr) : -1;
  close(listener);
  if (fd < 0) fail("the direct peer did not connect");
  auto* transport = new STPTransport;
  transport->bindFD(fd);
  auto* client = new DiffView_client_Impl;
  client->setTransport(transport, 0, 0);
  std::vector<double> us;
  {
    TimeoutSTPRetryHandler handler(transport, kAnswerMs);
    TStat status;
    if (!client->negotiate(&handler, &status)) fail("no negotiation with the direct peer");
    calls(client, &handler, kWarmup);
    us = calls(client, &handler, kRounds);
  }
  client->delRef();
  transport->closeConnection();
  transport->delRef();
  endProcess(peer.pid, kAnswerMs);
  return us;
}

// Forks `n` tools one after the other, each once the one before is ready.
// A tool runs `body` with its pipe and a step that tells us it is ready
// and returns once `go` ends (this process closes it).
using ToolBody = std::function<void(int out, const std::function<void()>& readyAndWait)>;
std::vector<Child> readyTools(int n, const ToolBody& body, int go[2]) {
  int ready[2];
  if (pipe2(ready, O_CLOEXEC) != 0) fail("no pipe");
  std::vector<Child> tools;
  for (int i = 0; i < n; i++) {
    tools.push_back(spawn([&](int out) {
      close(go[1]);
      startTool();
      body(out, [&] {
        char c = 'r';
        writeAll(ready[1], &c, 1);
        while (read(go[0], &c, 1) > 0) {
        }  // until the end
      });
    }));
    awaitByte(ready[0]);
  }
  close(ready[0]);
  close(ready[1]);
  return tools;
}

struct Burst {
  double perSecond = 0;
  std::vector<double> us;
};

void burstClient(int out, const std::function<void()>& readyAndWait) {
  DiffView_client_Impl* client = connectClient();
  TimeoutSTPRetryHandler handler(ServiceRouter_Proxy::getTransport(), kAnswerMs);
  calls(client, &handler, kWarmup / 10);
  readyAndWait();
  const double start = nowUs();
  std::vector<double> us = calls(client, &handler, kClientCalls);
  put(out, {start, nowUs()});
  put(out, us);
  dropClient(client);
  leaveTool();
}

// kClients tools calling at once: all calls over the span from the first
// start to the last end.
Burst burst() {
  int go[2];
  if (pipe2(go, O_CLOEXEC) != 0) fail("no pipe");
  std::vector<Child> tools = readyTools(kClients, burstClient, go);
  close(go[0]);
  close(go[1]);
  Burst b;
  double first = 1e300, last = 0;
  for (const Child& c : tools) {
    std::vector<double> span = take(c.fd), us = take(c.fd);
    first = std::min(first, span[0]);
    last = std::max(last, span[1]);
    b.us.insert(b.us.end(), us.begin(), us.end());
    close(c.fd);
    endProcess(c.pid, kAnswerMs);
  }
  b.perSecond = b.us.size() / ((last - first) / 1e6);
  return b;
}

// The router's VmRSS with kTools tools: the provider and the ones added.
long rssWithTools(pid_t router) {
  int go[2];
  if (pipe2(go, O_CLOEXEC) != 0) fail("no pipe");
  std::vector<Child> tools = readyTools(kTools - 1, [](int, const std::function<void()>& wait) {
    wait();
    leaveTool();
  }, go);
  const long kb = rssKb(router);
  close(go[0]);
  close(go[1]);
  for (const Child& c : tools) {
    close(c.fd);
    endProcess(c.pid, kAnswerMs);
  }
  return kb;
}

void makeScratch() {
  char dir[] = "/tmp/router_bench.XXXXXX";
  if (!mkdtemp(dir)) gen_errorexit(1, "no private TMPDIR");
  scratch = dir;
  setenv("TMPDIR", dir, 1);
  setenv("SVC_ROUTER_IDLE_MS", "100", 1);  // a router with no tool ends soon
  prctl(PR_SET_CHILD_SUBREAPER, 1);         // routers orphaned by their tool are ours
}

struct Results {
  std::vector<double> startMs, connectUs, routedUs, directUs;
  Burst many;
  long rssOne = 0, rssMany = 0;
};

// Everything but the start-ups, with one provider (and its router) for
// all; whether the provider left when told to.
bool measureWithProvider(Results* r) {
  int stop[2];
  if (pipe2(stop, O_CLOEXEC) != 0) fail("no pipe");
  Child provider = spawn([&](int out) {
    close(stop[1]);
    runProvider(out, stop[0]);
  });
  close(stop[0]);
  const pid_t router = static_cast<pid_t>(take(provider.fd)[0]);
  if (router <= 0) fail("no router registered");
  living.push_back(router);
  r->rssOne = rssKb(router);
  r->rssMany = rssWithTools(router);
  r->connectUs = connectTimes();
  r->routedUs = routedCalls();
  r->directUs = directCalls();
  r->many = burst();
  writeAll(stop[1], "s", 1);
  close(stop[1]);
  close(provider.fd);
  const bool left = endProcess(provider.pid, kAnswerMs);
  if (!endProcess(router, kRouterEndMs)) killedRouters++;
  return left;
}

void printTable(const Results& r) {
  const double routed = percentile(r.routedUs, 0.5), direct = percentile(r.directUs, 0.5);
  printf("service router (svc_router) on loopback TCP, tools in forked processes; "
         "%d calls measured each way after %d to warm up\n", kRounds, kWarmup);
  row(fmt("start-up to plugin id, new router, median of %.0f", kStarts).c_str(),
      fmt("%.1f ms", percentile(r.startMs, 0.5)), "");
  row("start-up, fastest / slowest",
      fmt("%.1f", percentile(r.startMs, 0)) + fmt(" / %.1f ms", percentile(r.startMs, 1)), "");
  row(fmt("connect to a running service, median of %.0f", kConnects).c_str(),
      fmt("%.1f us", percentile(r.connectUs, 0.5)), "");
  row("call with reply via router, median", fmt("%.1f us", routed), "");
  row("call with reply via router, 99th percentile", fmt("%.1f us", percentile(r.routedUs, 0.99)),
      "");
  row("same call direct, median", fmt("%.1f us", direct), "");
  row("same call direct, 99th percentile", fmt("%.1f us", percentile(r.directUs, 0.99)), "");
  row("via router median / direct median", fmt("%.2f x", routed / direct), "target <= 2");
  row(fmt("%.0f clients at once, calls", kClients).c_str(), fmt("%.0f /s", r.many.perSecond),
      "");
  row(fmt("%.0f clients at once, median per call", kClients).c_str(),
      fmt("%.1f us", percentile(r.many.us, 0.5)), "");
  row(fmt("router VmRSS, 1 tool / %.0f tools", kTools).c_str(),
      fmt("%.0f", r.rssOne) + fmt(" / %.0f kB", r.rssMany), "");
}

}  // namespace

int main(int, char** argv) {
  gen_init(argv[0], 0, 0);
  signal(SIGPIPE, SIG_IGN);
  makeScratch();
  Results r;
  r.startMs = startUps();
  const bool providerLeft = measureWithProvider(&r);
  cleanUp();
  printTable(r);
  if (killedRouters > 0 || !providerLeft)
    fprintf(stderr, "router_bench: %d router(s) killed, provider %s\n", killedRouters,
            providerLeft ? "left" : "killed");
  return 0;
}
