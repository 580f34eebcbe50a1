// Private to the text body reader: the lexical rules of the text encoding
// over the bytes [0, end) of a message.  A NUL or the end stops every
// scan, and every function returns an offset no further than the end.
#pragma once

#include <cstdint>

class StpAsciiScanner {
 public:
  StpAsciiScanner(const uint8_t* base, long end) : base_(base), end_(end) {}

  // The character at `i`, or NUL at and beyond the end.
  char at(long i) const { return i < end_ ? static_cast<char>(base_[i]) : '\0'; }
  const char* text(long i) const { return reinterpret_cast<const char*>(base_) + i; }
  long end() const { return end_; }

  long skipBlanks(long i) const;
  // Whether `i` closes the current group: NUL, "]" or "}".
  bool atGroupEnd(long i) const;
  // The end of a field name: the first blank, ":", bracket, quote or "(".
  long nameEnd(long i) const;
  // Past the value at `i`: an optional "(count)", then a quoted string
  // (honouring backslash escapes), a bracketed group with its nesting, or
  // a bare token ending at a blank, "}" or "]".
  long skipValue(long i) const;
  // Past one field at `i`: "name:" and its value, or an untagged value.
  long skipField(long i) const;
  // The end of a token that ends only at a blank.
  long tokenEnd(long i) const;
  // The closing quote of the string opening at `i`, or the end.
  long quoteClose(long i) const;
  // Past the closing quote of the string opening at `i`, or the end.
  long quotedEnd(long i) const;

 private:
  long groupEnd(long i) const;

  const uint8_t* base_;
  long end_;
};
