// Writing a binary message body: tagged fields, structs and arrays (see
// stp_binary_format.h for the layout).  Tags are the sender's own numbers.
#pragma once

#include <cstdint>

#include "libs/stp_transport/stp_msg.h"

// An open struct or array: the offset just past its length placeholder.
struct STPBinaryOMsgParamState {
  long start = 0;
};

class STPBinaryOMsg : public STPOMsg {
 public:
  using STPOMsg::STPOMsg;

  void putS(int tag, const char* text);  // null is the length 0 alone
  void put1(int tag, uint8_t value);
  void put2(int tag, uint16_t value);
  void put4(int tag, uint32_t value);
  void put8(int tag, uint64_t value);
  void putF(int tag, float value);
  void putD(int tag, double value);
  // An array field of `count` elements of `size` bytes; putDArray leads
  // the elements with their count.
  void putArray(int tag, const void* data, long count, int size);
  void putDArray(int tag, const void* data, long count, int size);

  // A struct or array field: the start writes the tag and a 0 length
  // placeholder, the end replaces it with the bytes written in between.
  void putStartStruct(int tag, STPBinaryOMsgParamState* state);
  void putEndStruct(STPBinaryOMsgParamState* state) { closeGroup(state); }
  void putStartArray(int tag, STPBinaryOMsgParamState* state);
  void putEndArray(STPBinaryOMsgParamState* state) { closeGroup(state); }

 private:
  void putTag(int tag, uint32_t type);
  void openGroup(int tag, uint32_t type, STPBinaryOMsgParamState* state);
  void closeGroup(STPBinaryOMsgParamState* state);
};
