// Splitting a byte stream into frames: a pure check over the bytes received
// so far, used by the transport and driven directly by the fuzzer.  A frame
// is the header, the body, and zero to three pad bytes up to a multiple of 4.
#pragma once

#include <cstddef>
#include <cstdint>

// Frames larger than this are refused: no peer of the suite sends them,
// and a hostile length must not make the reader buffer gigabytes.
constexpr size_t STP_MAX_FRAME_LENGTH = size_t{256} << 20;

enum class StpFrameStatus {
  need_more,  // not enough bytes yet to decide or to hold the whole frame
  frame,      // a whole frame starts at the data
  bad,        // the lengths are invalid: the connection must be dropped
};

struct StpFrame {
  uint32_t header_length = 0;
  uint32_t body_length = 0;
  size_t frame_length = 0;  // header + body + padding, the bytes to consume
};

// Reads the two length words at `data` into *out (when at least 8 bytes
// are there) and says whether a valid, complete frame starts there.  Bad:
// a header length outside 32..128 or not divisible by 4, a body length
// negative as a signed 32-bit value, or a frame above STP_MAX_FRAME_LENGTH.
StpFrameStatus stp_checkFrame(const uint8_t* data, size_t length, StpFrame* out);
