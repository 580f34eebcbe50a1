// Files: whole-file operations, file names (joining, canonical form, tilde
// expansion, parts) and temporary names.
#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <fstream>
#include <regex>
#include <string>

#include "base_test_util.h"

namespace fs = std::filesystem;

namespace {

class FilesTest : public ::testing::Test {
 protected:
  void SetUp() override { gen_changeprogname("prog"); }
  std::string write(const std::string& name, const std::string& text) {
    return scratch.write(name, text);
  }
  test_support::ScratchDir scratch;
  const fs::path dir = scratch.path();
};

TEST_F(FilesTest, WholeFileOperations) {
  const std::string path = write("i", std::string("a\0b\n", 4));
  long size = 0;
  char* buf = gen_readfile_into_buffer(path.c_str(), &size);
  ASSERT_NE(buf, nullptr);
  EXPECT_EQ(std::string(buf, 5), std::string("a\0b\n\0", 5));
  EXPECT_EQ(size, 4);
  gen_free(buf);
  EXPECT_EQ(gen_readfile_into_buffer((dir / "none").c_str(), &size), nullptr);
  const std::string from = write("j", "copied text");
  const std::string to = (dir / "k").string();
  EXPECT_EQ(gen_copyfile(from.c_str(), to.c_str()), 0);
  EXPECT_EQ(take(gen_readfile_into_buffer(to.c_str(), nullptr)), "copied text");
  EXPECT_TRUE(gen_isdir(dir.c_str()));
  EXPECT_FALSE(gen_isdir(from.c_str()));
  EXPECT_EQ(gen_removefile(to.c_str()), 0);
  EXPECT_EQ(gen_system("exit 3"), 3);
}

TEST(FileNameTest, JoiningAndCanonicalForm) {
  const std::pair<std::string, const char*> cases[] = {
      {take(gen_sconcat("/a/", "b")), "/a/b"},
      {take(gen_sconcat("/a", "/c")), "/c"},
      {take(gen_sconcat("/a/b", "../c/./d")), "/a/c/d"},
      {take(gen_sconcat("a", "..")), "."},
      {take(gen_canonicalfilename("/a//b/./c/../d/")), "/a/b/d"},
      {take(gen_canonicalfilename("/../x")), "/x"},
      {take(gen_canonicalfilename("../../x/..")), "../.."},
      {take(gen_canonicalfilename("a/b/../../..")), ".."},
      {take(gen_canonicalfilename(nullptr)), "<null>"},
      {take(gen_basename("/a/b/c.txt")), "c.txt"},
      {take(gen_basename("/a/b/")), "b"},
      {take(gen_dirname("/a/b/c.txt")), "/a/b"},
      {take(gen_dirname("c")), "."},
  };
  for (size_t i = 0; i < std::size(cases); i++) EXPECT_EQ(cases[i].first, cases[i].second) << i;
  EXPECT_STREQ(gen_getsuffix("/a.b/c.tar.gz"), "gz");
  EXPECT_EQ(gen_getsuffix("/a.b/c"), nullptr);
  EXPECT_EQ(gen_getsuffix(".profile"), nullptr);
}

TEST(FileNameTest, ExpansionUsesHomeUsersAndTheCurrentDirectory) {
  const char* old = getenv("HOME");
  const std::string saved = old ? old : "";
  setenv("HOME", "/home/tester", 1);
  EXPECT_EQ(take(gen_expand_filename("~")), "/home/tester");
  EXPECT_EQ(take(gen_expand_filename("~/src/../f.c")), "/home/tester/f.c");
  if (old) setenv("HOME", saved.c_str(), 1);
  else unsetenv("HOME");
  const passwd* root = getpwnam("root");
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(take(gen_expand_filename("~root/etc")),
            take(gen_canonicalfilename((std::string(root->pw_dir) + "/etc").c_str())));
  EXPECT_EQ(take(gen_expand_filename("x/./y")), fs::current_path().string() + "/x/y");
}

std::string base32(unsigned long v) {
  const char* digits = "0123456789abcdefghijklmnopqrstuv";
  std::string out;
  for (; v; v >>= 5) out = digits[v & 31] + out;
  return out.empty() ? "0" : out;
}

// Temporary names: "dv_<pid><counter>.<suffix>" in base 32 under TMPDIR.
class TempNameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    unsetenv("BUILDER_TEMPORARY_NAME");
    const char* old = getenv("TMPDIR");
    savedTmpdir = old ? old : "";
    setenv("TMPDIR", dir.c_str(), 1);
    gen_default_temp_dir(dir.c_str());  // recompute with the new TMPDIR
    stem = dir.string() + "/dv_" + base32(static_cast<unsigned long>(getpid()));
  }
  void TearDown() override {
    unsetenv("BUILDER_TEMPORARY_NAME");
    if (savedTmpdir.empty()) unsetenv("TMPDIR");
    else setenv("TMPDIR", savedTmpdir.c_str(), 1);
  }
  test_support::ScratchDir scratch;
  const fs::path dir = scratch.path();
  std::string savedTmpdir, stem;
};

TEST_F(TempNameTest, TmpdirWinsWhenUsable) {
  EXPECT_EQ(std::string(gen_temp_dir(nullptr)), dir.string());
  setenv("TMPDIR", (dir / "missing").c_str(), 1);
  EXPECT_EQ(std::string(gen_default_temp_dir(dir.c_str())), dir.string());
  const std::string fallback = gen_default_temp_dir("/nonexistent/place");
  EXPECT_TRUE(fallback == "/var/tmp/" || fallback == "/tmp") << fallback;
  EXPECT_EQ(gen_default_temp_dir(nullptr), fallback);  // kept from last time
}

TEST_F(TempNameTest, NamesCountUpSkippingFilesThatExist) {
  std::smatch m;
  const std::string first = take(tmp1name(".txt"));
  ASSERT_TRUE(std::regex_match(first, m, std::regex(stem + "([0-9a-v]{1,4})\\.txt"))) << first;
  const unsigned long n = std::stoul(m[1].str(), nullptr, 32);
  EXPECT_EQ(take(tmp1name("txt")), stem + base32(n + 1) + ".txt");
  std::ofstream(stem + base32(n + 2) + ".c") << "taken";
  EXPECT_EQ(take(tmp1name("c")), stem + base32(n + 3) + ".c");
  setenv("BUILDER_TEMPORARY_NAME", "fixed", 1);  // the builder's fixed stem
  EXPECT_EQ(take(tmp1name(".log")), dir.string() + "/fixed.log");
}

}  // namespace
