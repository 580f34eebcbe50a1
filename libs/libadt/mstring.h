// MString: a growable, always NUL-terminated string for building text piece
// by piece.  When done, MString_peel hands the buffer over as a plain string
// and frees the rest.
#pragma once

struct MString {
  char* buf;     // NUL-terminated
  int len;       // bytes before the NUL
  int capacity;  // bytes allocated for buf, the NUL included
};

// At least 1 byte is allocated.  Returns null when out of memory.
MString* MString_new(int capacity);
// Frees the string and its buffer.  Null is accepted.
void MString_delete(MString* m);

// Appending functions return the new length, or -1 (null MString, out of
// memory, a refused format).  A null text appends nothing.
int MString_append(MString* m, const char* s);
int MString_appendn(MString* m, const char* s, int n);  // at most n bytes of s
int MString_appendf(MString* m, const char* format, ...)
    __attribute__((format(printf, 2, 3)));

// Gives up the buffer as a plain string (to be freed with free(3) or
// gen_free) and deletes the MString.
char* MString_peel(MString* m);
// A new plain string holding a copy of the text (free with free(3)).
char* MString_copy(const MString* m);
// The text itself, owned by the MString; null for a null MString.
const char* MString_str(const MString* m);
// When the capacity is <= n, reallocates it to 2 * n.  Returns 0, or -1.
int MString_ensureCapacity(MString* m, int n);
// Drops trailing blanks, tabs and line ends; returns the new length or -1.
int MString_removeTrailingWhiteSpace(MString* m);
// The length, or -1 for a null MString.
int MString_len(const MString* m);
