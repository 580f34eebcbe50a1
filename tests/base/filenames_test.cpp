// File names: joining, canonical form, tilde expansion, base and directory
// names, suffixes, relative names and questions about files on disk.
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "base/gen.h"

namespace fs = std::filesystem;

namespace {

std::string take(char* s) {
  if (!s) return "<null>";
  std::string copy = s;
  gen_free(s);
  return copy;
}

std::string cwd() { return fs::current_path().string(); }

TEST(JoinTest, DirectoryAndName) {
  EXPECT_EQ(take(gen_sconcat("/a/", "b")), "/a/b");
  EXPECT_EQ(take(gen_sconcat("/a", "b")), "/a/b");
  EXPECT_EQ(take(gen_sconcat("/a", "/c")), "/c");
  EXPECT_EQ(take(gen_sconcat("/a/b", "../c/./d")), "/a/c/d");
  EXPECT_EQ(take(gen_sconcat("/a", "~x")), "/a/~x");
  EXPECT_EQ(take(gen_sconcat("", "")), ".");
  EXPECT_EQ(take(gen_sconcat("a", "..")), ".");
}

TEST(JoinTest, DconcatKeepsTheDirectoryForEmptySub) {
  EXPECT_EQ(take(gen_dconcat("/x/y/", nullptr)), "/x/y/");
  EXPECT_EQ(take(gen_dconcat("/x", "")), "/x");
  EXPECT_EQ(take(gen_dconcat("/x", "y")), "/x/y");
  EXPECT_EQ(take(gen_ddconcat("/x", "y", "z")), "/x/y/z");
  EXPECT_EQ(take(gen_dsconcat("/x", "y", "f.c")), "/x/y/f.c");
  EXPECT_EQ(take(gen_ddsconcat("/x", "y", "z", "f.c")), "/x/y/z/f.c");
  EXPECT_EQ(take(gen_sconcatf(gen_copy("/p"), "q")), "/p/q");
  EXPECT_EQ(take(gen_dconcatf(gen_copy("/p"), nullptr)), "/p");
}

TEST(CanonicalTest, DotsAndSlashes) {
  EXPECT_EQ(take(gen_canonicalfilename("/a//b/./c/../d/")), "/a/b/d");
  EXPECT_EQ(take(gen_canonicalfilename("/../x")), "/x");
  EXPECT_EQ(take(gen_canonicalfilename("../../x/..")), "../..");
  EXPECT_EQ(take(gen_canonicalfilename("a/b/../../..")), "..");
  EXPECT_EQ(take(gen_canonicalfilename("./")), ".");
  EXPECT_EQ(take(gen_canonicalfilename("///")), "/");
  EXPECT_EQ(take(gen_canonicalfilename(nullptr)), "<null>");
}

TEST(ExpandTest, TildeUsesHome) {
  const char* old = getenv("HOME");
  const std::string saved = old ? old : "";
  setenv("HOME", "/home/tester", 1);
  EXPECT_EQ(take(gen_expand_filename("~")), "/home/tester");
  EXPECT_EQ(take(gen_expand_filename("~/src/../f.c")), "/home/tester/f.c");
  if (old) {
    setenv("HOME", saved.c_str(), 1);
  } else {
    unsetenv("HOME");
  }
}

TEST(ExpandTest, TildeUserUsesThatUsersHome) {
  const passwd* root = getpwnam("root");
  ASSERT_NE(root, nullptr);
  const std::string home = root->pw_dir;
  char* canon = gen_canonicalfilename((home + "/etc").c_str());
  EXPECT_EQ(take(gen_expand_filename("~root/etc")), take(canon));
}

TEST(ExpandTest, RelativeNamesJoinTheCurrentDirectory) {
  EXPECT_EQ(take(gen_expand_filename("x/./y")), cwd() + "/x/y");
  EXPECT_EQ(take(gen_absolutefilename("z")), cwd() + "/z");
  EXPECT_EQ(take(gen_absolutefilename("/q/../r")), "/r");
  EXPECT_EQ(take(gen_getcwd()), cwd());
}

TEST(PartsTest, BaseAndDirectoryNames) {
  EXPECT_EQ(take(gen_basename("/a/b/c.txt")), "c.txt");
  EXPECT_EQ(take(gen_basename("/a/b/")), "b");
  EXPECT_EQ(take(gen_basename("/")), "/");
  EXPECT_EQ(take(gen_basename("plain")), "plain");
  EXPECT_EQ(take(gen_dirname("/a/b/c.txt")), "/a/b");
  EXPECT_EQ(take(gen_dirname("/c")), "/");
  EXPECT_EQ(take(gen_dirname("c")), ".");
  EXPECT_EQ(take(gen_dirname(nullptr)), "<null>");
}

TEST(PartsTest, Suffixes) {
  EXPECT_STREQ(gen_getsuffix("/a.b/c.tar.gz"), "gz");
  EXPECT_EQ(gen_getsuffix("/a.b/c"), nullptr);
  EXPECT_EQ(gen_getsuffix(".profile"), nullptr);
  EXPECT_EQ(take(gen_changesuffix("dir/f.c", "o")), "dir/f.o");
  EXPECT_EQ(take(gen_changesuffix("dir/f", ".o")), "dir/f.o");
  EXPECT_EQ(take(gen_addsuffix("f.c", "orig")), "f.c.orig");
}

TEST(PartsTest, RelativeNames) {
  EXPECT_EQ(take(gen_relative_filename("/a/b/c", "/a")), "b/c");
  EXPECT_EQ(take(gen_relative_filename("/a/x", "/a/b")), "../x");
  EXPECT_EQ(take(gen_relative_filename("/a", "/a")), ".");
}

class DiskTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("names-" + std::to_string(getpid()));
    fs::create_directories(dir);
    file = (dir / "f.txt").string();
    std::ofstream(file) << "12345";
  }
  void TearDown() override { fs::remove_all(dir); }
  fs::path dir;
  std::string file;
};

TEST_F(DiskTest, FileQuestions) {
  EXPECT_EQ(gen_filesize(file.c_str()), 5);
  EXPECT_EQ(gen_filesize((dir / "missing").c_str()), -1);
  EXPECT_EQ(gen_filesize(nullptr), -1);
  EXPECT_TRUE(gen_isdir(dir.c_str()));
  EXPECT_FALSE(gen_isdir(file.c_str()));
  EXPECT_EQ(gen_access(file.c_str(), R_OK), 0);
  EXPECT_EQ(gen_access(nullptr, R_OK), -1);
  const std::string other = (dir / "." / "f.txt").string();
  EXPECT_TRUE(gen_samefile(file.c_str(), other.c_str()));
  EXPECT_FALSE(gen_samefile(file.c_str(), dir.c_str()));
}

TEST_F(DiskTest, Links) {
  const std::string link = (dir / "l").string();
  ASSERT_EQ(symlink("f.txt", link.c_str()), 0);
  EXPECT_TRUE(gen_islink(link.c_str()));
  EXPECT_FALSE(gen_islink(file.c_str()));
  EXPECT_EQ(take(gen_readlink(link.c_str())), "f.txt");
  EXPECT_EQ(take(gen_readlink(file.c_str())), "<null>");
}

}  // namespace
