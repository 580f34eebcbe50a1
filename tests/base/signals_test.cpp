// Signal traps: each trapped signal ends the program with status 2 and its
// own note; a second broken pipe closes the standard streams; a signal
// arriving while the program is already exiting leaves at once.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>

#include <cstdlib>

#include "base/gen.h"

namespace {

using ::testing::ExitedWithCode;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

void start() { gen_init("/bin/trapped", 0, 0); }

TEST(SignalTrapTest, InterruptSaysHalted) {
  EXPECT_EXIT((start(), raise(SIGINT)), ExitedWithCode(2),
              "^trapped: fatal: Halted\n$");
}

TEST(SignalTrapTest, HangupAndQuitNameTheSignal) {
  EXPECT_EXIT((start(), raise(SIGHUP)), ExitedWithCode(2),
              "^trapped: fatal: Interrupt \\(1\\)\n$");
  EXPECT_EXIT((start(), raise(SIGQUIT)), ExitedWithCode(2),
              "^trapped: fatal: Interrupt \\(3\\)\n$");
}

TEST(SignalTrapTest, TerminateIsSilent) {
  EXPECT_EXIT((start(), raise(SIGTERM)), ExitedWithCode(2), IsEmpty());
}

TEST(SignalTrapTest, TheSignalIsRecorded) {
  EXPECT_EXIT(
      {
        start();
        gen_exit = [](int) {};
        raise(SIGTERM);
        std::_Exit(gen_sigtrap_value);
      },
      ExitedWithCode(SIGTERM), IsEmpty());
}

TEST(SignalTrapTest, BrokenPipeIsReported) {
  EXPECT_EXIT((start(), raise(SIGPIPE)), ExitedWithCode(2),
              "^trapped: fatal: Halted by a SIGPIPE\\.\n$");
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

TEST(SignalTrapTest, ResourceLimitsSayWhichLimit) {
  EXPECT_EXIT((start(), raise(SIGXCPU)), ExitedWithCode(2),
              "^trapped: fatal: Cpu Limit Exceeded\n$");
  EXPECT_EXIT((start(), raise(SIGXFSZ)), ExitedWithCode(2),
              "^trapped: fatal: Resource Limit exceeded\n$");
}

TEST(SignalTrapTest, SignalDuringExitLeavesAtOnce) {
  EXPECT_EXIT(
      {
        start();
        std::atexit([] { raise(SIGINT); });
        gen_exit(0);
      },
      ExitedWithCode(2), Not(HasSubstr("Halted")));
}

TEST(ExitTest, DefaultExitIsNotReentered) {
  EXPECT_EXIT(
      {
        std::atexit([] { gen_default_exit(6); });
        gen_default_exit(0);
      },
      ExitedWithCode(6), IsEmpty());
}

}  // namespace
