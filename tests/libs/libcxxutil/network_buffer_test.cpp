// The network buffer: random values of every type read back as written,
// the exact little-endian wire bytes, growth and positions, and reads that
// do not fit yielding zeros without leaving the buffer.
#include "libs/libcxxutil/network_buffer.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <functional>
#include <random>
#include <vector>

#include "base/gen.h"

namespace {

using Bytes = std::vector<uint8_t>;

// Kinds 0..5 are scalars of these sizes; 6 a string; 7..10 arrays of
// elements of 1, 2, 4, 8 bytes; 11 a counted array of 4-byte elements.
constexpr int kScalarSize[] = {1, 2, 4, 8, 4, 8};
constexpr int kElementSize[] = {1, 2, 4, 8, 4};

template <class T>
T as(const Bytes& bytes) {
  T value;
  std::memcpy(&value, bytes.data(), sizeof value);
  return value;
}

template <class T>
Bytes bytesOf(T value) {
  Bytes bytes(sizeof value);
  std::memcpy(bytes.data(), &value, sizeof value);
  return bytes;
}

void write(ut_network_buffer& b, int kind, const Bytes& v) {
  const long count = kind >= 7 ? static_cast<long>(v.size()) / kElementSize[kind - 7] : 0;
  switch (kind) {
    case 0: return b.put_uint8(v[0]);
    case 1: return b.put_uint16(as<uint16_t>(v));
    case 2: return b.put_uint32(as<uint32_t>(v));
    case 3: return b.put_uint64(as<uint64_t>(v));
    case 4: return b.put_real32(as<float>(v));
    case 5: return b.put_real64(as<double>(v));
    case 6: return b.put_string(std::string(v.begin(), v.end()).c_str());
    case 11: return b.put_dynamic_array(v.data(), count, 4);
    default: return b.put_array(v.data(), count, kElementSize[kind - 7]);
  }
}

Bytes read(ut_network_buffer& b, int kind, size_t size) {
  Bytes out(size);
  switch (kind) {
    case 0: return {b.get_uint8()};
    case 1: return bytesOf(b.get_uint16());
    case 2: return bytesOf(b.get_uint32());
    case 3: return bytesOf(b.get_uint64());
    case 4: return bytesOf(std::bit_cast<uint32_t>(b.get_real32()));
    case 5: return bytesOf(std::bit_cast<uint64_t>(b.get_real64()));
    case 6: {
      char* s = b.get_string();
      out.assign(s, s + std::strlen(s));
      gen_free(s);
      return out;
    }
    case 11: {
      long count = 0;
      void* data = b.get_dynamic_array(&count, 4);
      out.assign(static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + count * 4);
      gen_free(data);
      return out;
    }
    default: b.get_array(out.data(), static_cast<long>(size) / kElementSize[kind - 7],
                         kElementSize[kind - 7]);
      return out;
  }
}

TEST(NetworkBuffer, RandomValuesOfEveryTypeReadBackAsWritten) {
  std::mt19937 random(4101);
  for (int round = 0; round < 300; round++) {
    ut_network_buffer out(round % 20);
    std::vector<std::pair<int, Bytes>> items;
    for (int i = 0; i < 10; i++) {
      const int kind = static_cast<int>(random() % 12);
      const size_t size = kind < 6 ? kScalarSize[kind]
                          : kind == 6 ? random() % 9
                                      : (random() % 5) * kElementSize[kind - 7];
      Bytes value(size);
      for (uint8_t& byte : value) byte = static_cast<uint8_t>(kind == 6 ? 1 + random() % 255 : random());
      write(out, kind, value);
      items.emplace_back(kind, value);
    }
    ut_network_buffer in(out.get_base(), out.get_pos());
    for (const auto& [kind, value] : items) EXPECT_EQ(read(in, kind, value.size()), value) << kind;
    EXPECT_EQ(in.get_pos(), out.get_pos());
  }
}

TEST(NetworkBuffer, WireBytesAreLittleEndianAndAlignedFromTheStart) {
  const uint16_t pair[] = {0x0102, 0x0304};
  const uint32_t five = 5;
  const struct {
    const char* what;
    std::function<void(ut_network_buffer&)> put;
    Bytes wire;
  } cases[] = {
      {"64-bit", [](auto& b) { b.put_uint64(0x0000000100000002); }, {1, 0, 0, 0, 2, 0, 0, 0}},
      {"empty string", [](auto& b) { b.put_string(""); }, {1, 0, 0, 0, 0}},
      {"null string", [](auto& b) { b.put_string(nullptr); }, {0, 0, 0, 0}},
      {"pad after a byte", [](auto& b) { b.put_uint8(7), b.put_uint32(0x01020304); },
       {7, 0, 0, 0, 4, 3, 2, 1}},
      {"16-bit after a byte", [](auto& b) { b.put_uint8(1), b.put_uint16(0x0203); }, {1, 0, 3, 2}},
      {"16-bit array", [&](auto& b) { b.put_uint8(9), b.put_array(pair, 2, 2); },
       {9, 0, 2, 1, 4, 3}},
      {"counted array", [&](auto& b) { b.put_dynamic_array(&five, 1, 4); }, {1, 0, 0, 0, 5, 0, 0, 0}},
      {"raw string", [](auto& b) { b.put_raw_string("ab"), b.put_raw_string(nullptr); }, {'a', 'b'}},
      {"float", [](auto& b) { b.put_real32(1.0f); }, {0, 0, 0x80, 0x3f}},
      {"double", [](auto& b) { b.put_real64(1.0); }, {0, 0, 0xf0, 0x3f, 0, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    ut_network_buffer b;
    c.put(b);
    EXPECT_EQ(Bytes(b.get_base(), b.get_base() + b.get_pos()), c.wire) << c.what;
  }
  const uint8_t wire[] = {1, 2, 3, 4};
  EXPECT_EQ(ut_network_buffer::decode_uint32(wire), 0x04030201u);
}

TEST(NetworkBuffer, GrowsByTheRuleAndClampsPositions) {
  ut_network_buffer b(-5);
  EXPECT_EQ(b.get_capacity(), 0);
  b.put_uint8(1);
  EXPECT_EQ(b.get_capacity(), 15);  // 1 + 14 from empty
  b.set_pos(15);
  b.put_uint32(0xFFFFFFFF);  // at 16: needs 5 more, grows to 5 + 2 * 15
  EXPECT_EQ(b.get_capacity(), 35);
  EXPECT_EQ(b.get_end_pos(), 35);
  for (long i = 1; i < 16; i++) EXPECT_EQ(b.get_base()[i], 0) << i;
  b.put_uint32_at(4, 0x01020304);
  EXPECT_EQ(b.get_pos(), 20);
  EXPECT_EQ(b.get_base()[4], 4);
  b.inc_pos(-100);
  EXPECT_EQ(b.get_pos(), 0);
  b.inc_pos(100);
  EXPECT_EQ(b.get_pos(), 35);
  b.set_end_pos(100);
  EXPECT_EQ(b.get_end_pos(), 35);
  b.set_next_to_end_minus(3);
  EXPECT_EQ(b.get_pos(), 32);
  b.set_end_pos_to_cur_pos_plus(2);
  EXPECT_EQ(b.get_end_pos(), 34);
  b.set_next_to_end_minus(100);
  EXPECT_EQ(b.get_pos(), 0);
  EXPECT_EQ(ut_network_buffer(nullptr, -3).get_capacity(), 0);
}

TEST(NetworkBuffer, ReadsThatDoNotFitYieldZerosAtTheEnd) {
  for (int size : {2, 4, 8}) {
    const Bytes wire = {0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF, 0x11};
    ut_network_buffer b(wire.data(), size - 1);
    const uint64_t value = size == 2 ? b.get_uint16() : size == 4 ? b.get_uint32() : b.get_uint64();
    EXPECT_EQ(value, 0u) << size;
    EXPECT_EQ(b.get_pos(), size - 1) << size;
  }
  const Bytes longer = {5, 0, 0, 0, 'a', 'b'}, unterminated = {2, 0, 0, 0, 'a', 'b'};
  for (const Bytes& text : {longer, unterminated}) {
    ut_network_buffer b(text.data(), static_cast<long>(text.size()));
    EXPECT_EQ(b.get_ptr_to_string(), nullptr);
    EXPECT_EQ(b.get_pos(), 6);
  }
  const Bytes counted = {0xE8, 3, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0, 3, 0};
  ut_network_buffer b(counted.data(), static_cast<long>(counted.size()));
  long offset = 4;
  uint32_t three[3] = {9, 9, 9};
  b.get_array_from(&offset, three, 3, 4);
  EXPECT_EQ(std::vector<uint32_t>(three, three + 3), (std::vector<uint32_t>{1, 2, 0}));
  EXPECT_EQ(offset, 14);
  EXPECT_EQ(b.get_pos(), 0);
  long count = 0;
  void* cut = b.get_dynamic_array(&count, 4);  // 1000 wanted, 2 there
  EXPECT_EQ(count, 2);
  EXPECT_EQ(static_cast<uint32_t*>(cut)[1], 2u);
  EXPECT_EQ(b.get_pos(), 14);
  gen_free(cut);
}

}  // namespace
