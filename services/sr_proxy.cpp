// The process-wide proxy's life: creation on first use, the router link
// (made, lost, released) and the wait every request to the router uses.
#include "services/sr_proxy.h"

#include "base/gen.h"
#include "libs/stp_transport/stp_log.h"
#include "libs/stp_transport/stp_retry.h"
#include "libs/stp_transport/transport.h"
#include "services/forwarding_log.h"
#include "services/sr_negotiator.h"
#include "services/sr_plugin_link.h"
#include "services/sr_registration.h"
#include "services/srp_socket_listener.h"

namespace {
SRProxy* theProxy = nullptr;
}

bool SRProxy::disabled = false;

SRProxy* SRProxy::current() { return disabled ? nullptr : theProxy; }

SRProxy* SRProxy::create() {
  if (disabled) return nullptr;
  if (!theProxy) theProxy = new SRProxy;
  return theProxy;
}

void SRProxy::destroy() {
  delete theProxy;
  theProxy = nullptr;
}

SRProxy::SRProxy() = default;

SRProxy::~SRProxy() {
  for (auto* list : {&connectedServices, &pendingServices}) {
    for (ServiceStatus& s : *list) {
      s.endpoint->markAsDown();
      s.endpoint->delRef();
    }
    list->clear();
  }
  negotiator.reset();
  dropLink();
}

void SRProxy::makeLink(STPTransport* t) {
  dropLink();
  transport = t;
  link = new SRPluginLink(this);
  link->setTransport(transport, 0, 0);
  if (!settings.traceLog.empty()) {
    if (FILE* f = fopen(settings.traceLog.c_str(), "a"))
      traceLog = std::make_unique<TimestampedSTPFileLog>(f, true);
    link->setLogging(traceLog.get());
  }
  listener = std::make_unique<SRP_SocketListener>(transport, [this] { linkDied(); });
}

void SRProxy::dropLink() {
  listener.reset();
  if (forwardingLog && globalLog == forwardingLog.get()) globalLog = nullptr;
  forwardingLog.reset();
  if (link) {
    link->detach();
    link->markAsDown();
    link->delRef();
    link = nullptr;
  }
  if (transport) {
    transport->closeConnection();
    transport->delRef();
    transport = nullptr;
  }
  traceLog.reset();
  connected = false;
}

bool SRProxy::linkUp() const {
  return link && transport && !transport->isDead() && !link->isDown();
}

// Every connection travelled over the link: all of them end with it.
void SRProxy::linkDied() {
  if (link) link->markAsDown();
  while (!pendingServices.empty()) endConnection(pendingServices, 0, false);
  while (!connectedServices.empty()) endConnection(connectedServices, 0, false);
}

bool SRProxy::waitFor(RetryHandler* handler, const std::function<bool()>& done) {
  if (done()) return true;
  if (!linkUp()) return false;
  STPTransport* t = transport;
  t->addRef();
  TimeoutSTPRetryHandler fallback(t, RetryHandler::kDefaultTimeoutMs);
  RetryHandler* h = handler ? handler : &fallback;
  bool ok = false;
  {
    STPTransportStacker stack(t);
    h->beginOp();
    for (;;) {
      if ((ok = done()) || !linkUp()) break;
      h->idle();
      if ((ok = done()) || !linkUp() || !h->retryOp()) break;
    }
    h->completedOp();
  }
  t->delRef();
  return ok;
}

std::string SRProxy::zone() {
  if (settings.zone.empty())
    settings.zone = sr_default_zone(settings.routerDir, sr_display_id(display));
  return settings.zone;
}

std::string sr_currentDir() {
  char* cwd = gen_getcwd();
  std::string dir = cwd ? cwd : "/";
  gen_free(cwd);
  return dir;
}
