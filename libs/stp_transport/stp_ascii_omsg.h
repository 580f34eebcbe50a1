// Writing a text message body: one line of items, each ended by a blank,
// kept NUL-terminated in the buffer as it grows.  Items take an optional
// tag, written as "tag:" before the value.
//
//   identifier       name                 quoted identifier  "value"
//   number           0x1f                 64-bit number      0x1000000ff
//   string           "a \"b\" \\ \n"      null string        null
//   struct           { ... }              array              (3)[ ... ]
#pragma once

#include <cstdint>
#include <string_view>

#include "libs/stp_transport/stp_msg.h"

class STPAsciiOMsg : public STPOMsg {
 public:
  // A body that starts with `prefix` and a blank when one is given.
  STPAsciiOMsg(uint32_t source_rn, uint32_t dest_rn, uint32_t kind, uint32_t message_id,
               uint32_t reply_to, uint32_t flags, uint32_t token_origin, uint32_t token_depth,
               const char* prefix = nullptr);

  void putRawString(const char* text);  // as is; null or "" writes nothing
  void putIdent(const char* name);      // a message name, or an untagged identifier
  void putIdent(const char* tag, const char* value);
  void putQuotedIdent(const char* value);
  void putQuotedIdent(const char* tag, const char* value);
  void putNumber(uint32_t value);  // "0x%x"
  void putNumber(const char* tag, uint32_t value);
  void putLargeNumber(uint64_t value);  // high word "0x%x", low word "%08x"
  void putLargeNumber(const char* tag, uint64_t value);
  // In double quotes, with "\" before every "\" and '"', newlines as "\n";
  // a null string is the word null.
  void putString(const char* text);
  void putString(const char* tag, const char* text);
  void putStartStruct() { putStartStruct(nullptr); }
  void putStartStruct(const char* tag);
  void putEndStruct();
  // A count >= 0 is written in parentheses before the bracket.
  void putStartArray(int count = -1) { putStartArray(nullptr, count); }
  void putStartArray(const char* tag, int count = -1);
  void putEndArray();

  // The body text so far, NUL-terminated.
  const char* getAsciiContent() const;

 private:
  // Writes the text, then a 32-bit 0 that the next write overwrites.
  void append(std::string_view text);
  void appendTag(const char* tag);  // "tag:" when there is a tag
};
