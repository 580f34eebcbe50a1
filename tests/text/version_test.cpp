// Sides of a comparison as temporary copies: the current state of a file,
// a version or dated state restored through the version-control hook, and
// an unavailable version when the hook is missing or fails.
#include "text/file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "tests/text/text_test_util.h"

namespace {

using text_test::LinesOf;
using text_test::ScratchDir;
using text_test::WriteBytes;
using Lines = std::vector<std::string>;

class VersionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    source = dir / "prog.c";
    WriteBytes(source, "int main;\n");
  }
  void TearDown() override { FileSetVersionFetchHook(nullptr); }
  ScratchDir dir;
  std::string source;
};

TEST_F(VersionTest, CurrentVersionIsACopyOfTheFile) {
  file* f = FileFVName(source.c_str(), nullptr, nullptr);
  ASSERT_NE(f, nullptr);
  EXPECT_STREQ(f->title, "prog.c (Current Version)");
  EXPECT_STREQ(f->sourceName, source.c_str());
  EXPECT_TRUE(f->flags & FILE_TEMPORARY);
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

TEST_F(VersionTest, ModifiedFileIsWrittenFromMemory) {
  file* original = FileFName(source.c_str(), 0);
  ASSERT_NE(original, nullptr);
  original->flags |= FILE_MODIFIED;
  line* l = original->firstLine;
  l->storage.text = gen_copy("edited");
  l->capacity = 7;
  l->length = 6;
  file* f = FileFVName(source.c_str(), "", "");  // empty strings count as absent
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(LinesOf(f), (Lines{"edited"}));
  FileRemoveTemporary(f);
  FileFree(f);
  FileFree(original);
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

TEST_F(VersionTest, RestoredVersionAndDateAreTitled) {
  FileSetVersionFetchHook([](const char* name, const char* version, const char* date,
                             const char* destination) {
    WriteBytes(destination, std::string("old ") + (version ? version : date) + " of " +
                                (strrchr(name, '/') + 1) + "\n");
    return true;
  });
  file* v = FileFVName(source.c_str(), "1.2", nullptr);
  ASSERT_NE(v, nullptr);
  EXPECT_STREQ(v->title, "prog.c (Version 1.2)");
  EXPECT_STREQ(v->versionLabel, "1.2");
  EXPECT_EQ(LinesOf(v), (Lines{"old 1.2 of prog.c"}));
  file* d = FileFVName(source.c_str(), nullptr, "2024-01-01");
  ASSERT_NE(d, nullptr);
  EXPECT_STREQ(d->title, "prog.c (Date 2024-01-01)");
  EXPECT_STREQ(d->versionLabel, "2024-01-01");
  for (file* f : {v, d}) {
    FileRemoveTemporary(f);
    FileFree(f);
  }
  EXPECT_EQ(dir.Others({"prog.c"}), std::vector<std::string>{});
}

TEST_F(VersionTest, FailedRestoreKeepsThePartialCopy) {
  FileSetVersionFetchHook([](const char*, const char*, const char*, const char* destination) {
    WriteBytes(destination, "partial\n");
    return false;
  });
  file* f = FileFVName(source.c_str(), nullptr, "yesterday");
  ASSERT_NE(f, nullptr);
  EXPECT_STREQ(f->title, "prog.c (Unavailable yesterday)");
  EXPECT_EQ(f->versionLabel, nullptr);
  EXPECT_EQ(LinesOf(f), (Lines{"partial"}));
  FileRemoveTemporary(f);
  FileFree(f);
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
