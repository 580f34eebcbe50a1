// Trace lines and the logs they go to, and file names in messages.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <regex>
#include <string>

#include "libs/stp_transport/stp_filename.h"
#include "libs/stp_transport/stp_log.h"
#include "libs/stp_transport/stp_trace.h"

namespace {

std::string logged(bool timestamped, STPTraceKind kind) {
  FILE* file = std::tmpfile();
  {
    STPFileLog plain(file, false);
    TimestampedSTPFileLog stamped(file, false);
    STPLog* log = timestamped ? static_cast<STPLog*>(&stamped) : &plain;
    stp_trace(log, nullptr, kind, "CreateNewDiff",
              {STPTraceField::str("command", "a \"b\""), STPTraceField::str("current_filename", nullptr),
               STPTraceField::num("reuse", 26)});
    log->addf("%s=%d\n", "x", 3);
    log->add(nullptr);
  }
  std::string text(std::ftell(file), '\0');
  std::rewind(file);
  EXPECT_EQ(std::fread(text.data(), 1, text.size(), file), text.size());
  std::fclose(file);
  return text;
}

TEST(StpTrace, LinesNameTheMessageAndEveryField) {
  const std::string fields = "CreateNewDiff: command:\"a \"b\"\", current_filename:, reuse:0x1a\nx=3\n";
  EXPECT_EQ(logged(false, STPTraceKind::send), "SEND: " + fields);
  EXPECT_EQ(logged(false, STPTraceKind::recv), "RECV: " + fields);
  EXPECT_EQ(logged(false, STPTraceKind::send_failed), "SEND FAILED: CreateNewDiff\nx=3\n");
  const std::string stamped = logged(true, STPTraceKind::reply);
  const size_t colon = stamped.find(": ");
  EXPECT_TRUE(std::regex_match(stamped.substr(0, colon), std::regex("[0-9]+\\.[0-9]{3}")));
  EXPECT_EQ(stamped.substr(colon + 2), "REPLY: " + fields);
}

TEST(StpFilename, NamesAreExpandedWhenSet) {
  setenv("HOME", "/home/tester", 1);
  EXPECT_STREQ(STPFilename("~/src/../f.c").get(), "/home/tester/f.c");
  EXPECT_STREQ(STPFilename("d/f.c", "/work").get(), "/work/d/f.c");
  EXPECT_STREQ(STPFilename("/abs/./f.c", "/work").get(), "/abs/f.c");
  EXPECT_STREQ(STPFilename("").get(), "");
  EXPECT_EQ(STPFilename().get(), nullptr);
  STPFilename name("/a"), copy(name);
  name = "/b";
  EXPECT_STREQ(copy.get(), "/a");
  copy = std::move(name);
  EXPECT_STREQ(copy.get(), "/b");
}

}  // namespace
