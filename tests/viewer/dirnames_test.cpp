// The directory parts that tell two files apart in titles and labels.
#include "viewer/dirnames.h"

#include <gtest/gtest.h>

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

}  // namespace
