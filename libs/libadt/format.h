// The library's own printf engine.  It drives a sink function instead of
// writing to a buffer, so callers can format into anything (a stack buffer
// with heap overflow, an MString, a stream).  Besides the standard
// conversions it prints integers in Roman numerals with %r (lower case) and
// %R (upper case), using the letters "ivxlcdmIVXLCDM"; numbers outside 1 to
// 3999 have no classical numeral and print in decimal as with %d.  %n is
// refused.  An unknown conversion is printed as written.
#pragma once

#include <cstdarg>

// Receives each piece of output; n is the number of bytes at s (no NUL).
// A null sink makes the formatter only count.
using MT_Sink = void (*)(void* ctx, const char* s, long n);

// Formats `format` with `args` into `sink`.  Returns the number of bytes
// produced, or -1 when the format uses %n (reported as
// "%%n format is not supported") or is null.
int MT_Vsprintf(MT_Sink sink, void* ctx, const char* format, va_list args);
int MT_Sprintf(MT_Sink sink, void* ctx, const char* format, ...);
