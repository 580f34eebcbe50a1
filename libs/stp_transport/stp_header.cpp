// The header record as the word sequence that goes on the wire.
#include "libs/stp_transport/stp_header.h"

#include <algorithm>

std::array<uint32_t, STP_HEADER_WORDS> stp_headerWords(const STPHeader& h) {
  return {h.header_length, h.body_length, h.source_rn, h.dest_rn,
          h.sequence,      h.reply_to,    h.kind,      h.message_id,
          h.flags,         h.token_origin, h.token_depth};
}

STPHeader stp_headerFromWords(const uint32_t* words, int count) {
  std::array<uint32_t, STP_HEADER_WORDS> w{};
  std::copy_n(words, std::clamp(count, 0, STP_HEADER_WORDS), w.begin());
  return {w[0], w[1], w[2], w[3], w[4], w[5], w[6], w[7], w[8], w[9], w[10]};
}
