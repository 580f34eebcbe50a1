// Extra customized words for one file, read from a definition file's
// "customized" tree: the words count as customized words in that file
// only, drawn in the definition's customized colour.
#pragma once

#include <string>
#include <vector>

#include "syntax/syn_language.h"

// The kind LoadSyntaxInfo answers to.
constexpr int SYN_EXTRA_INFO_KIND = 1024;

class ExtraSyntaxInfo : public ExtraSyntaxInfoInterface {
 public:
  bool IsCustomizedWord(const char* word, int length, bool caseSensitive) const override;

  std::vector<std::string> words;     // sorted, case-sensitively
  std::vector<std::string> patterns;  // with wildcards
  synColor color;
};

// Reads `file` and moves its customized words and colour into a new
// ExtraSyntaxInfo (for the caller to delete); null when it cannot be read.
ExtraSyntaxInfo* syn_LoadExtraSyntaxInfo(const char* file);
