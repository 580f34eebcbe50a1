// The proxy's side of the router link against a router played by the
// test: the arguments it takes out of the command line, a launched tool
// connecting back (even when told to start a private router), and the
// StartPlugin request with too few and with enough arguments.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>

#include <chrono>
#include <memory>
#include <thread>

#include "libs/stp_transport/transport.h"
#include "services/interfaces/ServiceRouter_router_Impl.h"
#include "services/servicerouter_proxy.h"
#include "test_support.h"

namespace {

using test_support::ArgVector;
using test_support::ScratchDir;

TEST(ProxyArguments, TakenOutWithTheDebugWarnings) {
  ArgVector args({"tool", "-sr_zone", "z", "a", "-sr_private", "-sr_debugger", "gdb", "b",
                  "-sr_debug_debugger_opts", "-q", "-sr_log"});
  int count = 0;
  EXPECT_TRUE(ServiceRouter_Proxy::isSRArgument(args.argc, args.argv(), 1, &count));
  EXPECT_EQ(count, 2);
  EXPECT_TRUE(ServiceRouter_Proxy::isSRArgument(args.argc, args.argv(), 4, &count));
  EXPECT_EQ(count, 1);
  EXPECT_FALSE(ServiceRouter_Proxy::isSRArgument(args.argc, args.argv(), 3, &count));
  testing::internal::CaptureStderr();
  ASSERT_TRUE(ServiceRouter_Proxy::startup(true, &args.argc, args.argv(), nullptr, false,
                                           nullptr, false, false));
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(args.words(), (std::vector<std::string>{"tool", "a", "b"}));
  EXPECT_EQ(args.argv()[3], nullptr);
  EXPECT_NE(err.find("Must specify -sr_debug for -sr_debugger to have meaning."),
            std::string::npos);
  EXPECT_NE(err.find("Must specify -sr_debug_startup with -sr_debug_debugger and "
                     "-sr_debug_debugger_opts."),
            std::string::npos);
  EXPECT_EQ(err.find("-sr_debugger_opts to have"), std::string::npos);
  EXPECT_EQ(ServiceRouter_Proxy::getZone(), "z");
  EXPECT_TRUE(ServiceRouter_Proxy::isAlive());  // not connected: nothing asked for yet
  ServiceRouter_Proxy::shutdown(false);
}

// The router side of one tool's link, recording what the tool tells it.
struct ToolLink : ServiceRouter_router_Impl {
  std::vector<std::string> services, startEvents;
  std::string workingDir;
  void msg_RegisterServiceList(const std::vector<std::string>& names) override {
    services.insert(services.end(), names.begin(), names.end());
  }
  void msg_SetWorkingDir(const char* dir) override { workingDir = dir; }
  void msg_StartPluginEvent(uint32_t cookie, uint8_t ok, const char* error) override {
    startEvents.push_back(std::to_string(cookie) + (ok ? " ok " : " failed ") + error);
  }
};

// A router played by the test: a listening port, and one link per tool
// that connects, each given the plugin id 5, 6, ...
class FakeRouter {
 public:
  FakeRouter() { fd_ = STPTransport::getListenSocket(&port_); }
  ~FakeRouter() {
    for (auto& [link, t] : links_) {
      link->delRef();
      t->closeConnection();
      t->delRef();
    }
    close(fd_);
  }
  int port() const { return port_; }
  ToolLink* link(size_t i) { return i < links_.size() ? links_[i].first : nullptr; }

  // Accepts and serves until `done` (or 10 s); whether `done`.
  bool serveUntil(const std::function<bool()>& done) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!done() && std::chrono::steady_clock::now() < end) {
      pollfd p = {fd_, POLLIN, 0};
      if (poll(&p, 1, 10) == 1) adopt(accept(fd_, nullptr, nullptr));
      std::vector<STPTransport*> all;
      for (auto& l : links_) all.push_back(l.second);
      if (!all.empty()) STPTransport::serviceFirst(10, all);
    }
    return done();
  }

 private:
  void adopt(int fd) {
    auto* t = new STPTransport;
    t->bindFD(fd);
    auto* link = new ToolLink;
    link->setTransport(t, 0, 0);
    link->sendNegotiate(true, nullptr);
    links_.emplace_back(link, t);
    const uint32_t id = static_cast<uint32_t>(4 + links_.size());
    serveUntil([link] { return link->isNegotiated(); });
    link->send_PluginId(id, false);
  }

  int fd_ = -1, port_ = 0;
  std::vector<std::pair<ToolLink*, STPTransport*>> links_;
};

TEST(ProxyLink, LaunchedToolConnectsBackAndStartsPluginsAsAsked) {
  ScratchDir dir;
  FakeRouter router;
  const std::string port = std::to_string(router.port());
  const pid_t tool = test_support::startProgram(
      SR_TEST_TOOL, {"serve", "-sr_private", "-connect_servicerouter", port}, {},
      dir / "out", dir / "err");
  ASSERT_TRUE(router.serveUntil([&] {
    return test_support::readFile(dir / "out").find("ready 5") != std::string::npos;
  }));
  EXPECT_NE(test_support::readFile(dir / "err").find(
                "warning: Incompatible options specified, defaulting to connecting to "
                "launching ServiceRouter.\n"),
            std::string::npos);
  ToolLink* first = router.link(0);
  EXPECT_EQ(first->services, std::vector<std::string>{"SRTest"});
  EXPECT_EQ(first->workingDir, "");  // launched without a start cookie: not sent

  first->send_StartPlugin({"sr_test_tool", "serve", "-connect_servicerouter", port,
                           "-sr_client_start_cookie", "9"},
                          8, dir.path().c_str(), false);
  first->send_StartPlugin({"sr_test_tool", "serve", "-connect_servicerouter", port,
                           "-sr_client_start_cookie", "9", "-sr_new"},
                          10, dir.path().c_str(), false);
  ASSERT_TRUE(router.serveUntil([&] { return router.link(1) && !router.link(1)->startEvents.empty(); }));
  EXPECT_EQ(first->startEvents, std::vector<std::string>{
      "8 failed Invalid arguments specified when attempting to launch plugin."});
  EXPECT_EQ(router.link(1)->startEvents, std::vector<std::string>{"9 ok "});
  EXPECT_EQ(router.link(1)->workingDir, dir.path().string());
  router.link(1)->getTransport()->closeConnection();
  first->getTransport()->closeConnection();
  EXPECT_EQ(test_support::waitProgram(tool), 0);  // its shutdown waits for the tool it started
}

}  // namespace
