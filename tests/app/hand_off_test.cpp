// A second diffview command hands its request to the viewer that runs, as
// a user sees it on the program's Xvfb: one window served by a viewer the
// router started, reused, added to, joined by a second window, left as it
// was by a refused request, and gone, with the router, once closed.
// "-noclient", or no router to be had, gives a window of the command's own.
#include "x_session.h"  // gtest before Xlib

#include <signal.h>
#include <sys/wait.h>

#include <filesystem>
#include <map>
#include <sstream>

#include "test_support.h"

namespace {

using test_support::ProgramResult;
using test_support::runProgram;
namespace fs = std::filesystem;

const std::string kDiffview = std::string(DIFFVIEW_BIN) + "/diffview";

std::map<std::string, std::string> stateOf(unsigned long window) {
  std::map<std::string, std::string> values;
  std::istringstream in(xtest::property(window, "_DIFFVIEW_STATE"));
  for (std::string line; std::getline(in, line);)
    if (auto eq = line.find('='); eq != std::string::npos)
      values[line.substr(0, eq)] = line.substr(eq + 1);
  return values;
}

bool alive(pid_t pid) { return pid > 0 && kill(pid, 0) == 0; }

class HandOff : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!xtest::display()) GTEST_SKIP() << "no Xvfb";
    fs::create_directories(scratch.path() / "tmp");
    fs::create_directories(scratch.path() / "sub dir");
    for (const char* name : {"a", "b", "c", "d", "e", "f"})
      scratch.write(name + std::string(".txt"), std::string(name) + "\nsame\n");
    scratch.write("sub dir/my c.txt", "c\nother\n");
  }
  void TearDown() override {
    // Whatever a failed test left running: the router, then the viewers.
    for (const fs::directory_entry& e : fs::directory_iterator(scratch.path() / "tmp"))
      if (e.path().filename().string().rfind("svc", 0) == 0) killRouterOf(e.path());
    for (pid_t pid : viewers) kill(pid, SIGKILL);
  }

  std::vector<std::string> env() const {
    return {"HOME=" + scratch.path().string(), "TMPDIR=" + (scratch / "tmp")};
  }
  // The command run in `dir` (the scratch folder by default).
  ProgramResult diffview(std::vector<std::string> args, const std::string& dir = "") {
    args.insert(args.begin(), {"-C", dir.empty() ? scratch.path().string() : dir, kDiffview});
    return runProgram("env", args, env());
  }
  static void killRouterOf(const fs::path& registration) {
    std::string text = test_support::readFile(registration);
    size_t at = text.find("Pid");
    if (at != std::string::npos) kill(std::atoi(text.c_str() + text.find_first_of("0123456789", at)), SIGKILL);
  }
  bool registered() const {
    for (const fs::directory_entry& e : fs::directory_iterator(scratch.path() / "tmp"))
      if (e.path().filename().string().rfind("svc_", 0) == 0) return true;
    return false;
  }
  // The viewer windows whose title holds `part`, waited for.
  std::vector<unsigned long> windowsOf(const std::string& part, size_t count = 1) {
    std::vector<unsigned long> found;
    xtest::poll([&] {
      found.clear();
      for (unsigned long w : xtest::topWindows(part))
        if (stateOf(w).count("pid")) found.push_back(w);
      return found.size() >= count;
    }, 15000);
    for (unsigned long w : found) viewers.push_back(std::atoi(stateOf(w)["pid"].c_str()));
    return found;
  }

  test_support::ScratchDir scratch;
  std::vector<pid_t> viewers;
};

TEST_F(HandOff, CommandsGoToOneRunningViewerUntilItsWindowsClose) {
  ProgramResult r = diffview({"a.txt", "b.txt"});
  ASSERT_EQ(r.status, 0) << r.err;
  std::vector<unsigned long> first = windowsOf("a.txt (Current Version) vs. b.txt");
  ASSERT_EQ(first.size(), 1u);
  const unsigned long window = first[0];
  const pid_t service = viewers[0];
  EXPECT_TRUE(registered());

  // A relative name is taken from the second command's directory, and a
  // name with a blank arrives as one name.
  r = diffview({"my c.txt", "../d.txt"}, scratch / "sub dir");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(windowsOf("my c.txt (Current Version) vs. d.txt"), first);
  const int rows = std::atoi(stateOf(window)["listrows"].c_str());
  EXPECT_EQ(rows, 2);  // both pairs are in the window's list

  r = diffview({"-add", "e.txt", "f.txt"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(xtest::poll([&] { return std::atoi(stateOf(window)["listrows"].c_str()) == rows + 1; }));
  EXPECT_NE(xtest::title(window).find("my c.txt"), std::string::npos);  // still shown

  r = diffview({"nosuch.txt", "b.txt"});
  EXPECT_NE(r.status, 0);
  EXPECT_NE(r.err.find("Cannot open file for reading: " + (scratch / "nosuch.txt")),
            std::string::npos)
      << r.err;
  EXPECT_NE(xtest::title(window).find("my c.txt"), std::string::npos);

  r = diffview({"-new", "a.txt", "f.txt"});
  EXPECT_EQ(r.status, 0) << r.err;
  std::vector<unsigned long> second = windowsOf("a.txt (Current Version) vs. f.txt");
  ASSERT_EQ(second.size(), 1u);
  EXPECT_NE(second[0], window);
  EXPECT_EQ(stateOf(second[0])["pid"], std::to_string(service));  // the same process

  for (unsigned long w : {window, second[0]})
    xtest::xdotool({"windowfocus", "--sync", std::to_string(w), "key", "ctrl+q"});
  // The idle viewer asks to be let go (every 10 s), then the router ends.
  EXPECT_TRUE(xtest::poll([&] { return !alive(service) && !registered(); }, 30000));
}

TEST_F(HandOff, NoClientOrNoRouterServesTheRequestInTheCommandsOwnWindow) {
  for (std::vector<std::string> extra : {std::vector<std::string>{"-noclient"},
                                         std::vector<std::string>{"-sr_dir", "/nonexistent"}}) {
    std::vector<std::string> args{"-C", scratch.path().string(), kDiffview};
    args.insert(args.end(), extra.begin(), extra.end());
    args.insert(args.end(), {"c.txt", "d.txt"});
    pid_t pid = test_support::startProgram("env", args, env(), "/dev/null", scratch / "err");
    std::vector<unsigned long> w = windowsOf("c.txt (Current Version) vs. d.txt");
    ASSERT_EQ(w.size(), 1u) << extra[0];
    EXPECT_EQ(stateOf(w[0])["pid"], std::to_string(pid)) << extra[0];
    EXPECT_FALSE(registered()) << extra[0];
    kill(pid, SIGTERM);
    test_support::waitProgram(pid);
    xtest::poll([] { return xtest::topWindows("c.txt (Current Version)").empty(); });
  }
}

}  // namespace
