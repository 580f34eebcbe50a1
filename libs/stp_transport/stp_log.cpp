// The trace sinks.
#include "libs/stp_transport/stp_log.h"

#include <sys/time.h>

#include <cstring>

#include "base/gen.h"

void STPLog::add(const char* text) {
  if (text) add(text, static_cast<long>(std::strlen(text)));
}

void STPLog::addf(const char* format, ...) {
  va_list args;
  va_start(args, format);
  add_va_list(format, args);
  va_end(args);
}

void STPLog::add_va_list(const char* format, va_list args) {
  char* text = gen_avsprintf(format, args);
  add(text);
  gen_free(text);
}

void STPLog::logStart(STPSpecClass*, bool) {}

void STPLog::logEnd(STPSpecClass*, bool) {}

STPFileLog::~STPFileLog() {
  if (owns_ && file_) std::fclose(file_);
}

void STPFileLog::add(const void* bytes, long length) {
  if (file_ && length > 0) std::fwrite(bytes, 1, static_cast<size_t>(length), file_);
}

void STPFileLog::logEnd(STPSpecClass*, bool) {
  if (file_) std::fflush(file_);
}

void TimestampedSTPFileLog::logStart(STPSpecClass* spec, bool sending) {
  timeval now{};
  gettimeofday(&now, nullptr);
  addf("%lld.%.3u: ", static_cast<long long>(now.tv_sec),
       static_cast<unsigned>(now.tv_usec / 1000));
  STPFileLog::logStart(spec, sending);
}
