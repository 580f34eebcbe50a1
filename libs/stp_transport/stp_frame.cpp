// The frame check: the two leading length words decide everything.
#include "libs/stp_transport/stp_frame.h"

#include "libs/libcxxutil/network_buffer.h"
#include "libs/stp_transport/stp_header.h"

namespace {

bool validHeaderLength(uint32_t length) {
  return length >= STP_MIN_HEADER_LENGTH && length <= STP_MAX_HEADER_LENGTH && length % 4 == 0;
}

}  // namespace

StpFrameStatus stp_checkFrame(const uint8_t* data, size_t length, StpFrame* out) {
  *out = StpFrame{};
  if (length < 8) return StpFrameStatus::need_more;
  out->header_length = ut_network_buffer::decode_uint32(data);
  out->body_length = ut_network_buffer::decode_uint32(data + 4);
  if (!validHeaderLength(out->header_length)) return StpFrameStatus::bad;
  if (static_cast<int32_t>(out->body_length) < 0) return StpFrameStatus::bad;
  const size_t content = size_t{out->header_length} + out->body_length;
  out->frame_length = (content + 3) / 4 * 4;
  if (out->frame_length > STP_MAX_FRAME_LENGTH) return StpFrameStatus::bad;
  return length < out->frame_length ? StpFrameStatus::need_more : StpFrameStatus::frame;
}
