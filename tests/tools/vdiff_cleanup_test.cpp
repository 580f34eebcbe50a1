// Nothing of vdiff's stays in the temporary directory: not after success,
// not after an error, and not when it is interrupted or terminated while
// its cache files exist.  The interruption is made deterministic by
// feeding the first file through a pipe that is kept open: vdiff has made
// its cache file and waits for more input when the signal comes.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "tests/tools/run_vdiff.h"

namespace {

using vdiff_test::Scratch;

// Starts vdiff on a pipe and a file, waits until its cache file exists,
// sends `sig` and returns the exit status.
int InterruptWhileLoading(const Scratch& s, const std::string& tmp, int sig) {
  const std::string fifo = s / "pipe";
  mkfifo(fifo.c_str(), 0600);
  // Held open for reading and writing, so vdiff's open does not wait for a
  // writer and its read waits for more text.
  const int holder = open(fifo.c_str(), O_RDWR);
  EXPECT_GE(holder, 0);
  EXPECT_EQ(write(holder, "some text\nand more\n", 19), 19);
  const std::string other = s.Write("other", "some text\n");
  const pid_t pid = vdiff_test::Start({fifo, other}, tmp);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (vdiff_test::Entries(tmp).empty() && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  EXPECT_FALSE(vdiff_test::Entries(tmp).empty()) << "no cache file appeared";
  kill(pid, sig);
  const int status = vdiff_test::Wait(pid);
  close(holder);
  return status;
}

class CleanupTest : public ::testing::Test {
 protected:
  void SetUp() override { std::filesystem::create_directories(tmp); }
  Scratch s;
  const std::string tmp = s / "tmp";
};

TEST_F(CleanupTest, TerminateRemovesTheCacheFiles) {
  EXPECT_EQ(InterruptWhileLoading(s, tmp, SIGTERM), 2);
  EXPECT_TRUE(vdiff_test::Entries(tmp).empty());
}

TEST_F(CleanupTest, InterruptRemovesTheCacheFiles) {
  EXPECT_EQ(InterruptWhileLoading(s, tmp, SIGINT), 2);
  EXPECT_TRUE(vdiff_test::Entries(tmp).empty());
  EXPECT_NE(vdiff_test::ReadFile(tmp + ".err").find("Halted"), std::string::npos);
}

TEST_F(CleanupTest, HangUpRemovesTheCacheFiles) {
  EXPECT_EQ(InterruptWhileLoading(s, tmp, SIGHUP), 2);
  EXPECT_TRUE(vdiff_test::Entries(tmp).empty());
}

TEST_F(CleanupTest, NormalRunsLeaveNothing) {
  const auto a = s.Write("a", "1\n2\n3\n");
  const auto b = s.Write("b", "1\n3\n4");
  for (const auto& args : std::vector<std::vector<std::string>>{
           {a, b}, {a, a}, {"-u", a, b}, {"-script", a, b}, {"-b", a, b},
           {a, s / "missing"}, {s.path().string(), a}}) {
    vdiff_test::Run(args, tmp);
    EXPECT_TRUE(vdiff_test::Entries(tmp).empty()) << testing::PrintToString(args);
  }
}

}  // namespace
