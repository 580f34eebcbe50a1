// STPSocketListener: a transport's place in the idle notifier, so that its
// traffic is served inside the program's one select loop.  It registers
// itself on construction and removes itself on destruction, and forwards
// every question and event to the transport.
#pragma once

#include "gui/loop/idle_notifier.h"

class STPTransport;

class STPSocketListener : public SocketListener {
 public:
  // Holds a reference on the transport; registers with `notifier`
  // (the process's own when null).
  explicit STPSocketListener(STPTransport* transport, IdleNotifier* notifier = nullptr);
  ~STPSocketListener() override;
  STPSocketListener(const STPSocketListener&) = delete;
  STPSocketListener& operator=(const STPSocketListener&) = delete;

  STPTransport* getTransport() const { return transport_; }

  // A descriptor while alive and not a loopback pair (whose data is in
  // memory, so the notifier serves it without a select).
  bool hasFD() override;
  int getFD() override;
  bool wantsToRead() override;
  bool wantsToWrite() override;
  bool wantsToDequeueAndDispatch() override;
  bool wantsToStop() override { return false; }  // never: its owner removes it
  void handleRead() override;
  void handleWrite() override;
  void handleDequeueAndDispatch() override;
  void handleStop() override {}

 private:
  STPTransport* transport_;
  IdleNotifier* notifier_;
};
