// The façade without a service: which system a file belongs to, in every
// order the rules give, and the six-deep error rule.  The files live
// under /tmp, outside any git work tree (the build directory is inside
// one).
#include "vc/vc.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "config/config_vars.h"
#include "vc/vc_detect.h"

namespace fs = std::filesystem;

namespace {

class Detection : public ::testing::Test {
 protected:
  void SetUp() override {
    char name[] = "/tmp/vc-detect-XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    dir_ = name;
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string touch(const std::string& name, const std::string& text = "") {
    fs::create_directories((dir_ / name).parent_path());
    std::ofstream(dir_ / name) << text;
    return dir_ / name;
  }
  int type(const std::string& name) { return vc_DetectType((dir_ / name).c_str(), false); }
  fs::path dir_;
};

TEST_F(Detection, StrictRulesInTheirOrderThenTheDirectoryThenOurOwn) {
  // A CVS entry wins over an RCS file and a log of our own.
  touch("a/CVS/Entries", "/other.c/1.1///\n/f.c/1.3/Mon Jan 1//\nD\n");
  touch("a/RCS/f.c,v"), touch("a/kvc.log/f.c"), touch("a/RCS/g.c,v"), touch("a/kvc.log/h.c");
  EXPECT_EQ(type("a/f.c"), VC_CVS);
  EXPECT_EQ(type("a/h.c"), VC_KVC);  // our log before the RCS directory
  EXPECT_EQ(type("a/g.c"), VC_RCS);  // strict RCS after a CVS "Entries" without it
  EXPECT_EQ(vc_DetectStrict((dir_ / "a/x.c").c_str(), false), -1);
  EXPECT_EQ(type("a/x.c"), VC_CVS);  // the directory: a readable "Entries" first
  // A symbolic link's log lies beside its target.
  touch("b/kvc.log/t.c"), touch("b/t.c"), fs::create_directories(dir_ / "c");
  fs::create_symlink(dir_ / "b/t.c", dir_ / "c/link.c");
  EXPECT_EQ(type("c/link.c"), VC_KVC);
  // Directories: our log directory before an RCS directory; RCS alone.
  touch("d/kvc.log/other"), touch("d/RCS/other,v"), touch("e/RCS/other,v");
  EXPECT_EQ(type("d/x.c"), VC_KVC);
  EXPECT_EQ(type("e/x.c"), VC_RCS);
  EXPECT_EQ(type("nowhere/x.c"), VC_KVC);  // none at all: our own system
  // A work tree above: git, once the other systems' own marks are absent.
  fs::create_directories(dir_ / "w/.git"), touch("w/s/RCS/r.c,v"), touch("w/s/kvc.log/k.c");
  touch("w/s/CVS/Entries", "/c.c/1.1///\n");
  EXPECT_EQ(type("w/s/f.c"), VC_GIT);
  EXPECT_EQ(type("w/s/c.c"), VC_CVS);
  EXPECT_EQ(type("w/s/k.c"), VC_KVC);
  EXPECT_EQ(type("w/s/r.c"), VC_RCS);
  setenv("GIT_CEILING_DIRECTORIES", (dir_ / "w").c_str(), 1);  // git would not look there
  EXPECT_EQ(type("w/s/f.c"), VC_CVS);  // the directory's "Entries" then decides
  unsetenv("GIT_CEILING_DIRECTORIES");
  EXPECT_EQ(vc_TypeOfCheckouts((dir_ / "a").string().c_str()), VC_CVS);
  const std::string mixed = (dir_ / "a").string() + ":" + (dir_ / "e").string();
  EXPECT_EQ(vc_TypeOfCheckouts(mixed.c_str()), -1);
}

std::vector<std::string> shown;
int nestMore = 0;  // errors still to arrive while an alert is open

void nestingAlert(const char* text) {
  shown.push_back(text);
  if (nestMore-- > 0) ReportVCError("co: error");
}

TEST(ReportVCError, SixNestedErrorsDisableOnceAndNeverAgain) {
  cfg_vc_type = VC_AUTOMATIC, cfg_vc_disabled = false;
  vc_SetAlert(nestingAlert);
  vc_Init();
  ASSERT_TRUE(Vorne_VC_Module::VCEnabled());
  ReportVCError("");
  EXPECT_TRUE(shown.empty());
  nestMore = 5;
  ReportVCError("co: error");
  ASSERT_EQ(shown.size(), 6u);
  EXPECT_EQ(shown[4], "co: error");
  EXPECT_EQ(shown[5].rfind("Version control has been disabled because errors are occurring", 0),
            0u);
  EXPECT_FALSE(Vorne_VC_Module::VCEnabled());
  EXPECT_FALSE(vc_UnderVC("/etc/passwd"));
  EXPECT_EQ(vc_GetNextVersion("f.c", "1.2"), nullptr);
  EXPECT_EQ(shown.back(), "Version control is disabled; Can't get next version");

  shown.clear();
  vc_Init();  // enabled again: the same storm is only shown
  ASSERT_TRUE(Vorne_VC_Module::VCEnabled());
  nestMore = 5;
  ReportVCError("co: error");
  EXPECT_EQ(shown, std::vector<std::string>(6, "co: error"));
  EXPECT_TRUE(Vorne_VC_Module::VCEnabled());
  vc_Cleanup();
  vc_SetAlert(nullptr);
}

}  // namespace
