// The Negotiator of server connections.
#include "services/sr_negotiator.h"

#include <algorithm>

#include "libs/stp_transport/endpoint.h"

SRNegotiator::~SRNegotiator() {
  if (idling_) getIdleNotifier()->removeIdleListener(this);
}

void SRNegotiator::add(STPSpecClass* endpoint) {
  TStat status;
  clients_.push_back(endpoint);
  if (!endpoint->sendNegotiate(true, &status)) endpoint->markAsDown();
  if (!idling_) getIdleNotifier()->addIdleListener(this);
  idling_ = true;
}

void SRNegotiator::forget(STPSpecClass* endpoint) {
  clients_.erase(std::remove(clients_.begin(), clients_.end(), endpoint), clients_.end());
}

void SRNegotiator::check() {
  std::vector<STPSpecClass*> done;
  for (STPSpecClass* e : clients_)
    if (e->isNegotiated() || e->isDown()) done.push_back(e);
  for (STPSpecClass* e : done) {
    forget(e);
    auto& pending = proxy_->pendingServices;
    auto it = std::find_if(pending.begin(), pending.end(),
                           [e](const ServiceStatus& s) { return s.endpoint == e; });
    if (it == pending.end()) continue;
    ServiceStatus status = *it;
    pending.erase(it);
    proxy_->negotiated(status, !e->isDown());
  }
  if (clients_.empty() && idling_) {
    getIdleNotifier()->removeIdleListener(this);
    idling_ = false;
  }
}

void SRNegotiator::handleIdle(IdleNotifier*) { check(); }
