// The router link's socket listener.
#include "services/srp_socket_listener.h"

#include "libs/stp_transport/transport.h"

SRP_SocketListener::SRP_SocketListener(STPTransport* transport, std::function<void()> onStop)
    : STPSocketListener(transport), onStop_(std::move(onStop)) {}

bool SRP_SocketListener::wantsToStop() { return !stopped_ && getTransport()->isDead(); }

void SRP_SocketListener::handleStop() {
  if (stopped_) return;
  stopped_ = true;
  getIdleNotifier()->removeSocketListener(this);
  if (onStop_) onStop_();
}
