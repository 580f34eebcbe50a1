// The internal log and the message trace.
#include "svc_router/router_log.h"

#include <sys/time.h>

#include <cstdarg>

namespace {

// Appends; the descriptor is not passed on to the programs we start.
FILE* openLog(const std::string& path) {
  return path.empty() ? nullptr : std::fopen(path.c_str(), "ae");
}

void stamp(FILE* f) {
  timeval now{};
  gettimeofday(&now, nullptr);
  std::fprintf(f, "%lld.%.3u: ", static_cast<long long>(now.tv_sec),
               static_cast<unsigned>(now.tv_usec / 1000));
}

}  // namespace

RouterLog::RouterLog(const std::string& internalPath, const std::string& tracePath)
    : internal_(openLog(internalPath)) {
  if (FILE* f = openLog(tracePath)) trace_ = std::make_unique<TimestampedSTPFileLog>(f, true);
}

RouterLog::~RouterLog() {
  if (internal_) std::fclose(internal_);
}

void RouterLog::event(const char* format, ...) {
  if (!internal_) return;
  stamp(internal_);
  va_list args;
  va_start(args, format);
  std::vfprintf(internal_, format, args);
  va_end(args);
  std::fputc('\n', internal_);
  std::fflush(internal_);
}

void RouterLog::toolText(unsigned pluginId, const char* text) {
  if (!trace_ || !text) return;
  trace_->logStart(nullptr, false);
  trace_->addf("LOG %u: %s\n", pluginId, text);
  trace_->logEnd(nullptr, false);
}
