// The comparison list's rows: what an entry keeps of a request and the
// texts its version and count columns show.
#include "viewer/file_list_entry.h"

#include <gtest/gtest.h>

#include "base/gen.h"

namespace {

TEST(FileListEntryTest, KeepsThePairAndTreatsEmptyVersionsAsAbsent) {
  auto* e = new FileListEntry("/a/l.c", "", "/b/r.c", "1.3", 42);
  EXPECT_EQ(e->leftName, "/a/l.c");
  EXPECT_EQ(e->rightName, "/b/r.c");
  EXPECT_EQ(e->leftVersionOrNull(), nullptr);
  EXPECT_STREQ(e->rightVersionOrNull(), "1.3");
  EXPECT_FALSE(e->shown);
  EXPECT_EQ(e->savedRow, 42);
  EXPECT_EQ(e->savedCurrent, 0);
  FileListEntry::CleanupUserData(e);
  FileListEntry nulls(nullptr, nullptr, nullptr, nullptr, 0);
  EXPECT_EQ(nulls.leftName, "");
  EXPECT_EQ(nulls.rightVersionOrNull(), nullptr);
}

TEST(FileListEntryTest, ColumnTexts) {
  EXPECT_EQ(dv_VersionLabel("/etc/passwd", "1.7"), "1.7");
  EXPECT_EQ(dv_VersionLabel("/etc/passwd", nullptr), "disk");
  EXPECT_EQ(dv_VersionLabel("/etc/passwd", ""), "disk");
  EXPECT_EQ(dv_CountLabel(12, true), "12");
  EXPECT_EQ(dv_CountLabel(0, true), "0");
  EXPECT_EQ(dv_CountLabel(12, false), "?");
  char* local = get_local_version("/etc/passwd");
  EXPECT_STREQ(local, "local");  // no version control: no previous version
  gen_free(local);
}

}  // namespace
