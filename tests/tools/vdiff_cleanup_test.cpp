// Nothing of vdiff's stays in the temporary directory when it is
// interrupted or terminated while its cache files exist (after normal runs
// and errors the other vdiff tests check that).  The interruption is made
// deterministic by feeding the first file through a pipe that is kept open:
// vdiff has made its cache file and waits for more input when the signal
// comes.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>

#include "vdiff_test_util.h"

namespace {

using CleanupTest = vdiff_test::VdiffRun;

TEST_F(CleanupTest, SignalsWhileLoadingRemoveTheCacheFiles) {
  const std::string fifo = s / "pipe";
  mkfifo(fifo.c_str(), 0600);
  const std::string other = s.write("other", "some text\n");
  for (int sig : {SIGTERM, SIGINT, SIGHUP}) {
    // Held open for reading and writing, so vdiff's open does not wait for
    // a writer and its read waits for more text.
    const int holder = open(fifo.c_str(), O_RDWR);
    ASSERT_GE(holder, 0);
    EXPECT_EQ(write(holder, "some text\nand more\n", 19), 19);
    const pid_t pid = test_support::startProgram(vdiff_test::kVdiff, {fifo, other},
                                                 {"TMPDIR=" + tmp}, s / "out", s / "err");
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (tmpIsEmpty() && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_FALSE(tmpIsEmpty()) << "no cache file appeared";
    kill(pid, sig);
    EXPECT_EQ(test_support::waitProgram(pid), 2) << sig;
    close(holder);
    EXPECT_TRUE(tmpIsEmpty()) << sig;
    if (sig == SIGINT) {
      EXPECT_NE(test_support::readFile(s / "err").find("Halted"), std::string::npos);
    }
  }
}

}  // namespace
