// Names that cannot be loaded get the loader's message and leave nothing behind;
// a missing file in a writable directory is new and empty unless it must exist.
// Sides of a comparison are temporary copies: the current state of a file, or an
// unavailable version while no version control is connected.
#include "text/file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

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

using text_test::LinesOf;
using Lines = std::vector<std::string>;

class VersionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    source = dir / "prog.c";
    WriteBytes(source, "int main;\n");
  }
  ScratchDir dir;
  std::string source;
};

TEST_F(VersionTest, CurrentVersionIsACopyOfTheFile) {
  file* f = FileFVName(source.c_str(), nullptr, nullptr);
  ASSERT_NE(f, nullptr);
  EXPECT_STREQ(f->title, "prog.c (Current Version)");
  EXPECT_TRUE(f->flags & FILE_READONLY);
  EXPECT_TRUE(gen_strsuffix(f->name, ".c")) << "the copy keeps the suffix for colouring";
  EXPECT_EQ(LinesOf(f), (Lines{"int main;"}));
  const std::string copy = f->name;
  FileRemoveTemporary(f);
  EXPECT_NE(access(copy.c_str(), F_OK), 0);
  FileFree(f);
  file* original = FileFName(source.c_str(), 0);  // registered by the copy
  FileFree(original);
  EXPECT_EQ(dir.Others({"prog.c"}), std::vector<std::string>{});
}

TEST_F(VersionTest, VersionWithoutVersionControlIsUnavailable) {
  file* f = FileFVName(source.c_str(), "1.4", nullptr);
  ASSERT_NE(f, nullptr);
  EXPECT_STREQ(f->title, "prog.c (Unavailable 1.4)");
  EXPECT_EQ(f->versionLabel, nullptr);
  EXPECT_EQ(f->lineCount, 0);
  FileRemoveTemporary(f);
  FileFree(f);
  EXPECT_EQ(dir.Others({"prog.c"}), std::vector<std::string>{});
}

TEST_F(VersionTest, MissingDirectoryGivesNull) {
  ::testing::internal::CaptureStderr();
  file* f = FileFVName((dir / "nowhere/x.c").c_str(), nullptr, nullptr);
  ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(f, nullptr);
  EXPECT_EQ(FileFVName(nullptr, nullptr, nullptr), nullptr);
  EXPECT_EQ(dir.Others({"prog.c"}), std::vector<std::string>{});
}

// Cache files and temporary copies still alive when the process ends are
// removed by then.
TEST_F(VersionTest, NothingIsLeftWhenTheProcessExits) {
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    file* copy = FileFVName(source.c_str(), nullptr, nullptr);
    file* plain = FileF_File(source.c_str(), 0, 0);
    _exit(copy && plain ? (exit(0), 0) : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(dir.Others({"prog.c"}), std::vector<std::string>{});
}

}  // namespace
