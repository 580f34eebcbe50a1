// Debug switches: lookup by name and number, switch files in their order,
// and the constraint rule.
#include "base/debugflag.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "base_test_util.h"

namespace fs = std::filesystem;

namespace {

class DebugFlagTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gen_changeprogname("diffview");
    InitDebugFlag();
  }
  // Reads switch files holding `texts`, in that order; returns stderr.
  std::string readFiles(const std::vector<std::string>& texts) {
    std::vector<std::string> dirs;
    for (const auto& text : texts) {
      dirs.push_back((root / std::to_string(dirs.size())).string());
      fs::create_directories(dirs.back());
      std::ofstream(dirs.back() + "/diffview.xsw") << text;
    }
    const std::string missing = (root / "nowhere").string();
    std::vector<const char*> names = {nullptr, missing.c_str()};  // both skipped
    for (const auto& d : dirs) names.push_back(d.c_str());
    ::testing::internal::CaptureStderr();
    ReadXSWFilesFrom(names.data(), static_cast<int>(names.size()));
    return ::testing::internal::GetCapturedStderr();
  }
  test_support::ScratchDir scratch;
  const fs::path root = scratch.path();
};

TEST_F(DebugFlagTest, LookupByNameOrNumber) {
  const std::pair<const char*, int> cases[] = {
      {"diffviewer", DBG_DiffViewer}, {"SERVICEROUTER", DBG_ServiceRouter}, {"683", 683},
      {"0683", 683}, {"683  \t", 683}, {"0", 0}, {"1479", 1479}, {"1480", -1}, {"683x", -1},
      {"99999999999999999999", -1}, {" 683", -1}, {"DiffViewerX", -1}, {"", -1}};
  for (const auto& [text, index] : cases) EXPECT_EQ(GetXSwitchIndex(text), index) << text;
  EXPECT_EQ(GetXSwitchIndex(nullptr), -1);
  EXPECT_STREQ(debugFlag_NameFromIndex(DBG_DiffViewer), "DiffViewer");
  for (int bad : {0, 1480, -1}) EXPECT_EQ(debugFlag_NameFromIndex(bad), nullptr);
}

TEST_F(DebugFlagTest, SetByNameOrNumberAndTheRouterRule) {
  EXPECT_EQ(setXSwitch("tamsel", 1), 1);
  EXPECT_EQ(debugFlag[DBG_Tamsel], 1);
  EXPECT_EQ(setXSwitch("NoSuchSwitch", 1), 0);
  EXPECT_EQ(setXSwitch(DBG_DiffViewer, 0), 1);
  EXPECT_EQ(debugFlag[DBG_DiffViewer], 0);
  EXPECT_EQ(setXSwitch("7", 1), 1);  // numbers are accepted as text
  EXPECT_EQ(debugFlag[7], 1);
  setXSwitch(DBG_DiffViewer, 1);
  ConstrainXSwitches();
  EXPECT_EQ(debugFlag[DBG_DiffViewer], 1);
  debugFlag[DBG_ServiceRouter] = 0;
  ConstrainXSwitches();  // without the router, its three users go off
  EXPECT_EQ(debugFlag[DBG_DiffViewer], 0);
  EXPECT_EQ(debugFlag[DBG_Tamsel], 0);
  EXPECT_EQ(debugFlag[DBG_UseHelpService], 0);
  EXPECT_EQ(debugFlag[DBG_ConfigService], 1);
}

TEST_F(DebugFlagTest, SwitchFilesInOrderWithWarnings) {
  const std::string err = readFiles(
      {"# comment line\n\n   DiffViewer\nTamsel 7\n\tUseFDRegistry   0  \n0065 0\n"
       "Bogus 1\n\x01\xff junk\n",
       "UseFDRegistry 1\n" + std::string(100000, 'A') + " 1\n"});
  EXPECT_EQ(debugFlag[DBG_DiffViewer], 1);  // no value: unchanged
  EXPECT_EQ(debugFlag[DBG_Tamsel], 1);      // non-zero: on
  EXPECT_EQ(debugFlag[DBG_UseFDRegistry], 1);  // the later file wins
  EXPECT_EQ(debugFlag[65], 0);              // by number
  // The warning's form is shown end to end by the diffview command's tests.
  EXPECT_NE(err.find("Ignoring unknown option \"\x01\xff\""), std::string::npos);
  EXPECT_NE(err.find(std::string(100000, 'A')), std::string::npos);  // read whole
}

}  // namespace
