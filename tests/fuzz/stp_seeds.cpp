// Writes the seed corpora of the message fuzz targets with the encoders
// themselves:  fuzz_stp_seeds <corpus folder>  fills its frame/, binary/
// and ascii/ folders.  Binary and text seeds are a script (see
// stp_fuzz_input.h) that reads the body written.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "libs/stp_transport/stp_ascii_omsg.h"
#include "libs/stp_transport/stp_binary_omsg.h"

namespace {

using Bytes = std::vector<uint8_t>;

void save(const std::filesystem::path& path, const Bytes& bytes) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<std::streamsize>(bytes.size()));
}

// The finished frame, padded to a multiple of 4 bytes.
Bytes frame(STPOMsg& m) {
  m.finishMessage(2);
  const uint8_t* base = m.get_base();
  Bytes bytes(base, base + 44 + m.header().body_length);
  bytes.resize((bytes.size() + 3) / 4 * 4);
  return bytes;
}

Bytes scripted(const Bytes& script, STPOMsg& m) {
  Bytes bytes = {static_cast<uint8_t>(script.size())};
  bytes.insert(bytes.end(), script.begin(), script.end());
  const Bytes whole = frame(m);
  bytes.insert(bytes.end(), whole.begin() + 44, whole.begin() + 44 + m.header().body_length);
  return bytes;
}

STPBinaryOMsg binaryFields() {
  STPBinaryOMsg m(1, 2, 15, 0, 0, 1, 0, 1);
  const uint32_t three[] = {1, 2, 3};
  STPBinaryOMsgParamState group;
  m.put1(0, 7), m.put2(1, 0x102), m.put4(2, 0x1020304), m.put8(3, 0x100000002);
  m.putF(4, 1.5f), m.putD(5, -2.25), m.putS(6, "text"), m.putArray(7, three, 3, 4);
  m.putDArray(8, three, 2, 4);
  m.putStartStruct(9, &group), m.put4(0, 9), m.putS(1, nullptr), m.putEndStruct(&group);
  return m;
}

STPAsciiOMsg textFields() {
  STPAsciiOMsg m(1, 2, 14, 0, 0, 1, 0, 1);
  m.putIdent("Name"), m.putString("s", "x\"y\\\n"), m.putNumber("n", 5);
  m.putLargeNumber("l", 0x100000002), m.putQuotedIdent("q", "a b");
  m.putStartStruct("a"), m.putNumber("n", 1), m.putStartArray("b"), m.putNumber(1);
  m.putEndArray(), m.putEndStruct();
  m.putStartArray("b", 2), m.putString("u"), m.putString(nullptr), m.putEndArray();
  return m;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  const std::filesystem::path top = argv[1];
  // Binary script bytes: (tag + 1) << 4 | getter (stp_fuzz_input.h, binary_fuzz.cpp).
  const Bytes inOrder = {0x10, 0x21, 0x32, 0x43, 0x54, 0x65, 0x76, 0x88,
                         0x99, 0xAA, 0x12, 0x27, 0x0C, 0x3F};
  STPBinaryOMsg binary = binaryFields(), binary2 = binaryFields();
  save(top / "binary/fields", scripted(inOrder, binary));
  save(top / "binary/out_of_order", scripted(Bytes(inOrder.rbegin(), inOrder.rend()), binary2));
  // Text script bytes: tag index << 5 | getter (ascii_fuzz.cpp).
  const Bytes walk = {0x06, 0x45, 0x23, 0x64, 0x88, 0xA9, 0x23, 0xCA, 0x03, 0x0B,
                      0x0B, 0xCA, 0x05, 0x05, 0x0B, 0x0C};
  const Bytes peek = {0x07, 0x01, 0x01, 0x02, 0xA6, 0x09, 0x21, 0x0B, 0xC0, 0x0A, 0x06};
  STPAsciiOMsg text = textFields(), text2 = textFields();
  save(top / "ascii/fields", scripted(walk, text));
  save(top / "ascii/peek", scripted(peek, text2));
  STPAsciiOMsg first = textFields();
  STPBinaryOMsg second = binaryFields();
  Bytes stream = frame(first);
  const Bytes more = frame(second);
  stream.insert(stream.end(), more.begin(), more.end());
  save(top / "frame/two_messages", stream);
  Bytes short_header(stream.begin() + 12, stream.begin() + 44 + first.header().body_length);
  short_header[0] = 32, short_header[4] = static_cast<uint8_t>(first.header().body_length);
  save(top / "frame/short_header", short_header);
  return 0;
}
