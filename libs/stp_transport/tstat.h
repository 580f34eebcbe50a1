// The outcome of every transport and service operation: a code and a
// message that begins with the operation's name in square brackets.  A
// fresh record is success: code 0, no message.
#pragma once

#include <string>

enum TStatCode {
  TSTAT_OK = 0,
  TSTAT_CONNECTION = 1,      // connection failure or connection down
  TSTAT_USAGE = 3,           // wrong use or state
  TSTAT_CHILD = 4,           // a launched program failed
  TSTAT_PEER_CLOSED = 5,
  TSTAT_TIMEOUT = 7,
  TSTAT_NOT_SUPPORTED = 8,   // the peer does not take the message
};

class TStat {
 public:
  int getCode() const { return code_; }
  const std::string& getMessage() const { return message_; }
  bool ok() const { return code_ == TSTAT_OK; }
  void set(int code, const std::string& message) {
    code_ = code;
    message_ = message;
  }
  void clear() { set(TSTAT_OK, ""); }
  // Copies this record into `out` unless it is this record or null.
  void copyTo(TStat* out) const {
    if (out && out != this) *out = *this;
  }

 private:
  int code_ = TSTAT_OK;
  std::string message_;
};
