// The engine's working state and its passes, shared by the files of diff/
// and not used elsewhere.  One comparison runs at a time: the tables live
// in module state while diffFiles runs and are handed to the caller's
// diffInfo by diff_return.
#pragma once

#include <cstdint>
#include <vector>

#include "diff/diff.h"

namespace diff_engine {

class TextStore;
class Occurrences;

struct Tables {
  diffLineTableStruct* first = nullptr;
  diffLineTableStruct* second = nullptr;
  // Room for count1 + count2 symbols; only the pages used are touched.
  diffSymTableStruct* symbols = nullptr;
  int32_t* hashes = nullptr;  // per symbol (see diffInfo::hashes)
  // The symbol index while reading: slot holds symbol + 1, 0 when empty.
  int32_t* slots = nullptr;
  int32_t slotCount = 0;
  int32_t count1 = 0;
  int32_t count2 = 0;
  int32_t symbolCount = 0;
  // Symbol texts, kept only when asked for (null otherwise): without them
  // symbols are told apart by fingerprint and length, and the pairings are
  // checked against the texts afterwards (verify.cpp).
  const char** texts = nullptr;
  TextStore* textStore = nullptr;
  // Without kept texts, while reading: the texts of the first symbols,
  // while they fit a small budget, so that lines meeting them are compared
  // byte by byte (symtab.cpp).
  std::vector<const char*>* sample = nullptr;
  // Set when a line met a symbol by fingerprint alone.
  bool unverified = false;
  // The sets of unpaired side-1 lines per symbol; live during the
  // duplicate passes only.
  Occurrences* occurrences = nullptr;
};

extern Tables tables;
// The options applied to kind-1 and kind-5 sides, set by diff_merge and
// diff_files.
extern int options;

// ---- reading (read.cpp) ----
// Counts, sizes, allocates and reads both sides; false after a message,
// with everything freed.
// `keepTexts` stores every symbol's text (needed for the edit script and
// diff_LineText); without it symbols are told apart by fingerprint.
bool diffReadFiles(int kind1, const void* source1, int count1, int kind2,
                   const void* source2, int count2, bool keepTexts);
// The size of the symbol index for `lines` lines in all, or 0 when too many.
int32_t SymbolTableSize(long lines);
// Reads two named files again and checks that every paired line's
// canonical text equals its partner's (pairings in order).  False when two
// texts only shared a fingerprint.
bool diffVerifyPairs(const char* name1, const char* name2);

// ---- symbols (symtab.cpp) ----
// The slot holding `text`, stored on first sight; -1 when the table is full.
int32_t diff_store(const char* text, long length);
// Bits of the fingerprint that count; all but in tests, which weaken it
// to make different texts collide.
extern uint64_t fingerprintMask;
// Bytes of symbol texts sampled without kept texts (1 MB; tests lower it).
extern long sampleBytes;
// The same with the text's fingerprint already computed.
int32_t diff_store_keyed(const char* text, long length, uint64_t fingerprint);
// Starts and ends sampling symbol texts (without kept texts).
void StartSample();
void EndSample();
// The first slot probed for a fingerprint.
inline int32_t FirstSlot(uint64_t fingerprint) {
  return static_cast<int32_t>((fingerprint >> 32) % static_cast<uint32_t>(tables.slotCount));
}

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
