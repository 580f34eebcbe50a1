// Formatting and writing the trace lines of sent and received messages.
#include "libs/stp_transport/stp_trace.h"

#include <cstdio>

#include "libs/stp_transport/stp_log.h"

namespace {

const char* prefix(STPTraceKind kind) {
  switch (kind) {
    case STPTraceKind::send: return "SEND: ";
    case STPTraceKind::send_failed: return "SEND FAILED: ";
    case STPTraceKind::recv: return "RECV: ";
    case STPTraceKind::reply: return "REPLY: ";
  }
  return "";
}

std::string fieldText(const STPTraceField& field) {
  std::string out = std::string(field.name) + ":";
  if (field.is_string) return field.text ? out + "\"" + field.text + "\"" : out;
  char number[16];
  std::snprintf(number, sizeof number, "0x%x", field.value);
  return out + number;
}

}  // namespace

std::string stp_traceLine(STPTraceKind kind, const char* message,
                          std::span<const STPTraceField> fields) {
  std::string line = std::string(prefix(kind)) + message;
  if (kind == STPTraceKind::send_failed) return line + "\n";
  line += ": ";
  for (size_t i = 0; i < fields.size(); i++) {
    if (i > 0) line += ", ";
    line += fieldText(fields[i]);
  }
  return line + "\n";
}

void stp_trace(STPLog* log, STPSpecClass* spec, STPTraceKind kind, const char* message,
               std::initializer_list<STPTraceField> fields) {
  if (!log) return;
  const bool sending = kind != STPTraceKind::recv;
  log->logStart(spec, sending);
  const std::string line = stp_traceLine(kind, message, std::span(fields.begin(), fields.size()));
  log->add(line.data(), static_cast<long>(line.size()));
  log->logEnd(spec, sending);
}
