// The X connection as a socket listener of the idle notifier: it only wakes
// the wait when the server sends something, so that the next WEventAll
// drains the X queue.  Its handlers do nothing.
#pragma once

#include "gui/idle_notifier.h"

class XSocketListener : public SocketListener {
 public:
  explicit XSocketListener(int fd) : fd_(fd) {}
  bool hasFD() override { return true; }
  int getFD() override { return fd_; }
  bool wantsToRead() override { return true; }
  bool wantsToWrite() override { return false; }
  bool wantsToDequeueAndDispatch() override { return false; }
  bool wantsToStop() override { return false; }
  void handleRead() override {}
  void handleWrite() override {}
  void handleDequeueAndDispatch() override {}
  void handleStop() override {}

 private:
  int fd_;
};
