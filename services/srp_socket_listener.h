// SRP_SocketListener: the router link's place in the idle notifier.  Like
// any transport's listener it serves the link's traffic inside the one
// select loop; unlike them it stops once the link is dead, removing itself
// and telling the proxy that the router is gone.
#pragma once

#include <functional>

#include "libs/stp_transport/socket_listener.h"

class SRP_SocketListener : public STPSocketListener {
 public:
  // `onStop` runs once, when the dead link is removed.
  SRP_SocketListener(STPTransport* transport, std::function<void()> onStop);
  bool wantsToStop() override;
  void handleStop() override;

 private:
  std::function<void()> onStop_;
  bool stopped_ = false;
};
