// Trace sinks for the messages a service sends and receives.  A sink takes
// bytes; the text forms forward to them.  logStart and logEnd bracket one
// logged message (spec: the interface endpoint logging it).
#pragma once

#include <cstdarg>
#include <cstdio>

class STPSpecClass;

class STPLog {
 public:
  STPLog() = default;
  STPLog(const STPLog&) = delete;
  STPLog& operator=(const STPLog&) = delete;
  virtual ~STPLog() = default;

  virtual void add(const char* text);  // null adds nothing
  virtual void add(const void* bytes, long length) = 0;
  virtual void addf(const char* format, ...) __attribute__((format(printf, 2, 3)));
  virtual void add_va_list(const char* format, va_list args);
  // Nothing by default.
  virtual void logStart(STPSpecClass* spec, bool sending);
  virtual void logEnd(STPSpecClass* spec, bool sending);
};

// Writes to a stdio file (nothing when it is null), flushing after every
// message; closes the file on destruction when it owns it.
class STPFileLog : public STPLog {
 public:
  STPFileLog(FILE* file, bool owns) : file_(file), owns_(owns) {}
  ~STPFileLog() override;

  using STPLog::add;
  void add(const void* bytes, long length) override;
  void logEnd(STPSpecClass* spec, bool sending) override;

 private:
  FILE* file_;
  bool owns_;
};

// Starts every message with the wall-clock time as "<seconds>.<ms>: ".
class TimestampedSTPFileLog : public STPFileLog {
 public:
  using STPFileLog::STPFileLog;
  void logStart(STPSpecClass* spec, bool sending) override;
};
