// Waiting with the windows alive, and the question asked when a wait has
// taken too long.
#include "services/windlib/windlib_retry.h"

#include "gui/core/event_loop.h"
#include "gui/loop/idle_notifier.h"
#include "gui/widgets/dialog.h"
#include "gui/x11/display.h"
#include "libs/stp_transport/endpoint.h"
#include "libs/stp_transport/transport.h"

namespace {

constexpr long kAbsoluteMs = 1000000;  // RetryHandler: above this, milliseconds
constexpr long kIdleWaitMs = 500;
bool guiProcessing = true;

long timeoutOption(long ms) { return ms > 0 ? kAbsoluteMs + ms : 0; }

}  // namespace

WindLibRetryHandler::WindLibRetryHandler(long timeoutMs, const char* text)
    : RetryHandler(timeoutOption(timeoutMs)), text_(text ? text : "") {}

void WindLibRetryHandler::setGuiProcessing(bool on) { guiProcessing = on; }

void WindLibRetryHandler::beginOp() {
  aborted_ = false;
  if (timeoutSeconds_) setTimeoutMs(*timeoutSeconds_ > 0 ? *timeoutSeconds_ * 1000L : -1);
  RetryHandler::beginOp();
}

bool WindLibRetryHandler::processEvents() { return WEventProcessSafeEvents(1) != 0; }

bool WindLibEventProcessingRetryHandler::processEvents() { return WEventAll(0) != 0; }

void WindLibRetryHandler::idle() {
  IdleNotifier* notifier = getIdleNotifier();
  long timeout = kIdleWaitMs;
  if (XWindowsOn() && guiProcessing) {
    WYield(kIdleWaitMs, true);
    if (!processEvents()) aborted_ = true;
    timeout = 0;
  } else {
    notifier->notifyIdle(false);
    notifier->notifyTimers();
  }
  notifier->notifySocketActivity(timeout, true);
}

bool WindLibRetryHandler::retryOp() {
  if (RetryHandler::timeToDieHasPassed() || !mayContinue()) return false;
  if (!aborted_ && RetryHandler::retryOp()) return true;
  if (!askUser()) return false;
  RetryHandler::beginOp();  // "Continue": a whole timeout again from now
  aborted_ = false;
  return true;
}

// True for "Continue".  Without a display nobody can answer: the wait ends.
bool WindLibRetryHandler::askUser() {
  std::string question = text_ + ", Terminate Connection?";
  return gui_ButtonDialog(nullptr, "Terminate Connection", question.c_str(),
                          {"Continue", "Terminate"}, 0, 1) == 0;
}

template <class Base>
bool STPWindLibRetryHandlerT<Base>::mayContinue() {
  return transport_ && !transport_->isDead();
}

template <class Base>
bool ConnWindLibRetryHandlerT<Base>::mayContinue() {
  return endpoint_ && !endpoint_->isDown();
}

template class STPWindLibRetryHandlerT<WindLibRetryHandler>;
template class STPWindLibRetryHandlerT<WindLibEventProcessingRetryHandler>;
template class ConnWindLibRetryHandlerT<WindLibRetryHandler>;
template class ConnWindLibRetryHandlerT<WindLibEventProcessingRetryHandler>;
