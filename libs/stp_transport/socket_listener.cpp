// The transport's socket listener: every call forwards to the transport.
#include "libs/stp_transport/socket_listener.h"

#include "libs/stp_transport/transport.h"

STPSocketListener::STPSocketListener(STPTransport* transport, IdleNotifier* notifier)
    : transport_(transport), notifier_(notifier ? notifier : getIdleNotifier()) {
  transport_->addRef();
  notifier_->addSocketListener(this);
}

STPSocketListener::~STPSocketListener() {
  notifier_->removeSocketListener(this);
  transport_->delRef();
}

bool STPSocketListener::hasFD() { return transport_->isAlive() && !transport_->isLoopback(); }
int STPSocketListener::getFD() { return transport_->getFD(); }
bool STPSocketListener::wantsToRead() { return transport_->wantsToRead(); }
bool STPSocketListener::wantsToWrite() { return transport_->wantsToWrite(); }
bool STPSocketListener::wantsToDequeueAndDispatch() {
  return transport_->wantsToDequeueAndDispatch();
}
void STPSocketListener::handleRead() { transport_->handleRead(); }
void STPSocketListener::handleWrite() { transport_->handleWrite(); }
void STPSocketListener::handleDequeueAndDispatch() { transport_->handleDequeueAndDispatch(); }
