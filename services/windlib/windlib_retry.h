// The retry handlers of waits made with windows on the screen.  `idle`
// keeps the windows painted (or, in the event-processing variants, fully
// working) and serves the sockets; when the timeout passes, a dialogue asks
// whether to go on waiting: "Continue" restarts the timeout, "Terminate"
// ends the wait.  Nothing is asked once the process's time to die has come
// or when the connection waited on is gone.
#pragma once

#include <string>

#include "libs/libcxxutil/retry_handler.h"

class STPTransport;
class STPSpecClass;

class WindLibRetryHandler : public RetryHandler {
 public:
  // `text` begins the dialogue's question: "<text>, Terminate Connection?".
  explicit WindLibRetryHandler(long timeoutMs, const char* text = "");

  void beginOp() override;
  bool retryOp() override;
  void idle() override;

  void abort() { aborted_ = true; }
  bool wasAborted() const { return aborted_; }
  // Re-read at each beginOp: the timeout is *seconds * 1000 from then on.
  void setTimeoutSecondsPtr(const int* seconds) { timeoutSeconds_ = seconds; }

  // Whether waits serve the windows at all (with X on); off, they only
  // serve idle work, timers and sockets.
  static void setGuiProcessing(bool on);

 protected:
  // Whether the wait may go on regardless of the time: false ends it at
  // once, with no question asked.
  virtual bool mayContinue() { return true; }
  // The GUI step of idle: safe events only, or all events.
  virtual bool processEvents();

 private:
  bool askUser();

  std::string text_;
  const int* timeoutSeconds_ = nullptr;
  bool aborted_ = false;
};

// Runs every event while it waits, not only the safe ones.
class WindLibEventProcessingRetryHandler : public WindLibRetryHandler {
 public:
  using WindLibRetryHandler::WindLibRetryHandler;

 protected:
  bool processEvents() override;
};

// Ends the wait, unasked, once the transport is missing or dead.
template <class Base>
class STPWindLibRetryHandlerT : public Base {
 public:
  STPWindLibRetryHandlerT(STPTransport* transport, long timeoutMs, const char* text = "")
      : Base(timeoutMs, text), transport_(transport) {}

 protected:
  bool mayContinue() override;

 private:
  STPTransport* transport_;
};

// Ends the wait, unasked, once the endpoint is missing or down.
template <class Base>
class ConnWindLibRetryHandlerT : public Base {
 public:
  ConnWindLibRetryHandlerT(STPSpecClass* endpoint, long timeoutMs, const char* text = "")
      : Base(timeoutMs, text), endpoint_(endpoint) {}

 protected:
  bool mayContinue() override;

 private:
  STPSpecClass* endpoint_;
};

using STPWindLibRetryHandler = STPWindLibRetryHandlerT<WindLibRetryHandler>;
using STPWindLibEventProcessingRetryHandler =
    STPWindLibRetryHandlerT<WindLibEventProcessingRetryHandler>;
using ConnWindLibRetryHandler = ConnWindLibRetryHandlerT<WindLibRetryHandler>;
using ConnWindLibEventProcessingRetryHandler =
    ConnWindLibRetryHandlerT<WindLibEventProcessingRetryHandler>;
