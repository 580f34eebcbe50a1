// The engine's working state and its passes, shared by the files of diff/
// and not used elsewhere.  One comparison runs at a time: the tables live
// in module state while diffFiles runs and are handed to the caller's
// diffInfo by diff_return.
#pragma once

#include <cstdint>

#include "diff/diff.h"

namespace diff_engine {

class TextStore;
class Occurrences;

struct Tables {
  diffLineTableStruct* first = nullptr;
  diffLineTableStruct* second = nullptr;
  diffSymTableStruct* symbols = nullptr;
  int32_t* hashes = nullptr;
  int32_t count1 = 0;
  int32_t count2 = 0;
  int32_t symbolCount = 0;
  TextStore* texts = nullptr;
  // The sets of unpaired side-1 lines per symbol; live during the
  // duplicate passes only.
  Occurrences* occurrences = nullptr;
};

extern Tables tables;
// The options applied to kind-1 sides, set by diff_merge.
extern int options;

// ---- reading (read.cpp) ----
// Counts, sizes, allocates and reads both sides; false after a message,
// with everything freed.
bool diffReadFiles(int kind1, const void* source1, int count1, int kind2,
                   const void* source2, int count2);
// The size of the symbol table for `lines` lines in all, or 0 when too many.
int32_t SymbolTableSize(long lines);

// ---- symbols (symtab.cpp) ----
// The slot holding `text`, stored on first sight; -1 when the table is full.
int32_t diff_store(const char* text, long length);
// The same with the text's hash already computed.
int32_t diff_store_hashed(const char* text, long length, int32_t hash);

// ---- pairing (pair.cpp, dup.cpp, moves.cpp) ----
void diff_matchup(int32_t i, int32_t j);
// Undoes the pairing of i and j (the occurrence sets are not updated); an
// unpaired line's partner field holds its symbol.
void diff_unmatch(int32_t i, int32_t j);
void diff_matchexact();
void diff_matchforward();
void diff_matchbackward();
// Grows pairings forward from paired side-2 line j across lines that are
// paired already or can be paired; returns the last line of the run.
int32_t GrowForward(int32_t j);
void diff_matchdupgood();
void diff_matchdup();
void diff_findmoves();
// Pairs the equal lines left unpaired between consecutive pairings
// (refine.cpp); pairings stay in order.
void diff_refine();

// ---- result (engine.cpp, script.cpp) ----
// Moves the tables into a new diffInfo and clears the module state.
diffInfo* diff_return();
// Frees the module state after a failure.
void ClearTables();
// The edit script of the current tables: count and a new array of strings.
char** diffShowDiffs(int* count);

}  // namespace diff_engine
