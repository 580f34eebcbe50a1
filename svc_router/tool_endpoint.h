// The router side of the "ServiceRouter" interface on one tool's link:
// every message the tool sends is handed, with the tool, to the router.
// The link detaches the endpoint when it ends, after which messages still
// queued for it are ignored.
#pragma once

#include "services/interfaces/ServiceRouter_router_Impl.h"

class RouterCore;
class ToolLink;

class ToolEndpoint : public ServiceRouter_router_Impl {
 public:
  ToolEndpoint(RouterCore& core, ToolLink& link) : core_(core), link_(&link) {}
  void detach() { link_ = nullptr; }

  void handleBinaryMessage(STPBinaryIMsg* in, STPBinaryOMsg* reply, int32_t messageId) override;
  // The interface is binary: text messages and commands are ignored
  // quietly (a tool cannot fill the router's standard error).
  void handleAsciiMessage(STPAsciiIMsg*, STPAsciiOMsg*, int32_t) override {}
  int handleCommandMessage(STPAsciiIMsg*, STPAsciiOMsg*, int32_t, int32_t) override { return 0; }
  void msg_ConnectionAcceptedEvent(uint32_t serviceRN, uint32_t remoteRN, uint8_t accept) override;
  void msg_DebugPlugin(const char* plugin_name, uint8_t do_debug, const char* debugger,
                       const char* debugger_opts) override;
  void msg_DropServiceConnection(uint32_t localRN, uint32_t serviceRN) override;
  void msg_LogMessageEvent(const char* message) override;
  void msg_NumPersistentServices(uint32_t* num_persistent, uint32_t* num_total) override;
  void msg_PersistentService(uint8_t persistent) override;
  void msg_RegisterServiceList(const std::vector<std::string>& name_list) override;
  void msg_ReleaseRN(uint32_t rn) override;
  void msg_RequestLocation() override;
  void msg_RequestPluginConnect(const char* host, uint32_t port, uint32_t cookie) override;
  void msg_RequestPluginIdForService(uint32_t cookie, const char* serviceName,
                                     const char* working_dir,
                                     uint8_t startup_if_not_running) override;
  void msg_RequestPluginLaunch(const std::vector<std::string>& argv, uint32_t cookie,
                               uint8_t client_start, const char* working_dir) override;
  void msg_RequestServiceConnection(const char* serviceName, uint32_t providingPluginID,
                                    const std::vector<std::string>& name_value_pairs,
                                    const char* working_dir, uint8_t local_only,
                                    uint32_t client_cookie, uint8_t no_reuse,
                                    uint8_t client_start) override;
  void msg_RequestServiceRouterDisconnect() override;
  void msg_RequestValueOfNameOnPlugin(uint32_t plugin_id, const char* name) override;
  void msg_ReserveRNBlock(uint32_t count) override;
  void msg_SetEnvironmentVariable(const char* variable, const char* value) override;
  void msg_SetWorkingDir(const char* working_dir) override;
  void msg_StartPluginEvent(uint32_t cookie, uint8_t success, const char* error_message) override;
  void msg_UnregisterService(uint32_t serviceRN) override;
  void msg_ValueOfNameOnPluginResponseEvent(uint32_t requesting_plugin_id, uint32_t plugin_id,
                                            const char* name, const char* value) override;

 protected:
  ~ToolEndpoint() override = default;

 private:
  RouterCore& core_;
  ToolLink* link_;
};
