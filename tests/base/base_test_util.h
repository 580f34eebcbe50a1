// Helpers of the foundation library's tests: owned results read back as
// strings, and the shared scratch directory.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "base/gen.h"
#include "test_support.h"

// Takes ownership of a returned string and compares it by value.
inline std::string take(char* s) {
  if (!s) return "<null>";
  std::string copy = s;
  gen_free(s);
  return copy;
}
