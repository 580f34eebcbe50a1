// Frames and headers: the frame check on good, incomplete and bad length
// words, and header words that survive the trip through the wire.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "libs/stp_transport/stp_frame.h"
#include "libs/stp_transport/stp_msg.h"
#include "stp_test_util.h"

namespace {

std::vector<uint8_t> lengths(uint32_t header_length, uint32_t body_length, size_t size) {
  std::vector<uint8_t> bytes(std::max<size_t>(size, 8));
  for (int i = 0; i < 4; i++) {
    bytes[i] = static_cast<uint8_t>(header_length >> (8 * i));
    bytes[4 + i] = static_cast<uint8_t>(body_length >> (8 * i));
  }
  return bytes;
}

StpFrameStatus check(const std::vector<uint8_t>& bytes, size_t size, StpFrame* frame) {
  return stp_checkFrame(bytes.data(), size, frame);
}

TEST(StpFrame, EveryBadLengthIsRejected) {
  StpFrame frame;
  for (uint32_t header : {0u, 4u, 28u, 30u, 33u, 46u, 132u, 0x8000002Cu})
    EXPECT_EQ(check(lengths(header, 4, 8), 8, &frame), StpFrameStatus::bad) << header;
  for (uint32_t body : {0x80000000u, 0xFFFFFFFFu, uint32_t{STP_MAX_FRAME_LENGTH} - 43})
    EXPECT_EQ(check(lengths(44, body, 8), 8, &frame), StpFrameStatus::bad) << body;
}

TEST(StpFrame, NeedsTheLengthWordsThenTheWholePaddedFrame) {
  StpFrame frame;
  const auto bytes = lengths(32, 5, 48);
  for (size_t size = 0; size < 40; size++)
    EXPECT_EQ(check(bytes, size, &frame), StpFrameStatus::need_more) << size;
  EXPECT_EQ(check(bytes, 40, &frame), StpFrameStatus::frame);
  EXPECT_EQ(check(bytes, 48, &frame), StpFrameStatus::frame);
  EXPECT_EQ(frame.frame_length, 40u);
  EXPECT_EQ(check(lengths(128, 0, 128), 128, &frame), StpFrameStatus::frame);
}

TEST(StpMessage, RandomHeaderWordsSurviveTheWire) {
  std::mt19937 random(77);
  for (int round = 0; round < 50; round++) {
    uint32_t w[9];
    for (uint32_t& word : w) word = static_cast<uint32_t>(random());
    STPOMsg out(w[0], w[1], w[2], w[3], w[4], w[5], w[6], w[7]);
    out.put_uint8(1);
    const STPIMsg in = received<STPIMsg>(out);
    EXPECT_EQ(stp_headerWords(in.header()), stp_headerWords(out.header()));
    EXPECT_EQ(in.header().body_length, 8u);  // a byte, padding, the end marker
    EXPECT_EQ(in.get_pos(), 44);
  }
  const auto bytes = lengths(32, 0, 32);
  const STPIMsg short_header(bytes.data(), 32, 0);  // eight words read, the rest 0
  EXPECT_EQ(short_header.header().header_length, 32u);
  EXPECT_EQ(short_header.header().flags, 0u);
  EXPECT_EQ(short_header.get_pos(), 32);
}

}  // namespace
