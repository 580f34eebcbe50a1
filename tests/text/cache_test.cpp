// The cache descriptors: no more than five cache files stay open, and a
// closed one is reopened when its text is needed again.
#include "text/file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/text/text_test_util.h"

namespace {

using text_test::LinesOf;
using text_test::ScratchDir;
using text_test::WriteBytes;
namespace fs = std::filesystem;

// Descriptors of this process open on files in `dir`.
int OpenIn(const fs::path& dir) {
  int count = 0;
  for (const auto& entry : fs::directory_iterator("/proc/self/fd")) {
    std::error_code ec;
    const fs::path target = fs::read_symlink(entry.path(), ec);
    if (!ec && target.parent_path() == dir) ++count;
  }
  return count;
}

TEST(CacheTest, AtMostFiveCacheFilesStayOpen) {
  ScratchDir dir;
  std::vector<file*> files;
  for (int k = 0; k < 7; ++k) {
    const std::string name = dir / ("f" + std::to_string(k));
    WriteBytes(name, "line of " + std::to_string(k) + "\n");
    files.push_back(FileF_File(name.c_str(), 0, 0));
    ASSERT_NE(files.back(), nullptr);
    EXPECT_LE(OpenIn(dir.path()), 5);
  }
  EXPECT_EQ(OpenIn(dir.path()), 5);
  // Every file still serves its text, reopening its cache when needed.
  for (int round = 0; round < 2; ++round) {
    for (int k = 0; k < 7; ++k) {
      file* f = files[k];
      f->cacheLength = 0;  // forget the window so the cache file is read
      EXPECT_EQ(LinesOf(f), std::vector<std::string>{"line of " + std::to_string(k)});
      EXPECT_LE(OpenIn(dir.path()), 5);
    }
  }
  for (file* f : files) FileFree(f);
  EXPECT_EQ(OpenIn(dir.path()), 0);
}

}  // namespace
