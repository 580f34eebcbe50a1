// The binary body reader on arbitrary bytes, driven by a script (see
// stp_fuzz_input.h): each script byte names a getter and a tag from -1 to
// 14, and opens or closes structs and arrays.  Strings handed out must be
// terminated inside the message; an array written must read back whole.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "base/gen.h"
#include "libs/stp_transport/stp_binary_imsg.h"
#include "libs/stp_transport/stp_binary_omsg.h"
#include "stp_fuzz_input.h"

namespace {

void readArray(STPBinaryIMsg& m, int tag, int op) {
  const int size = 1 << (tag & 3);
  if (op == 8) {
    uint8_t elements[3 * 8];
    m.getArray(tag, elements, 3, size);
    return;
  }
  long count = 0;
  gen_free(m.getDArray(tag, &count, size));
}

void step(STPBinaryIMsg& m, uint8_t code, std::vector<STPBinaryIMsgParamState>& open) {
  const int tag = (code >> 4) - 1, op = code & 15;
  const char* text = nullptr;
  switch (op) {
    case 0: m.get1(tag); break;
    case 1: m.get2(tag); break;
    case 2: m.get4(tag); break;
    case 3: m.get8(tag); break;
    case 4: m.getF(tag); break;
    case 5: m.getD(tag); break;
    case 6: gen_free(m.getS(tag)); break;
    case 7: text = m.getCS(tag); break;
    case 8: case 9: readArray(m, tag, op); break;
    case 10: case 11:
      if (open.size() < 64) open.emplace_back();
      op == 10 ? m.getStartStruct(tag, &open.back()) : m.getStartArray(tag, &open.back());
      break;
    case 12:
      if (!open.empty()) m.getEndStruct(&open.back()), open.pop_back();
      break;
    case 13: m.findTag(tag); break;
    case 14: m.getStartSimpleTag(tag), text = m.get_ptr_to_string(); break;
    default: m.get_uint32(); break;
  }
  const auto* base = reinterpret_cast<const char*>(m.get_base());
  if (text && (text < base || text + std::strlen(text) >= base + m.get_capacity())) __builtin_trap();
  stp_checkBounds(m);
}

// The input as a byte array field reads back unchanged.
void roundTrip(const uint8_t* data, size_t size) {
  STPBinaryOMsg out(1, 2, 15, 0, 0, 1, 0, 1);
  out.putArray(3, data, static_cast<long>(size), 1);
  out.finishMessage(2);
  STPBinaryIMsg in(out.get_base(), out.header().header_length, out.header().body_length);
  std::vector<uint8_t> back(size);
  in.getArray(3, back.data(), static_cast<long>(size), 1);
  if (size && std::memcmp(back.data(), data, size) != 0) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const StpFuzzInput input = stp_fuzzInput(data, size);
  if (input.frame.empty()) return 0;
  STPBinaryIMsg message(input.frame.data(), 44, input.body_length);
  std::vector<STPBinaryIMsgParamState> open;
  for (uint8_t code : input.script) step(message, code, open);
  roundTrip(data, size);
  return 0;
}
