// Files: whole-file operations, file names (joining, canonical form, tilde
// expansion, parts) and temporary names.
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
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

// Configuration and data files are read only when regular and small: a
// FIFO would block, /dev/zero never ends.
TEST_F(FilesTest, DataFilesMustBeRegularAndSmall) {
  const std::string fifo = (dir / "fifo").string();
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const std::string big = write("big", std::string(5000, 'x'));
  const std::string small = write("small", "a = 1\r\nb\n");
  struct Case {
    std::string path, message;
  } refused[] = {
      {fifo, "prog: error: Not reading test file " + fifo + ": not a regular file\n"},
      {"/dev/zero", "prog: error: Not reading test file /dev/zero: not a regular file\n"},
      {dir.string(), "prog: error: Not reading test file " + dir.string() + ": not a regular file\n"},
      {big, "prog: error: Not reading test file " + big + ": larger than 4096 bytes\n"},
      {(dir / "missing").string(), ""},
  };
  for (const Case& c : refused) {
    testing::internal::CaptureStderr();
    long size = -1;
    EXPECT_EQ(gen_read_data_file(c.path.c_str(), 4096, &size, "test file"), nullptr) << c.path;
    EXPECT_EQ(testing::internal::GetCapturedStderr(), c.message);
    EXPECT_EQ(size, 0);
  }
  std::vector<std::string> lines;
  ASSERT_TRUE(gen_read_data_lines(small.c_str(), 4096, "test file", &lines));
  EXPECT_EQ(lines, (std::vector<std::string>{"a = 1", "b"}));
  EXPECT_EQ(gen_split_lines("x\r\n\ny\rz"), (std::vector<std::string>{"x", "", "y\rz"}));
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

// Links planted at the names a run will use (in a directory others may
// write to) are skipped, never written through.
TEST_F(TempNameTest, CreationNeverFollowsAPlantedLink) {
  std::smatch m;
  const std::string next = take(tmp1name(".cache"));
  ASSERT_TRUE(std::regex_match(next, m, std::regex(stem + "([0-9a-v]{1,4})\\.cache")));
  const unsigned long n = std::stoul(m[1].str(), nullptr, 32);
  const std::string secret = (dir / "secret").string();
  for (unsigned long k = n + 1; k <= n + 5; k++)
    ASSERT_EQ(symlink(secret.c_str(), (stem + base32(k) + ".cache").c_str()), 0);
  char* name = nullptr;
  const int fd = gen_mkstemp("cache", &name);
  ASSERT_GE(fd, 0);
  EXPECT_EQ(take(name), stem + base32(n + 6) + ".cache");
  EXPECT_EQ(write(fd, "private", 7), 7);
  close(fd);
  EXPECT_FALSE(fs::exists(secret)) << "written through a planted link";
  setenv("BUILDER_TEMPORARY_NAME", "planted", 1);  // a fixed name cannot move on
  ASSERT_EQ(symlink(secret.c_str(), (dir / "planted.cache").c_str()), 0);
  EXPECT_EQ(gen_mkstemp("cache", nullptr), -1);
  EXPECT_FALSE(fs::exists(secret));
}

// What a killed run left behind goes at the next start; what a running
// process may still use stays.  Counter "1000" makes a name read one way
// only, so the test does not depend on which small pids happen to run.
TEST_F(TempNameTest, FilesOfDeadProcessesAreRemoved) {
  const pid_t child = fork();
  if (child == 0) _exit(0);
  ASSERT_GT(child, 0);
  waitpid(child, nullptr, 0);
  const std::string dead = dir.string() + "/dv_" + base32(static_cast<unsigned long>(child));
  const std::string stale[] = {dead + "1000.cache", dead + "1000.c"};
  const std::string kept[] = {stem + "1000.cache", dir.string() + "/dv_x.cache",
                              dir.string() + "/other_file"};
  for (const std::string& f : stale) std::ofstream(f) << "left";
  for (const std::string& f : kept) std::ofstream(f) << "mine";
  fs::create_directory(dead + "2000.d");  // not a regular file
  gen_remove_stale_temporaries();
  for (const std::string& f : stale) EXPECT_FALSE(fs::exists(f)) << f;
  for (const std::string& f : kept) EXPECT_TRUE(fs::exists(f)) << f;
  EXPECT_TRUE(fs::exists(dead + "2000.d"));
}

}  // namespace
