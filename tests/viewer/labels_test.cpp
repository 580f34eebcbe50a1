// The comparison list's texts: the directory parts that tell two files apart
// in titles and labels, and what the version and count columns show.
#include "viewer/dirnames.h"

#include <gtest/gtest.h>

#include "base/gen.h"
#include "viewer/file_list_entry.h"

namespace {

TEST(DirectoryPartsTest, SiblingTreesShowFromTheFirstDifferingComponent) {
  DirectoryParts p = dv_DirectoryParts("/a/x/src/main.c", "/a/y/src/main.c");
  EXPECT_TRUE(p.shown);
  EXPECT_EQ(p.left, "x/src");
  EXPECT_EQ(p.right, "y/src");
  EXPECT_EQ(dv_FileLabel("/a/x/src/main.c", p, false), "main.c (x/src)");
  EXPECT_EQ(dv_FileLabel("/a/y/src/main.c", p, true), "main.c (y/src)");
}

TEST(DirectoryPartsTest, ADifferenceInsideAComponentStartsAtThatComponent) {
  DirectoryParts p = dv_DirectoryParts("/w/src1/f", "/w/src2/g");
  EXPECT_EQ(p.left, "src1");
  EXPECT_EQ(p.right, "src2");
}

TEST(DirectoryPartsTest, NestedOrWhollyDifferentDirectoriesShowInFull) {
  DirectoryParts nested = dv_DirectoryParts("/a/f.c", "/a/b/f.c");
  EXPECT_EQ(nested.left, "/a");
  EXPECT_EQ(nested.right, "/a/b");
  DirectoryParts relative = dv_DirectoryParts("x/f", "y/f");
  EXPECT_TRUE(relative.shown);
  EXPECT_NE(relative.left, relative.right);
}

TEST(DirectoryPartsTest, SameDirectoryOrMissingNameShowsNothing) {
  EXPECT_FALSE(dv_DirectoryParts("/a/f", "/a/g").shown);
  EXPECT_FALSE(dv_DirectoryParts("/a/f", "/a/f").shown);
  EXPECT_FALSE(dv_DirectoryParts(nullptr, "/a/f").shown);
  EXPECT_FALSE(dv_DirectoryParts("/a/./f", "/a/g").shown);
  EXPECT_EQ(dv_FileLabel("/a/f", dv_DirectoryParts("/a/f", "/a/g"), false), "f");
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
