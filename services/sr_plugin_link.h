// Private to services/: this tool's "plugin" side of the router interface,
// which hands each message from the router to the process-wide proxy.
#pragma once

#include "services/interfaces/ServiceRouter_plugin_Impl.h"

class SRProxy;

class SRPluginLink : public ServiceRouter_plugin_Impl {
 public:
  explicit SRPluginLink(SRProxy* proxy) : proxy_(proxy) {}
  // The proxy is going away: later messages are ignored.
  void detach() { proxy_ = nullptr; }

  void msg_ConnectionDroppedEvent(uint32_t serviceRN, uint32_t remoteRN) override;
  void msg_ConnectionReplyEvent(const char* serviceName, uint32_t localRN, uint8_t wasFound,
                                uint8_t isSharedObject, uint8_t wasAccepted, uint32_t serviceRN,
                                uint32_t pluginId, const char* sharedObjectName,
                                uint32_t cookie) override;
  void msg_ConnectionRequestedEvent(uint32_t requester, uint32_t serviceRN, uint32_t remoteRN,
                                    const std::vector<std::string>& pairs) override;
  void msg_ForwardedRequestValueOfNameOnPlugin(uint32_t requester, uint32_t myId,
                                               const char* name) override;
  void msg_LocationEvent(const char* hostname, uint32_t port) override;
  void msg_PluginConnectedEvent(uint32_t cookie, uint32_t pluginId, const char* errors) override;
  void msg_PluginId(uint32_t pluginId) override;
  void msg_PluginIdForServiceReplyEvent(uint32_t cookie, const char* serviceName,
                                        uint32_t pluginId, uint8_t found) override;
  void msg_RNBlockReservedEvent(const std::vector<uint32_t>& rns) override;
  void msg_StartLogging() override;
  void msg_StartPlugin(const std::vector<std::string>& args, uint32_t cookie,
                       const char* workingDir) override;
  void msg_ValueOfNameOnPluginEvent(uint32_t pluginId, const char* name,
                                    const char* value) override;

 private:
  SRProxy* proxy_;
};
