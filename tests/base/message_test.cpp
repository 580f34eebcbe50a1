// Messages: the "<program>: <severity>: <text>" format with both prefix
// tables, the per-severity counters, system error texts, the message hook,
// fatal exits and assertions.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "base/gen.h"

namespace {

using ::testing::internal::CaptureStderr;
using ::testing::internal::CaptureStdout;
using ::testing::internal::GetCapturedStderr;
using ::testing::internal::GetCapturedStdout;

class MessageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gen_changeprogname("prog");
    gen_alt_error_msgs = 0;
    std::memset(gen_error_count, 0, sizeof gen_error_count);
    gen_any_error = 0;
  }
  void TearDown() override {
    gen_alt_error_msgs = 0;
    gen_domessage = gen_default_domessage;
  }
};

TEST_F(MessageTest, EachSeverityHasItsPrefixAndCounter) {
  CaptureStderr();
  EXPECT_EQ(gen_error("cannot read %s", "x"), GEN_MSG_ERROR);
  gen_warning("careful");
  gen_info("note %d", 7);
  gen_message(GEN_MSG_DISASTER, "boom\n");
  EXPECT_EQ(GetCapturedStderr(),
            "prog: error: cannot read x\n"
            "prog: warning: careful\n"
            "prog: info: note 7\n"
            "prog: disaster: boom\n");
  EXPECT_EQ(gen_error_count[GEN_MSG_ERROR], 1);
  EXPECT_EQ(gen_error_count[GEN_MSG_WARNING], 1);
  EXPECT_EQ(gen_error_count[GEN_MSG_INFO], 1);
  EXPECT_EQ(gen_error_count[GEN_MSG_DISASTER], 1);
  EXPECT_EQ(gen_any_error, 2);  // error and disaster, not warning or info
}

TEST_F(MessageTest, AlternativeTableChangesOnlyThePrefixes) {
  gen_alt_error_msgs = 1;
  CaptureStderr();
  gen_error("e");
  gen_warning("w");
  gen_info("i");
  gen_message(GEN_MSG_PLAIN, "p");
  gen_message(GEN_MSG_DISASTER, "d");
  gen_message(GEN_MSG_FATAL, "f");
  EXPECT_EQ(GetCapturedStderr(),
            "prog: ERROR: e\nprog: WARNING: w\nprog: INFO: i\n"
            "prog: ERROR: p\nprog: ERROR: DISASTER: d\nprog: ERROR: FATAL: f\n");
  EXPECT_EQ(gen_any_error, 4);
}

TEST_F(MessageTest, NoProgramNameMeansNoNamePrefix) {
  gen_changeprogname("");
  CaptureStderr();
  gen_error("bare");
  EXPECT_EQ(GetCapturedStderr(), "error: bare\n");
}

TEST_F(MessageTest, PrintfGoesToStandardOutputWithoutDecoration) {
  CaptureStdout();
  CaptureStderr();
  gen_printf("usage: %s file", "prog");
  const std::string err = GetCapturedStderr();
  EXPECT_EQ(GetCapturedStdout(), "usage: prog file\n");
  EXPECT_EQ(err, "");
  EXPECT_EQ(gen_error_count[GEN_MSG_PRINTF], 1);
  EXPECT_EQ(gen_any_error, 0);
}

TEST_F(MessageTest, PerrorAppendsTheSystemTextAndClearsErrno) {
  errno = ENOENT;
  CaptureStderr();
  gen_perror("open %s", "f");
  EXPECT_EQ(GetCapturedStderr(),
            std::string("prog: error: open f: ") + strerror(ENOENT) + "\n");
  EXPECT_EQ(errno, 0);
  CaptureStderr();
  gen_perror("no system error");
  EXPECT_EQ(GetCapturedStderr(), "prog: error: no system error\n");
}

TEST_F(MessageTest, CodesOutsideTheTableAreNotCounted) {
  CaptureStderr();
  gen_message(42, "odd");
  EXPECT_EQ(GetCapturedStderr(), "prog: odd\n");
  int total = 0;
  for (int count : gen_error_count) total += count;
  EXPECT_EQ(total, 0);
}

std::string last_hooked;
int hooked(int code, const char* format, va_list args) {
  char buf[128];
  vsnprintf(buf, sizeof buf, format, args);
  last_hooked = std::to_string(code) + ":" + buf;
  return code;
}

TEST_F(MessageTest, TheHookReceivesEveryMessage) {
  gen_domessage = hooked;
  CaptureStderr();
  gen_warning("w%d", 1);
  EXPECT_EQ(GetCapturedStderr(), "");
  EXPECT_EQ(last_hooked, "4:w1");
}

TEST_F(MessageTest, ErrorexitPrintsFatalAndExitsWithStatus) {
  EXPECT_EXIT(gen_errorexit(4, "gone %s", "away"), ::testing::ExitedWithCode(4),
              "^prog: fatal: gone away\n$");
}

TEST_F(MessageTest, ErrorexitWithStatusZeroHasNoPrefix) {
  EXPECT_EXIT(gen_errorexit(0, "all done"), ::testing::ExitedWithCode(0),
              "^prog: all done\n$");
}

TEST_F(MessageTest, PerrorexitAddsTheSystemText) {
  EXPECT_EXIT(
      {
        errno = EACCES;
        gen_perrorexit(5, "cannot write");
      },
      ::testing::ExitedWithCode(5),
      std::string("^prog: fatal: cannot write: ") + strerror(EACCES) + "\n$");
}

TEST_F(MessageTest, SuccessexitAlwaysExitsWithZero) {
  EXPECT_EXIT(gen_successexit(7), ::testing::ExitedWithCode(0), "^$");
}

TEST_F(MessageTest, FailedAssertionNamesTextFileLineAndProgram) {
  __Assert(1, "never shown", "f.cpp", 1, 0);
  EXPECT_EXIT(__Assert(0, "x > 0", "f.cpp", 12, 0), ::testing::ExitedWithCode(1),
              "^Assertion \\(x > 0\\) failed in 'f.cpp' on line 12 in prog\n$");
  EXPECT_EXIT(__Assert(0, "y", "g.cpp", 3, 9), ::testing::ExitedWithCode(1),
              "^Assertion \\(y\\) \\[9\\] failed in 'g.cpp' on line 3 in prog\n$");
}

TEST_F(MessageTest, ContainerReportsUseTheProgramsFormat) {
  gen_init("/usr/bin/prog", 0, 0);
  CaptureStderr();
  char* s = gen_msprintf("%n");
  EXPECT_EQ(s, nullptr);
  EXPECT_EQ(GetCapturedStderr(), "prog: error: %n format is not supported\n");
}

TEST(IdentityTest, InitDerivesNamesFromThePath) {
  gen_init("/opt/tools/diffview///", 0, 0);
  EXPECT_STREQ(gen_getprogname(), "diffview");
  EXPECT_STREQ(gen_getexecname(), "/opt/tools/diffview");
  gen_changeprogname("other");
  EXPECT_STREQ(gen_getprogname(), "other");
  gen_changeprogdir("/tmp/../tmp");
  ASSERT_NE(gen_getprogdir(), nullptr);
  EXPECT_STRNE(gen_getprogdir(), "/tmp/../tmp");
}

TEST(IdentityTest, FindexecSearchesThePath) {
  char* sh = gen_findexec("sh");
  ASSERT_NE(sh, nullptr);
  EXPECT_EQ(sh[0], '/');
  EXPECT_TRUE(gen_strsuffix(sh, "/sh"));
  char* dir = gen_findexecdir("sh");
  EXPECT_TRUE(gen_strprefix(sh, dir));
  EXPECT_EQ(gen_findexec("no-such-program-anywhere-xyz"), nullptr);
  EXPECT_EQ(gen_findexec(nullptr), nullptr);
  gen_free(sh);
  gen_free(dir);
}

TEST(IdentityTest, VersionLevelsBelowNineAreAccepted) {
  gen_changeprogname("prog");
  gen_set_version(3);
  EXPECT_EQ(gen_get_version(), 3);
  EXPECT_TRUE(gen_is_at_least_version(2));
  EXPECT_TRUE(gen_is_at_least_version(3));
  EXPECT_FALSE(gen_is_at_least_version(4));
  EXPECT_TRUE(gen_is_at_most_version(3));
  EXPECT_FALSE(gen_is_at_most_version(2));
  CaptureStderr();
  gen_set_version(9);
  EXPECT_EQ(GetCapturedStderr(),
            "prog: error: Attempt to set version to an illegal value\n");
  EXPECT_EQ(gen_get_version(), 3);
}

}  // namespace
