// The fixed header that opens every message on the wire: eleven unsigned
// 32-bit little-endian words.  Also the message kinds and delivery flags
// that the header's words carry.
#pragma once

#include <array>
#include <cstdint>

struct STPHeader {
  uint32_t header_length = 0;  // 44 when written; 32..128 accepted
  uint32_t body_length = 0;    // body bytes after the header, padding excluded
  uint32_t source_rn = 0;      // routing number of the sending endpoint
  uint32_t dest_rn = 0;        // routing number of the receiving endpoint
  uint32_t sequence = 0;       // per-connection message number, never 0
  uint32_t reply_to = 0;       // the request's sequence in a reply, else 0
  uint32_t kind = 0;           // STP_KIND_...; STP_REPLY_KIND in a reply
  uint32_t message_id = 0;     // number within the interface, or sub-kind
  uint32_t flags = 0;          // STP_FLAG_... bits
  uint32_t token_origin = 0;   // transaction origin << 16 | origin sequence
  uint32_t token_depth = 0;    // nesting depth (low 16 bits)
};

constexpr int STP_HEADER_WORDS = 11;
constexpr uint32_t STP_HEADER_LENGTH = 4 * STP_HEADER_WORDS;
// A receiver accepts header lengths in this range, divisible by 4.
constexpr uint32_t STP_MIN_HEADER_LENGTH = 32;
constexpr uint32_t STP_MAX_HEADER_LENGTH = 128;

enum : uint32_t {
  STP_KIND_NOOP = 4,
  STP_KIND_SYNC = 5,
  STP_KIND_CHANNEL = 6,
  STP_KIND_INTERFACE = 12,
  STP_KIND_COMMAND = 13,
  STP_KIND_ASCII = 14,
  STP_KIND_BINARY = 15,
  STP_REPLY_KIND = 0xFFFFFFFF,  // kind and message id of every reply
};

enum : uint32_t {
  STP_FLAG_WANTS_REPLY = 1,
  STP_FLAG_ONE_WAY = 2,
  STP_FLAG_TRANSACTION = 4,  // delivered inside a call only within its transaction
  STP_FLAG_SAFE = 16,        // delivered even inside a call
  STP_FLAG_STRICT = 64,      // the waiting sender admits only safe or same-transaction messages
};

// The header in wire order and back; a word missing from `words` is 0.
std::array<uint32_t, STP_HEADER_WORDS> stp_headerWords(const STPHeader& header);
STPHeader stp_headerFromWords(const uint32_t* words, int count);
