// The router tests' tool, frames and router process.
#include "router_harness.h"

#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <thread>

#include "test_support.h"

namespace router_test {

void Plugin::msg_RNBlockReservedEvent(const std::vector<uint32_t>& list) {
  rns.insert(rns.end(), list.begin(), list.end());
}

void Plugin::msg_ConnectionReplyEvent(const char* serviceName, uint32_t localRN, uint8_t wasFound,
                                      uint8_t, uint8_t wasAccepted, uint32_t serviceRN,
                                      uint32_t plugin_id, const char*, uint32_t client_cookie) {
  replies.push_back(Reply{serviceName ? serviceName : "", localRN, serviceRN, plugin_id,
                          client_cookie, wasFound != 0, wasAccepted != 0});
}

void Plugin::msg_ConnectionRequestedEvent(uint32_t requester, uint32_t serviceRN,
                                          uint32_t remoteRN, const std::vector<std::string>&) {
  requested.push_back({requester, serviceRN, remoteRN});
  if (acceptAll) send_ConnectionAcceptedEvent(serviceRN, remoteRN, 1, false);
}

void Plugin::msg_ValueOfNameOnPluginEvent(uint32_t, const char* name, const char* value) {
  values.push_back(std::string(name ? name : "") + "=" + (value ? value : ""));
}

void Plugin::msg_ForwardedRequestValueOfNameOnPlugin(uint32_t requester, uint32_t mine,
                                                     const char* name) {
  send_ValueOfNameOnPluginResponseEvent(requester, mine, name, "answer", false);
}

Frames::Frames(STPTransport* t, uint32_t localRN, uint32_t remoteRN) : t_(t) {
  t_->addRef();
  t_->registerMessageListener(remoteRN, localRN, this, STP_KIND_BINARY);
}
Frames::~Frames() {
  t_->unregisterMessageListener(this);
  t_->delRef();
}
bool Frames::handleResponse(STPIMsg* message, bool) {
  ids.push_back(message->header().message_id);
  return true;
}

namespace {
std::vector<Tool*> everyTool;  // all are served while any waits
}  // namespace

Tool::Tool(int routerPort) : t(new STPTransport), p(new Plugin) {
  t->connect("127.0.0.1", routerPort, nullptr);
  p->setTransport(t, 0, 0);
  everyTool.push_back(this);
}

Tool::Tool(STPTransport* connected) : t(connected), p(new Plugin) {
  p->setTransport(t, 0, 0);
  everyTool.push_back(this);
}

Tool::~Tool() {
  std::erase(everyTool, this);
  p->delRef();
  t->closeConnection();
  t->delRef();
}

bool Tool::waitFor(const std::function<bool()>& done) {
  auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!done() && t->isAlive() && std::chrono::steady_clock::now() < end) {
    std::vector<STPTransport*> all;
    for (Tool* tool : everyTool)
      if (tool->t->isAlive()) all.push_back(tool->t);
    STPTransport::serviceFirst(20, all);
  }
  return done();
}

bool Tool::introduce() {
  return p->negotiate(p->getDefaultRetryHandler(), nullptr) && waitFor([&] { return p->id != kNone; });
}

void Tool::sendFrame(uint32_t fromRN, uint32_t toRN, uint32_t id) {
  std::unique_ptr<STPBinaryOMsg> m(t->createBinaryMessage(fromRN, toRN, STP_KIND_BINARY, id, 2));
  t->sendMessage(m.get(), nullptr, nullptr);
}

RouterProcess::RouterProcess(const std::vector<std::string>& args,
                             const std::vector<std::string>& env) {
  int listenPort = 0;
  int fd = STPTransport::getListenSocket(&listenPort);
  std::vector<std::string> all{"-connect_servicerouter", std::to_string(listenPort)};
  all.insert(all.end(), args.begin(), args.end());
  pid = test_support::startProgram(DIFFVIEW_BIN "/svc_router", all, env, "/dev/null", "/dev/null");
  for (int i = 0; i < 500 && !first; i++) {
    int client = accept(fd, nullptr, nullptr);
    if (client >= 0) {
      auto* t = new STPTransport;
      t->bindFD(client);
      first = new Tool(t);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  close(fd);
  if (!first || !first->introduce()) return;
  first->p->send_RequestLocation(false);
  first->waitFor([&] { return first->p->routerPort != 0; });
  port = static_cast<int>(first->p->routerPort);
}

RouterProcess::~RouterProcess() {
  delete first;
  if (pid > 0 && kill(pid, SIGKILL) == 0) test_support::waitProgram(pid);
}

int openDescriptors(pid_t pid) {
  auto dir = std::filesystem::path("/proc") / std::to_string(pid) / "fd";
  return static_cast<int>(std::distance(std::filesystem::directory_iterator(dir), {}));
}

long residentKb(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string word; status >> word;)
    if (word == "VmRSS:") return status >> word ? std::stol(word) : -1;
  return -1;
}

}  // namespace router_test
