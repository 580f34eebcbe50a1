// The syntax state word and the condition word carried from line to line.
// A state word names the constructs the text is in (one bit per class); a
// condition word records preprocessor nesting and the open delimiter pair.
// Plain state is 0.
#pragma once

#include <cstdint>

using synState = uint32_t;

// Class bits of the state word, highest first.
enum : synState {
  SYN_COMMENT = 0x80000000u,       // block comment
  SYN_DEAD_CODE = 0x40000000u,     // disabled by the preprocessor
  SYN_STRING = 0x20000000u,        // string, first delimiter pair
  SYN_CHARACTER = 0x10000000u,     // character, first pair
  SYN_LINE_COMMENT = 0x08000000u,  // line comment
  SYN_STRING2 = 0x04000000u,       // string, second pair
  SYN_CHARACTER2 = 0x02000000u,    // character, second pair
  SYN_BLOCK = 0x01000000u,         // block (any pair)
  SYN_INTEGER = 0x00800000u,
  SYN_KEYWORD = 0x00400000u,
  SYN_CUSTOMIZED = 0x00200000u,
  SYN_PREPROCESSOR = 0x00100000u,
  SYN_FLOAT = 0x00080000u,
  SYN_SKIP_FIRST = 0x2u,  // the colourer skips the first character
  SYN_NO_COLOR = 0x1u,    // runs keep the caller's colour
};

// Every class bit, and the classes that may stay open across a line end.
constexpr synState SYN_CLASS_MASK = 0xfff80000u;
constexpr synState SYN_OPEN_ITEM_MASK = SYN_COMMENT | SYN_STRING | SYN_CHARACTER |
                                        SYN_LINE_COMMENT | SYN_STRING2 |
                                        SYN_CHARACTER2 | SYN_BLOCK;

// Condition word: depth of preprocessor conditionals (bits 0-23), index of
// the open string, character or block pair (bits 24-30), and bit 31 inside
// a region opened by a conditional on a non-zero number.
constexpr uint32_t SYN_COND_DEPTH_MASK = 0x00ffffffu;
constexpr uint32_t SYN_COND_PAIR_SHIFT = 24;
constexpr uint32_t SYN_COND_PAIR_MASK = 0x7f000000u;
constexpr uint32_t SYN_COND_LIVE = 0x80000000u;

inline int syn_CondPairIndex(uint32_t condition) {
  return static_cast<int>((condition & SYN_COND_PAIR_MASK) >> SYN_COND_PAIR_SHIFT);
}

// The start of one line: its state word and its condition word.
struct synLineStart {
  synState state = 0;
  uint32_t condition = 0;
  bool operator==(const synLineStart&) const = default;
};

// The first class present, in colouring priority (strings, characters,
// disabled code, comments, line comments, keywords, preprocessor words,
// integers, floats, blocks, customized words); 0 when none.
synState GetPureSyntaxStatus(synState status);

// The names of the set classes joined by blanks ("DEAD_CODE STRING ..."),
// as a new string for gen_free; "" for the plain state.
char* GetNameForSynstate(synState status);
