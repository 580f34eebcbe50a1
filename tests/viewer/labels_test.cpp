// The comparison list's texts: the directory parts that tell two files apart
// in titles and labels, and what the version and count columns show.
#include "viewer/dirnames.h"

#include <gtest/gtest.h>

#include "base/gen.h"
#include "viewer/file_list_entry.h"

namespace {

TEST(DirectoryPartsTest, PartsFromTheFirstDifferingComponent) {
  const struct {
    const char *a, *b, *left, *right;  // null parts: nothing is shown
  } cases[] = {
      {"/a/x/src/main.c", "/a/y/src/main.c", "x/src", "y/src"},
      {"/w/src1/f", "/w/src2/g", "src1", "src2"},  // from the component that differs
      {"/a/f.c", "/a/b/f.c", "/a", "/a/b"},        // nested: in full
      {"/a/f", "/a/g", nullptr, nullptr},          // the same directory
      {"/a/f", "/a/f", nullptr, nullptr},
      {"/a/./f", "/a/g", nullptr, nullptr},
      {nullptr, "/a/f", nullptr, nullptr},
  };
  for (const auto& c : cases) {
    DirectoryParts p = dv_DirectoryParts(c.a, c.b);
    EXPECT_EQ(p.shown, c.left != nullptr) << c.b;
    if (!c.left) continue;
    EXPECT_EQ(p.left, c.left);
    EXPECT_EQ(p.right, c.right);
  }
  DirectoryParts p = dv_DirectoryParts("/a/x/src/main.c", "/a/y/src/main.c");
  EXPECT_EQ(dv_FileLabel("/a/y/src/main.c", p, true), "main.c (y/src)");
  EXPECT_EQ(dv_FileLabel("/a/f", dv_DirectoryParts("/a/f", "/a/g"), false), "f");
  DirectoryParts relative = dv_DirectoryParts("x/f", "y/f");
  EXPECT_TRUE(relative.shown && relative.left != relative.right);
}

TEST(FileListEntryTest, ColumnTexts) {
  EXPECT_EQ(dv_VersionLabel("/etc/passwd", "1.7"), "1.7");
  EXPECT_EQ(dv_VersionLabel("/etc/passwd", ""), "disk");
  EXPECT_EQ(dv_CountLabel(0, true), "0");
  EXPECT_EQ(dv_CountLabel(12, false), "?");
  char* local = get_local_version("/etc/passwd");
  EXPECT_STREQ(local, "local");  // no version control: no previous version
  gen_free(local);
}

}  // namespace
