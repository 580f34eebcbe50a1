// What the router tests drive: a tool without the tool-side proxy (the
// generated plugin side of "ServiceRouter" on a transport of its own, with
// what the router sent it recorded), raw frames between tools, and a
// router process started as a tool starts it and killed with the test.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "services/interfaces/ServiceRouter_plugin_Impl.h"

namespace router_test {

constexpr uint32_t kNone = 0xFFFFFFFF;

struct Reply {
  std::string service;
  uint32_t localRN, serviceRN, plugin, cookie;
  bool found, accepted;
};

class Plugin : public ServiceRouter_plugin_Impl {
 public:
  uint32_t id = kNone;
  std::vector<uint32_t> rns;  // every RN block, in order
  std::vector<Reply> replies;
  std::vector<std::vector<uint32_t>> requested;  // requester, service RN, client RN
  std::vector<std::pair<uint32_t, uint32_t>> dropped;
  std::vector<std::string> values;
  uint32_t routerPort = 0;
  bool acceptAll = false;  // answer every connection request with yes

  void msg_PluginId(uint32_t plugin_id) override { id = plugin_id; }
  void msg_RNBlockReservedEvent(const std::vector<uint32_t>& list) override;
  void msg_ConnectionReplyEvent(const char* serviceName, uint32_t localRN, uint8_t wasFound,
                                uint8_t, uint8_t wasAccepted, uint32_t serviceRN,
                                uint32_t plugin_id, const char*, uint32_t client_cookie) override;
  void msg_ConnectionRequestedEvent(uint32_t requester, uint32_t serviceRN, uint32_t remoteRN,
                                    const std::vector<std::string>&) override;
  void msg_ConnectionDroppedEvent(uint32_t serviceRN, uint32_t remoteRN) override {
    dropped.emplace_back(serviceRN, remoteRN);
  }
  void msg_ValueOfNameOnPluginEvent(uint32_t, const char* name, const char* value) override;
  void msg_ForwardedRequestValueOfNameOnPlugin(uint32_t requester, uint32_t mine,
                                               const char* name) override;  // "answer"
  void msg_LocationEvent(const char*, uint32_t port) override { routerPort = port; }
  std::vector<std::pair<uint32_t, uint32_t>> started;  // cookie, plugin id
  void msg_PluginConnectedEvent(uint32_t cookie, uint32_t plugin, const char*) override {
    started.emplace_back(cookie, plugin);
  }
};

// Frames of kind 15 that arrive for one connection end, by message id.
class Frames : public ResponseListener {
 public:
  Frames(STPTransport* t, uint32_t localRN, uint32_t remoteRN);
  ~Frames() override;
  bool handleResponse(STPIMsg* message, bool) override;
  std::vector<uint32_t> ids;

 private:
  STPTransport* t_;
};

class Tool {
 public:
  explicit Tool(int routerPort);  // connects; a tool started by a router uses this
  explicit Tool(STPTransport* connected);
  ~Tool();
  Tool(const Tool&) = delete;
  Tool& operator=(const Tool&) = delete;

  // Services the link until `done` or 5 s have passed; whether `done`.
  bool waitFor(const std::function<bool()>& done);
  // Negotiates and waits for the plugin id.
  bool introduce();
  void sendFrame(uint32_t fromRN, uint32_t toRN, uint32_t id);
  bool alive() const { return t->isAlive(); }

  STPTransport* t;
  Plugin* p;
};

// svc_router started as a tool starts it; `first` is the link it connects
// back to.  Killed, if still running, when the object goes.
class RouterProcess {
 public:
  RouterProcess(const std::vector<std::string>& args, const std::vector<std::string>& env);
  ~RouterProcess();
  pid_t pid = -1;
  Tool* first = nullptr;
  int port = 0;  // the router's own, asked with RequestLocation
};

// Descriptors open in a process, and its resident memory in kB.
int openDescriptors(pid_t pid);
long residentKb(pid_t pid);

}  // namespace router_test
