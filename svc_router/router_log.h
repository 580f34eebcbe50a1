// The router's two logs.  The internal log ("-sr_log_internal") records
// the router's own events, one timestamped line each: links opened and
// ended (and why), strangers turned away, tools started.  The message log
// ("-log") is the timestamped trace of every message on every link, and
// takes the text of the tools' LogMessageEvents.  Either may be absent.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

#include "libs/stp_transport/stp_log.h"

class RouterLog {
 public:
  RouterLog(const std::string& internalPath, const std::string& tracePath);
  ~RouterLog();
  RouterLog(const RouterLog&) = delete;
  RouterLog& operator=(const RouterLog&) = delete;

  void event(const char* format, ...) __attribute__((format(printf, 2, 3)));
  // A tool's own log text, as it sent it.
  void toolText(unsigned pluginId, const char* text);
  // The sink for the endpoints' message trace; null without "-log".
  STPLog* trace() const { return trace_.get(); }

 private:
  FILE* internal_ = nullptr;
  std::unique_ptr<STPLog> trace_;
};
