// A running 32-bit checksum over bytes: a shift register fed most
// significant bit first with the feedback pattern 0x10211021.  The caller
// keeps the state between calls, so data may arrive in pieces.
#include "base/gen.h"

#include <cstdint>

namespace {

constexpr std::uint32_t kFeedback = 0x10211021;

}  // namespace

unsigned long gen_cksum(const void* bytes, long count, unsigned long state) {
  std::uint32_t reg = static_cast<std::uint32_t>(state);
  const auto* p = static_cast<const unsigned char*>(bytes);
  for (long i = 0; p && i < count; i++) {
    std::uint32_t data = static_cast<std::uint32_t>(p[i]) << 24;
    for (int bit = 0; bit < 8; bit++) {
      const bool top = ((reg ^ data) & 0x80000000u) != 0;
      reg <<= 1;
      if (top) reg ^= kFeedback;
      data <<= 1;
    }
  }
  return reg;
}
