// The byte buffer every message is encoded in and decoded from: a growable,
// zero-filled block with a cursor and a read limit.  Integers wider than a
// byte are little-endian on the wire whatever the host, and aligned to their
// size (at most 4) relative to the start of the buffer.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

class ut_network_buffer {
 public:
  // An empty buffer; one of `capacity` zero bytes (negative counts as 0);
  // or a copy of `length` bytes (negative counts as 0) whose read limit is
  // the end of the copy.
  ut_network_buffer() = default;
  explicit ut_network_buffer(long capacity);
  ut_network_buffer(const void* bytes, long length);

  // ---- writing: at the position, growing the buffer as needed ----
  // Pad bytes skipped for alignment are not written; they keep the zero fill.
  void put_uint8(uint8_t value);
  void put_uint16(uint16_t value);
  void put_uint32(uint32_t value);
  // Two aligned 32-bit words, the high word first.
  void put_uint64(uint64_t value);
  void put_real32(float value);   // the bit pattern as a 32-bit integer
  void put_real64(double value);  // the bit pattern as a 64-bit integer
  // The bytes of `text` without length or NUL; null writes nothing.
  void put_raw_string(const char* text);
  // `length` bytes as they are, unaligned.
  void put_bytes(const void* bytes, long length);
  // A 32-bit length counting the NUL, then the bytes and the NUL; a null
  // string is the length 0 alone, so "" has length 1.
  void put_string(const char* text);
  // `count` elements of `size` bytes: size 1 copied, 2 and 4 aligned to
  // their size and little-endian, 8 aligned to 4 as two words high first;
  // other sizes are copied as bytes.  Null `data` writes zero elements.
  void put_array(const void* data, long count, int size);
  // The same after a 32-bit count.
  void put_dynamic_array(const void* data, long count, int size);
  // Writes at `offset` as if the position were there, leaving the position.
  void put_uint32_at(long offset, uint32_t value);
  void put_uint64_at(long offset, uint64_t value);
  void put_array_at(long offset, const void* data, long count, int size);

  // ---- reading: at the position, never beyond the read limit ----
  // A value that does not fit before the limit moves the position to the
  // limit and reads as 0, null, or zero-filled elements.
  uint8_t get_uint8() { return get_uint8_from(&pos_); }
  uint16_t get_uint16() { return get_uint16_from(&pos_); }
  uint32_t get_uint32() { return get_uint32_from(&pos_); }
  uint64_t get_uint64() { return get_uint64_from(&pos_); }
  float get_real32() { return get_real32_from(&pos_); }
  double get_real64() { return get_real64_from(&pos_); }
  // A counted string as a new string (gen_free), or a pointer into the
  // buffer; null for the null string and for one that does not fit or
  // lacks its NUL.
  char* get_string() { return get_string_from(&pos_); }
  const char* get_ptr_to_string() { return get_ptr_to_string_from(&pos_); }
  // Fills `count` elements of `size` bytes: those that fit, then zeros.
  void get_array(void* data, long count, int size) { get_array_from(&pos_, data, count, size); }
  // A 32-bit count, then that many elements in a new block (gen_free); the
  // count is cut to the elements that fit.  Null when there are none.
  void* get_dynamic_array(long* count, int size) {
    return get_dynamic_array_from(&pos_, count, size);
  }

  // The same reads at a caller-held offset, which they advance instead of
  // the position.
  uint8_t get_uint8_from(long* offset) const;
  uint16_t get_uint16_from(long* offset) const;
  uint32_t get_uint32_from(long* offset) const;
  uint64_t get_uint64_from(long* offset) const;
  float get_real32_from(long* offset) const;
  double get_real64_from(long* offset) const;
  char* get_string_from(long* offset) const;
  const char* get_ptr_to_string_from(long* offset) const;
  void get_array_from(long* offset, void* data, long count, int size) const;
  void* get_dynamic_array_from(long* offset, long* count, int size) const;

  // ---- positions ----
  void set_pos(long pos);           // grows when beyond the capacity
  void inc_pos(long delta);         // clamped to the buffer
  void set_end_pos(long end);       // clamped to the capacity
  void set_end_pos_to_cur_pos_plus(long delta);
  void set_next_to_end_minus(long n);  // not before the start
  long get_pos() const { return pos_; }
  long get_end_pos() const { return end_; }
  long get_capacity() const { return capacity_; }
  uint8_t* get_base() { return bytes_.data(); }
  const uint8_t* get_base() const { return bytes_.data(); }

  // Exchanges contents and positions with another buffer (no bytes copied).
  void swap(ut_network_buffer& other) noexcept {
    bytes_.swap(other.bytes_);
    std::swap(capacity_, other.capacity_);
    std::swap(pos_, other.pos_);
    std::swap(end_, other.end_);
  }

  // Grows to `need` + 2 × capacity (`need` + 14 from empty), zero-filled;
  // a read limit at the old capacity moves to the new one.
  void expand_capacity(long need);

  // A little-endian wire word as a host value.
  static uint32_t decode_uint32(const void* wire);

 private:
  // Aligns *offset and checks that `size` bytes fit before the limit; when
  // not, moves *offset to the limit and returns false.
  bool fits(long* offset, long size, long alignment) const;
  // Aligns the position and makes room for `size` bytes there; returns the
  // offset to write at, with the position past it.
  long reserve(long size, long alignment);
  void put_elements(const void* data, long count, int size);

  // One hidden zero byte always follows the capacity, so that a string
  // ending at the last byte is still terminated in memory.
  std::vector<uint8_t> bytes_ = std::vector<uint8_t>(1);
  long capacity_ = 0;
  long pos_ = 0;
  long end_ = 0;
};
