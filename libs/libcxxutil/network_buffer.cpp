// The byte buffer of the message encodings.  Values are stored byte by byte
// with shifts, so the wire order is little-endian on every host; every read
// checks its bytes against the read limit before touching them.
#include "libs/libcxxutil/network_buffer.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "base/gen.h"

namespace {

void store16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}

void store32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; i++) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

void store64(uint8_t* p, uint64_t v) {
  store32(p, static_cast<uint32_t>(v >> 32));
  store32(p + 4, static_cast<uint32_t>(v));
}

uint16_t load16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

uint32_t load32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

uint64_t load64(const uint8_t* p) {
  return static_cast<uint64_t>(load32(p)) << 32 | load32(p + 4);
}

long align_up(long offset, long alignment) {
  return (offset + alignment - 1) / alignment * alignment;
}

// Elements of 2 and 4 bytes align to their size, 8-byte ones to 4, any
// other size not at all.
long element_alignment(int size) {
  if (size == 2) return 2;
  if (size == 4 || size == 8) return 4;
  return 1;
}

// One array element from wire order into host memory, and back.
void decode_element(const uint8_t* wire, void* host, int size) {
  if (size == 2) {
    const uint16_t v = load16(wire);
    std::memcpy(host, &v, 2);
  } else if (size == 4) {
    const uint32_t v = load32(wire);
    std::memcpy(host, &v, 4);
  } else if (size == 8) {
    const uint64_t v = load64(wire);
    std::memcpy(host, &v, 8);
  } else {
    std::memcpy(host, wire, static_cast<size_t>(size));
  }
}

void encode_element(const void* host, uint8_t* wire, int size) {
  if (size == 2) {
    uint16_t v;
    std::memcpy(&v, host, 2);
    store16(wire, v);
  } else if (size == 4) {
    uint32_t v;
    std::memcpy(&v, host, 4);
    store32(wire, v);
  } else if (size == 8) {
    uint64_t v;
    std::memcpy(&v, host, 8);
    store64(wire, v);
  } else {
    std::memcpy(wire, host, static_cast<size_t>(size));
  }
}

}  // namespace

ut_network_buffer::ut_network_buffer(long capacity)
    : bytes_(static_cast<size_t>(std::max(capacity, 0L)) + 1),
      capacity_(std::max(capacity, 0L)),
      end_(capacity_) {}

ut_network_buffer::ut_network_buffer(const void* bytes, long length)
    : ut_network_buffer(length) {
  if (bytes && capacity_ > 0) std::memcpy(bytes_.data(), bytes, static_cast<size_t>(capacity_));
}

void ut_network_buffer::expand_capacity(long need) {
  const long old = capacity_;
  need = std::max(need, 0L);
  capacity_ = old == 0 ? need + 14 : need + 2 * old;
  bytes_.resize(static_cast<size_t>(capacity_) + 1, 0);
  if (end_ == old) end_ = capacity_;
}

uint32_t ut_network_buffer::decode_uint32(const void* wire) {
  return load32(static_cast<const uint8_t*>(wire));
}

// ---- writing -------------------------------------------------------------------

long ut_network_buffer::reserve(long size, long alignment) {
  const long start = align_up(pos_, alignment);
  if (start + size > capacity_) expand_capacity(start + size - capacity_);
  pos_ = start + size;
  return start;
}

void ut_network_buffer::put_uint8(uint8_t value) { bytes_[reserve(1, 1)] = value; }

void ut_network_buffer::put_uint16(uint16_t value) { store16(&bytes_[reserve(2, 2)], value); }

void ut_network_buffer::put_uint32(uint32_t value) { store32(&bytes_[reserve(4, 4)], value); }

void ut_network_buffer::put_uint64(uint64_t value) { store64(&bytes_[reserve(8, 4)], value); }

void ut_network_buffer::put_real32(float value) { put_uint32(std::bit_cast<uint32_t>(value)); }

void ut_network_buffer::put_real64(double value) { put_uint64(std::bit_cast<uint64_t>(value)); }

void ut_network_buffer::put_bytes(const void* bytes, long length) {
  if (length <= 0) return;
  const long at = reserve(length, 1);
  if (bytes) std::memcpy(&bytes_[at], bytes, static_cast<size_t>(length));
}

void ut_network_buffer::put_raw_string(const char* text) {
  if (text) put_bytes(text, static_cast<long>(std::strlen(text)));
}

void ut_network_buffer::put_string(const char* text) {
  if (!text) {
    put_uint32(0);
    return;
  }
  const long length = static_cast<long>(std::strlen(text)) + 1;
  put_uint32(static_cast<uint32_t>(length));
  put_bytes(text, length);
}

void ut_network_buffer::put_elements(const void* data, long count, int size) {
  const long at = reserve(count * size, element_alignment(size));
  uint8_t* wire = &bytes_[at];
  if (!data) {
    std::memset(wire, 0, static_cast<size_t>(count * size));
    return;
  }
  const auto* host = static_cast<const uint8_t*>(data);
  for (long i = 0; i < count; i++) encode_element(host + i * size, wire + i * size, size);
}

void ut_network_buffer::put_array(const void* data, long count, int size) {
  if (count > 0 && size > 0) put_elements(data, count, size);
}

void ut_network_buffer::put_dynamic_array(const void* data, long count, int size) {
  put_uint32(static_cast<uint32_t>(std::max(count, 0L)));
  put_array(data, count, size);
}

void ut_network_buffer::put_uint32_at(long offset, uint32_t value) {
  const long saved = pos_;
  set_pos(offset);
  put_uint32(value);
  pos_ = saved;
}

void ut_network_buffer::put_uint64_at(long offset, uint64_t value) {
  const long saved = pos_;
  set_pos(offset);
  put_uint64(value);
  pos_ = saved;
}

void ut_network_buffer::put_array_at(long offset, const void* data, long count, int size) {
  const long saved = pos_;
  set_pos(offset);
  put_array(data, count, size);
  pos_ = saved;
}

// ---- reading -------------------------------------------------------------------

bool ut_network_buffer::fits(long* offset, long size, long alignment) const {
  const long start = align_up(*offset, alignment);
  if (*offset < 0 || start > end_ || size > end_ - start) {
    *offset = end_;
    return false;
  }
  *offset = start;
  return true;
}

uint8_t ut_network_buffer::get_uint8_from(long* offset) const {
  if (!fits(offset, 1, 1)) return 0;
  return bytes_[static_cast<size_t>((*offset)++)];
}

uint16_t ut_network_buffer::get_uint16_from(long* offset) const {
  if (!fits(offset, 2, 2)) return 0;
  const uint16_t v = load16(&bytes_[static_cast<size_t>(*offset)]);
  *offset += 2;
  return v;
}

uint32_t ut_network_buffer::get_uint32_from(long* offset) const {
  if (!fits(offset, 4, 4)) return 0;
  const uint32_t v = load32(&bytes_[static_cast<size_t>(*offset)]);
  *offset += 4;
  return v;
}

uint64_t ut_network_buffer::get_uint64_from(long* offset) const {
  if (!fits(offset, 8, 4)) return 0;
  const uint64_t v = load64(&bytes_[static_cast<size_t>(*offset)]);
  *offset += 8;
  return v;
}

float ut_network_buffer::get_real32_from(long* offset) const {
  return std::bit_cast<float>(get_uint32_from(offset));
}

double ut_network_buffer::get_real64_from(long* offset) const {
  return std::bit_cast<double>(get_uint64_from(offset));
}

const char* ut_network_buffer::get_ptr_to_string_from(long* offset) const {
  const long length = get_uint32_from(offset);
  if (length == 0 || !fits(offset, length, 1)) return nullptr;
  const char* text = reinterpret_cast<const char*>(&bytes_[static_cast<size_t>(*offset)]);
  *offset += length;
  return text[length - 1] == '\0' ? text : nullptr;
}

char* ut_network_buffer::get_string_from(long* offset) const {
  const char* text = get_ptr_to_string_from(offset);
  return text ? gen_copy(text) : nullptr;
}

void ut_network_buffer::get_array_from(long* offset, void* data, long count, int size) const {
  if (!data || count <= 0 || size <= 0) return;
  auto* host = static_cast<uint8_t*>(data);
  const long alignment = element_alignment(size);
  for (long i = 0; i < count; i++) {
    if (!fits(offset, size, alignment)) {
      std::memset(host + i * size, 0, static_cast<size_t>((count - i) * size));
      return;
    }
    decode_element(&bytes_[static_cast<size_t>(*offset)], host + i * size, size);
    *offset += size;
  }
}

void* ut_network_buffer::get_dynamic_array_from(long* offset, long* count, int size) const {
  const long wanted = get_uint32_from(offset);
  *count = 0;
  if (wanted == 0 || size <= 0) return nullptr;
  const long room = end_ - align_up(*offset, element_alignment(size));
  *count = std::min(wanted, std::max(room, 0L) / size);
  if (*count == 0) {
    *offset = end_;
    return nullptr;
  }
  void* data = gen_alloc(*count, size);
  get_array_from(offset, data, *count, size);
  if (*count < wanted) *offset = end_;
  return data;
}

// ---- positions -----------------------------------------------------------------

void ut_network_buffer::set_pos(long pos) {
  pos = std::max(pos, 0L);
  if (pos > capacity_) expand_capacity(pos - capacity_);
  pos_ = pos;
}

void ut_network_buffer::inc_pos(long delta) { pos_ = std::clamp(pos_ + delta, 0L, capacity_); }

void ut_network_buffer::set_end_pos(long end) { end_ = std::clamp(end, 0L, capacity_); }

void ut_network_buffer::set_end_pos_to_cur_pos_plus(long delta) { set_end_pos(pos_ + delta); }

void ut_network_buffer::set_next_to_end_minus(long n) { pos_ = std::max(end_ - n, 0L); }
