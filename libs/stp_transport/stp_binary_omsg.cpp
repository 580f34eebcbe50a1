// The binary body writer: each put is a tag word and a payload.
#include "libs/stp_transport/stp_binary_omsg.h"

#include "libs/stp_transport/stp_binary_format.h"

void STPBinaryOMsg::putTag(int tag, uint32_t type) { put_uint32(stp_tagWord(tag, type)); }

void STPBinaryOMsg::putS(int tag, const char* text) {
  putTag(tag, STP_BIN_STRING);
  put_string(text);
}

void STPBinaryOMsg::put1(int tag, uint8_t value) {
  putTag(tag, STP_BIN_BYTE);
  put_uint8(value);
}

void STPBinaryOMsg::put2(int tag, uint16_t value) {
  putTag(tag, STP_BIN_INT16);
  put_uint16(value);
}

void STPBinaryOMsg::put4(int tag, uint32_t value) {
  putTag(tag, STP_BIN_INT32);
  put_uint32(value);
}

void STPBinaryOMsg::put8(int tag, uint64_t value) {
  putTag(tag, STP_BIN_INT64);
  put_uint64(value);
}

void STPBinaryOMsg::putF(int tag, float value) {
  putTag(tag, STP_BIN_FLOAT);
  put_real32(value);
}

void STPBinaryOMsg::putD(int tag, double value) {
  putTag(tag, STP_BIN_DOUBLE);
  put_real64(value);
}

void STPBinaryOMsg::putArray(int tag, const void* data, long count, int size) {
  STPBinaryOMsgParamState state;
  putStartArray(tag, &state);
  put_array(data, count, size);
  putEndArray(&state);
}

void STPBinaryOMsg::putDArray(int tag, const void* data, long count, int size) {
  STPBinaryOMsgParamState state;
  putStartArray(tag, &state);
  put_dynamic_array(data, count, size);
  putEndArray(&state);
}

void STPBinaryOMsg::putStartStruct(int tag, STPBinaryOMsgParamState* state) {
  openGroup(tag, STP_BIN_STRUCT, state);
}

void STPBinaryOMsg::putStartArray(int tag, STPBinaryOMsgParamState* state) {
  openGroup(tag, STP_BIN_ARRAY, state);
}

void STPBinaryOMsg::openGroup(int tag, uint32_t type, STPBinaryOMsgParamState* state) {
  putTag(tag, type);
  put_uint32(0);
  state->start = get_pos();
}

void STPBinaryOMsg::closeGroup(STPBinaryOMsgParamState* state) {
  put_uint32_at(state->start - 4, static_cast<uint32_t>(get_pos() - state->start));
}
