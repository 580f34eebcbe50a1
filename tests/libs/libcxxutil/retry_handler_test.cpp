// The retry policy: the timeout options, conditions that end a wait, and
// the process's time to die.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "libs/libcxxutil/retry_handler.h"

namespace {

class Handler : public RetryHandler {
 public:
  using RetryHandler::RetryHandler;
  void idle() override {}
};

class Flag : public RetryCondition {
 public:
  bool ok = true;
  bool mayRetry() override { return ok; }
};

TEST(RetryHandler, TimeoutOptions) {
  EXPECT_EQ(Handler().getTimeoutMs(), -1);
  EXPECT_EQ(Handler(-1).getTimeoutMs(), 15000);
  EXPECT_EQ(Handler(2).getTimeoutMs(), 30000);
  EXPECT_EQ(Handler(1000500).getTimeoutMs(), 500);
  EXPECT_EQ(Handler(0).getTimeoutMs(), -1);
}

TEST(RetryHandler, WaitsEndAtTheTimeoutOrAConditionOrTheTimeToDie) {
  Handler h(1000000 + 300);
  h.beginOp();
  EXPECT_TRUE(h.retryOp());
  std::this_thread::sleep_for(std::chrono::milliseconds(320));
  EXPECT_FALSE(h.retryOp());

  Handler forever;
  Flag flag;
  forever.addRetryCondition(&flag);
  forever.beginOp();
  EXPECT_TRUE(forever.retryOp());
  flag.ok = false;
  EXPECT_FALSE(forever.retryOp());
  forever.removeRetryCondition(&flag);
  EXPECT_TRUE(forever.retryOp());

  RetryHandler::setMaxRunTime(0);
  EXPECT_FALSE(forever.retryOp());
  RetryHandler::setMaxRunTime(-1);
  EXPECT_TRUE(forever.retryOp());
}

TEST(RetryHandler, Clocks) {
  int64_t now = ut_getTimeMillis64();
  EXPECT_GT(now, 1700000000000LL);  // after 2023: a wall clock in milliseconds
}

}  // namespace
