// The text body writer.
#include "libs/stp_transport/stp_ascii_omsg.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

std::string hex(uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%x ", value);
  return text;
}

}  // namespace

STPAsciiOMsg::STPAsciiOMsg(uint32_t source_rn, uint32_t dest_rn, uint32_t kind,
                           uint32_t message_id, uint32_t reply_to, uint32_t flags,
                           uint32_t token_origin, uint32_t token_depth, const char* prefix)
    : STPOMsg(source_rn, dest_rn, kind, message_id, reply_to, flags, token_origin,
              token_depth) {
  if (prefix) putIdent(prefix);
}

void STPAsciiOMsg::append(std::string_view text) {
  put_bytes(text.data(), static_cast<long>(text.size()));
  const long end = get_pos();
  put_bytes("\0\0\0\0", 4);
  set_pos(end);
}

void STPAsciiOMsg::appendTag(const char* tag) {
  if (!tag) return;
  append(tag);
  append(":");
}

void STPAsciiOMsg::putRawString(const char* text) {
  if (text) append(text);
}

void STPAsciiOMsg::putIdent(const char* name) { putIdent(nullptr, name); }

void STPAsciiOMsg::putIdent(const char* tag, const char* value) {
  appendTag(tag);
  append(value ? value : "");
  append(" ");
}

void STPAsciiOMsg::putQuotedIdent(const char* value) { putQuotedIdent(nullptr, value); }

void STPAsciiOMsg::putQuotedIdent(const char* tag, const char* value) {
  appendTag(tag);
  append("\"");
  append(value ? value : "");
  append("\" ");
}

void STPAsciiOMsg::putNumber(uint32_t value) { putNumber(nullptr, value); }

void STPAsciiOMsg::putNumber(const char* tag, uint32_t value) {
  appendTag(tag);
  append(hex(value));
}

void STPAsciiOMsg::putLargeNumber(uint64_t value) { putLargeNumber(nullptr, value); }

void STPAsciiOMsg::putLargeNumber(const char* tag, uint64_t value) {
  char text[32];
  std::snprintf(text, sizeof text, "0x%x%08x ", static_cast<unsigned>(value >> 32),
                static_cast<unsigned>(value & 0xFFFFFFFF));
  appendTag(tag);
  append(text);
}

void STPAsciiOMsg::putString(const char* text) { putString(nullptr, text); }

// In double quotes, copied in runs between the characters that need a
// backslash straight into the message, so that a long text costs little
// more than one copy.
void STPAsciiOMsg::putString(const char* tag, const char* text) {
  appendTag(tag);
  if (!text) return append("null ");
  put_bytes("\"", 1);
  for (const char* p = text;; p++) {
    const size_t run = std::strcspn(p, "\\\"\n");
    put_bytes(p, static_cast<long>(run));
    p += run;
    if (!*p) break;
    const char escape[2] = {'\\', *p == '\n' ? 'n' : *p};
    put_bytes(escape, 2);
  }
  append("\" ");
}

void STPAsciiOMsg::putStartStruct(const char* tag) {
  appendTag(tag);
  append("{ ");
}

void STPAsciiOMsg::putEndStruct() { append("} "); }

void STPAsciiOMsg::putStartArray(const char* tag, int count) {
  appendTag(tag);
  if (count >= 0) {
    char counted[16];
    std::snprintf(counted, sizeof counted, "(%d)", count);
    append(counted);
  }
  append("[ ");
}

void STPAsciiOMsg::putEndArray() { append("] "); }

const char* STPAsciiOMsg::getAsciiContent() const {
  return reinterpret_cast<const char*>(get_base()) + STP_HEADER_LENGTH;
}
