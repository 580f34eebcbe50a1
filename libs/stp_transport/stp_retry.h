// The retry handlers bound to the transport: a wait that services one
// transport while it waits (and ends when the transport dies or fails),
// and a condition that ends a wait once an interface endpoint is down.
#pragma once

#include <cstdint>

#include "libs/libcxxutil/retry_handler.h"

class STPTransport;
class STPSpecClass;

class STPRetryHandler : public RetryHandler {
 public:
  // `timeoutOption` follows RetryHandler (-1: the default timeout).  The
  // transport, when given, is held by a reference.
  explicit STPRetryHandler(STPTransport* transport = nullptr, long timeoutOption = -1);
  ~STPRetryHandler() override;
  STPRetryHandler(const STPRetryHandler&) = delete;
  STPRetryHandler& operator=(const STPRetryHandler&) = delete;

  void beginOp() override;
  // The base policy, and the transport (if any) alive with status 0.
  bool retryOp() override;
  // serviceOnce(10000) on the transport, cut to the time left before the
  // timeout; without a transport a 50 ms sleep.
  void idle() override;

  void setTransport(STPTransport* transport);
  STPTransport* getTransport() const { return transport_; }

 private:
  STPTransport* transport_ = nullptr;
  int64_t startMs_ = 0;
};

// An STPRetryHandler that gives up after `ms` milliseconds (at least 1).
class TimeoutSTPRetryHandler : public STPRetryHandler {
 public:
  TimeoutSTPRetryHandler(STPTransport* transport, long ms);
};

// Allows retrying while the endpoint is not down; holds a reference on it
// for its lifetime, so that an endpoint released during a nested wait
// outlives the wait.
class STP_RetryCondition : public RetryCondition {
 public:
  explicit STP_RetryCondition(STPSpecClass* endpoint);
  ~STP_RetryCondition() override;
  STP_RetryCondition(const STP_RetryCondition&) = delete;
  STP_RetryCondition& operator=(const STP_RetryCondition&) = delete;
  bool mayRetry() override;

 private:
  STPSpecClass* endpoint_;
};
