// Shared helpers of the options database tests: parse text while capturing
// what the reader reports on standard error.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "libs/libcxxutil/options_database.h"

struct ParseOutcome {
  bool ok;
  std::string messages;
};

inline ParseOutcome parseText(ut_options_database& db, std::string_view text,
                              const char* source = "t.opt") {
  testing::internal::CaptureStderr();
  bool ok = db.read_from_string(text, source);
  return {ok, testing::internal::GetCapturedStderr()};
}
