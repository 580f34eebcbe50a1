// The input layout of the message fuzz targets: the first byte is the
// length of a script (cut to the bytes there), the script's bytes are read
// operations, and the rest is a message body behind a zeroed header.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

struct StpFuzzInput {
  std::vector<uint8_t> script;
  std::vector<uint8_t> frame;  // 44 header bytes, then the body
  uint32_t body_length = 0;
};

inline StpFuzzInput stp_fuzzInput(const uint8_t* data, size_t size) {
  StpFuzzInput input;
  if (size == 0) return input;
  const size_t script = std::min<size_t>(data[0], size - 1);
  input.script.assign(data + 1, data + 1 + script);
  input.frame.assign(44, 0);
  input.frame.insert(input.frame.end(), data + 1 + script, data + size);
  input.body_length = static_cast<uint32_t>(size - 1 - script);
  return input;
}

// The position and the read limit never leave the buffer.
template <class Message>
void stp_checkBounds(const Message& m) {
  if (m.get_pos() < 0 || m.get_pos() > m.get_capacity() || m.get_end_pos() > m.get_capacity())
    __builtin_trap();
}
