// Private to services/: the Negotiator, which sees the server connections
// that negotiate with a peer in another tool through to the end.  Each
// endpoint sends its negotiation at once; an idle task then hands every
// endpoint that negotiated, or went down, back to the proxy, and removes
// itself when none is left.
#pragma once

#include <vector>

#include "gui/loop/idle_notifier.h"
#include "services/sr_proxy.h"

class SRNegotiator : public Idler {
 public:
  explicit SRNegotiator(SRProxy* proxy) : proxy_(proxy) {}
  ~SRNegotiator() override;
  SRNegotiator(const SRNegotiator&) = delete;
  SRNegotiator& operator=(const SRNegotiator&) = delete;

  // Sends the endpoint's negotiation and watches it.
  void add(STPSpecClass* endpoint);
  void forget(STPSpecClass* endpoint);
  // Hands back what is done now; also run by the idle task.
  void check();
  void handleIdle(IdleNotifier* notifier) override;
  bool isIdlerSafe() override { return true; }

 private:
  SRProxy* proxy_;
  std::vector<STPSpecClass*> clients_;
  bool idling_ = false;
};
