// Checking the pairings against the texts.  Without kept texts, symbols
// are told apart by a 64-bit fingerprint and length, so two different
// lines could in principle share a symbol; reading both files once more
// and comparing each pair's texts makes the result exact (the caller
// compares again with kept texts when a check fails).  The pairings are in
// order, so both files are read straight through.
#include <cstring>
#include <vector>

#include "diff/engine.h"
#include "diff/line_reader.h"

namespace diff_engine {

namespace {

// The canonical form of a text under the options, in `buffer`.
const char* Canonical(const char* text, long* length, std::vector<char>& buffer) {
  if (buffer.size() < static_cast<size_t>(*length) + 1) buffer.resize(*length + 1);
  *length = diff_canonicalize(text, *length, options, buffer.data());
  return buffer.data();
}

}  // namespace

bool diffVerifyPairs(const char* name1, const char* name2) {
  DiffLineReader side1, side2;
  if (!side1.Open(name1) || !side2.Open(name2)) return false;
  std::vector<char> canon1, canon2;
  int32_t read2 = 0;
  for (int32_t i = 1; i <= tables.count1; ++i) {
    const char* text1 = nullptr;
    const char* text2 = nullptr;
    long length1 = 0, length2 = 0;
    if (!side1.Next(&text1, &length1)) return false;
    const diffLineTableStruct& e = tables.first[i];
    if (!e.matched) continue;
    for (; read2 < e.partner; ++read2) {
      if (!side2.Next(&text2, &length2)) return false;
    }
    if (!text2) return false;  // not in order
    // Equal bytes are equal under any options; only others are canonicalised.
    if (length1 == length2 && memcmp(text1, text2, length1) == 0) continue;
    if (!options) return false;
    text1 = Canonical(text1, &length1, canon1);
    text2 = Canonical(text2, &length2, canon2);
    if (length1 != length2 || memcmp(text1, text2, length1) != 0) return false;
  }
  return true;
}

}  // namespace diff_engine
