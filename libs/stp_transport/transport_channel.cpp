// Channels: kind-6 control messages between two endpoints of a transport.
// The body is empty; the message id says create (1), start (2) or close
// (3).  A channel the peer names for the first time is made on receipt.
#include "libs/stp_transport/transport.h"

#include "libs/stp_transport/stp_msg.h"

namespace {

enum ChannelControl : uint32_t { kCreate = 1, kStart = 2, kClose = 3 };

}  // namespace

STPChannel* STPTransport::createChannel(uint32_t sourceRN, uint32_t destRN) {
  std::unique_ptr<STPChannel>& c = channels_[{sourceRN, destRN}];
  if (!c) c.reset(new STPChannel(this, sourceRN, destRN));
  return c.get();
}

void STPTransport::onChannelControl(const STPIMsg& message) {
  const STPHeader& h = message.header();
  if (h.message_id < kCreate || h.message_id > kClose) return;
  STPChannel* c = createChannel(h.dest_rn, h.source_rn);
  switch (h.message_id) {
    case kCreate: return c->handleCCreateReceive();
    case kStart: return c->handleCStartReceive();
    case kClose: return c->handleCCloseReceive();
  }
}

bool STPChannel::send(uint32_t messageId, TStat* status) {
  STPOMsg control(local_, remote_, STP_KIND_CHANNEL, messageId, 0, STP_FLAG_ONE_WAY,
                  transport_->currentTokenOrigin(), transport_->currentTokenDepth() + 1);
  return transport_->enqueueAndTryMessage(&control, 1, status);
}

bool STPChannel::enqueueChannelCreate(TStat* status) {
  created_ = true;
  return send(kCreate, status);
}

bool STPChannel::startChannel(TStat* status) {
  created_ = started_ = true;
  return send(kStart, status);
}

bool STPChannel::closeChannel(TStat* status) {
  closed_ = true;
  return send(kClose, status);
}
