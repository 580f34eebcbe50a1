// Each message of a tool, handed to the router with the tool it came from.
// A tool learns its plugin id before the answer to anything it asks.
#include "svc_router/tool_endpoint.h"

#include "svc_router/router_core.h"

namespace {

std::string text(const char* s) { return s ? s : ""; }

}  // namespace

void ToolEndpoint::handleBinaryMessage(STPBinaryIMsg* in, STPBinaryOMsg* reply, int32_t messageId) {
  if (!link_ || link_->leaving()) return;
  core_.introduce(*link_);
  ServiceRouter_router_Impl::handleBinaryMessage(in, reply, messageId);
}

void ToolEndpoint::msg_ConnectionAcceptedEvent(uint32_t serviceRN, uint32_t remoteRN,
                                               uint8_t accept) {
  core_.connectionAccepted(*link_, serviceRN, remoteRN, accept != 0);
}

void ToolEndpoint::msg_DebugPlugin(const char* plugin_name, uint8_t do_debug, const char* debugger,
                                   const char*) {
  core_.log().event("plugin %u: debug \"%s\" %s with \"%s\"", link_->id(),
                    text(plugin_name).c_str(), do_debug ? "on" : "off", text(debugger).c_str());
}

void ToolEndpoint::msg_DropServiceConnection(uint32_t localRN, uint32_t serviceRN) {
  core_.dropConnection(*link_, localRN, serviceRN);
}

void ToolEndpoint::msg_LogMessageEvent(const char* message) {
  core_.log().toolText(link_->id(), message);
}

void ToolEndpoint::msg_NumPersistentServices(uint32_t* num_persistent, uint32_t* num_total) {
  core_.countPersistent(num_persistent, num_total);
}

void ToolEndpoint::msg_PersistentService(uint8_t persistent) { link_->persistent = persistent != 0; }

void ToolEndpoint::msg_RegisterServiceList(const std::vector<std::string>& name_list) {
  core_.registerServices(*link_, name_list);
}

void ToolEndpoint::msg_ReleaseRN(uint32_t rn) { core_.releaseRN(*link_, rn); }

void ToolEndpoint::msg_RequestLocation() { core_.sendLocation(*link_); }

void ToolEndpoint::msg_RequestPluginConnect(const char* host, uint32_t port, uint32_t cookie) {
  core_.connectPlugin(*link_, text(host), port, cookie);
}

void ToolEndpoint::msg_RequestPluginIdForService(uint32_t cookie, const char* serviceName,
                                                 const char* working_dir,
                                                 uint8_t startup_if_not_running) {
  ServiceRequest r;
  r.requester = link_->id();
  r.service = text(serviceName);
  r.workingDir = text(working_dir);
  r.cookie = cookie;
  r.wantsConnection = false;
  r.mayStart = startup_if_not_running != 0;
  core_.requestService(std::move(r));
}

void ToolEndpoint::msg_RequestPluginLaunch(const std::vector<std::string>& argv, uint32_t cookie,
                                           uint8_t client_start, const char* working_dir) {
  core_.launchPlugin(*link_, argv, cookie, client_start != 0, text(working_dir));
}

void ToolEndpoint::msg_RequestServiceConnection(const char* serviceName,
                                                uint32_t providingPluginID,
                                                const std::vector<std::string>& name_value_pairs,
                                                const char* working_dir, uint8_t,
                                                uint32_t client_cookie, uint8_t no_reuse,
                                                uint8_t client_start) {
  ServiceRequest r;
  r.requester = link_->id();
  r.service = text(serviceName);
  r.providingPlugin = providingPluginID;
  r.pairs = name_value_pairs;
  r.workingDir = text(working_dir);
  r.cookie = client_cookie;
  r.noReuse = no_reuse != 0;
  r.clientStart = client_start != 0;
  core_.requestService(std::move(r));
}

void ToolEndpoint::msg_RequestServiceRouterDisconnect() { core_.disconnectRequested(*link_); }

void ToolEndpoint::msg_RequestValueOfNameOnPlugin(uint32_t plugin_id, const char* name) {
  core_.requestValue(*link_, plugin_id, text(name));
}

void ToolEndpoint::msg_ReserveRNBlock(uint32_t count) { core_.reserveRNs(*link_, count); }

void ToolEndpoint::msg_SetEnvironmentVariable(const char* variable, const char* value) {
  core_.setEnvironment(text(variable), text(value));
}

void ToolEndpoint::msg_SetWorkingDir(const char* working_dir) { link_->cwd = text(working_dir); }

void ToolEndpoint::msg_StartPluginEvent(uint32_t cookie, uint8_t success,
                                        const char* error_message) {
  core_.startPluginEvent(*link_, cookie, success != 0, text(error_message));
}

void ToolEndpoint::msg_UnregisterService(uint32_t serviceRN) {
  core_.unregisterService(*link_, serviceRN);
}

void ToolEndpoint::msg_ValueOfNameOnPluginResponseEvent(uint32_t requesting_plugin_id, uint32_t,
                                                        const char* name, const char* value) {
  core_.answerValue(*link_, requesting_plugin_id, text(name), text(value));
}
