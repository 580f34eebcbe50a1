// A tool's link: set-up, leaving, the limits a tool must keep, forwarding.
#include "svc_router/tool_link.h"

#include "libs/stp_transport/socket_listener.h"
#include "svc_router/router_core.h"
#include "svc_router/tool_endpoint.h"

namespace {

// A tool that leaves this many messages unclaimed (frames to RNs of the
// router's own link that no endpoint takes, replies to calls the router
// never made) is not speaking the interface.
constexpr size_t kMaxHoardedMessages = 256;
// What the router holds for a tool that does not read before ending its
// link.
constexpr size_t kMaxPendingWrite = size_t{64} << 20;

}  // namespace

ToolLink::ToolLink(RouterCore& core, uint32_t pluginId, STPTransport* transport,
                   IdleNotifier* notifier, STPLog* trace)
    : core_(core), id_(pluginId), transport_(transport) {
  transport_->addRef();
  transport_->setForwardingHandler(this);
  transport_->setDefaultToken(static_cast<uint16_t>(kRouterRN));
  endpoint_ = new ToolEndpoint(core, *this);
  endpoint_->setTransport(transport_, 0, 0);
  if (trace) endpoint_->setLogging(trace);
  listener_ = std::make_unique<STPSocketListener>(transport_, notifier);
  TStat status;
  if (!endpoint_->sendNegotiate(true, &status)) leave("negotiation failed: " + status.getMessage());
}

ToolLink::~ToolLink() {
  listener_.reset();
  transport_->setForwardingHandler(nullptr);
  endpoint_->detach();
  endpoint_->markAsDown();
  endpoint_->delRef();
  if (transport_->isAlive()) transport_->handleWrite();  // a last word, if it fits
  transport_->closeConnection();
  transport_->delRef();
}

void ToolLink::leave(const std::string& reason) {
  if (leaveReason_.empty()) leaveReason_ = reason;
}

bool ToolLink::leaving() const { return !leaveReason_.empty() || !transport_->isAlive(); }

std::string ToolLink::leaveReason() const {
  if (!leaveReason_.empty()) return leaveReason_;
  const std::string& why = transport_->getStatus().getMessage();
  return why.empty() ? "link closed" : why;
}

bool ToolLink::reachable() const { return !leaving() && endpoint_->isNegotiated(); }

std::string ToolLink::misbehaviour() const {
  size_t hoarded = transport_->unclaimedCount() + transport_->responseCount() +
                   transport_->deferredCount();
  if (hoarded > kMaxHoardedMessages) return "sent too many messages that no one takes";
  if (transport_->pendingWriteBytes() > kMaxPendingWrite) return "stopped reading";
  return {};
}

STPTransport* ToolLink::forwardTarget(uint32_t destinationRN) {
  return core_.forwardTarget(*this, destinationRN);
}
