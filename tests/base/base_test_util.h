// Helpers of the foundation library's tests: owned results read back as
// strings, and a fresh directory per test.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "base/gen.h"

// Takes ownership of a returned string and compares it by value.
inline std::string take(char* s) {
  if (!s) return "<null>";
  std::string copy = s;
  gen_free(s);
  return copy;
}

// A directory named after the running test, made empty; the caller removes it.
inline std::filesystem::path freshTestDir(const std::string& prefix) {
  auto dir = std::filesystem::temp_directory_path() /
             (prefix + "-" + std::to_string(getpid()) + "-" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name());
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return dir;
}
