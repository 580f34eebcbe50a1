// The engine's driver: read both sides, run the pairing passes in their
// fixed order, optionally resolve moves and write the edit script, and hand
// the tables to the caller.  The five entry points differ only in where the
// lines come from and in what they ask for.
#include "diff/engine.h"

#include "base/gen.h"
#include "config/config_vars.h"
#include "diff/big_alloc.h"
#include "diff/occurrences.h"
#include "diff/text_store.h"

namespace diff_engine {

Tables tables;
int options = 0;

void ClearTables() {
  BigFree(tables.first);
  BigFree(tables.second);
  BigFree(tables.symbols);
  BigFree(tables.hashes);
  BigFree(tables.slots);
  BigFree(tables.texts);
  delete tables.textStore;
  delete tables.sample;
  delete tables.occurrences;
  tables = Tables();
}

diffInfo* diff_return() {
  auto* nodes = BigArray<diffOccurrenceNode>(static_cast<size_t>(tables.count1) + 1);
  if (!nodes) {
    gen_error("Out of memory in diff.\n");
    ClearTables();
    return nullptr;
  }
  BuildOccurrenceLists(tables.first, tables.count1, tables.symbols, tables.symbolCount,
                       nodes);
  auto* info = static_cast<diffInfo*>(gen_alloc(1, sizeof(diffInfo)));
  info->firstLines = tables.first;
  info->secondLines = tables.second;
  info->symbols = tables.symbols;
  info->hashes = tables.hashes;
  info->texts = tables.texts;
  info->occurrenceNodes = nodes;
  info->firstCount = tables.count1;
  info->secondCount = tables.count2;
  info->symbolCount = tables.symbolCount;
  info->textStore = tables.textStore;
  delete tables.occurrences;
  tables = Tables();
  return info;
}

}  // namespace diff_engine

using namespace diff_engine;

namespace {

// Reads and pairs both sides; false after a message.
bool Compare(int kind1, const void* source1, int count1, int kind2, const void* source2,
             int count2, bool keepTexts, bool resolveMoves) {
  if (!diffReadFiles(kind1, source1, count1, kind2, source2, count2, keepTexts)) return false;
  diff_matchexact();
  diff_matchforward();
  diff_matchbackward();
  tables.occurrences = new Occurrences();
  if (!tables.occurrences->Build(tables.first, tables.count1, tables.symbols,
                                 tables.symbolCount)) {
    gen_error("Out of memory in diff.\n");
    ClearTables();
    return false;
  }
  diff_matchdupgood();
  diff_matchdup();
  delete tables.occurrences;  // the sets are not kept up to date past here
  tables.occurrences = nullptr;
  if (resolveMoves) {
    diff_findmoves();
    diff_matchforward();
    diff_matchbackward();
  }
  if (cfg_diff_refine) diff_refine();
  return true;
}

}  // namespace

diffInfo* diffFiles(int kind1, const void* source1, int count1, int kind2,
                    const void* source2, int count2, bool wantScript,
                    int* scriptCount, char*** script, bool resolveMoves) {
  // Two named files whose pairings can be checked in order need no texts
  // kept.  (Loaded files keep them: their results' texts are compared with
  // each other's, as the merge does.)
  const bool byFingerprint =
      kind1 == DIFF_PATH && kind2 == DIFF_PATH && resolveMoves && !wantScript;
  if (!Compare(kind1, source1, count1, kind2, source2, count2, !byFingerprint,
               resolveMoves)) {
    return nullptr;
  }
  // Lines that met a symbol whose text was sampled were compared byte by
  // byte; only a line that met one by fingerprint alone calls for a check.
  if (byFingerprint && tables.unverified &&
      !diffVerifyPairs(static_cast<const char*>(source1), static_cast<const char*>(source2))) {
    // Two different lines shared a fingerprint (or a file changed while it
    // was read): compare again, telling the texts apart byte by byte.
    ClearTables();
    if (!Compare(kind1, source1, count1, kind2, source2, count2, true, resolveMoves))
      return nullptr;
  }
  if (wantScript) {
    int count = 0;
    char** lines = diffShowDiffs(&count);
    if (scriptCount) *scriptCount = count;
    if (script) {
      *script = lines;
    } else {
      diff_freescript(count, lines);
    }
  }
  return diff_return();
}

diffInfo* diff_merge(file* file1, file* file2, int opts) {
  options = opts;
  return diffFiles(DIFF_FILE, file1, 0, DIFF_FILE, file2, 0, false, nullptr, nullptr,
                   true);
}

diffInfo* diff_files(const char* name1, const char* name2, int opts) {
  options = opts;
  return diffFiles(DIFF_PATH, name1, 0, DIFF_PATH, name2, 0, false, nullptr, nullptr,
                   true);
}

diffInfo* diff_text(const char* name1, const char* name2) {
  return diffFiles(DIFF_NAME, name1, 0, DIFF_NAME, name2, 0, false, nullptr, nullptr,
                   true);
}

diffInfo* diff_kvc(const char* name1, int count2, FILE* stream2, int* scriptCount,
                   char*** script) {
  return diffFiles(DIFF_NAME, name1, 0, DIFF_STREAM, stream2, count2, true, scriptCount,
                   script, false);
}

diffInfo* diff_kvc2(const char* name1, const char* name2, int* scriptCount,
                    char*** script) {
  return diffFiles(DIFF_NAME, name1, 0, DIFF_NAME, name2, 0, true, scriptCount, script,
                   false);
}

diffInfo* diff_mem(int count1, char** lines1, int count2, char** lines2,
                   int* scriptCount, char*** script) {
  return diffFiles(DIFF_STRINGS, lines1, count1, DIFF_STRINGS, lines2, count2, true,
                   scriptCount, script, false);
}

void diff_free(diffInfo* info) {
  if (!info) return;
  BigFree(info->firstLines);
  BigFree(info->secondLines);
  BigFree(info->symbols);
  BigFree(info->hashes);
  BigFree(info->texts);
  BigFree(info->occurrenceNodes);
  delete static_cast<TextStore*>(info->textStore);
  gen_free(info);
}

void diff_freescript(int count, char** script) {
  if (!script) return;
  for (int k = 0; k < count; ++k) gen_free(script[k]);
  gen_free(script);
}

const char* diff_LineText(const diffInfo* info, int side, int lineNumber, long* length) {
  if (length) *length = 0;
  if (!info || (side != 1 && side != 2)) return nullptr;
  const int32_t count = side == 1 ? info->firstCount : info->secondCount;
  if (lineNumber < 1 || lineNumber > count) return nullptr;
  const diffLineTableStruct* table = side == 1 ? info->firstLines : info->secondLines;
  const int32_t symbol = table[lineNumber].symbol;
  if (!info->texts) return nullptr;
  if (length) *length = static_cast<long>(info->symbols[symbol].length);
  return info->texts[symbol];
}
