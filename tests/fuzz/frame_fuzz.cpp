// The frame check over bytes as they arrive from a peer: every frame it
// accepts must lie within the bytes and agree with the header read from
// them, and is then taken in as a message and read as text and as binary.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "libs/stp_transport/stp_ascii_imsg.h"
#include "libs/stp_transport/stp_binary_imsg.h"
#include "libs/stp_transport/stp_frame.h"
#include "stp_fuzz_input.h"

namespace {

void readMessage(const STPIMsg& message) {
  STPBinaryIMsg binary(message);
  for (int tag = -1; tag < 4; tag++) binary.get4(tag);
  STPAsciiIMsg text(message);
  int length = 0;
  text.getIdent(&length);
  if (std::strlen(text.getRemainder()) > message.header().body_length) __builtin_trap();
  stp_checkBounds(binary);
  stp_checkBounds(text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  StpFrame frame;
  for (size_t at = 0; stp_checkFrame(data + at, size - at, &frame) == StpFrameStatus::frame;
       at += frame.frame_length) {
    if (frame.frame_length > size - at || frame.frame_length % 4 != 0 ||
        frame.frame_length < size_t{frame.header_length} + frame.body_length)
      __builtin_trap();
    const STPIMsg message(data + at, frame.header_length, frame.body_length);
    if (message.header().header_length != frame.header_length ||
        message.header().body_length != frame.body_length ||
        message.get_pos() != frame.header_length)
      __builtin_trap();
    readMessage(message);
  }
  return 0;
}
