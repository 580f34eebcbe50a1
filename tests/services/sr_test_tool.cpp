// A tool for the router tests.  "serve" offers the SRTest service through
// the router and serves it until the router lets it go; "client" asks for
// the service and runs the commands that follow, one output line each:
//   echo TEXT | resolve NAME | slow MS | alive | repeat N (N echoes, timed)
// Both take the router arguments (-sr_...) and print "ready <plugin id>"
// once linked.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "base/gen.h"
#include "services/service_factory.h"
#include "services/servicerouter_proxy.h"
#include "services/svc_event_loop.h"
#include "tests/services/SRTest_client_Impl.h"
#include "tests/services/SRTest_server_Impl.h"

namespace {

class TestServer : public SRTest_server_Impl {
  void msg_Echo(const char* text, char** answer) override {
    *answer = gen_asprintf("%s from %d", text, ServiceRouter_Proxy::myPluginId());
  }
  void msg_Resolve(const char* name, char** path) override {
    *path = ServiceRouter_Proxy::resolveConRelFilename(this, name, nullptr);
  }
  void msg_Slow(int ms, char** answer) override {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    *answer = gen_copy("slept");
  }
};

class TestFactory : public ServiceFactory {
 public:
  TestFactory() : ServiceFactory("SRTest", -1, true) {}
  STPSpecClass* getService(STPTransport* t, uint32_t local, uint32_t remote) override {
    auto* server = new TestServer;
    server->setTransport(t, local, remote);
    return server;
  }
};

int64_t nowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void say(const std::string& line) {
  printf("%s\n", line.c_str());
  fflush(stdout);
}

// One client command at argv[i]; returns how many words it used.
int runCommand(SRTest_client_Impl* c, char** argv, int i, int argc) {
  const std::string word = argv[i];
  const char* arg = i + 1 < argc ? argv[i + 1] : "";
  char* out = nullptr;
  if (word == "alive") {
    say(std::string("alive ") + (ServiceRouter_Proxy::isAlive() ? "1" : "0"));
    return 1;
  }
  if (word == "repeat") {
    std::vector<int64_t> us;
    for (int i = 0; i < atoi(arg); i++) {
      const auto start = std::chrono::steady_clock::now();
      if (!c->send_Echo("x", &out)) break;
      us.push_back(std::chrono::duration_cast<std::chrono::microseconds>(
                       std::chrono::steady_clock::now() - start).count());
      gen_free(std::exchange(out, nullptr));
    }
    std::sort(us.begin(), us.end());
    say("repeat " + std::to_string(us.size()) + " calls, median " +
        std::to_string(us.empty() ? 0 : us[us.size() / 2]) + " us");
    return 2;
  }
  const int64_t start = nowMs();
  if (word == "slow") say("calling");
  bool ok = word == "echo"      ? c->send_Echo(arg, &out)
            : word == "resolve" ? c->send_Resolve(arg, &out)
                                : c->send_Slow(atoi(arg), &out);
  say(word + (ok ? " " + std::string(out ? out : "") : " failed") + " after " +
      std::to_string(nowMs() - start) + " ms");
  gen_free(out);
  return 2;
}

int runClient(int argc, char** argv) {
  auto* client = new SRTest_client_Impl;
  bool found = false, accepted = false;
  if (!ServiceRouter_Proxy::getServiceConnection("SRTest", client, &found, &accepted, nullptr)) {
    say(std::string("no service") + (found ? " (refused)" : ""));
    return 1;
  }
  for (int i = 2; i < argc;) i += runCommand(client, argv, i, argc);
  ServiceRouter_Proxy::dropServiceConnection(client, nullptr, true);
  client->delRef();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  gen_init(argv[0], 0, 0);
  const bool serve = argc > 1 && std::string(argv[1]) == "serve";
  TestFactory* factory = serve ? new TestFactory : nullptr;
  if (!ServiceRouter_Proxy::startup(true, &argc, argv, nullptr, false, nullptr, true, true)) {
    say("no router");
    return 1;
  }
  say("ready " + std::to_string(ServiceRouter_Proxy::myPluginId()));
  int status = 0;
  if (serve) {
    Svc_EventLoop().enterLoop();
  } else {
    status = runClient(argc, argv);
  }
  ServiceRouter_Proxy::shutdown(true);
  delete factory;
  return status;
}
