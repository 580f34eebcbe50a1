// The binary encoding: random fields of every type read back in and out of
// order, the exact bytes of tags and padding, lookups of absent tags, and
// bodies cut short that read as zeros.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <random>
#include <vector>

#include "libs/stp_transport/stp_binary_imsg.h"
#include "libs/stp_transport/stp_binary_omsg.h"
#include "stp_test_util.h"

namespace {

struct Field {
  int tag;
  int kind;  // S 1 2 4 8 F D, 7 array, 8 counted array, 9 struct
  uint64_t bits;
  std::string text;
  bool operator==(const Field&) const = default;
};

constexpr uint64_t kMask[] = {0, 0xFF, 0xFFFF, 0xFFFFFFFF, ~0ull, 0xFFFFFFFF, ~0ull,
                              ~0ull, 0xFFFFFFFF, 0xFFFFFFFF};

void put(STPBinaryOMsg& m, const Field& f) {
  const uint32_t pair[2] = {static_cast<uint32_t>(f.bits), static_cast<uint32_t>(f.bits >> 32)};
  STPBinaryOMsgParamState state;
  switch (f.kind) {
    case 0: return m.putS(f.tag, f.text.c_str());
    case 1: return m.put1(f.tag, static_cast<uint8_t>(f.bits));
    case 2: return m.put2(f.tag, static_cast<uint16_t>(f.bits));
    case 3: return m.put4(f.tag, pair[0]);
    case 4: return m.put8(f.tag, f.bits);
    case 5: return m.putF(f.tag, std::bit_cast<float>(pair[0]));
    case 6: return m.putD(f.tag, std::bit_cast<double>(f.bits));
    case 7: return m.putArray(f.tag, pair, 2, 4);
    case 8: return m.putDArray(f.tag, &f.bits, f.bits % 2, 4);
  }
  m.putStartStruct(f.tag, &state);
  m.put4(0, pair[0]);
  m.putS(1, f.text.c_str());
  m.putEndStruct(&state);
}

Field get(STPBinaryIMsg& m, Field f) {
  uint32_t pair[2] = {};
  long count = 0;
  STPBinaryIMsgParamState state;
  switch (f.kind) {
    case 0: f.text = take(m.getS(f.tag)); break;
    case 1: f.bits = m.get1(f.tag); break;
    case 2: f.bits = m.get2(f.tag); break;
    case 3: f.bits = m.get4(f.tag); break;
    case 4: f.bits = m.get8(f.tag); break;
    case 5: f.bits = std::bit_cast<uint32_t>(m.getF(f.tag)); break;
    case 6: f.bits = std::bit_cast<uint64_t>(m.getD(f.tag)); break;
    case 7: m.getArray(f.tag, pair, 2, 4), f.bits = pair[0] | uint64_t{pair[1]} << 32; break;
    case 8: {
      void* data = m.getDArray(f.tag, &count, 4);
      f.bits = count ? *static_cast<uint32_t*>(data) : 0;
      gen_free(data);
      break;
    }
    case 9:
      m.getStartStruct(f.tag, &state);
      f.bits = m.get4(0);
      f.text = take(m.getS(1));
      m.getEndStruct(&state);
  }
  return f;
}

std::vector<Field> randomFields(std::mt19937_64& random) {
  std::vector<Field> fields;
  for (int tag = 0; tag < 12; tag++) {
    const int kind = static_cast<int>(random() % 10);
    uint64_t bits = random() & kMask[kind];
    if (kind == 8) bits |= 1;  // an odd value: a one-element array
    fields.push_back({tag * 3 + 1, kind, bits, std::string(random() % 6, 'a' + tag)});
    if (kind != 0 && kind != 9) fields.back().text.clear();
  }
  return fields;
}

TEST(StpBinary, RandomFieldsReadBackInAndOutOfOrder) {
  std::mt19937_64 random(2024);
  for (int round = 0; round < 200; round++) {
    std::vector<Field> fields = randomFields(random);
    STPBinaryOMsg out(1, 2, STP_KIND_BINARY, 0, 0, 1, 0, 1);
    for (const Field& f : fields) put(out, f);
    STPBinaryIMsg in = received<STPBinaryIMsg>(out);
    STPBinaryIMsg again(in);
    for (const Field& f : fields) EXPECT_EQ(get(in, f), f) << f.kind;
    std::shuffle(fields.begin(), fields.end(), random);
    for (const Field& f : fields) EXPECT_EQ(get(again, f), f) << f.kind;
  }
}

TEST(StpBinary, TagWordsPaddingAndGroupLengthsOnTheWire) {
  STPBinaryOMsg out(1, 2, STP_KIND_BINARY, 0, 0, 1, 0, 1);
  STPBinaryOMsgParamState state;
  out.put1(3, 7);
  out.put4(4, 0x01020304);
  out.putStartStruct(5, &state);
  out.put2(0, 9);
  out.putEndStruct(&state);
  out.putS(6, "");
  out.putS(7, nullptr);
  STPBinaryIMsg in = received<STPBinaryIMsg>(out);
  const std::vector<uint8_t> body = {
      0x21, 3, 0, 0, 7,    0, 0, 0, 0x24, 4, 0, 0, 4, 3, 2, 1,     // put1, pad, put4
      0x40, 5, 0, 0, 6,    0, 0, 0, 0x22, 0, 0, 0, 9, 0, 0, 0,     // struct of 6 bytes
      0x10, 6, 0, 0, 1,    0, 0, 0, 0,    0, 0, 0,                 // "", pad
      0x10, 7, 0, 0, 0,    0, 0, 0, 0,    0, 0, 0};                // null, end marker
  EXPECT_EQ(std::vector<uint8_t>(in.get_base() + 44, in.get_base() + in.get_capacity()), body);
  EXPECT_EQ(take(in.getS(6)), "");
  EXPECT_EQ(in.getCS(7), nullptr);
}

TEST(StpBinary, AbsentTagsReadZeroAndInOrderLookupGoesOn) {
  STPBinaryOMsg out(1, 2, STP_KIND_BINARY, 0, 0, 1, 0, 1);
  for (int tag : {1, 2, 3}) out.put4(tag, 11 * tag);
  STPBinaryIMsg in = received<STPBinaryIMsg>(out);
  EXPECT_EQ(in.get4(1), 11u);
  EXPECT_EQ(in.get4(9), 0u);
  EXPECT_EQ(in.get4(-1), 0u);
  EXPECT_EQ(in.get4(2), 22u);
  EXPECT_EQ(in.get4(3), 33u);
  EXPECT_EQ(in.get4(1), 0u);  // behind the cursor now
  STPBinaryIMsgParamState state;
  EXPECT_FALSE(in.getStartStruct(8, &state));
  EXPECT_EQ(in.get4(1), 0u);
}

TEST(StpBinary, BodiesCutShortReadAsZerosOrNulls) {
  std::mt19937_64 random(99);
  const std::vector<Field> fields = randomFields(random);
  STPBinaryOMsg out(1, 2, STP_KIND_BINARY, 0, 0, 1, 0, 1);
  for (const Field& f : fields) put(out, f);
  out.finishMessage(2);
  for (uint32_t length = 0; length < out.header().body_length; length++) {
    STPBinaryIMsg in(out.get_base(), 44, length);
    for (const Field& f : fields) {
      const Field got = get(in, f);
      EXPECT_TRUE(got.text == f.text || got.text == "<null>") << length << " " << f.kind;
      for (int shift : {0, 32}) {  // array elements past the cut are zeros
        const uint32_t word = static_cast<uint32_t>(got.bits >> shift);
        EXPECT_TRUE(word == 0 || word == static_cast<uint32_t>(f.bits >> shift)) << length;
      }
    }
  }
}

}  // namespace
