// Benchmark of the service messaging between two processes on loopback
// TCP, printed as one table:
//   - a plain socket ping-pong with the sizes of a small call and its reply,
//   - that call (DiffView CreateNewDiff) through the generated stubs,
//   - one-way messages (GotoRange) per second,
//   - a call carrying a 10 MB command, and the peak memory it costs.
// The display side is this program started again with "--peer" through
// the launcher.  Run it as bench/stp.sh does; it is not a test.
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "base/gen.h"
#include "bench/bench_table.h"
#include "libs/stp_transport/child_process.h"
#include "services/interfaces/DiffView_client_Impl.h"
#include "services/interfaces/DiffView_display_Impl.h"

namespace {

constexpr int kWarmup = 1000;
constexpr int kRounds = 20000;             // ping-pongs and calls measured
constexpr int kOneWay = 200000;            // one-way messages sent
constexpr size_t kDrainAbove = 64 * 1024;  // pending bytes that make the sender write
constexpr size_t kLarge = 10 * 1024 * 1024;
constexpr int kLargeRuns = 5;
const char kCommand[] = "left right";
const char kCurrent[] = "/tmp/x";

using bench::Clock;
using bench::fmt;
using bench::percentile;
using bench::row;
using bench::usSince;

long peakRssKb() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_maxrss;
}

// User and system time of this process so far.
double cpuMs() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 +
         (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
}

// ---- the display side -------------------------------------------------------------

class BenchDisplay : public DiffView_display_Impl {
 public:
  // "count": one-way messages so far; "rss": peak memory in KB; "cpu":
  // processor time in ms; a long command: its length; anything else: no
  // reply text.
  void msg_CreateNewDiff(const char* command, const char*, int, int, char** error) override {
    if (strcmp(command, "count") == 0) *error = gen_asprintf("%ld", ranges);
    else if (strcmp(command, "rss") == 0) *error = gen_asprintf("%ld", peakRssKb());
    else if (strcmp(command, "cpu") == 0) *error = gen_asprintf("%.1f", cpuMs());
    else if (strlen(command) > 1000) *error = gen_asprintf("%zu", strlen(command));
  }
  void msg_GotoRange(int, int) override { ranges++; }
  long ranges = 0;
};

int runPeer(const char* host, const char* port) {
  auto* transport = new STPTransport;
  TStat status;
  if (!transport->connect(host, atoi(port), &status)) return 1;
  auto* display = new BenchDisplay;
  display->setTransport(transport, 0, 0);
  if (!display->negotiate(display->getDefaultRetryHandler(), &status)) return 1;
  while (transport->isAlive()) transport->serviceOnce(1000, nullptr);
  display->delRef();
  transport->delRef();
  return 0;
}

// ---- plain sockets ----------------------------------------------------------------

bool full(int fd, char* buf, size_t n, bool writing) {
  for (size_t done = 0; done < n;) {
    ssize_t k = writing ? write(fd, buf + done, n - done) : read(fd, buf + done, n - done);
    if (k <= 0) return false;
    done += static_cast<size_t>(k);
  }
  return true;
}

// Round trips of `request` bytes out and `reply` bytes back between this
// process and a forked one; microseconds each.
std::vector<double> pingPong(size_t request, size_t reply) {
  int listener = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof addr;
  bind(listener, reinterpret_cast<sockaddr*>(&addr), len);
  listen(listener, 1);
  getsockname(listener, reinterpret_cast<sockaddr*>(&addr), &len);
  int one = 1;
  std::vector<char> buf(std::max(request, reply));
  if (fork() == 0) {
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    connect(fd, reinterpret_cast<sockaddr*>(&addr), len);
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    while (full(fd, buf.data(), request, false) && full(fd, buf.data(), reply, true)) {
    }
    _exit(0);
  }
  int fd = accept(listener, nullptr, nullptr);
  setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
  std::vector<double> us;
  for (int i = 0; i < kWarmup + kRounds; i++) {
    auto start = Clock::now();
    full(fd, buf.data(), request, true);
    full(fd, buf.data(), reply, false);
    if (i >= kWarmup) us.push_back(usSince(start));
  }
  close(fd);
  close(listener);
  wait(nullptr);
  return us;
}

// The wire size of a frame as the stubs build it.
size_t frameSize(STPAsciiOMsg* m) {
  m->finishMessage(2);
  uint32_t header = 0, body = 0;
  m->getContent(&header, &body);
  return (header + body + 3) / 4 * 4;
}

// ---- the client side --------------------------------------------------------------

struct Bench {
  STPTransport* transport = new STPTransport;
  TimeoutSTPRetryHandler handler{transport, 60000};
  STPChildProcess peer{false};
  DiffView_client_Impl* client = new DiffView_client_Impl;

  std::string call(const char* command) {
    char* reply = nullptr;
    TStat status;
    if (!client->send_CreateNewDiff(command, kCurrent, 0, 0, &reply, &handler, &status))
      gen_errorexit(1, "call failed: %s", status.getMessage().c_str());
    std::string out = reply ? reply : "";
    gen_free(reply);
    return out;
  }
};

int runBench(const char* self) {
  STPAsciiOMsg request(1, 2, STP_KIND_ASCII, 1, 0, 97, 0, 1);
  request.putIdent("CreateNewDiff");
  stp_put(&request, "command", kCommand);
  stp_put_fn(&request, "current_filename", kCurrent);
  stp_put(&request, "reuse", 0);
  stp_put(&request, "append", 0);
  STPAsciiOMsg answer(2, 1, STP_REPLY_KIND, STP_REPLY_KIND, 2, 0, 0, 1);
  stp_put(&answer, "error_str", static_cast<const char*>(nullptr));
  const size_t out = frameSize(&request), back = frameSize(&answer);
  std::vector<double> socketUs = pingPong(out, back);

  Bench b;
  b.peer.setTransport(b.transport);
  b.peer.setCommand(self);
  b.peer.addArgument("--peer");
  TStat status;
  if (!b.peer.launch(&b.handler, &status)) gen_errorexit(1, "no peer: %s", status.getMessage().c_str());
  b.client->setTransport(b.transport, 0, 0);
  if (!b.client->negotiate(&b.handler, &status))
    gen_errorexit(1, "no negotiation: %s", status.getMessage().c_str());

  std::vector<double> callUs;
  for (int i = 0; i < kWarmup + kRounds; i++) {
    auto start = Clock::now();
    b.call(kCommand);
    if (i >= kWarmup) callUs.push_back(usSince(start));
  }

  auto start = Clock::now();
  for (int i = 0; i < kOneWay; i++) {
    b.client->send_GotoRange(i, i, false, &b.handler, nullptr);
    while (b.transport->pendingWriteBytes() > kDrainAbove) b.transport->serviceOnce(10, nullptr);
  }
  long received = atol(b.call("count").c_str());
  double perSecond = received / (usSince(start) / 1e6);

  const long rssBefore = peakRssKb(), peerBefore = atol(b.call("rss").c_str());
  std::string large(kLarge, 'x');
  std::vector<double> largeMs, largeCpuMs;
  for (int i = 0; i < kLargeRuns + 1; i++) {
    const double cpu = cpuMs(), peerCpu = atof(b.call("cpu").c_str());
    auto t = Clock::now();
    if (b.call(large.c_str()) != std::to_string(kLarge)) gen_errorexit(1, "large call mangled");
    if (i == 0) continue;
    largeMs.push_back(usSince(t) / 1000);
    largeCpuMs.push_back(cpuMs() - cpu + atof(b.call("cpu").c_str()) - peerCpu);
  }
  const double mb = 1024.0;
  const double ownGrowth = (peakRssKb() - rssBefore) / mb;
  const double peerGrowth = (atol(b.call("rss").c_str()) - peerBefore) / mb;

  const double pingMedian = percentile(socketUs, 0.5), callMedian = percentile(callUs, 0.5);
  printf("two processes on loopback TCP; %d round trips each, after %d to warm up\n", kRounds,
         kWarmup);
  row(fmt("socket ping-pong %.0f", out).append(fmt("/%.0f B, median", back)).c_str(),
      fmt("%.1f us", pingMedian), "");
  row("socket ping-pong, 99th percentile", fmt("%.1f us", percentile(socketUs, 0.99)), "");
  row("call with reply (CreateNewDiff), median", fmt("%.1f us", callMedian), "");
  row("call with reply, 99th percentile", fmt("%.1f us", percentile(callUs, 0.99)), "");
  row("call median / ping-pong median", fmt("%.2f x", callMedian / pingMedian), "target <= 2");
  row(fmt("one-way GotoRange, %.0f sent", kOneWay).c_str(), fmt("%.0f /s", perSecond),
      "target > 100000");
  row(fmt("10 MB call, median of %.0f", kLargeRuns).c_str(),
      fmt("%.1f ms", percentile(largeMs, 0.5)), "target < 50");
  row("10 MB call, processor time of both, median", fmt("%.1f ms", percentile(largeCpuMs, 0.5)),
      "");
  row("peak memory growth, caller / peer", fmt("%.0f", ownGrowth) + fmt(" / %.0f MB", peerGrowth),
      "message 10 MB");

  b.client->delRef();
  b.transport->closeConnection();
  killPID(b.peer.getPID(), nullptr);
  b.transport->delRef();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  gen_init(argv[0], 0, 0);
  if (argc == 4 && strcmp(argv[3], "--peer") == 0) return runPeer(argv[1], argv[2]);
  char self[4096];
  ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  if (n <= 0) return 1;
  self[n] = '\0';
  return runBench(self);
}
