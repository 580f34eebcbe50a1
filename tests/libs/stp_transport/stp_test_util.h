// Helpers of the message tests: an outgoing message finished and received
// as a peer would (optionally with the body cut short), and owned strings
// read back by value.
#pragma once

#include <cstdint>
#include <string>

#include "base/gen.h"

template <class In, class Out>
In received(Out& out, uint32_t cut = 0) {
  out.finishMessage(2);
  uint32_t header_length = 0, body_length = 0;
  const uint8_t* bytes = out.getContent(&header_length, &body_length);
  return In(bytes, header_length, body_length - cut);
}

inline std::string take(char* s) {
  std::string copy = s ? s : "<null>";
  gen_free(s);
  return copy;
}
