// Files: the two line readers, guarded I/O with its messages, whole-file
// operations, file names (joining, canonical form, tilde expansion, parts,
// relative names, questions about files on disk) and temporary names.
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <regex>
#include <string>

#include "base_test_util.h"

namespace fs = std::filesystem;

namespace {

using ::testing::internal::CaptureStderr;
using ::testing::internal::GetCapturedStderr;

class FilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gen_changeprogname("prog");
    dir = freshTestDir("files");
  }
  void TearDown() override { fs::remove_all(dir); }
  std::string write(const std::string& name, const std::string& text) {
    const std::string path = (dir / name).string();
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }
  fs::path dir;
};

TEST_F(FilesTest, LineReadersTakeLinesOfAnyLength) {
  const std::string long_line(5000, 'x');
  FILE* f = fopen(write("a", "short\n" + long_line + "\n" + std::string(2047, 'y')).c_str(), "r");
  EXPECT_EQ(take(gen_afgets(f)), "short\n");
  EXPECT_EQ(take(gen_afgets(f)), long_line + "\n");
  EXPECT_EQ(take(gen_afgets(f)), std::string(2047, 'y'));  // fills the first buffer
  EXPECT_EQ(take(gen_afgets(f)), "<null>");
  fclose(f);
  EXPECT_EQ(gen_afgets(nullptr), nullptr);

  f = fopen(write("c", "one\r\n" + std::string(600, 'z') + "\ntwo\rthree\n\nend").c_str(), "r");
  char* buf = nullptr;
  long capacity = 0;
  EXPECT_STREQ(gen_getline(f, &buf, &capacity), "one");
  EXPECT_EQ(capacity, 250);
  EXPECT_EQ(gen_getline(f, &buf, &capacity), buf);
  EXPECT_EQ(buf, std::string(600, 'z'));
  EXPECT_EQ(capacity, 750);  // grown 250 bytes at a time
  for (const char* line : {"two", "three", "", "end"})
    EXPECT_STREQ(gen_getline(f, &buf, &capacity), line);
  EXPECT_EQ(gen_getline(f, &buf, &capacity), nullptr);
  fclose(f);
  gen_free(buf);
}

TEST_F(FilesTest, SafeOperationsReportOrExit) {
  const std::string missing = (dir / "missing").string();
  EXPECT_EXIT(gen_safe_fopen(missing.c_str(), nullptr, "r"), ::testing::ExitedWithCode(1),
              "^prog: fatal: Unable to open " + missing + " for input: " + strerror(ENOENT) +
                  "\n$");
  const std::string nodir = (dir / "no" / "such").string();
  EXPECT_EXIT(gen_safe_fopen(nodir.c_str(), "the report", "w"), ::testing::ExitedWithCode(1),
              "Unable to open the report \\(" + nodir + "\\) for output: ");
  const std::string path = write("h", "x");
  EXPECT_EXIT(gen_safe_fseek(fopen(path.c_str(), "r"), -5, SEEK_SET, "h.txt"),
              ::testing::ExitedWithCode(1), "^prog: fatal: seek failed to -5 in 'h.txt'");
  EXPECT_EXIT(gen_safe_fseek(fopen(path.c_str(), "r"), -7, SEEK_SET, nullptr),
              ::testing::ExitedWithCode(1), "^prog: fatal: seek failed to -7 in file");

  FILE* f = fopen(write("e", "").c_str(), "r");
  char buf[8] = {};
  CaptureStderr();
  EXPECT_EQ(gen_safe_fread(buf, 1, 8, f, "e.txt"), 0);
  EXPECT_EQ(gen_safe_fread(buf, 1, 8, f, nullptr), 0);
  EXPECT_EQ(gen_safe_fread(nullptr, 1, 8, f, "e.txt"), 0);
  EXPECT_EQ(gen_safe_fwrite("abc", 1, 3, f, "e.txt"), 0);  // opened for reading
  EXPECT_EQ(gen_safe_fwrite("abc", 1, 3, f, nullptr), 0);
  const std::string err = GetCapturedStderr();
  EXPECT_EQ(err.rfind("prog: error: Error reading from 'e.txt'\n"
                      "prog: error: Error reading from file\n"
                      "prog: error: internal: null buffer passed to gen_safe_fread\n", 0), 0u);
  EXPECT_NE(err.find("prog: error: Error writing to 'e.txt'"), std::string::npos);
  EXPECT_NE(err.find("prog: error: Error writing to file"), std::string::npos);
  fclose(f);

  f = gen_safe_fopen((dir / "g").c_str(), nullptr, "w+");
  CaptureStderr();
  EXPECT_EQ(gen_safe_fwrite("hello", 1, 5, f, "g"), 5);
  gen_safe_fseek(f, 1, SEEK_SET, "g");
  EXPECT_EQ(gen_safe_fread(buf, 1, 3, f, "g"), 3);
  EXPECT_EQ(gen_safe_fclose(f, "g"), 0);
  EXPECT_EQ(GetCapturedStderr(), "");
  EXPECT_STREQ(buf, "ell");
}

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
  EXPECT_EQ(gen_copyfile((dir / "none").c_str(), to.c_str()), -1);
  const std::string deep = (dir / "p" / "q" / "r").string();
  EXPECT_EQ(gen_createdir(deep.c_str(), 0755), 0);
  EXPECT_TRUE(gen_isdir(deep.c_str()));
  EXPECT_EQ(gen_createdir(deep.c_str(), 0755), 0);  // already there
  EXPECT_EQ(gen_createdir(from.c_str(), 0755), -1);  // a file is in the way
  EXPECT_EQ(gen_removefile(to.c_str()), 0);
  EXPECT_EQ(gen_removefile(to.c_str()), -1);
  EXPECT_EQ(gen_system("exit 3"), 3);
}

TEST_F(FilesTest, QuestionsAboutFilesOnDisk) {
  const std::string file = write("f.txt", "12345");
  EXPECT_EQ(gen_filesize(file.c_str()), 5);
  EXPECT_EQ(gen_filesize((dir / "missing").c_str()), -1);
  EXPECT_FALSE(gen_isdir(file.c_str()));
  EXPECT_TRUE(gen_samefile(file.c_str(), (dir / "." / "f.txt").c_str()));
  EXPECT_FALSE(gen_samefile(file.c_str(), dir.c_str()));
  const std::string link = (dir / "l").string();
  ASSERT_EQ(symlink("f.txt", link.c_str()), 0);
  EXPECT_TRUE(gen_islink(link.c_str()));
  EXPECT_FALSE(gen_islink(file.c_str()));
  EXPECT_EQ(take(gen_readlink(link.c_str())), "f.txt");
  EXPECT_EQ(take(gen_readlink(file.c_str())), "<null>");
}

TEST(FileNameTest, JoiningAndCanonicalForm) {
  const std::pair<std::string, const char*> cases[] = {
      {take(gen_sconcat("/a/", "b")), "/a/b"},
      {take(gen_sconcat("/a", "/c")), "/c"},
      {take(gen_sconcat("/a/b", "../c/./d")), "/a/c/d"},
      {take(gen_sconcat("", "")), "."},
      {take(gen_sconcat("a", "..")), "."},
      {take(gen_dconcat("/x/y/", nullptr)), "/x/y/"},
      {take(gen_ddsconcat("/x", "y", "z", "f.c")), "/x/y/z/f.c"},
      {take(gen_canonicalfilename("/a//b/./c/../d/")), "/a/b/d"},
      {take(gen_canonicalfilename("/../x")), "/x"},
      {take(gen_canonicalfilename("../../x/..")), "../.."},
      {take(gen_canonicalfilename("a/b/../../..")), ".."},
      {take(gen_canonicalfilename("///")), "/"},
      {take(gen_canonicalfilename(nullptr)), "<null>"},
      {take(gen_basename("/a/b/c.txt")), "c.txt"},
      {take(gen_basename("/a/b/")), "b"},
      {take(gen_dirname("/a/b/c.txt")), "/a/b"},
      {take(gen_dirname("c")), "."},
      {take(gen_changesuffix("dir/f.c", "o")), "dir/f.o"},
      {take(gen_addsuffix("f.c", "orig")), "f.c.orig"},
      {take(gen_relative_filename("/a/b/c", "/a")), "b/c"},
      {take(gen_relative_filename("/a/x", "/a/b")), "../x"},
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
  const std::string cwd = fs::current_path().string();
  EXPECT_EQ(take(gen_expand_filename("x/./y")), cwd + "/x/y");
  EXPECT_EQ(take(gen_absolutefilename("/q/../r")), "/r");
  EXPECT_EQ(take(gen_getcwd()), cwd);
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
    dir = freshTestDir("tmpnames");
    setenv("TMPDIR", dir.c_str(), 1);
    gen_default_temp_dir(dir.c_str());  // recompute with the new TMPDIR
    stem = dir.string() + "/dv_" + base32(static_cast<unsigned long>(getpid()));
  }
  void TearDown() override {
    unsetenv("BUILDER_TEMPORARY_NAME");
    if (savedTmpdir.empty()) unsetenv("TMPDIR");
    else setenv("TMPDIR", savedTmpdir.c_str(), 1);
    fs::remove_all(dir);
  }
  fs::path dir;
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

TEST_F(TempNameTest, RelatedNamesShareOneStem) {
  char *a = nullptr, *b = nullptr;
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
  const std::string name = take(gen_tempname((other / "file.c").c_str(), "bak"));
  EXPECT_EQ(fs::path(name).parent_path(), other);
  EXPECT_EQ(fs::path(name).extension(), ".bak");
}

}  // namespace
