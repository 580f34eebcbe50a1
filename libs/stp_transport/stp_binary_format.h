// The tagged binary body encoding shared by its writer and reader.  Every
// field starts with an aligned 32-bit tag word, (tag number << 8) | type
// code.  A type code's high nibble is its class, its low nibble the size
// of a fixed payload, or 0 when a 32-bit length word follows the tag.
#pragma once

#include <cstdint>

enum : uint32_t {
  STP_BIN_STRING = 0x10,  // counted string; its own length word is the length
  STP_BIN_BYTE = 0x21,
  STP_BIN_INT16 = 0x22,
  STP_BIN_INT32 = 0x24,
  STP_BIN_INT64 = 0x28,
  STP_BIN_FLOAT = 0x34,
  STP_BIN_DOUBLE = 0x38,
  STP_BIN_STRUCT = 0x40,  // length word, then nested fields
  STP_BIN_ARRAY = 0x50,   // length word, then the elements
};

// Tag numbers are 24 bits: a field's index in the interface's sorted list
// of field names.  A struct or array element without a name has tag 0.
constexpr uint32_t STP_TAG_MASK = 0xFFFFFF;

inline uint32_t stp_tagWord(int tag, uint32_t type) {
  return (static_cast<uint32_t>(tag) & STP_TAG_MASK) << 8 | type;
}
inline uint32_t stp_tagOf(uint32_t word) { return word >> 8; }
inline uint32_t stp_payloadSize(uint32_t word) { return word & 0xF; }
inline uint32_t stp_typeClass(uint32_t word) { return word & 0xF0; }
