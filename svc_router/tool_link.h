// One tool's link to the router and what the router knows of the tool: its
// transport and place in the select loop, the router side of the
// "ServiceRouter" interface on it, its plugin id, working directory,
// persistence and the RNs it owns.  The link also decides, frame by frame,
// which other tool's transport a frame goes to (raw, unread).
#pragma once

#include <cstdint>
#include <memory>
#include <set>
#include <string>

#include "libs/stp_transport/transport.h"

class IdleNotifier;
class RouterCore;
class STPLog;
class STPSocketListener;
class ToolEndpoint;

class ToolLink : public STPForwardingHandler {
 public:
  // Serves `transport` (a reference is taken) in `notifier`'s loop and
  // starts the negotiation; `trace` (may be null) logs every message.
  ToolLink(RouterCore& core, uint32_t pluginId, STPTransport* transport, IdleNotifier* notifier,
           STPLog* trace);
  ~ToolLink() override;  // closes the link
  ToolLink(const ToolLink&) = delete;
  ToolLink& operator=(const ToolLink&) = delete;

  uint32_t id() const { return id_; }
  ToolEndpoint* endpoint() const { return endpoint_; }
  STPTransport* transport() const { return transport_; }

  // Marked to be closed at the end of the loop turn; the first reason is
  // the one logged.  A closed or failed transport counts as leaving.
  void leave(const std::string& reason);
  bool leaving() const;
  std::string leaveReason() const;
  // Whether the router may send to it (negotiated and not leaving).
  bool reachable() const;
  // Why the link must end although the transport is fine (it hoards
  // frames nobody takes, or stopped reading what it is sent); empty when
  // it behaves.
  std::string misbehaviour() const;

  STPTransport* forwardTarget(uint32_t destinationRN) override;

  bool introduced = false;  // PluginId sent
  bool persistent = true;
  std::string cwd;
  std::set<uint32_t> rns;   // reserved blocks, services and connection RNs

 private:
  RouterCore& core_;
  uint32_t id_;
  STPTransport* transport_;
  std::unique_ptr<STPSocketListener> listener_;
  ToolEndpoint* endpoint_;
  std::string leaveReason_;
};
