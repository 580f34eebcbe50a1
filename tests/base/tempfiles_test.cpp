// Temporary names: the directory rules, the "dv_<pid><counter>.<suffix>"
// form in base 32, skipping names that exist, related names sharing one
// stem, and the builder's fixed name.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
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

std::string base32(unsigned long v) {
  const char* digits = "0123456789abcdefghijklmnopqrstuv";
  std::string out;
  for (; v; v >>= 5) out = digits[v & 31] + out;
  return out.empty() ? "0" : out;
}

class TempNameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    unsetenv("BUILDER_TEMPORARY_NAME");
    const char* old = getenv("TMPDIR");
    savedTmpdir = old ? old : "";
    dir = fs::temp_directory_path() / ("tmpnames-" + std::to_string(getpid()));
    fs::create_directories(dir);
    setenv("TMPDIR", dir.c_str(), 1);
    gen_default_temp_dir(dir.c_str());  // recompute with the new TMPDIR
  }
  void TearDown() override {
    unsetenv("BUILDER_TEMPORARY_NAME");
    if (savedTmpdir.empty())
      unsetenv("TMPDIR");
    else
      setenv("TMPDIR", savedTmpdir.c_str(), 1);
    fs::remove_all(dir);
  }
  fs::path dir;
  std::string savedTmpdir;
};

TEST_F(TempNameTest, TmpdirWinsWhenUsable) {
  EXPECT_EQ(std::string(gen_temp_dir(nullptr)), dir.string());
  setenv("TMPDIR", (dir / "missing").c_str(), 1);
  EXPECT_EQ(std::string(gen_default_temp_dir(dir.c_str())), dir.string());
  const char* fallback = gen_default_temp_dir("/nonexistent/place");
  EXPECT_TRUE(std::string(fallback) == "/var/tmp/" || std::string(fallback) == "/tmp")
      << fallback;
  EXPECT_STREQ(gen_default_temp_dir(nullptr), fallback);  // kept from last time
}

TEST_F(TempNameTest, NamesFollowTheStemFormat) {
  const std::string pid = base32(static_cast<unsigned long>(getpid()));
  const std::regex form(dir.string() + "/dv_" + pid + "([0-9a-v]{1,4})\\.txt");
  std::smatch m;
  const std::string first = take(tmp1name(".txt"));
  ASSERT_TRUE(std::regex_match(first, m, form)) << first;
  const unsigned long counter = std::stoul(m[1].str(), nullptr, 32);
  EXPECT_GE(counter, 1u);
  const std::string second = take(tmp1name("txt"));
  EXPECT_EQ(second, dir.string() + "/dv_" + pid + base32(counter + 1) + ".txt");
}

TEST_F(TempNameTest, ExistingFilesAreSkipped) {
  const std::string pid = base32(static_cast<unsigned long>(getpid()));
  const std::string probe = take(tmp1name("c"));
  const std::string stem = dir.string() + "/dv_" + pid;
  const unsigned long n = std::stoul(probe.substr(stem.size()), nullptr, 32);
  std::ofstream(stem + base32(n + 1) + ".c") << "taken";
  EXPECT_EQ(take(tmp1name("c")), stem + base32(n + 2) + ".c");
}

TEST_F(TempNameTest, RelatedNamesShareOneStem) {
  char* a = nullptr;
  char* b = nullptr;
  ASSERT_EQ(tmp2name("left", "right", &a, &b), 0);
  std::string left = take(a), right = take(b);
  EXPECT_EQ(left.substr(0, left.size() - 4), right.substr(0, right.size() - 5));
  char *x = nullptr, *y = nullptr, *z = nullptr;
  const fs::path other = dir / "other";
  fs::create_directories(other);
  ASSERT_EQ(xtmp3names(other.c_str(), "1", "2", "3", &x, &y, &z), 0);
  const std::string n1 = take(x), n2 = take(y), n3 = take(z);
  EXPECT_EQ(fs::path(n1).parent_path(), dir);
  EXPECT_EQ(fs::path(n3).parent_path(), other);
  EXPECT_EQ(fs::path(n1).stem(), fs::path(n3).stem());
  EXPECT_EQ(fs::path(n2).stem(), fs::path(n3).stem());
}

TEST_F(TempNameTest, TempnameUsesTheDirectoryOfAPath) {
  const fs::path sub = dir / "sub";
  fs::create_directories(sub);
  const std::string name = take(gen_tempname((sub / "file.c").c_str(), "bak"));
  EXPECT_EQ(fs::path(name).parent_path(), sub);
  EXPECT_EQ(fs::path(name).extension(), ".bak");
}

TEST_F(TempNameTest, BuilderNameReplacesTheStem) {
  setenv("BUILDER_TEMPORARY_NAME", "fixed", 1);
  EXPECT_EQ(take(tmp1name("out")), dir.string() + "/fixed.out");
  EXPECT_EQ(take(tmp1name(".log")), dir.string() + "/fixed.log");
}

// Runs in a child so the exhausted counter does not affect other tests.
TEST_F(TempNameTest, CounterRunsOutAfterFourDigits) {
  EXPECT_EXIT(
      {
        std::string last;
        long count = 0;
        while (char* name = tmp1name("x")) {
          last = take(name);
          count++;
        }
        const bool ok = gen_strsuffix(last.c_str(), "vvvv.x") && count > 1000000;
        std::exit(ok ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

TEST_F(TempNameTest, MkstempCreatesTheFile) {
  char* name = nullptr;
  const int fd = gen_mkstemp("tmp", &name);
  ASSERT_GE(fd, 0);
  ASSERT_NE(name, nullptr);
  EXPECT_TRUE(fs::exists(name));
  EXPECT_EQ(write(fd, "x", 1), 1);
  close(fd);
  EXPECT_EQ(gen_filesize(name), 1);
  gen_free(name);
}

}  // namespace
