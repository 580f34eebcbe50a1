// The router's links and its loop: the listening socket and the owner
// check of every connection, adopting a transport as a tool, the turn of
// the loop with its housekeeping (introductions, limits, tools that left,
// prompt writes, children, expired waits), and forwarding by destination
// RN.
#include "svc_router/router_core.h"

#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "libs/stp_transport/peer_owner.h"
#include "svc_router/tool_endpoint.h"

namespace {

// The listening socket's place in the loop.
class Acceptor : public SocketListener {
 public:
  Acceptor(RouterCore& core, int fd) : core_(core), fd_(fd) {}
  bool hasFD() override { return true; }
  int getFD() override { return fd_; }
  bool wantsToRead() override { return true; }
  bool wantsToWrite() override { return false; }
  bool wantsToDequeueAndDispatch() override { return false; }
  bool wantsToStop() override { return false; }
  void handleRead() override { core_.acceptPending(); }
  void handleWrite() override {}
  void handleDequeueAndDispatch() override {}
  void handleStop() override {}

 private:
  RouterCore& core_;
  int fd_;
};

constexpr size_t kRouterBufferSize = 32768;
constexpr int kMaxAcceptsPerTurn = 16;

}  // namespace

// ---- the facade ----------------------------------------------------------------------

ServiceRouter::ServiceRouter(const RouterSettings& settings)
    : core_(std::make_unique<RouterCore>(settings)) {}
ServiceRouter::~ServiceRouter() = default;
bool ServiceRouter::listen(std::string* error) { return core_->listen(error); }
int ServiceRouter::port() const { return core_->port(); }
bool ServiceRouter::connectBack(int port, std::string* error) {
  return core_->connectBack(port, error);
}
void ServiceRouter::adopt(STPTransport* transport) { core_->adopt(transport); }
void ServiceRouter::runOnce(long maxWaitMs) { core_->runOnce(maxWaitMs); }
bool ServiceRouter::finished() const { return core_->finished(); }
size_t ServiceRouter::toolCount() const { return core_->toolCount(); }

// ---- links ---------------------------------------------------------------------------

RouterCore::RouterCore(const RouterSettings& settings)
    : settings_(settings), log_(settings.internalLog, settings.log), idleSince_(idle_nowMs()) {}

RouterCore::~RouterCore() {
  tools_.clear();
  acceptor_.reset();
  if (listenFd_ >= 0) close(listenFd_);
  log_.event("router ends");
}

bool RouterCore::listen(std::string* error) {
  int port = 0;
  listenFd_ = STPTransport::getListenSocket(&port, error);
  if (listenFd_ < 0) return false;
  port_ = port;
  acceptor_ = std::make_unique<Acceptor>(*this, listenFd_);
  notifier_.addSocketListener(acceptor_.get());
  log_.event("router %d listens on port %d", static_cast<int>(getpid()), port_);
  return true;
}

bool RouterCore::connectBack(int port, std::string* error) {
  auto* transport = new STPTransport(kRouterBufferSize);
  TStat status;
  bool ok = transport->connect("127.0.0.1", port, &status);
  if (!ok) *error = "cannot connect to the tool at port " + std::to_string(port);
  if (ok && !stp_peer_is_own_user(transport->getFD())) {
    ok = false;
    *error = "the socket at port " + std::to_string(port) + " belongs to another user";
  }
  if (ok) adopt(transport);
  log_.event("connect back to port %d: %s", port, ok ? "done" : error->c_str());
  transport->delRef();
  return ok;
}

ToolLink* RouterCore::adopt(STPTransport* transport) {
  uint32_t id = nextPluginId_++;
  if (nextPluginId_ == kNoPlugin) nextPluginId_ = 1;
  auto link = std::make_unique<ToolLink>(*this, id, transport, &notifier_, log_.trace());
  ToolLink* raw = link.get();
  tools_[id] = std::move(link);
  idleSince_ = 0;
  log_.event("plugin %u: link opened", id);
  return raw;
}

// Strangers are closed before a byte of theirs is read.
void RouterCore::acceptPending() {
  for (int i = 0; i < kMaxAcceptsPerTurn; i++) {
    int fd = accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (fd < 0) {
      if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
        log_.event("accept failed: errno %d", errno);
      return;
    }
    if (!stp_peer_is_own_user(fd)) {
      log_.event("connection refused: the peer is not a process of this user");
      close(fd);
      continue;
    }
    auto* transport = new STPTransport(kRouterBufferSize);
    transport->bindFD(fd);
    adopt(transport);
    transport->delRef();
  }
}

ToolLink* RouterCore::tool(uint32_t id) const {
  auto it = tools_.find(id);
  return it != tools_.end() && !it->second->leaving() ? it->second.get() : nullptr;
}

// ---- the loop ------------------------------------------------------------------------

void RouterCore::runOnce(long maxWaitMs) {
  long wait = maxWaitMs;
  if (!launches_.empty() || !children_.empty()) wait = std::min(wait, 100L);
  if (tools_.empty()) {
    int64_t left = idleSince_ + settings_.idleExitMs - idle_nowMs();
    wait = std::clamp<long>(static_cast<long>(left), 0, wait);
  }
  notifier_.notifySocketActivity(wait, true);
  housekeeping();
}

void RouterCore::housekeeping() {
  std::vector<uint32_t> gone;
  for (auto& [id, link] : tools_) {
    if (!link->leaving() && link->endpoint()->isNegotiated()) introduce(*link);
    if (std::string why = link->misbehaviour(); !why.empty()) link->leave(why);
    if (link->leaving()) gone.push_back(id);
  }
  for (uint32_t id : gone) removeTool(id);
  // What this turn queued goes out now rather than after the next select:
  // a forwarded frame costs the router one turn, not two.
  for (auto& [id, link] : tools_)
    if (link->transport()->wantsToWrite()) link->transport()->handleWrite();
  reapChildren();
  checkLaunches();
  updateIdleClock();
}

// Everything the tool took part in ends with it; its peers are told.
void RouterCore::removeTool(uint32_t id) {
  auto it = tools_.find(id);
  if (it == tools_.end()) return;
  log_.event("plugin %u: link ended (%s)", id, it->second->leaveReason().c_str());
  dropConnectionsOf(id);
  for (auto s = services_.begin(); s != services_.end();)
    s = s->second.tool == id ? services_.erase(s) : std::next(s);
  for (uint32_t rn : it->second->rns) rnOwner_.erase(rn);
  forgetValuesOf(id);
  for (auto& [cookie, launch] : launches_) {
    std::erase_if(launch.waits, [id](const ServiceRequest& r) { return r.requester == id; });
    if (launch.requester == id) launch.reportsConnected = false;
  }
  tools_.erase(it);
}

void RouterCore::updateIdleClock() {
  if (!tools_.empty()) {
    idleSince_ = 0;
  } else if (idleSince_ == 0) {
    idleSince_ = idle_nowMs();
  }
}

bool RouterCore::finished() const {
  return tools_.empty() && idle_nowMs() - idleSince_ >= settings_.idleExitMs;
}

// Frames for the router's own end stay; frames for another tool's RN go to
// it unread; frames for no one (or for the sender itself) are dropped by
// "forwarding" them to their own transport.
STPTransport* RouterCore::forwardTarget(ToolLink& from, uint32_t destinationRN) {
  if (destinationRN == kRouterRN) return nullptr;
  auto owner = rnOwner_.find(destinationRN);
  ToolLink* to = owner == rnOwner_.end() ? nullptr : tool(owner->second);
  if (!to || to == &from) return from.transport();
  return to->transport();
}
