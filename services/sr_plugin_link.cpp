// The messages a tool receives from the router: answers are stored for
// the waits that expect them, requests are handed to the proxy.
#include "services/sr_plugin_link.h"

#include "services/forwarding_log.h"
#include "services/sr_proxy.h"

namespace {

std::string text(const char* s) { return s ? s : ""; }

}  // namespace

void SRPluginLink::msg_ConnectionDroppedEvent(uint32_t serviceRN, uint32_t remoteRN) {
  if (proxy_) proxy_->connectionDropped(serviceRN, remoteRN);
}

void SRPluginLink::msg_ConnectionReplyEvent(const char* serviceName, uint32_t localRN,
                                            uint8_t wasFound, uint8_t isSharedObject,
                                            uint8_t wasAccepted, uint32_t serviceRN,
                                            uint32_t pluginId, const char* sharedObjectName,
                                            uint32_t cookie) {
  if (!proxy_) return;
  proxy_->replies.push_back(ConnectionReply{text(serviceName), localRN, wasFound != 0,
                                            isSharedObject != 0, wasAccepted != 0, serviceRN,
                                            static_cast<int>(pluginId), text(sharedObjectName),
                                            cookie});
}

void SRPluginLink::msg_ConnectionRequestedEvent(uint32_t requester, uint32_t serviceRN,
                                                uint32_t remoteRN,
                                                const std::vector<std::string>& pairs) {
  if (proxy_) proxy_->connectionRequested(static_cast<int>(requester), serviceRN, remoteRN, pairs);
}

void SRPluginLink::msg_ForwardedRequestValueOfNameOnPlugin(uint32_t requester, uint32_t myId,
                                                           const char* name) {
  if (!proxy_) return;
  const std::string value = proxy_->resolveName(text(name));
  send_ValueOfNameOnPluginResponseEvent(requester, myId, name, value.c_str(), false);
}

void SRPluginLink::msg_LocationEvent(const char* hostname, uint32_t port) {
  if (!proxy_ || proxy_->haveLocation) return;
  proxy_->haveLocation = true;
  proxy_->locationHost = text(hostname);
  proxy_->locationPort = static_cast<int>(port);
}

void SRPluginLink::msg_PluginConnectedEvent(uint32_t cookie, uint32_t pluginId,
                                            const char* errors) {
  if (proxy_) proxy_->answers[cookie] = {static_cast<int>(pluginId), true, text(errors)};
}

void SRPluginLink::msg_PluginId(uint32_t pluginId) {
  if (!proxy_) return;
  proxy_->pluginId = static_cast<int>(pluginId);
  getTransport()->setDefaultToken(static_cast<uint16_t>(pluginId & 0xffff));
}

void SRPluginLink::msg_PluginIdForServiceReplyEvent(uint32_t cookie, const char* serviceName,
                                                    uint32_t pluginId, uint8_t found) {
  if (proxy_)
    proxy_->answers[cookie] = {static_cast<int>(pluginId), found != 0, text(serviceName)};
}

void SRPluginLink::msg_RNBlockReservedEvent(const std::vector<uint32_t>& rns) {
  if (proxy_) proxy_->assignRNs(rns);
}

void SRPluginLink::msg_StartLogging() {
  if (!proxy_ || proxy_->forwardingLog) return;
  proxy_->forwardingLog = std::make_unique<ForwardingSTPLog>(this);
  ServiceRouter_Proxy::setGlobalLog(proxy_->forwardingLog.get());
}

void SRPluginLink::msg_StartPlugin(const std::vector<std::string>& args, uint32_t cookie,
                                   const char* workingDir) {
  if (proxy_) proxy_->startPlugin(args, cookie, text(workingDir));
}

void SRPluginLink::msg_ValueOfNameOnPluginEvent(uint32_t pluginId, const char* name,
                                                const char* value) {
  if (proxy_) proxy_->values[{static_cast<int>(pluginId), text(name)}] = text(value);
}
