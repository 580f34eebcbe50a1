// The retry policy's timeout conventions and conditions.  Waits measure on
// the monotonic clock, so that setting the wall clock neither ends nor
// stretches them.
#include "libs/libcxxutil/retry_handler.h"

#include <algorithm>
#include <chrono>

namespace {

int64_t monotonicMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

int64_t timeToDie = -1;  // monotonic ms; -1: none

}  // namespace

uint32_t ut_getTimeMillis() { return static_cast<uint32_t>(ut_getTimeMillis64()); }

int64_t ut_getTimeMillis64() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

RetryHandler::RetryHandler(long option) {
  constexpr long kAbsolute = 1000000;
  if (option == -1) timeoutMs_ = kDefaultTimeoutMs;
  else if (option > kAbsolute) timeoutMs_ = option - kAbsolute;
  else if (option > 0) timeoutMs_ = option * kDefaultTimeoutMs;
}

void RetryHandler::beginOp() { startMs_ = monotonicMs(); }

bool RetryHandler::retryOp() {
  for (RetryCondition* c : conditions_)
    if (!c->mayRetry()) return false;
  if (timeToDieHasPassed()) return false;
  return timeoutMs_ < 0 || monotonicMs() - startMs_ < timeoutMs_;
}

void RetryHandler::addRetryCondition(RetryCondition* condition) {
  if (condition) conditions_.push_back(condition);
}

void RetryHandler::removeRetryCondition(RetryCondition* condition) {
  auto it = std::find(conditions_.begin(), conditions_.end(), condition);
  if (it != conditions_.end()) conditions_.erase(it);
}

bool RetryHandler::timeToDieHasPassed() { return timeToDie >= 0 && monotonicMs() >= timeToDie; }

void RetryHandler::setMaxRunTime(long ms) { timeToDie = ms < 0 ? -1 : monotonicMs() + ms; }
