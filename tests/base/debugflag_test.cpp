// Debug switch table: lookup by name and number, switch files in their
// order, the constraint rule, and sharing changes with other tools.
#include "base/debugflag.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/gen.h"

namespace fs = std::filesystem;

namespace {

class DebugFlagTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gen_changeprogname("diffview");
    InitDebugFlag();
    XSwitch_AttachPublisher(nullptr);
    root = fs::temp_directory_path() /
           ("xsw-" + std::to_string(getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(root);
  }
  void TearDown() override {
    XSwitch_AttachPublisher(nullptr);
    fs::remove_all(root);
  }

  std::string writeSwitchFile(const std::string& dir, const std::string& text) {
    fs::create_directories(root / dir);
    std::ofstream(root / dir / "diffview.xsw") << text;
    return (root / dir).string();
  }

  fs::path root;
};

TEST_F(DebugFlagTest, BuiltinNamesAndDefaults) {
  EXPECT_EQ(debugFlag[DBG_DiffViewer], 1);
  EXPECT_EQ(debugFlag[DBG_Tamsel], 0);
  EXPECT_EQ(debugFlag[DBG_ServiceRouter], 1);
  EXPECT_STREQ(debugFlag_NameFromIndex(683), "DiffViewer");
  EXPECT_STREQ(debugFlag_NameFromIndex(65), "SynSepAdj");
  EXPECT_EQ(debugFlag_NameFromIndex(0), nullptr);
  EXPECT_EQ(debugFlag_NameFromIndex(1480), nullptr);
  EXPECT_EQ(debugFlag_NameFromIndex(-1), nullptr);
  EXPECT_EQ(debugFlag_NameFromIndex(2), nullptr);  // an unnamed switch
}

TEST_F(DebugFlagTest, LookupByNumber) {
  EXPECT_EQ(GetXSwitchIndex("683"), 683);
  EXPECT_EQ(GetXSwitchIndex("0683"), 683);
  EXPECT_EQ(GetXSwitchIndex("683  \t"), 683);
  EXPECT_EQ(GetXSwitchIndex("0"), 0);
  EXPECT_EQ(GetXSwitchIndex("1479"), 1479);
  EXPECT_EQ(GetXSwitchIndex("1480"), -1);
  EXPECT_EQ(GetXSwitchIndex("99999999999999999999"), -1);
  EXPECT_EQ(GetXSwitchIndex("683x"), -1);  // looked up as a name
  EXPECT_EQ(GetXSwitchIndex(" 683"), -1);
}

TEST_F(DebugFlagTest, LookupByNameIgnoresCase) {
  EXPECT_EQ(GetXSwitchIndex("diffviewer"), 683);
  EXPECT_EQ(GetXSwitchIndex("SERVICEROUTER"), 1117);
  EXPECT_EQ(GetXSwitchIndex("DiffViewerX"), -1);
  EXPECT_EQ(GetXSwitchIndex(""), -1);
  EXPECT_EQ(GetXSwitchIndex(nullptr), -1);
}

TEST_F(DebugFlagTest, SetByNameOrNumber) {
  EXPECT_EQ(setXSwitch("tamsel", 1), 1);
  EXPECT_EQ(debugFlag[DBG_Tamsel], 1);
  EXPECT_EQ(setXSwitch("NoSuchSwitch", 1), 0);
  EXPECT_EQ(setXSwitch(DBG_DiffViewer, 0), 1);
  EXPECT_EQ(debugFlag[DBG_DiffViewer], 0);
  EXPECT_EQ(setXSwitch(2, 1), 0);  // unnamed: not settable by number here
  EXPECT_EQ(debugFlag[2], 0);
  EXPECT_EQ(setXSwitch("7", 1), 1);  // numbers are accepted as text
  EXPECT_EQ(debugFlag[7], 1);
}

TEST_F(DebugFlagTest, ConstraintRuleNeedsRouter) {
  setXSwitch("Tamsel", 1);
  ConstrainXSwitches();
  EXPECT_EQ(debugFlag[DBG_DiffViewer], 1);
  EXPECT_EQ(debugFlag[DBG_Tamsel], 1);
  debugFlag[DBG_ServiceRouter] = 0;
  ConstrainXSwitches();
  EXPECT_EQ(debugFlag[DBG_DiffViewer], 0);
  EXPECT_EQ(debugFlag[DBG_Tamsel], 0);
  EXPECT_EQ(debugFlag[DBG_UseHelpService], 0);
  EXPECT_EQ(debugFlag[DBG_ConfigService], 1);  // not one of the three
}

TEST_F(DebugFlagTest, SwitchFileValues) {
  std::string dir = writeSwitchFile("prog",
      "# comment line\n"
      "\n"
      "   DiffViewer\n"           // no value: unchanged
      "Tamsel 7\n"                // non-zero: on
      "\tUseFDRegistry   0  \n"   // zero: off
      "0065 0\n");                // by number
  const char* dirs[] = {dir.c_str()};
  ReadXSWFilesFrom(dirs, 1);
  EXPECT_EQ(debugFlag[DBG_DiffViewer], 1);
  EXPECT_EQ(debugFlag[DBG_Tamsel], 1);
  EXPECT_EQ(debugFlag[DBG_UseFDRegistry], 0);
  EXPECT_EQ(debugFlag[DBG_SynSepAdj], 0);
  EXPECT_EQ(XSwitch_PendingCount(), 0);  // file values are never shared
}

TEST_F(DebugFlagTest, LaterFilesOverrideEarlierOnes) {
  std::string prog = writeSwitchFile("prog", "DiffViewer 0\nTamsel 1\n");
  std::string user = writeSwitchFile("user", "DiffViewer 1\n");
  std::string missing = (root / "nowhere").string();
  const char* dirs[] = {prog.c_str(), missing.c_str(), nullptr, user.c_str()};
  ReadXSWFilesFrom(dirs, 4);
  EXPECT_EQ(debugFlag[DBG_DiffViewer], 1);
  EXPECT_EQ(debugFlag[DBG_Tamsel], 1);
}

TEST_F(DebugFlagTest, RouterOffInFileWinsOverLaterSettings) {
  std::string prog = writeSwitchFile("prog", "ServiceRouter 0\n");
  std::string user = writeSwitchFile("user", "DiffViewer 1\n");
  const char* dirs[] = {prog.c_str(), user.c_str()};
  ReadXSWFilesFrom(dirs, 2);
  setXSwitch("DiffViewer", 1);  // as from the command line
  ConstrainXSwitches();
  EXPECT_EQ(debugFlag[DBG_DiffViewer], 0);
}

TEST_F(DebugFlagTest, UnknownSwitchInFileWarnsAndGoesOn) {
  std::string dir = writeSwitchFile("prog", "Bogus 1\nTamsel 1\n\x01\xff junk\n");
  const char* dirs[] = {dir.c_str()};
  ::testing::internal::CaptureStderr();
  ReadXSWFilesFrom(dirs, 1);
  std::string err = ::testing::internal::GetCapturedStderr();
  std::string path = dir + "/diffview.xsw";
  EXPECT_NE(err.find("diffview: warning: Ignoring unknown option \"Bogus\" in \"" +
                     path + "\"\n"),
            std::string::npos)
      << err;
  EXPECT_NE(err.find("Ignoring unknown option \"\x01\xff\""), std::string::npos);
  EXPECT_EQ(debugFlag[DBG_Tamsel], 1);
}

TEST_F(DebugFlagTest, VeryLongLineIsReadWhole) {
  std::string name(100000, 'A');
  std::string dir = writeSwitchFile("prog", name + " 1\nTamsel 1\n");
  const char* dirs[] = {dir.c_str()};
  ::testing::internal::CaptureStderr();
  ReadXSWFilesFrom(dirs, 1);
  std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find(name), std::string::npos);
  EXPECT_EQ(debugFlag[DBG_Tamsel], 1);
}

std::vector<std::pair<std::string, int>> published;
void recordPublish(const char* name, int value) { published.emplace_back(name, value); }

TEST_F(DebugFlagTest, PendingChangesReplayWhenPublisherAttaches) {
  published.clear();
  setXSwitch("tamsel", 1);
  setXSwitch("683", 0);
  EXPECT_EQ(XSwitch_PendingCount(), 2);
  debugFlag[DBG_Tamsel] = 0;  // changed locally meanwhile: the replay wins
  XSwitch_AttachPublisher(recordPublish);
  EXPECT_EQ(XSwitch_PendingCount(), 0);
  ASSERT_EQ(published.size(), 2u);
  EXPECT_EQ(published[0], std::make_pair(std::string("tamsel"), 1));
  EXPECT_EQ(published[1], std::make_pair(std::string("683"), 0));
  EXPECT_EQ(debugFlag[DBG_Tamsel], 1);
  setXSwitch("UseHelpService", 0);  // connected: published at once
  EXPECT_EQ(published.size(), 3u);
  EXPECT_EQ(XSwitch_PendingCount(), 0);
}

TEST_F(DebugFlagTest, RemoteChangesSkipPrivateSwitches) {
  EXPECT_EQ(XSwitch_ApplyRemoteChange("Tamsel", 1), 1);
  EXPECT_EQ(debugFlag[DBG_Tamsel], 1);
  EXPECT_EQ(XSwitch_ApplyRemoteChange("1460", 1), 0);
  EXPECT_EQ(debugFlag[1460], 0);
  EXPECT_EQ(XSwitch_ApplyRemoteChange("0", 1), 0);
  EXPECT_EQ(debugFlag[0], 0);
  EXPECT_EQ(XSwitch_ApplyRemoteChange("1459", 1), 1);
  EXPECT_EQ(XSwitch_ApplyRemoteChange("nosuch", 1), 0);
  EXPECT_EQ(XSwitch_PendingCount(), 0);  // never published again
}

}  // namespace
