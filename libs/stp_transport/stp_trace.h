// The one-line traces that service stubs and parsers write to their logs:
//   SEND: Name: text:"a b", count:0x2, file:
// strings in double quotes (null as nothing), numbers as "0x%x", fields
// separated by ", ", the line ended by a newline.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>

class STPLog;
class STPSpecClass;

enum class STPTraceKind {
  send,         // "SEND: ", a message being sent
  send_failed,  // "SEND FAILED: " and the name alone: the transport had an error
  recv,         // "RECV: ", a message or reply received
  reply,        // "REPLY: ", the reply built for a received call
};

struct STPTraceField {
  const char* name;
  bool is_string;
  const char* text;
  uint32_t value;

  static STPTraceField str(const char* name, const char* text) { return {name, true, text, 0}; }
  static STPTraceField num(const char* name, uint32_t value) {
    return {name, false, nullptr, value};
  }
};

std::string stp_traceLine(STPTraceKind kind, const char* message,
                          std::span<const STPTraceField> fields);
// Writes the line to `log` between logStart and logEnd (sending for every
// kind but recv); nothing when `log` is null.
void stp_trace(STPLog* log, STPSpecClass* spec, STPTraceKind kind, const char* message,
               std::initializer_list<STPTraceField> fields);
