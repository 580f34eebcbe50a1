// Unified-diff output of a comparison, built from the engine's result:
// hunks with three lines of context, "\ No newline at end of file" after a
// last line without LF, so that patch turns the first file into the second
// byte for byte (LF files compared without options).  The files' lines are
// streamed again while the hunks are written; none is held in memory.
#pragma once

#include <cstdio>

#include "diff/diff.h"

// One difference: side-1 lines start1 .. end1-1 against side-2 lines
// start2 .. end2-1.
struct VdiffBlock {
  int start1;
  int end1;
  int start2;
  int end2;
};

// The two compared files and what the output needs to know of them.
struct VdiffFiles {
  const char* name1;
  const char* name2;
  int lines1;
  int lines2;
  bool finalNewline1;  // the last line ends in LF (or there is none)
  bool finalNewline2;
};

// Fills in the files' line counts from the result and their final newlines.
VdiffFiles VdiffDescribe(const char* name1, const char* name2, const diffInfo* info);

// The differences of a result, adjusted so that a last line whose final
// newline differs between the sides counts as changed.  The result holds
// `*count` blocks (new array, gen_free), or null for none.
VdiffBlock* VdiffBlocks(const diffInfo* info, const VdiffFiles& files, int* count);

// Writes the unified diff of the blocks; returns false on a read or write
// error.
bool VdiffWriteUnified(FILE* out, const VdiffFiles& files, const VdiffBlock* blocks,
                       int count);
