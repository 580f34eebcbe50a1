// A message: the header record plus the buffer that holds the whole frame.
// STPOMsg is built for sending (the body is written after room for the
// header, which is filled in last); STPIMsg is a received frame, copied.
#pragma once

#include <cstdint>

#include "libs/libcxxutil/network_buffer.h"
#include "libs/stp_transport/stp_header.h"

class STPMsg : public ut_network_buffer {
 public:
  virtual ~STPMsg() = default;

  STPHeader& header() { return header_; }
  const STPHeader& header() const { return header_; }

 protected:
  STPMsg() = default;
  STPMsg(const void* bytes, long length) : ut_network_buffer(bytes, length) {}
  explicit STPMsg(long capacity) : ut_network_buffer(capacity) {}

  STPHeader header_;
};

class STPOMsg : public STPMsg {
 public:
  // An empty body with the position at its start (byte 44).
  STPOMsg(uint32_t source_rn, uint32_t dest_rn, uint32_t kind, uint32_t message_id,
          uint32_t reply_to, uint32_t flags, uint32_t token_origin, uint32_t token_depth);

  // Called once the body is complete: stores the sequence, appends the
  // 32-bit 0 end marker and writes the header.
  void finishMessage(uint32_t sequence);
  // Writes the eleven header words at the start, the header length as 44
  // and the body length as everything written after it.
  void insertHeader();
  // The frame's bytes (valid while the message lives) and its two lengths.
  const uint8_t* getContent(uint32_t* header_length, uint32_t* body_length) const;
};

class STPIMsg : public STPMsg {
 public:
  // Copies `header_length` + `body_length` bytes.  The header words are
  // read from them: header_length / 4 words up to a 44-byte header, 11
  // words from a longer one, the rest 0.  The position and the field
  // cursor start at the body.
  STPIMsg(const uint8_t* bytes, uint32_t header_length, uint32_t body_length);

  long getBodyStart() const { return body_start_; }

  // A reader's side of borrowing (STPBorrowedReader): takes the lender's
  // bytes and reading state, and a copy of its header (the lender keeps
  // its own); returnTo gives everything back.
  void borrowFrom(STPIMsg& lender);
  void returnTo(STPIMsg& lender);

 protected:
  STPIMsg() = default;  // empty, to borrow into
  // Back to the start of the body with the whole body as the group.
  void rewind();

  long body_start_ = 0;
  long field_cursor_ = 0;  // where the next in-order field begins
  long group_end_ = 0;     // end of the struct or array being read, or of the body
};

// A reader of type R over an incoming message's bytes, borrowed rather
// than copied, so that a long body is never duplicated to be parsed.  The
// lender is empty while the reader lives (only its header may be used)
// and whole again after it.
template <class R>
class STPBorrowedReader {
 public:
  explicit STPBorrowedReader(STPIMsg* lender) : lender_(lender) { reader_.borrowFrom(*lender); }
  ~STPBorrowedReader() { reader_.returnTo(*lender_); }
  STPBorrowedReader(const STPBorrowedReader&) = delete;
  STPBorrowedReader& operator=(const STPBorrowedReader&) = delete;
  R* get() { return &reader_; }

 private:
  STPIMsg* lender_;
  R reader_;
};
