// The policy of every wait of the service layer: whether to keep waiting
// (a timeout, conditions that may forbid it, a process-wide time to die)
// and what to pump meanwhile (`idle`, which each concrete handler decides).
// A wait always runs  beginOp; idle, retryOp ... until done or false;
// completedOp.
#pragma once

#include <cstdint>
#include <vector>

// Wall-clock milliseconds: wrapping 32-bit, and whole.
uint32_t ut_getTimeMillis();
int64_t ut_getTimeMillis64();

// A reason to stop waiting that is not time: an endpoint gone down, ...
class RetryCondition {
 public:
  virtual ~RetryCondition() = default;
  virtual bool mayRetry() = 0;
};

class RetryHandler {
 public:
  static constexpr long kDefaultTimeoutMs = 15000;

  RetryHandler() = default;  // no timeout
  // -1: the default timeout; above 1000000: that value minus 1000000
  // milliseconds; 1 to 1000000: that many times the default; 0: none.
  explicit RetryHandler(long timeoutOption);
  virtual ~RetryHandler() = default;

  virtual void beginOp();
  // False when a condition forbids waiting longer, the timeout has passed
  // since beginOp, or the process's time to die has come.
  virtual bool retryOp();
  virtual void completedOp() {}
  virtual void idle() = 0;

  // Conditions are not owned; remove one before it goes.
  void addRetryCondition(RetryCondition* condition);
  void removeRetryCondition(RetryCondition* condition);

  long getTimeoutMs() const { return timeoutMs_; }  // -1: none

  // Every wait of the process ends once `ms` from now have passed; a
  // negative value lifts the limit.
  static void setMaxRunTime(long ms);
  static bool timeToDieHasPassed();

 protected:
  void setTimeoutMs(long ms) { timeoutMs_ = ms; }  // -1: none

 private:
  long timeoutMs_ = -1;
  int64_t startMs_ = 0;
  std::vector<RetryCondition*> conditions_;
};
