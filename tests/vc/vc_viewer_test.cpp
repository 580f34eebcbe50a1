// Versions in the real program: diffview fetches the versions a command
// line names from a real RCS file through the router and vc_service, and
// titles each side by its version, or as unavailable after the system's
// message.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>

#include "test_support.h"
#include "viewer_session.h"

namespace fs = std::filesystem;

namespace {

class VersionsInTheViewer : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(xtest::display(), nullptr) << "no Xvfb";
    char name[] = "/tmp/vc-viewer-XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    home = name;
    f = home / "r/f.txt";
    fs::create_directories(home / "config");
    fs::create_directories(home / "r/RCS");
    setenv("HOME", home.c_str(), 1);
    checkIn("one\n", "first");
    ASSERT_EQ(test_support::runProgram("co", {"-q", "-l", f}).status, 0);
    checkIn("one\ntwo\n", "second");
    std::ofstream(f) << "one\ntwo\nthree\n";
  }
  void TearDown() override { fs::remove_all(home); }
  void checkIn(const std::string& text, const std::string& comment) {
    std::ofstream(f) << text;
    auto r = test_support::runProgram("ci", {"-q", "-u", "-t-f", "-m" + comment, f});
    ASSERT_EQ(r.status, 0) << r.err;
  }
  fs::path home;
  std::string f;
};

TEST_F(VersionsInTheViewer, CommandLineVersionsAreFetchedFromRcsAndTitled) {
  ViewerSession cvsStyle;
  ASSERT_TRUE(cvsStyle.start({"-r", "1.1", f}, home / "config"));
  EXPECT_NE(cvsStyle.waitForWindow("f.txt (Version 1.1) vs. f.txt (Current Version)"), 0u)
      << cvsStyle.errors();
  ViewerSession kvcStyle;
  ASSERT_TRUE(kvcStyle.start({f, "-v", "1.2", f, "-v", "9.9"}, home / "config"));
  // The system's message comes in an alert while the window is made.
  ASSERT_NE(focusWindow("Alert"), 0u) << kvcStyle.errors();
  keys({"Return"});
  EXPECT_NE(kvcStyle.waitForWindow("f.txt (Version 1.2) vs. f.txt (Unavailable 9.9)"), 0u)
      << kvcStyle.errors();
}

}  // namespace
