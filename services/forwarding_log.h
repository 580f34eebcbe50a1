// ForwardingSTPLog: the global service log of a tool once the router asks
// for logging; each logged message is collected, stamped with the time
// and sent to the router as one LogMessageEvent.
#pragma once

#include <string>

#include "libs/stp_transport/stp_log.h"

class ServiceRouter_plugin_Impl;

class ForwardingSTPLog : public STPLog {
 public:
  explicit ForwardingSTPLog(ServiceRouter_plugin_Impl* link) : link_(link) {}

  using STPLog::add;
  void add(const void* bytes, long length) override;
  void logStart(STPSpecClass* spec, bool sending) override;
  // Sends the block ("<seconds>:<milliseconds>: " and the text).
  void logEnd(STPSpecClass* spec, bool sending) override;

 private:
  ServiceRouter_plugin_Impl* link_;
  std::string block_;
  bool inBlock_ = false;
};
