// The interface description that stpgen reads: one file per service
// interface, naming its two sides, the messages each side receives with
// their flags and typed fields, and any hand-written field types.  The
// format is line based; see parseDescription for the grammar.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace stpgen {

enum class FieldType { Str, Fn, Num, U1, U4, StrList, U4Array, Custom };

// A hand-written C++ type with its own put and get functions (text
// interfaces only): put(STPAsciiOMsg*, const char* tag, const T&) and
// get(STPAsciiIMsg*, const char* tag, T*).
struct CustomType {
  std::string name;       // the C++ type, also the field type's name
  std::string header;     // included by the generated header
  std::string put, get;   // function names
  std::string signature;  // the field description text, "{a:%str% ...}"
};

struct Field {
  std::string name;
  FieldType type = FieldType::Str;
  int custom = -1;  // index into Interface::types when type is Custom
};

struct Message {
  std::string name;
  uint32_t tableFlags = 0;  // entry flags: 1 call with reply, 2 one-way, ...
  uint32_t sendFlags = 0;   // header flags the sender uses
  std::vector<Field> args, replies;
  bool wantsReply() const { return (tableFlags & 1) != 0; }
};

struct Side {
  std::string name;
  uint32_t localRN = 0, remoteRN = 0, flags = 0;
  std::vector<Message> messages;  // what this side receives, sorted by name
};

struct Interface {
  std::string name;
  bool binary = false;
  std::vector<CustomType> types;
  std::vector<Side> sides;  // exactly two after a successful parse

  // Every field name the messages of both sides use (with "count" and
  // "data" of counted lists), sorted and unique: the binary tag numbers.
  // Text interfaces carry their fields by name and have none.
  std::vector<std::string> tagNames() const;
  const Side& peerOf(const Side& side) const;
};

// Reads a description.  On failure returns false with `error` set to
// "<path>:<line>: error: <what is wrong>".
//
//   # comment (whole lines only)
//   interface <Name> text|binary
//   type <CxxName> header <path.h> put <function> get <function> sig <text>
//   side <name> local <RN> remote <RN> flags <n>
//   message <Name> table <entry flags> send <header flags>
//     <field>:<type> ...
//     reply <field>:<type> ...
//
// Types: str, fn (a file name, expanded before sending), num, u1, u4,
// strlist (counted string list), u4array (counted array of u4), or the
// name of a declared type.  Numbers are decimal or 0x-hexadecimal.
bool parseDescription(const std::string& path, const std::string& text, Interface* out,
                      std::string* error);

// The signature of a message: "a:%str% b:%num% | r:%str%".
std::string signatureOf(const Interface& iface, const Message& message);

}  // namespace stpgen
