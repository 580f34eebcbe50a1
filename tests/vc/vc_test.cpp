// The version-control façade while no version-control service is connected:
// files count as outside version control and the queries fail with their
// messages instead of inventing versions.
#include "vc/vc.h"

#include <gtest/gtest.h>

#include <string>

#include "base/gen.h"

namespace {

TEST(DisabledVersionControlTest, FilesAreOutsideAndQueriesFailWithTheirMessages) {
  gen_changeprogname("diffview");
  EXPECT_FALSE(Vorne_VC_Module::VCEnabled());
  EXPECT_FALSE(vc_UnderVC("/etc/passwd"));
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(vc_GetPreviousVersion("f.c", nullptr), nullptr);
  EXPECT_EQ(vc_GetNextVersion("f.c", "1.2"), nullptr);
  EXPECT_FALSE(vc_ShowHistory("f.c"));
  std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("Version control is disabled; Can't get previous version"), std::string::npos);
  EXPECT_NE(err.find("Version control is disabled; Can't get next version"), std::string::npos);
  EXPECT_NE(err.find("Version control is disabled; Can't show history"), std::string::npos);
}

}  // namespace
