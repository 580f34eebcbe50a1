// The façade through a real service router and a stand-in tool that
// offers the RCS and CVS services (vc_fake_service): automatic detection
// reconnecting as the files change system, and a tool killed during a
// call.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/gen.h"
#include "config/config_vars.h"
#include "services/servicerouter_proxy.h"
#include "test_support.h"
#include "text/file.h"
#include "vc/vc.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> alerts;
fs::path home;

bool alerted(const std::string& text) {
  return std::find(alerts.begin(), alerts.end(), text) != alerts.end();
}

std::string firstLine(file* f) {
  line* l = f ? FileGetLine(f, 1) : nullptr;
  const char* text = l ? FileLineText(f, l) : nullptr;
  return text ? std::string(text, static_cast<size_t>(l->length)) : "";
}

class ThroughTheRouter : public ::testing::Test {
 protected:
  // One private router per test program, which starts the stand-in tool
  // from the user's service table in a private home.
  static void SetUpTestSuite() {
    gen_init("test_vc", 0, 0);
    char name[] = "/tmp/vc-home-XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    home = name;
    fs::create_directories(home / ".qen");
    std::ofstream(home / ".qen/svc_router.services")
        << "Services {\n  \"VersionControl.*\" { program = \"" VC_FAKE_SERVICE "\" }\n}\n";
    setenv("HOME", home.c_str(), 1);
    setenv("SVC_ROUTER_IDLE_MS", "300", 1);  // the router leaves soon after us
    test_support::ArgVector args({"test_vc", "-sr_dir", DIFFVIEW_BIN, "-sr_private"});
    ASSERT_TRUE(ServiceRouter_Proxy::startup(false, &args.argc, args.argv(), nullptr, true,
                                             nullptr, true, true));
    cfg_vc_type = VC_AUTOMATIC, cfg_vc_disabled = false;
    vc_SetAlert([](const char* text) { alerts.push_back(text); });
    vc_Init();
  }
  static void TearDownTestSuite() {
    vc_Cleanup();
    ServiceRouter_Proxy::shutdown(true);
    fs::remove_all(home);
  }
  void SetUp() override {
    alerts.clear();
    rcs = touch("r/f.txt", "on disk\n");
    touch("r/RCS/f.txt,v", "");
    cvs = touch("c/g.txt", "on disk\n");
    touch("c/CVS/Entries", "/g.txt/1.1///\n");
  }
  std::string touch(const std::string& name, const std::string& text) {
    fs::create_directories((home / name).parent_path());
    std::ofstream(home / name) << text;
    return home / name;
  }
  std::string rcs, cvs;
};

TEST_F(ThroughTheRouter, AutomaticDetectionReconnectsAsFilesChangeSystem) {
  VersionInfo info;
  ASSERT_TRUE(vc_GetVersionInfo(rcs.c_str(), "1.2", &info, false));
  EXPECT_EQ(info.author, "VersionControl.RCS");
  ASSERT_TRUE(vc_GetVersionInfo(cvs.c_str(), "1.1", &info, false));
  EXPECT_EQ(info.author, "VersionControl.CVS");
  EXPECT_EQ(info.version, "1.1");
  ASSERT_TRUE(vc_GetVersionInfo(rcs.c_str(), "1.3", &info, false));
  EXPECT_EQ(info.author, "VersionControl.RCS");
  EXPECT_TRUE(vc_UnderVC(cvs.c_str()));
  EXPECT_FALSE(vc_UnderVC(touch("plain/p.txt", "x\n").c_str()));
  EXPECT_EQ(alerts, std::vector<std::string>{});
}

// A tool killed during a fetch: the alert, an unavailable side, files on
// disk still loading, and the next fetch starting the tool again into a
// read-only copy that goes with its file.
TEST_F(ThroughTheRouter, ToolKilledDuringAFetchAlertsAndTheNextFetchStartsItAgain) {
  const auto start = std::chrono::steady_clock::now();
  file* dead = FileFVName(rcs.c_str(), "die", nullptr);
  ASSERT_NE(dead, nullptr);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  EXPECT_STREQ(dead->title, "f.txt (Unavailable die)");
  EXPECT_TRUE(alerted("Failed to complete version control operation, disabling version control"));
  file* disk = FileFVName(rcs.c_str(), nullptr, nullptr);
  ASSERT_NE(disk, nullptr);
  EXPECT_EQ(firstLine(disk), "on disk");

  file* f = FileFVName(rcs.c_str(), "1.3", nullptr);
  ASSERT_NE(f, nullptr);
  EXPECT_STREQ(f->title, "f.txt (Version 1.3)");
  EXPECT_STREQ(f->versionLabel, "1.3");
  EXPECT_EQ(firstLine(f), "VersionControl.RCS 1.3 of " + rcs);
  struct stat st {};
  ASSERT_EQ(stat(f->name, &st), 0);
  EXPECT_EQ(st.st_mode & 0222, 0u);
  const std::string copy = f->name;
  for (file* each : {dead, disk, f}) FileRemoveTemporary(each), FileFree(each);
  EXPECT_FALSE(fs::exists(copy));
}

}  // namespace
