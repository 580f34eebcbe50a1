// The launcher: what it refuses, a program that cannot start or dies before
// it connects (reported and reaped), one that connects with the host and
// port before its own arguments, and killPID's wait.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <memory>
#include <string>
#include <vector>

#include "base/gen.h"
#include "libs/stp_transport/child_process.h"
#include "libs/stp_transport/stp_ascii_imsg.h"
#include "libs/stp_transport/stp_msg.h"
#include "libs/stp_transport/stp_retry.h"
#include "libs/stp_transport/transport.h"

extern char** environ;

namespace {

constexpr long kPatienceMs = 5000;

// No child is left unreaped.
bool noChildren() { return waitpid(-1, nullptr, WNOHANG) < 0 && errno == ECHILD; }

struct Launch {
  STPTransport* t = new STPTransport;
  STPChildProcess child;
  TStat status;
  ~Launch() { t->delRef(); }
  bool run(std::vector<const char*> argv) {
    child.setTransport(t);
    child.setCommand(argv.data(), static_cast<int>(argv.size()));
    TimeoutSTPRetryHandler handler(t, kPatienceMs);
    return child.launch(&handler, &status);
  }
};

TEST(Launcher, RefusesALaunchItCannotMake) {
  Launch noTransport, noCommand, running;
  noTransport.child.setCommand("true");
  EXPECT_FALSE(noTransport.child.launch(nullptr, &noTransport.status));
  EXPECT_EQ(noTransport.status.getMessage(),
            "[launch]: transport required to launch STPChildProcess.");
  noCommand.child.setTransport(noCommand.t);
  EXPECT_FALSE(noCommand.child.launch(nullptr, &noCommand.status));
  EXPECT_EQ(noCommand.status.getMessage(), "[launch]: command required to launch STPChildProcess.");
  EXPECT_FALSE(noCommand.child.tryLaunch(&noCommand.status));
  EXPECT_EQ(noCommand.status.getMessage(), "[launch]: No launch is in progress.");
  ASSERT_TRUE(running.run({CONNECT_BACK, "report"}));
  EXPECT_FALSE(running.child.launch(nullptr, &running.status));
  EXPECT_EQ(running.status.getMessage(), "[launch]: Child is already launched.");
}

TEST(Launcher, ReportsAProgramThatCannotStartOrDiesBeforeConnecting) {
  struct Case {
    std::vector<const char*> argv;
    const char* message;
  };
  const Case cases[] = {
      {{"/nonexistent/program"}, "[launch]: Program could not start (not found?)."},
      {{CONNECT_BACK, "exit"}, "[launch]: Program died before connecting."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    Launch l;
    EXPECT_FALSE(l.run(c.argv));
    EXPECT_EQ(l.status.getCode(), TSTAT_CHILD);
    EXPECT_EQ(l.status.getMessage(), c.message);
    EXPECT_EQ(l.child.getPID(), 0);
    EXPECT_TRUE(noChildren());
  }
}

struct ArgumentsReader : ResponseListener {
  std::vector<std::string> args;
  bool handleResponse(STPIMsg* m, bool) override {
    STPAsciiIMsg in(*m);
    while (char* s = in.getString()) {
      args.push_back(s);
      gen_free(s);
    }
    return true;
  }
};

TEST(Launcher, AConnectedProgramHasTheHostAndPortBeforeItsArguments) {
  Launch l;
  ArgumentsReader reader;
  l.t->registerMessageListener(2, 1, &reader, STP_KIND_ASCII);
  ASSERT_TRUE(l.run({CONNECT_BACK, "report", "two words"}));
  EXPECT_TRUE(l.t->isConnected());
  TimeoutSTPRetryHandler handler(l.t, kPatienceMs);
  handler.beginOp();
  while (reader.args.empty() && handler.retryOp()) handler.idle();
  std::string local = l.t->getLocalAddress();  // 127.0.0.1:<the port listened on>
  std::string port = local.substr(local.find(':') + 1);
  EXPECT_EQ(reader.args,
            (std::vector<std::string>{CONNECT_BACK, "localhost", port, "report", "two words"}));
  pid_t pid = l.child.getPID();
  l.child.killChild();
  EXPECT_EQ(kill(pid, 0), -1);  // gone and reaped
}

TEST(Launcher, KillPIDWaitsForTheProcessAndKillsItWhenTheWaitEnds) {
  struct Case {
    const char* program;
    bool endsByItself;
  };
  for (const Case& c : {Case{"true", true}, Case{"sleep", false}}) {
    SCOPED_TRACE(c.program);
    const char* argv[] = {c.program, "30", nullptr};
    pid_t pid = 0;
    ASSERT_EQ(posix_spawnp(&pid, c.program, nullptr, nullptr, const_cast<char**>(argv), environ),
              0);
    TimeoutSTPRetryHandler handler(nullptr, 300);
    EXPECT_EQ(killPID(pid, &handler), c.endsByItself);
    EXPECT_TRUE(noChildren());
  }
}

}  // namespace
