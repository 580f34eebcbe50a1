// Files: the two line readers, guarded I/O with its messages, and the
// whole-file operations.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "base/gen.h"

namespace fs = std::filesystem;

namespace {

using ::testing::internal::CaptureStderr;
using ::testing::internal::GetCapturedStderr;

class FilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gen_changeprogname("prog");
    dir = fs::temp_directory_path() /
          ("files-" + std::to_string(getpid()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }

  std::string write(const std::string& name, const std::string& text) {
    const std::string path = (dir / name).string();
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }

  fs::path dir;
};

std::string take(char* s) {
  if (!s) return "<null>";
  std::string copy = s;
  gen_free(s);
  return copy;
}

TEST_F(FilesTest, AfgetsReadsLinesOfAnyLength) {
  const std::string long_line(5000, 'x');
  FILE* f = fopen(write("a", "short\n" + long_line + "\nlast").c_str(), "r");
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(take(gen_afgets(f)), "short\n");
  EXPECT_EQ(take(gen_afgets(f)), long_line + "\n");
  EXPECT_EQ(take(gen_afgets(f)), "last");
  EXPECT_EQ(take(gen_afgets(f)), "<null>");
  fclose(f);
  EXPECT_EQ(gen_afgets(nullptr), nullptr);
}

TEST_F(FilesTest, AfgetsLineExactlyFillingTheFirstBuffer) {
  const std::string line(2047, 'y');
  FILE* f = fopen(write("b", line).c_str(), "r");
  EXPECT_EQ(take(gen_afgets(f)), line);
  EXPECT_EQ(take(gen_afgets(f)), "<null>");
  fclose(f);
}

TEST_F(FilesTest, GetlineGrowsTheCallersBuffer) {
  const std::string long_line(600, 'z');
  FILE* f = fopen(write("c", "one\r\n" + long_line + "\ntwo\rthree\n\nend").c_str(), "r");
  char* buf = nullptr;
  long capacity = 0;
  EXPECT_STREQ(gen_getline(f, &buf, &capacity), "one");
  EXPECT_EQ(capacity, 250);
  EXPECT_EQ(gen_getline(f, &buf, &capacity), buf);
  EXPECT_EQ(buf, long_line);
  EXPECT_EQ(capacity, 750);  // grown 250 bytes at a time
  EXPECT_STREQ(gen_getline(f, &buf, &capacity), "two");
  EXPECT_STREQ(gen_getline(f, &buf, &capacity), "three");
  EXPECT_STREQ(gen_getline(f, &buf, &capacity), "");
  EXPECT_STREQ(gen_getline(f, &buf, &capacity), "end");
  EXPECT_EQ(gen_getline(f, &buf, &capacity), nullptr);
  fclose(f);
  gen_free(buf);
}

TEST_F(FilesTest, SafeFopenOpensOrExits) {
  const std::string path = write("d", "data");
  FILE* f = gen_safe_fopen(path.c_str(), nullptr, "r");
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(gen_safe_fclose(f, path.c_str()), 0);
  const std::string missing = (dir / "missing").string();
  EXPECT_EXIT(gen_safe_fopen(missing.c_str(), nullptr, "r"),
              ::testing::ExitedWithCode(1),
              "^prog: fatal: Unable to open " + missing + " for input: " +
                  strerror(ENOENT) + "\n$");
  const std::string nodir = (dir / "no" / "such").string();
  EXPECT_EXIT(gen_safe_fopen(nodir.c_str(), "the report", "w"),
              ::testing::ExitedWithCode(1),
              "Unable to open the report \\(" + nodir + "\\) for output: ");
}

TEST_F(FilesTest, SafeReadAndWriteReportAndContinue) {
  const std::string path = write("e", "");
  FILE* f = fopen(path.c_str(), "r");
  char buf[8];
  CaptureStderr();
  EXPECT_EQ(gen_safe_fread(buf, 1, 8, f, "e.txt"), 0);
  EXPECT_EQ(gen_safe_fread(buf, 1, 8, f, nullptr), 0);
  EXPECT_EQ(gen_safe_fread(nullptr, 1, 8, f, "e.txt"), 0);
  EXPECT_EQ(GetCapturedStderr(),
            "prog: error: Error reading from 'e.txt'\n"
            "prog: error: Error reading from file\n"
            "prog: error: internal: null buffer passed to gen_safe_fread\n");
  CaptureStderr();
  EXPECT_EQ(gen_safe_fwrite("abc", 1, 3, f, "e.txt"), 0);  // opened for reading
  EXPECT_EQ(gen_safe_fwrite("abc", 1, 3, f, nullptr), 0);
  const std::string err = GetCapturedStderr();
  EXPECT_NE(err.find("prog: error: Error writing to 'e.txt'"), std::string::npos);
  EXPECT_NE(err.find("prog: error: Error writing to file"), std::string::npos);
  fclose(f);
}

TEST_F(FilesTest, SafeReadWriteAndSeekSucceedQuietly) {
  const std::string path = (dir / "g").string();
  FILE* f = gen_safe_fopen(path.c_str(), nullptr, "w+");
  CaptureStderr();
  EXPECT_EQ(gen_safe_fwrite("hello", 1, 5, f, "g"), 5);
  gen_safe_fseek(f, 1, SEEK_SET, "g");
  char buf[4] = {};
  EXPECT_EQ(gen_safe_fread(buf, 1, 3, f, "g"), 3);
  EXPECT_EQ(gen_safe_fclose(f, "g"), 0);
  EXPECT_EQ(GetCapturedStderr(), "");
  EXPECT_STREQ(buf, "ell");
}

TEST_F(FilesTest, SafeFseekFailureExits) {
  const std::string path = write("h", "x");
  EXPECT_EXIT(
      {
        FILE* f = fopen(path.c_str(), "r");
        gen_safe_fseek(f, -5, SEEK_SET, "h.txt");
      },
      ::testing::ExitedWithCode(1), "^prog: fatal: seek failed to -5 in 'h.txt'");
  EXPECT_EXIT(
      {
        FILE* f = fopen(path.c_str(), "r");
        gen_safe_fseek(f, -7, SEEK_SET, nullptr);
      },
      ::testing::ExitedWithCode(1), "^prog: fatal: seek failed to -7 in file");
}

TEST_F(FilesTest, ReadWholeFile) {
  const std::string path = write("i", std::string("a\0b\n", 4));
  long size = 0;
  char* buf = gen_readfile_into_buffer(path.c_str(), &size);
  ASSERT_NE(buf, nullptr);
  EXPECT_EQ(size, 4);
  EXPECT_EQ(std::string(buf, 4), std::string("a\0b\n", 4));
  EXPECT_EQ(buf[4], '\0');
  gen_free(buf);
  EXPECT_EQ(gen_readfile_into_buffer((dir / "none").c_str(), &size), nullptr);
}

TEST_F(FilesTest, CopyCreateRemove) {
  const std::string from = write("j", "copied text");
  const std::string to = (dir / "k").string();
  EXPECT_EQ(gen_copyfile(from.c_str(), to.c_str()), 0);
  EXPECT_EQ(take(gen_readfile_into_buffer(to.c_str(), nullptr)), "copied text");
  EXPECT_EQ(gen_copyfile((dir / "none").c_str(), to.c_str()), -1);
  const std::string deep = (dir / "p" / "q" / "r").string();
  EXPECT_EQ(gen_createdir(deep.c_str(), 0755), 0);
  EXPECT_TRUE(gen_isdir(deep.c_str()));
  EXPECT_EQ(gen_createdir(deep.c_str(), 0755), 0);  // already there
  EXPECT_EQ(gen_createdir(from.c_str(), 0755), -1);  // a file is in the way
  EXPECT_EQ(gen_removefile(to.c_str()), 0);
  EXPECT_EQ(gen_removefile(to.c_str()), -1);
}

TEST_F(FilesTest, SystemGivesTheExitStatus) {
  EXPECT_EQ(gen_system("exit 0"), 0);
  EXPECT_EQ(gen_system("exit 3"), 3);
  EXPECT_EQ(gen_system(nullptr), -1);
}

TEST(EnvironmentTest, GetenvFallsBackForUnsetOrEmpty) {
  setenv("GEN_TEST_VAR", "", 1);
  EXPECT_STREQ(gen_getenv("GEN_TEST_VAR", "dflt"), "dflt");
  setenv("GEN_TEST_VAR", "set", 1);
  EXPECT_STREQ(gen_getenv("GEN_TEST_VAR", "dflt"), "set");
  unsetenv("GEN_TEST_VAR");
  EXPECT_STREQ(gen_getenv("GEN_TEST_VAR", "dflt"), "dflt");
  EXPECT_NE(gen_getusername(), nullptr);
  EXPECT_STRNE(gen_getusername(), "");
  EXPECT_NE(gen_gethomedir(), nullptr);
}

}  // namespace
