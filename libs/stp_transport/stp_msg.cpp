// Building a frame for sending and taking in a received one.
#include "libs/stp_transport/stp_msg.h"

#include <utility>

namespace {

// Room for the header and a small body before the buffer first grows.
constexpr long kInitialCapacity = 108;

}  // namespace

STPOMsg::STPOMsg(uint32_t source_rn, uint32_t dest_rn, uint32_t kind, uint32_t message_id,
                 uint32_t reply_to, uint32_t flags, uint32_t token_origin,
                 uint32_t token_depth)
    : STPMsg(kInitialCapacity) {
  header_.header_length = STP_HEADER_LENGTH;
  header_.source_rn = source_rn;
  header_.dest_rn = dest_rn;
  header_.kind = kind;
  header_.message_id = message_id;
  header_.reply_to = reply_to;
  header_.flags = flags;
  header_.token_origin = token_origin;
  header_.token_depth = token_depth;
  set_pos(STP_HEADER_LENGTH);
}

void STPOMsg::finishMessage(uint32_t sequence) {
  header_.sequence = sequence;
  put_uint32(0);
  insertHeader();
}

void STPOMsg::insertHeader() {
  header_.header_length = STP_HEADER_LENGTH;
  header_.body_length = static_cast<uint32_t>(get_pos() - STP_HEADER_LENGTH);
  const auto words = stp_headerWords(header_);
  for (int i = 0; i < STP_HEADER_WORDS; i++) put_uint32_at(4 * i, words[i]);
}

const uint8_t* STPOMsg::getContent(uint32_t* header_length, uint32_t* body_length) const {
  *header_length = header_.header_length;
  *body_length = header_.body_length;
  return get_base();
}

STPIMsg::STPIMsg(const uint8_t* bytes, uint32_t header_length, uint32_t body_length)
    : STPMsg(bytes, static_cast<long>(header_length) + body_length),
      body_start_(header_length),
      field_cursor_(header_length),
      group_end_(static_cast<long>(header_length) + body_length) {
  const int count = header_length <= STP_HEADER_LENGTH ? static_cast<int>(header_length / 4)
                                                        : STP_HEADER_WORDS;
  uint32_t words[STP_HEADER_WORDS] = {};
  long offset = 0;
  for (int i = 0; i < count; i++) words[i] = get_uint32_from(&offset);
  header_ = stp_headerFromWords(words, count);
  set_pos(body_start_);
}

void STPIMsg::borrowFrom(STPIMsg& lender) {
  returnTo(lender);
  header_ = lender.header_;
  rewind();
}

void STPIMsg::returnTo(STPIMsg& lender) {
  swap(lender);
  std::swap(body_start_, lender.body_start_);
  std::swap(field_cursor_, lender.field_cursor_);
  std::swap(group_end_, lender.group_end_);
}

void STPIMsg::rewind() {
  field_cursor_ = body_start_;
  group_end_ = get_capacity();
  set_pos(body_start_);
  set_end_pos(group_end_);
}
