// Plugin ids, routing numbers, the services a tool offers, persistence,
// the router's location, values asked of one tool by another, environment
// settings, and a tool's wish to be let go.
#include "svc_router/router_core.h"

#include <algorithm>

#include "svc_router/tool_endpoint.h"

namespace {

constexpr uint32_t kFirstRN = 16;             // below: the links' own ends
constexpr uint32_t kMaxBlock = 4096;          // RNs in one ReserveRNBlock
constexpr size_t kMaxRNsPerTool = 1 << 16;    // RNs one tool may hold
constexpr size_t kMaxValueRequests = 4096;    // unanswered, router-wide

}  // namespace

void RouterCore::introduce(ToolLink& tool) {
  if (tool.introduced || !tool.endpoint()->isNegotiated()) return;
  tool.introduced = true;
  tool.endpoint()->send_PluginId(tool.id(), false);
}

// 0 when the tool holds all it may.
uint32_t RouterCore::allocateRN(ToolLink& owner) {
  if (owner.rns.size() >= kMaxRNsPerTool) return 0;
  while (nextRN_ < kFirstRN || rnOwner_.count(nextRN_)) nextRN_++;
  uint32_t rn = nextRN_++;
  rnOwner_[rn] = owner.id();
  owner.rns.insert(rn);
  return rn;
}

void RouterCore::forgetRN(uint32_t rn) {
  auto it = rnOwner_.find(rn);
  if (it == rnOwner_.end()) return;
  if (auto t = tools_.find(it->second); t != tools_.end()) t->second->rns.erase(rn);
  rnOwner_.erase(it);
}

// Each name gets a service RN; the RNs go back in one list, in order.
void RouterCore::registerServices(ToolLink& tool, const std::vector<std::string>& names) {
  std::vector<uint32_t> rns;
  for (const std::string& name : names) {
    uint32_t rn = allocateRN(tool);
    if (rn == 0) break;
    rns.push_back(rn);
    if (name.empty()) continue;
    services_[rn] = Service{name, tool.id()};
    log_.event("plugin %u: offers \"%s\" at RN %u", tool.id(), name.c_str(), rn);
  }
  tool.endpoint()->send_RNBlockReservedEvent(rns, false);
  for (size_t i = 0; i < rns.size(); i++) serveWaits(names[i]);
}

void RouterCore::reserveRNs(ToolLink& tool, uint32_t count) {
  std::vector<uint32_t> rns;
  for (uint32_t i = 0; i < std::min(count, kMaxBlock); i++) {
    uint32_t rn = allocateRN(tool);
    if (rn == 0) break;
    rns.push_back(rn);
  }
  tool.endpoint()->send_RNBlockReservedEvent(rns, false);
}

void RouterCore::unregisterService(ToolLink& tool, uint32_t rn) {
  auto it = services_.find(rn);
  if (it == services_.end() || it->second.tool != tool.id()) return;
  log_.event("plugin %u: withdraws \"%s\"", tool.id(), it->second.name.c_str());
  services_.erase(it);
}

// A service RN or the RN of a live connection is not the tool's to give back.
void RouterCore::releaseRN(ToolLink& tool, uint32_t rn) {
  auto it = rnOwner_.find(rn);
  if (it == rnOwner_.end() || it->second != tool.id()) return;
  if (services_.count(rn) || connections_.count(rn)) return;
  forgetRN(rn);
}

void RouterCore::countPersistent(uint32_t* persistent, uint32_t* total) const {
  *total = static_cast<uint32_t>(tools_.size());
  *persistent = static_cast<uint32_t>(
      std::count_if(tools_.begin(), tools_.end(), [](const auto& t) { return t.second->persistent; }));
}

void RouterCore::sendLocation(ToolLink& tool) {
  tool.endpoint()->send_LocationEvent("127.0.0.1", static_cast<uint32_t>(port_), false);
}

// "cwd" is known from SetWorkingDir; anything else is asked of the tool.
void RouterCore::requestValue(ToolLink& tool, uint32_t pluginId, const std::string& name) {
  ToolLink* target = this->tool(pluginId);
  if (target && name == "cwd" && !target->cwd.empty()) {
    tool.endpoint()->send_ValueOfNameOnPluginEvent(pluginId, name.c_str(), target->cwd.c_str(),
                                                   false);
    return;
  }
  if (!target || !target->reachable() || values_.size() >= kMaxValueRequests) {
    tool.endpoint()->send_ValueOfNameOnPluginEvent(pluginId, name.c_str(), "", false);
    return;
  }
  values_.push_back(ValueRequest{tool.id(), pluginId, name});
  target->endpoint()->send_ForwardedRequestValueOfNameOnPlugin(tool.id(), pluginId, name.c_str(),
                                                               false);
}

void RouterCore::answerValue(ToolLink& tool, uint32_t requester, const std::string& name,
                             const std::string& value) {
  auto it = std::find_if(values_.begin(), values_.end(), [&](const ValueRequest& r) {
    return r.requester == requester && r.provider == tool.id() && r.name == name;
  });
  if (it == values_.end()) return;  // nobody asked
  values_.erase(it);
  if (ToolLink* asker = this->tool(requester))
    asker->endpoint()->send_ValueOfNameOnPluginEvent(tool.id(), name.c_str(), value.c_str(), false);
}

// Questions to a tool that left are answered with an empty value.
void RouterCore::forgetValuesOf(uint32_t id) {
  for (const ValueRequest& r : values_) {
    ToolLink* asker = r.provider == id ? tool(r.requester) : nullptr;
    if (asker) asker->endpoint()->send_ValueOfNameOnPluginEvent(id, r.name.c_str(), "", false);
  }
  std::erase_if(values_, [id](const ValueRequest& r) { return r.requester == id || r.provider == id; });
}

void RouterCore::setEnvironment(const std::string& variable, const std::string& value) {
  if (variable.empty() || variable.find('=') != std::string::npos) return;
  auto it = std::find_if(environment_.begin(), environment_.end(),
                         [&](const auto& e) { return e.first == variable; });
  if (it != environment_.end())
    it->second = value;
  else
    environment_.emplace_back(variable, value);
}

// A tool is let go only when nothing of another tool depends on it.
void RouterCore::disconnectRequested(ToolLink& tool) {
  uint32_t id = tool.id();
  bool serving = std::any_of(connections_.begin(), connections_.end(),
                             [id](const auto& c) { return c.second.provider == id; });
  bool asked = std::any_of(values_.begin(), values_.end(),
                           [id](const ValueRequest& r) { return r.provider == id; });
  if (serving || asked) {
    log_.event("plugin %u: asks to go but still serves others", id);
    return;
  }
  tool.leave("let go at its request");
}
