// The two-way difference engine: a symbol-table comparison after Heckel
// (1978), "A technique for isolating differences between files".  Every
// distinct line (after the comparison options) becomes one symbol; lines
// unique on both sides are paired first, pairings grow into neighbouring
// equal lines, remaining duplicates are paired by position, and crossing
// pairings (moved blocks) are undone.  Then, unless the configuration
// turns it off, the stretches left unpaired are diffed again with a
// bounded longest common subsequence, which pairs the equal lines of
// repetitive files.  What is left unpaired is the difference, walked into
// per-side lists of line ranges.
//
// The passes (read and hash, pair, grow, duplicates, moves, refinement)
// live in their own files behind this header; the entry points are
// diff_merge (two loaded files), diff_files (two named files, streamed),
// diff_text, diff_kvc, diff_kvc2 and diff_mem.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "libs/libadt/arr.h"

struct file;
struct line;
struct Edit;     // an editor window showing a side (null in the viewer)
struct ColWind;  // the window of a comparison record

// Comparison option bits.
enum : int {
  DIFF_IGNORE_ALL_SPACE = 1,     // "-w"
  DIFF_IGNORE_SPACE_AMOUNT = 2,  // "-b"
  DIFF_C_TOKENS = 4,             // "-lang=c"
  DIFF_IGNORE_CASE = 8,          // "-i"
};

// One line of one side.  Entry 0 holds no line; entry count+1 is the end
// sentinel, paired with the other side's sentinel.
struct diffLineTableStruct {
  int32_t matched;  // the line is paired
  int32_t partner;  // the paired line on the other side
  int32_t symbol;   // the line's symbol (diffInfo::symbols)
};

// A node of a symbol's list of unpaired side-1 lines.
struct diffOccurrenceNode {
  int32_t line;
  int32_t next;  // index of the next node, or -1
};

// One symbol: a distinct canonical text.  Symbols are numbered densely in
// the order they are first seen; a separate open-addressed index finds
// them while the sides are read.
struct diffSymTableStruct {
  int32_t firstOccurrences;  // first node of the list (highest line), or -1
  int32_t firstUnmatched;    // unpaired side-1 lines holding the text
  int32_t secondUnmatched;   // unpaired side-2 lines holding the text
  uint32_t length;           // bytes of canonical text (it may hold NUL bytes)
  uint64_t fingerprint;      // 64-bit hash of the canonical text
};

// The engine's result; free it with diff_free.
struct diffInfo {
  diffLineTableStruct* firstLines;   // firstCount + 2 entries
  diffLineTableStruct* secondLines;  // secondCount + 2 entries
  diffSymTableStruct* symbols;       // symbolCount symbols
  // Per symbol, a 30-bit hash of its canonical text: equal texts have equal
  // hashes in every comparison, so lines of two results can be told apart
  // quickly before their texts are compared.
  int32_t* hashes;
  // Per symbol, its canonical text (NUL-terminated) when the texts were
  // kept: by every entry point but diff_files, whose pairings are checked
  // against the files' texts instead (null then).
  const char** texts;
  diffOccurrenceNode* occurrenceNodes;  // node of side-1 line i is entry i-1
  int32_t firstCount;
  int32_t secondCount;
  int32_t symbolCount;
  void* textStore;  // owns every symbol text
};

// One side of one difference: lines start .. end-1 (end == start when this
// side has no lines); the display rows are filled by the viewer.
struct RangeInfo {
  int32_t start;
  int32_t end;
  int32_t displayStart;
  int32_t displayEnd;
};

// A side's list of ranges (an Arr of RangeInfo*) and the current index.
struct ColorInfo {
  Arr_PT ranges;
  int current;
};

// A cursor over one side.
struct DiffFile {
  file* f;
  line* current;    // null at the end
  int lineNumber;   // 1-based; count + 1 at the end
  int count;        // lines of the current difference on this side
  Edit* edit;
};

struct DiffStuff;
using DiffCommand_PT = void (*)(DiffStuff* record, int command);

// One comparison record.
struct DiffStuff {
  diffInfo* info;
  diffInfo* info2;  // three-way only
  file* file1;
  file* file2;
  file* file3;
  file* resultFile;
  Edit* edit1;
  Edit* edit2;
  Edit* edit3;
  Edit* resultEdit;
  DiffFile* diffFile1;
  DiffFile* diffFile2;
  DiffFile* diffFile3;
  ColorInfo* colors1;
  ColorInfo* colors2;
  ColWind* window;
  DiffCommand_PT command;
  char* title;
  void* previousButton;
  void* nextButton;
  char* name1;
  char* name2;
};

// ---- entry points (null on failure, after a message) ----------------------------

// Two loaded files, canonicalised under `options` (which stay in force for
// later file comparisons); moves resolved.
diffInfo* diff_merge(file* file1, file* file2, int options);
// Two files read by name as the text model reads them (a CR before LF is
// dropped, a last line needs no LF) and canonicalised under `options`;
// moves resolved.  Holds no line's text in memory: the result has no
// texts (see diffInfo::texts).
diffInfo* diff_files(const char* name1, const char* name2, int options);
// Two files read by name; moves resolved.
diffInfo* diff_text(const char* name1, const char* name2);
// A named file against `count2` lines of an open stream, with edit script.
diffInfo* diff_kvc(const char* name1, int count2, FILE* stream2, int* scriptCount,
                   char*** script);
// Two files read by name, with edit script.
diffInfo* diff_kvc2(const char* name1, const char* name2, int* scriptCount,
                    char*** script);
// Two arrays of strings, with edit script.
diffInfo* diff_mem(int count1, char** lines1, int count2, char** lines2,
                   int* scriptCount, char*** script);
// Frees every symbol text, the tables and the record; null is ignored.
void diff_free(diffInfo* info);
// Frees an edit script returned by an entry point.
void diff_freescript(int count, char** script);

// Where a side's lines come from.
enum DiffSourceKind {
  DIFF_FILE = 1,
  DIFF_STRINGS = 2,
  DIFF_NAME = 3,
  DIFF_STREAM = 4,
  DIFF_PATH = 5,  // a named file read line by line as the text model reads it
};

// The common engine behind the entry points.
diffInfo* diffFiles(int kind1, const void* source1, int count1, int kind2,
                    const void* source2, int count2, bool wantScript,
                    int* scriptCount, char*** script, bool resolveMoves);

// ---- pieces with their own contracts --------------------------------------------

// The hash of a text: 30 bits, never negative.
int32_t diff_hash(const char* text, long length);
// The 64-bit fingerprint by which the engine tells texts apart.
uint64_t diff_fingerprint(const char* text, long length);
// Canonical form of one line under `options` into `out` (at least `length`
// bytes); returns the canonical length.
long diff_canonicalize(const char* text, long length, int options, char* out);
// The next line of `stream` with its newline, in a shared buffer that lives
// for the process; null at end of input.  `length` receives its byte count.
char* diff_fgets(FILE* stream, long* length = nullptr);
// Text and length of a line's symbol; null when the texts were not kept.
const char* diff_LineText(const diffInfo* info, int side, int lineNumber, long* length);

// ---- walking into differences and the comparison record ---------------------------

bool DiffIdentical(file* file1, file* file2, diffInfo* info);
DiffFile* init_difffile(DiffStuff* record, file* f);
int FindDiff2(DiffFile* d1, DiffFile* d2, diffInfo* info, bool stopAtEnd);
void FindEndOfDiff2(DiffFile* d1, DiffFile* d2, diffInfo* info);
bool FindNextDiff2(DiffFile* d1, DiffFile* d2, diffInfo* info);
void diff_StoreRange(DiffFile* d, int index, ColorInfo* colors);
void diff_CalculateAllDiffs(DiffStuff* record);
// The same walk over the tables alone: from side-1 line *i and side-2 line
// *j (both 1 at the start), finds the next difference, sets *i and *j to
// its first lines and *count1, *count2 to its lengths, and returns true;
// false when no difference is left.  Then advance *i and *j by the counts.
bool diff_NextDifference(const diffInfo* info, int32_t* i, int32_t* j, int32_t* count1,
                         int32_t* count2);

// A new empty range list (capacity 64, ranges freed with gen_free).
ColorInfo* diff_NewColorInfo();
void diff_FreeColorInfo(ColorInfo* colors);
// The k-th range of a list, or null.
RangeInfo* diff_GetRange(ColorInfo* colors, int index);
int diff_RangeCount(ColorInfo* colors);

// A zeroed record holding the result, the two files (now owned by the
// record), copies of the names, the title, both cursors and two empty
// range lists.
DiffStuff* diff_NewRecord(diffInfo* info, file* file1, file* file2, const char* name1,
                          const char* name2, const char* title);
void diff_Command2(DiffStuff* record, int command);
void diff_FindRange(DiffStuff* record, int position);
file* DiffStuff_GetFile(DiffStuff* record, int n);
void DiffStuffDestroy(DiffStuff* record);

// The windowing side of a record, filled in by the user interface; every
// hook may be null.
struct DiffUiHooks {
  void (*beep)();
  void (*dimButtons)(DiffStuff* record, bool previousDimmed, bool nextDimmed);
  void (*showDiff)(DiffStuff* record);
  void (*destroyWindow)(DiffStuff* record);
  void (*closeEditor)(Edit* edit, bool unlock);
};
void diff_SetUiHooks(const DiffUiHooks* hooks);
