// Tools offering and using a service through a real svc_router, each in a
// process of its own with a private temporary directory (so that no test
// meets a user's router): a router started on demand where the
// registration names a dead process, relative file names resolved against
// the asking tool's directory, a router killed during a call, and a
// registration others may write ignored in favour of a private router.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "base/gen.h"
#include "services/sr_registration.h"
#include "test_support.h"

namespace {

using Clock = std::chrono::steady_clock;

class RouterTools : public ::testing::Test {
 protected:
  void TearDown() override {
    for (pid_t pid : tools_) kill(pid, SIGKILL);
    for (pid_t pid : tools_) test_support::waitProgram(pid);
    int port = 0, pid = 0;
    if (sr_read_registration(registration(), &port, &pid) == SRRegistrationState::valid &&
        pid != getpid())
      kill(pid, SIGKILL);  // a router our tools started
  }
  std::string registration() const { return dir_ / "svc_t"; }

  // Starts the test tool in `cwd` with the router arguments added; its
  // output goes to <name>.out and <name>.err.
  pid_t start(const std::string& name, std::vector<std::string> args,
              const std::string& cwd = ".") {
    args.insert(args.end(), {"-sr_dir", DIFFVIEW_BIN, "-sr_zone", "t"});
    const auto here = std::filesystem::current_path();
    std::filesystem::current_path(cwd);
    const pid_t pid = test_support::startProgram(
        SR_TEST_TOOL, args, {"TMPDIR=" + dir_.path().string(), "SVC_ROUTER_IDLE_MS=300"},
        dir_ / (name + ".out"), dir_ / (name + ".err"));
    std::filesystem::current_path(here);
    tools_.push_back(pid);
    return pid;
  }
  std::string out(const std::string& name) { return test_support::readFile(dir_ / (name + ".out")); }
  std::string err(const std::string& name) { return test_support::readFile(dir_ / (name + ".err")); }

  // Polls until `done` or `ms` have passed; whether `done`.
  static bool within(long ms, const std::function<bool()>& done) {
    const auto end = Clock::now() + std::chrono::milliseconds(ms);
    while (!done() && Clock::now() < end) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return done();
  }
  bool saysSoon(const std::string& name, const std::string& text) {
    return within(10000, [&] { return out(name).find(text) != std::string::npos; });
  }
  int finish(pid_t pid) {
    tools_.erase(std::find(tools_.begin(), tools_.end(), pid));
    return test_support::waitProgram(pid);
  }

  test_support::ScratchDir dir_;
  std::vector<pid_t> tools_;
};

TEST_F(RouterTools, ServiceReachedThroughARouterStartedOnDemand) {
  const pid_t gone = fork();
  if (gone == 0) _exit(0);
  test_support::waitProgram(gone);
  std::string error;
  ASSERT_TRUE(sr_write_registration(registration(), 1, gone, &error));

  const pid_t server = start("server", {"serve"});
  ASSERT_TRUE(saysSoon("server", "ready ")) << err("server");
  int port = 0, routerPid = 0;
  ASSERT_EQ(sr_read_registration(registration(), &port, &routerPid), SRRegistrationState::valid);
  EXPECT_NE(routerPid, gone);
  const std::string serverId = out("server").substr(6, out("server").find('\n') - 6);

  std::filesystem::create_directories(dir_ / "sub");
  const pid_t client = start("client", {"client", "echo", "hi", "resolve", "../x/./y.txt",
                                        "resolve", "/abs/y.txt"}, dir_ / "sub");
  EXPECT_EQ(finish(client), 0) << err("client");
  EXPECT_NE(out("client").find("echo hi from " + serverId + " after"), std::string::npos);
  EXPECT_NE(out("client").find("resolve " + (dir_ / "x/y.txt") + " after"), std::string::npos);
  EXPECT_NE(out("client").find("resolve /abs/y.txt after"), std::string::npos);
  // The server served its one client, so the router lets it go; then,
  // with no tool left, the router leaves and removes its registration.
  EXPECT_EQ(finish(server), 0) << err("server");
  EXPECT_TRUE(within(5000, [&] { return access(registration().c_str(), F_OK) != 0; }));
  EXPECT_EQ(err("server") + err("client"), "");
}

TEST_F(RouterTools, RouterKilledDuringACallEndsTheWaitWithinASecond) {
  const pid_t server = start("server", {"serve"});
  ASSERT_TRUE(saysSoon("server", "ready ")) << err("server");
  const pid_t client = start("client", {"client", "slow", "3000", "alive", "echo", "x"});
  ASSERT_TRUE(saysSoon("client", "calling")) << err("client");
  int port = 0, routerPid = 0;
  ASSERT_EQ(sr_read_registration(registration(), &port, &routerPid), SRRegistrationState::valid);
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  ASSERT_EQ(kill(routerPid, SIGKILL), 0);
  const auto killed = Clock::now();
  ASSERT_TRUE(saysSoon("client", "slow failed"));
  EXPECT_LT(Clock::now() - killed, std::chrono::seconds(1));
  EXPECT_EQ(finish(client), 0);
  EXPECT_NE(out("client").find("alive 0\necho failed after 0 ms"), std::string::npos)
      << out("client");
  EXPECT_EQ(finish(server), 0);
}

TEST_F(RouterTools, RegistrationOthersMayWriteGivesAPrivateRouter) {
  std::string error;
  ASSERT_TRUE(sr_write_registration(registration(), 1, getpid(), &error));
  chmod(registration().c_str(), 0666);
  const pid_t client = start("client", {"client", "echo", "x"});
  EXPECT_EQ(finish(client), 1);
  EXPECT_NE(out("client").find("ready "), std::string::npos);
  EXPECT_NE(out("client").find("no service"), std::string::npos);
  EXPECT_NE(err("client").find("warning: Not trusting service router file " + registration() +
                               ": other users may write it."),
            std::string::npos);
  EXPECT_EQ(err("client").find("killing process"), std::string::npos);  // its router left in time
  int port = 0, pid = 0;
  chmod(registration().c_str(), 0600);
  EXPECT_EQ(sr_read_registration(registration(), &port, &pid), SRRegistrationState::valid);
  EXPECT_EQ(pid, getpid());  // the private router did not register
}

}  // namespace
