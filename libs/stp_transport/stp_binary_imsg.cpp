// The binary body reader: a field walk bounded by the current group, so
// that no length in the message can move a read outside it.
#include "libs/stp_transport/stp_binary_imsg.h"

#include <algorithm>

#include "libs/stp_transport/stp_binary_format.h"

STPBinaryIMsg::Field STPBinaryIMsg::fieldAfterTag(uint32_t word) {
  const long payload = get_pos();
  if (stp_payloadSize(word) != 0) {
    return {payload, std::min(payload + stp_payloadSize(word), group_end_)};
  }
  long after_length = payload;
  const long length = get_uint32_from(&after_length);
  const long end = std::min(after_length + length, group_end_);
  return {stp_typeClass(word) == STP_BIN_STRING ? payload : after_length, end};
}

bool STPBinaryIMsg::findTag(int tag) {
  if (get_pos() != field_cursor_) set_pos(field_cursor_);
  set_end_pos(group_end_);
  for (bool first = true;; first = false) {
    const uint32_t word = tag < 0 ? 0 : get_uint32();
    if (word == 0) {
      set_end_pos(get_pos());
      return false;
    }
    const Field field = fieldAfterTag(word);
    if (stp_tagOf(word) == (static_cast<uint32_t>(tag) & STP_TAG_MASK)) {
      set_pos(field.payload);
      set_end_pos(field.end);
      if (first) field_cursor_ = field.end;
      return true;
    }
    set_pos(field.end);
  }
}

char* STPBinaryIMsg::getS(int tag) {
  findTag(tag);
  return get_string();
}

const char* STPBinaryIMsg::getCS(int tag) {
  findTag(tag);
  return get_ptr_to_string();
}

uint8_t STPBinaryIMsg::get1(int tag) {
  findTag(tag);
  return get_uint8();
}

uint16_t STPBinaryIMsg::get2(int tag) {
  findTag(tag);
  return get_uint16();
}

uint32_t STPBinaryIMsg::get4(int tag) {
  findTag(tag);
  return get_uint32();
}

uint64_t STPBinaryIMsg::get8(int tag) {
  findTag(tag);
  return get_uint64();
}

float STPBinaryIMsg::getF(int tag) {
  findTag(tag);
  return get_real32();
}

double STPBinaryIMsg::getD(int tag) {
  findTag(tag);
  return get_real64();
}

void STPBinaryIMsg::getArray(int tag, void* data, long count, int size) {
  findTag(tag);
  get_array(data, count, size);
}

void* STPBinaryIMsg::getDArray(int tag, long* count, int size) {
  findTag(tag);
  return get_dynamic_array(count, size);
}

bool STPBinaryIMsg::enter(int tag, STPBinaryIMsgParamState* state) {
  const bool found = findTag(tag);
  state->outer_cursor = field_cursor_;
  state->outer_end = group_end_;
  field_cursor_ = get_pos();
  group_end_ = found ? get_end_pos() : get_pos();
  return found;
}

void STPBinaryIMsg::leave(const STPBinaryIMsgParamState* state) {
  field_cursor_ = state->outer_cursor;
  group_end_ = state->outer_end;
  set_pos(field_cursor_);
  set_end_pos(group_end_);
}
