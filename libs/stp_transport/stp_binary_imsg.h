// Reading a binary message body by tag.  Fields are looked up within the
// current group (the body, or the struct or array entered last) from a
// cursor that advances as fields are read in order, so in-order reads cost
// constant time and out-of-order ones rescan from the cursor.  Reading
// never fails: a missing or truncated field reads as 0, null or zeros.
#pragma once

#include <cstdint>

#include "libs/stp_transport/stp_msg.h"

// The enclosing group, saved while a struct or array is read.
struct STPBinaryIMsgParamState {
  long outer_cursor = 0;
  long outer_end = 0;
};

class STPBinaryIMsg : public STPIMsg {
 public:
  using STPIMsg::STPIMsg;
  explicit STPBinaryIMsg(const STPIMsg& message) : STPIMsg(message) { rewind(); }
  STPBinaryIMsg() = default;  // empty, to borrow a message's bytes into

  // Finds the field `tag` in the current group and leaves the position at
  // its payload (a string's own length word; past a struct's or array's
  // length word) with the read limit at the field's end.  When it is not
  // found the read limit is set to the position, so the value read next is
  // 0 or null.  Tag -1 (a field the peer does not know) is never found.
  bool findTag(int tag);
  // findTag for a field read with the plain buffer getters.
  bool getStartSimpleTag(int tag) { return findTag(tag); }

  char* getS(int tag);              // a new string (gen_free), or null
  const char* getCS(int tag);       // into the message, or null
  uint8_t get1(int tag);
  uint16_t get2(int tag);
  uint32_t get4(int tag);
  uint64_t get8(int tag);
  float getF(int tag);
  double getD(int tag);
  // The array's elements, zero-filled beyond what the field holds.
  void getArray(int tag, void* data, long count, int size);
  // A counted array in a new block (gen_free); *count gets its length.
  void* getDArray(int tag, long* count, int size);

  // Enter the struct or array `tag` (an empty group when it is missing)
  // until the matching end restores the enclosing group.
  bool getStartStruct(int tag, STPBinaryIMsgParamState* state) { return enter(tag, state); }
  void getEndStruct(const STPBinaryIMsgParamState* state) { leave(state); }
  bool getStartArray(int tag, STPBinaryIMsgParamState* state) { return enter(tag, state); }
  void getEndArray(const STPBinaryIMsgParamState* state) { leave(state); }

 private:
  struct Field {
    long payload;
    long end;
  };
  // The extent of the field whose tag word was just read.
  Field fieldAfterTag(uint32_t word);
  bool enter(int tag, STPBinaryIMsgParamState* state);
  void leave(const STPBinaryIMsgParamState* state);
};
