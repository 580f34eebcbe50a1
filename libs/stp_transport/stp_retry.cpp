// The transport-bound retry handlers.  The wait's clock is the monotonic
// one of the event loop, like the base policy's.
#include "libs/stp_transport/stp_retry.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "gui/loop/idle_notifier.h"
#include "libs/stp_transport/transport.h"

namespace {

constexpr long kServiceMs = 10000;     // the longest single service wait
constexpr long kSleepWithoutMs = 50;   // the pause of a handler without transport
constexpr long kAbsoluteTimeout = 1000000;  // RetryHandler: above this, milliseconds

}  // namespace

STPRetryHandler::STPRetryHandler(STPTransport* transport, long timeoutOption)
    : RetryHandler(timeoutOption) {
  setTransport(transport);
}

STPRetryHandler::~STPRetryHandler() { setTransport(nullptr); }

void STPRetryHandler::setTransport(STPTransport* transport) {
  if (transport) transport->addRef();
  if (transport_) transport_->delRef();
  transport_ = transport;
}

void STPRetryHandler::beginOp() {
  RetryHandler::beginOp();
  startMs_ = idle_nowMs();
}

bool STPRetryHandler::retryOp() {
  if (!RetryHandler::retryOp()) return false;
  return !transport_ || (transport_->isAlive() && transport_->getStatus().ok());
}

void STPRetryHandler::idle() {
  long wait = kServiceMs;
  if (getTimeoutMs() >= 0) {
    int64_t left = getTimeoutMs() - (idle_nowMs() - startMs_);
    wait = static_cast<long>(std::clamp<int64_t>(left, 0, kServiceMs));
  }
  if (transport_) {
    transport_->serviceOnce(wait, nullptr);
    return;
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(std::min(wait, kSleepWithoutMs)));
}

TimeoutSTPRetryHandler::TimeoutSTPRetryHandler(STPTransport* transport, long ms)
    : STPRetryHandler(transport, kAbsoluteTimeout + std::max(ms, 1L)) {}
