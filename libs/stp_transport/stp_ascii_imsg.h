// Reading a text message body.  Values are found by tag: the reader keeps
// a "next" offset where the field after the last one read begins, and a
// lookup scans from there through the current group.  Finding the very
// next field moves "next" past it; finding one further on leaves "next"
// alone, so out-of-order lookups lose no fields.  The untagged getters
// read the value at "next".  Reading never fails: a missing tag or a
// malformed value reads as 0, null or an empty identifier.
#pragma once

#include <cstdint>

#include "libs/stp_transport/stp_msg.h"

// The enclosing group's "next", saved while a struct or array is read.
struct STPAsciiIMsgParamState {
  long outer_next = 0;
};

class StpAsciiScanner;

class STPAsciiIMsg : public STPIMsg {
 public:
  STPAsciiIMsg(const uint8_t* bytes, uint32_t header_length, uint32_t body_length);
  explicit STPAsciiIMsg(const STPIMsg& message);
  STPAsciiIMsg() = default;  // empty, to borrow a message's bytes into
  void borrowFrom(STPIMsg& lender) {
    STPIMsg::borrowFrom(lender);
    next_ = body_start_;
  }

  // Positions at the value of `tag` in the current group; false when the
  // group ends ("]", "}" or the end of the text) first.
  bool findTag(const char* tag);
  // The next field whatever its tag: its name (into the message, not
  // terminated) and *length; null at the end of the group or before an
  // untagged value.
  const char* findNextTag(int* length);
  // Positions at the next value, tagged or not; false at the group's end.
  bool findNextValue();
  // Consumes a "{" when one comes next.
  bool skipOptionalLbrace();

  uint32_t getNumber();  // unsigned, base from the prefix ("0x", "0")
  uint32_t getNumber(const char* tag);
  uint64_t getLargeNumber();  // optional sign, then "0x" and hex digits, or decimal
  uint64_t getLargeNumber(const char* tag);
  // A new string (gen_free) with the escapes undone; null for null, for a
  // missing tag and for a value that is not quoted.
  char* getString();
  char* getString(const char* tag);
  // The token up to the next blank, into the message; "" and 0 when
  // missing.  peekIdent does not consume it.
  const char* getIdent(int* length);
  const char* getIdent(const char* tag, int* length);
  const char* peekIdent(int* length);
  const char* peekIdent(const char* tag, int* length);
  // The text between the quotes, into the message (escapes kept).
  const char* getQuotedIdent(int* length);
  const char* getQuotedIdent(const char* tag, int* length);

  // Enter a "{ ... }" group.  Without its opening bracket the reader moves
  // to the end, so the group reads as empty until its end.
  bool getStartStruct(STPAsciiIMsgParamState* state);
  bool getStartStruct(const char* tag, STPAsciiIMsgParamState* state);
  // Skips what is left of the group and its closing bracket (moving to the
  // end when it is missing), then restores the enclosing group's "next".
  void getEndStruct(const STPAsciiIMsgParamState* state) { leave('}', state); }
  // Enter a "(count)[ ... ]" group; returns the count, or 0 when none was
  // written (with the warning "unspecified stp ascii array size" unless the
  // array is empty).  A count is cut to what the text could hold.
  int getStartArray(STPAsciiIMsgParamState* state);
  int getStartArray(const char* tag, STPAsciiIMsgParamState* state);
  void getEndArray(const STPAsciiIMsgParamState* state) { leave(']', state); }

  // The rest of the text from "next" (NUL-terminated), which is consumed.
  const char* getRemainder();
  const char* getAsciiContent() const;

 private:
  StpAsciiScanner scanner() const;
  // The token at the position as a string, the position moved past it.
  const char* takeIdent(int* length);
  uint32_t parseNumber();
  uint64_t parseLargeNumber();
  char* parseString();
  const char* parseQuotedIdent(int* length);
  // Opens the group at the position if it starts with `open` (a "[" may
  // follow a count, stored in *count); else moves to the end.
  bool enter(bool found, char open, STPAsciiIMsgParamState* state, long* count);
  int arrayCount(bool found, STPAsciiIMsgParamState* state);
  void leave(char close, const STPAsciiIMsgParamState* state);
  void moveToEnd();

  long next_ = 0;
};
