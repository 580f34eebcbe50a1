// Messages: the "<program>: <severity>: <text>" format with the
// per-severity counters, fatal exits, assertions, reports of the container
// library, and the signal traps.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "base/gen.h"

namespace {

using ::testing::ExitedWithCode;
using ::testing::internal::CaptureStderr;
using ::testing::internal::GetCapturedStderr;

class MessageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gen_changeprogname("prog");
    std::memset(gen_error_count, 0, sizeof gen_error_count);
    gen_any_error = 0;
  }
};

TEST_F(MessageTest, EachSeverityHasItsPrefixAndCounter) {
  CaptureStderr();
  EXPECT_EQ(gen_error("cannot read %s", "x"), GEN_MSG_ERROR);
  gen_warning("careful");
  gen_info("note %d", 7);
  gen_message(GEN_MSG_DISASTER, "boom\n");
  gen_message(42, "odd");  // outside the table: no prefix, not counted
  EXPECT_EQ(GetCapturedStderr(),
            "prog: error: cannot read x\nprog: warning: careful\nprog: info: note 7\n"
            "prog: disaster: boom\nprog: odd\n");
  EXPECT_EQ(gen_error_count[GEN_MSG_ERROR], 1);
  EXPECT_EQ(gen_error_count[GEN_MSG_WARNING], 1);
  EXPECT_EQ(gen_error_count[GEN_MSG_INFO], 1);
  EXPECT_EQ(gen_error_count[GEN_MSG_DISASTER], 1);
  EXPECT_EQ(gen_any_error, 2);  // error and disaster, not warning or info
}

TEST_F(MessageTest, FatalExitsAndAssertions) {
  EXPECT_EXIT(gen_errorexit(4, "gone %s", "away"), ExitedWithCode(4),
              "^prog: fatal: gone away\n$");
  EXPECT_EXIT(gen_errorexit(0, "all done"), ExitedWithCode(0), "^prog: all done\n$");
  EXPECT_EXIT(gen_successexit(7), ExitedWithCode(0), "^$");
  EXPECT_EXIT(__Assert(0, "x > 0", "f.cpp", 12, 0), ExitedWithCode(1),
              "^Assertion \\(x > 0\\) failed in 'f.cpp' on line 12 in prog\n$");
  EXPECT_EXIT(__Assert(0, "y", "g.cpp", 3, 9), ExitedWithCode(1),
              "^Assertion \\(y\\) \\[9\\] failed in 'g.cpp' on line 3 in prog\n$");
}

TEST_F(MessageTest, ContainerReportsUseTheProgramsFormat) {
  gen_init("/usr/bin/prog", 0, 0);
  CaptureStderr();
  EXPECT_EQ(gen_msprintf("%n"), nullptr);
  EXPECT_EQ(GetCapturedStderr(), "prog: error: %n format is not supported\n");
}

void start() { gen_init("/bin/trapped", 0, 0); }

TEST(SignalTrapTest, EachTrappedSignalEndsWithStatusTwoAndItsNote) {
  const struct {
    int signal;
    const char* note;
  } cases[] = {{SIGINT, "^trapped: fatal: Halted\n$"},
               {SIGHUP, "^trapped: fatal: Interrupt \\(1\\)\n$"},
               {SIGQUIT, "^trapped: fatal: Interrupt \\(3\\)\n$"},
               {SIGTERM, "^$"},
               {SIGPIPE, "^trapped: fatal: Halted by a SIGPIPE\\.\n$"},
               {SIGXCPU, "^trapped: fatal: Cpu Limit Exceeded\n$"},
               {SIGXFSZ, "^trapped: fatal: Resource Limit exceeded\n$"}};
  for (const auto& c : cases) {
    EXPECT_EXIT((start(), raise(c.signal)), ExitedWithCode(2), c.note) << c.signal;
  }
  EXPECT_EXIT(
      {
        start();
        gen_exit = [](int) {};
        raise(SIGTERM);
        std::_Exit(gen_sigtrap_value);
      },
      ExitedWithCode(SIGTERM), "^$");
}

// With an exit hook that returns, the first broken pipe is reported and the
// program goes on; the second closes the streams and leaves with status 2.
TEST(SignalTrapTest, SecondBrokenPipeClosesTheStreams) {
  EXPECT_EXIT(
      {
        start();
        gen_exit = [](int) {};
        raise(SIGPIPE);
        raise(SIGPIPE);
        gen_error("still running");
        std::_Exit(0);
      },
      ExitedWithCode(2), "^trapped: fatal: Halted by a SIGPIPE\\.\n$");
}

TEST(SignalTrapTest, SignalDuringExitLeavesAtOnce) {
  EXPECT_EXIT(
      {
        start();
        std::atexit([] { raise(SIGINT); });
        gen_exit(0);
      },
      ExitedWithCode(2), ::testing::Not(::testing::HasSubstr("Halted")));
}

}  // namespace
