// Font measurements as the text elements see them: a font number (0 the
// text font, 1 the big font, 4 the current default font) gives a height, an
// ascent, a character width and the width of a run of text.  On a display
// they come from the opened fonts; without one, from a fixed character
// cell, so layout can be computed and tested without an X server.
#pragma once

#include "gui/x11/draw.h"

enum VORNE_FONT { VF_TEXT = 0, VF_BIG = 1, VF_DEFAULT = 4 };

class TextMetrics {
 public:
  virtual ~TextMetrics() = default;
  virtual int fontHeight(int font) const = 0;
  virtual int fontAscent(int font) const = 0;
  virtual int fontCharWidth(int font) const = 0;
  // Width in pixels of `length` bytes of text (UTF-8 or Latin-1).
  virtual int textWidth(int font, const char* text, int length) const = 0;
};

// Every character one cell: 7 x 13 (ascent 10) for the text font, 9 x 16
// (ascent 12) for the big font.
const TextMetrics& cellTextMetrics();

// The fonts of the open display (the default font from start-up, the big
// font opened on first use); the cell metrics while X is off.
const TextMetrics& displayTextMetrics();

// The opened display font for a font number; null while X is off.
const DrawFont* textFontFor(int font);

// Bytes that start a character (not UTF-8 continuation bytes).
inline bool textCharStart(unsigned char c) { return (c & 0xC0) != 0x80; }
