// Unified-diff output of a comparison, built from the engine's difference
// ranges: hunks with three lines of context, "\ No newline at end of file"
// after a last line without LF, so that patch turns the first file into
// the second byte for byte (LF files compared without options).
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

// The differences of a record's range lists, adjusted so that a last line
// whose final newline differs between the sides counts as changed.  The
// result holds `*count` blocks (new array, gen_free), or null for none.
VdiffBlock* VdiffBlocks(DiffStuff* record, int* count);

// Writes the unified diff of the blocks; returns false on a write error.
bool VdiffWriteUnified(FILE* out, DiffStuff* record, const VdiffBlock* blocks, int count);
