// Versions in the real program: diffview fetches the versions a command
// line names through the router and the stand-in RCS tool, and titles
// each side by its version, or as unavailable after the tool's message.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>

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
    fs::create_directories(home / ".qen");
    fs::create_directories(home / "config");
    std::ofstream(home / ".qen/svc_router.services")
        << "Services {\n  \"VersionControl.*\" { program = \"" VC_FAKE_SERVICE "\" }\n}\n";
    setenv("HOME", home.c_str(), 1);
    fs::create_directories(home / "r/RCS");
    std::ofstream(home / "r/RCS/f.txt,v") << "";
    std::ofstream(home / "r/f.txt") << "on disk\n";
  }
  void TearDown() override { fs::remove_all(home); }
  fs::path home;
};

TEST_F(VersionsInTheViewer, CommandLineVersionsAreFetchedAndTitled) {
  const std::string f = home / "r/f.txt";
  ViewerSession cvsStyle;
  ASSERT_TRUE(cvsStyle.start({"-r", "1.2", f}, home / "config"));
  EXPECT_NE(cvsStyle.waitForWindow("f.txt (Version 1.2) vs. f.txt (Current Version)"), 0u)
      << cvsStyle.errors();
  ViewerSession kvcStyle;
  ASSERT_TRUE(kvcStyle.start({f, "-v", "1.1", f, "-v", "bad"}, home / "config"));
  // The tool's message comes in an alert while the window is made.
  ASSERT_NE(focusWindow("Alert"), 0u) << kvcStyle.errors();
  keys({"Return"});
  EXPECT_NE(kvcStyle.waitForWindow("f.txt (Version 1.1) vs. f.txt (Unavailable bad)"), 0u)
      << kvcStyle.errors();
}

}  // namespace
