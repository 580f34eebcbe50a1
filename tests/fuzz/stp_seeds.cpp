// Writes the seed corpora of the message fuzz targets with the encoders
// themselves:  fuzz_stp_seeds <corpus folder>  fills its frame/, binary/,
// ascii/ and transport/ folders.  Binary and text seeds are a script (see
// stp_fuzz_input.h) that reads the body written; transport seeds are a
// chunking byte and a stream of frames (transport_fuzz.cpp).
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

// A frame from the transport target's peer (RN 2 to RN 1) with a text body.
Bytes peerFrame(uint32_t sequence, uint32_t kind, uint32_t id, uint32_t replyTo, uint32_t flags,
                uint32_t tokenOrigin, uint32_t tokenDepth, const char* text) {
  STPAsciiOMsg m(2, 1, kind, id, replyTo, flags, tokenOrigin, tokenDepth);
  m.putRawString(text);
  m.finishMessage(sequence);
  const uint8_t* base = m.get_base();
  Bytes bytes(base, base + 44 + m.header().body_length);
  bytes.resize((bytes.size() + 3) / 4 * 4);
  return bytes;
}

// The transport target's seeds: requests, a reply to its first call
// (sequence 2), sync, no-op and channel messages, and requests inside and
// outside the transaction of that call.
void transportSeeds(const std::filesystem::path& top) {
  auto save = [&](const char* name, uint8_t chunking, std::vector<Bytes> frames) {
    Bytes stream = {chunking};
    for (const Bytes& f : frames) stream.insert(stream.end(), f.begin(), f.end());
    ::save(top / "transport" / name, stream);
  };
  const uint32_t reply = 0xFFFFFFFF;
  save("request", 1, {peerFrame(2, 14, 3, 0, 1, 0x50002, 1, "GotoRange start:0x1 end:0x2 ")});
  save("control", 7,
       {peerFrame(2, 14, 3, 0, 97, 0x50002, 1, "Open name:\"a b\" "),
        peerFrame(3, reply, reply, 2, 0, 2, 1, "__ret:0x0 "), peerFrame(4, 5, 0, 0, 2, 0, 1, ""),
        peerFrame(5, 4, 0, 0, 2, 0, 1, ""), peerFrame(6, 6, 1, 0, 2, 0, 1, ""),
        peerFrame(7, 6, 2, 0, 2, 0, 1, ""), peerFrame(8, 6, 3, 0, 2, 0, 1, "")});
  save("command", 3,
       {peerFrame(2, 13, 0xFFFFFFFF, 0, 1, 0x10002, 1, "__action:0x1 Save"),
        peerFrame(3, 12, 1, 0, 2, 0, 1, "plugin vstamp:\"1\" flags:0x0 tags:(1)[ a ] ")});
  save("transaction", 5,
       {peerFrame(2, 14, 3, 0, 5, 2, 2, "Deeper "), peerFrame(3, 14, 3, 0, 5, 2, 1, "Same "),
        peerFrame(4, 14, 3, 0, 17, 0x90002, 1, "Safe "),
        peerFrame(5, reply, reply, 2, 0, 2, 1, "")});
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
  transportSeeds(top);
  return 0;
}
