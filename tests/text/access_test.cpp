// Names that cannot be loaded: every case gets the loader's message and a
// null result, and leaves nothing behind.  A missing file in a writable
// directory becomes a new, empty file unless the caller needs it to exist.
#include "text/file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "tests/text/text_test_util.h"

namespace {

using text_test::ScratchDir;
using text_test::WriteBytes;

class AccessTest : public ::testing::Test {
 protected:
  // Loads `name` and returns what was reported; the load must fail.
  std::string FailedLoad(const std::string& name, int options = 0) {
    ::testing::internal::CaptureStderr();
    file* f = FileF_File(name.c_str(), 0, options);
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(f, nullptr) << name;
    FileFree(f);
    return err;
  }
  ScratchDir dir;
};

TEST_F(AccessTest, NamesThatCannotBeLoadedGetTheirMessage) {
  WriteBytes(dir / "plain", "x\n");
  const std::string inFile = dir / "plain/inner", absent = dir / "absent";
  const std::string dirName = dir.path().string();
  EXPECT_NE(FailedLoad(dirName).find("error: Cannot edit a directory: " + dirName),
            std::string::npos);
  EXPECT_NE(FailedLoad(inFile).find("error: Invalid directory: " + inFile), std::string::npos);
  EXPECT_NE(FailedLoad(absent, FILE_LOAD_MUST_EXIST)
                .find("error: " + absent + ": No such file or directory"),
            std::string::npos);
  EXPECT_NE(FailedLoad("").find("error: "), std::string::npos);
  EXPECT_EQ(FileCheckAccess(nullptr, 0), -1);
  EXPECT_EQ(dir.Others({"plain"}), std::vector<std::string>{});
}

TEST_F(AccessTest, MissingFileInWritableDirectoryIsNewAndEmpty) {
  const std::string name = dir / "fresh.c";
  file* f = FileF_File(name.c_str(), 0, 0);
  ASSERT_NE(f, nullptr);
  EXPECT_TRUE(f->flags & FILE_NEW);
  EXPECT_EQ(f->mode, 0664);
  EXPECT_EQ(f->lineCount, 0);
  FileFree(f);
  EXPECT_TRUE(dir.Others().empty());
}

TEST_F(AccessTest, MissingFileAskedOfVersionControlCanBeCancelled) {
  static std::string asked, title;
  FileSetMissingHook([](const char*, const char* question, const char* dialogTitle) {
    asked = question;
    title = dialogTitle;
    return FILE_CANCEL;
  });
  file* f = FileF_File((dir / "wanted").c_str(), 0, 0);
  FileSetMissingHook(nullptr);
  EXPECT_EQ(f, nullptr);
  EXPECT_EQ(asked, (dir / "wanted").substr(0, 60) +
                       " does not exist, check it out of Version Control?");
  EXPECT_EQ(title, "Check non-existent file out of version control?");
}

TEST_F(AccessTest, MissingFileFetchedFromVersionControlIsReadOnly) {
  static std::string target;
  target = dir / "fetched";
  FileSetMissingHook([](const char*, const char*, const char*) {
    text_test::WriteBytes(target, "from vc\n");
    return FILE_COPY;
  });
  file* f = FileF_File(target.c_str(), 0, 0);
  FileSetMissingHook(nullptr);
  ASSERT_NE(f, nullptr);
  EXPECT_TRUE(f->flags & FILE_READONLY);
  EXPECT_EQ(text_test::LinesOf(f), std::vector<std::string>{"from vc"});
  FileFree(f);
}

// The remaining cases rely on permissions, which do not bind the superuser.
class PermissionTest : public AccessTest {
 protected:
  void SetUp() override {
    if (geteuid() == 0) GTEST_SKIP() << "permissions do not apply to root";
  }
};

TEST_F(PermissionTest, UnreadableFileIsProtected) {
  const std::string name = dir / "secret";
  WriteBytes(name, "x\n");
  chmod(name.c_str(), 0200);
  EXPECT_NE(FailedLoad(name).find("error: Cannot read file (protected): " + name),
            std::string::npos);
}

TEST_F(PermissionTest, UnsearchableDirectoryIsNoAccess) {
  const std::string sub = dir / "closed";
  mkdir(sub.c_str(), 0700);
  WriteBytes(sub + "/f", "x\n");
  chmod(sub.c_str(), 0);
  const std::string err = FailedLoad(sub + "/f");
  chmod(sub.c_str(), 0700);
  EXPECT_NE(err.find("error: No access to directory: " + sub + "/f"), std::string::npos);
}

TEST_F(PermissionTest, MissingFileInReadOnlyDirectory) {
  const std::string sub = dir / "ro";
  mkdir(sub.c_str(), 0500);
  const std::string err = FailedLoad(sub + "/f");
  chmod(sub.c_str(), 0700);
  EXPECT_NE(err.find("error: No such file (and no write access to directory): " + sub + "/f"),
            std::string::npos);
}

TEST_F(PermissionTest, UnwritableFileIsReadOnly) {
  const std::string name = dir / "locked";
  WriteBytes(name, "x\n");
  chmod(name.c_str(), 0400);
  file* f = FileF_File(name.c_str(), 0, 0);
  ASSERT_NE(f, nullptr);
  EXPECT_TRUE(f->flags & FILE_READONLY);
  FileFree(f);
}

}  // namespace
