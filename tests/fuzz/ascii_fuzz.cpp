// The text body reader on arbitrary text, driven by a script (see
// stp_fuzz_input.h): each script byte names a getter and a tag (or none),
// and opens or closes structs and arrays.  Pointers handed out must lie
// inside the message; a string written must read back unchanged.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "base/gen.h"
#include "libs/stp_transport/stp_ascii_imsg.h"
#include "libs/stp_transport/stp_ascii_omsg.h"
#include "stp_fuzz_input.h"

namespace {

const char* const kTags[] = {nullptr, "n", "s", "l", "q", "a", "b", "Name"};

struct Walk {
  STPAsciiIMsg& m;
  std::vector<std::pair<STPAsciiIMsgParamState, bool>> open;  // state, is an array
  int length = 0;

  // A text of `length` bytes handed out must lie inside the message.
  void check(const char* text) const {
    const auto* base = reinterpret_cast<const char*>(m.get_base());
    if (text && *text && (text < base || text + length > base + m.get_capacity())) __builtin_trap();
  }

  void step(uint8_t code) {
    const char* tag = kTags[code >> 5];
    length = 0;
    switch (code & 31) {
      case 0: tag ? m.findTag(tag) : m.findNextValue(); break;
      case 1: check(m.findNextTag(&length)); break;
      case 2: m.skipOptionalLbrace(); break;
      case 3: tag ? m.getNumber(tag) : m.getNumber(); break;
      case 4: tag ? m.getLargeNumber(tag) : m.getLargeNumber(); break;
      case 5: gen_free(tag ? m.getString(tag) : m.getString()); break;
      case 6: check(tag ? m.getIdent(tag, &length) : m.getIdent(&length)); break;
      case 7: check(tag ? m.peekIdent(tag, &length) : m.peekIdent(&length)); break;
      case 8: check(tag ? m.getQuotedIdent(tag, &length) : m.getQuotedIdent(&length)); break;
      case 9: case 10: enter((code & 31) == 10, tag); break;
      case 11: leave(); break;
      case 12: {
        const char* rest = m.getRemainder();
        length = static_cast<int>(std::strlen(rest));
        check(rest);
        break;
      }
      default: break;
    }
    stp_checkBounds(m);
  }

  void enter(bool array, const char* tag) {
    if (open.size() >= 64) return;
    open.emplace_back(STPAsciiIMsgParamState{}, array);
    auto* state = &open.back().first;
    if (array) tag ? m.getStartArray(tag, state) : m.getStartArray(state);
    else tag ? m.getStartStruct(tag, state) : m.getStartStruct(state);
  }

  void leave() {
    if (open.empty()) return;
    open.back().second ? m.getEndArray(&open.back().first) : m.getEndStruct(&open.back().first);
    open.pop_back();
  }
};

// The input's text (to its first NUL) as a string value reads back unchanged.
void roundTrip(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), strnlen(reinterpret_cast<const char*>(data), size));
  STPAsciiOMsg out(1, 2, 14, 0, 0, 1, 0, 1);
  out.putIdent("Name");
  out.putString("s", text.c_str());
  out.putNumber("n", static_cast<uint32_t>(size));
  out.finishMessage(2);
  STPAsciiIMsg in(out.get_base(), out.header().header_length, out.header().body_length);
  char* back = in.getString("s");
  if (!back || back != text || in.getNumber("n") != size) __builtin_trap();
  gen_free(back);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool started = (gen_init("fuzz_ascii", 0, 0), true);
  (void)started;
  const StpFuzzInput input = stp_fuzzInput(data, size);
  if (input.frame.empty()) return 0;
  STPAsciiIMsg message(input.frame.data(), 44, input.body_length);
  Walk walk{message, {}, 0};
  for (uint8_t code : input.script) walk.step(code);
  roundTrip(data, size);
  return 0;
}
