// Preparing a loaded language for the scanners: sorted lists for bisection,
// customized words split from wildcard patterns, the word buffer, the
// completion set, the separator tables and the preprocessor leader.
#include <algorithm>
#include <cctype>
#include <set>

#include "base/debugflag.h"
#include "syntax/syn_language.h"
#include "syntax/syn_wildcard.h"

namespace {

bool IsAsciiAlnum(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}
bool IsAsciiLetter(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

void MarkChars(const std::string& s, bool* table, bool punctuationOnly) {
  for (unsigned char c : s) {
    if (!punctuationOnly || !IsAsciiAlnum(c)) table[c] = true;
  }
}

size_t LongestWord(const std::vector<std::string>& words) {
  size_t n = 0;
  for (const std::string& w : words) n = std::max(n, w.size());
  return n;
}

}  // namespace

void synLanguage::Finish() {
  SortLists();
  wordBufferSize = std::max({LongestWord(keywords.words), LongestWord(preprocessor.words),
                             LongestWord(customizedWords.words)}) + 1;
  wordBuffer_.reserve(wordBufferSize);
  BuildCompletionSet();
  BuildSeparators();
  MarkItemStarts();
  FindPreprocessorLeader();
  kind = KindFromName(name);
}

void synLanguage::SortLists() {
  std::sort(extensions.begin(), extensions.end());
  keywords.caseSensitive = caseSensitive;
  keywords.Sort();
  if (!preprocessorCaseGiven) preprocessor.caseSensitive = caseSensitive;
  preprocessor.Sort();
  decimalSuffixes.Sort();
  hexSuffixes.Sort();
  floatSuffixes.Sort();

  // Customized words with wildcards are patterns, tried after the list.
  std::vector<std::string> plainWords;
  for (std::string& w : customizedWords.words) {
    (syn_HasWildcard(w.c_str()) ? customizedPatterns : plainWords).push_back(std::move(w));
  }
  customizedWords.words = std::move(plainWords);
  customizedWords.caseSensitive = caseSensitive;
  customizedWords.Sort();
}

void synLanguage::BuildCompletionSet() {
  std::set<std::string> names(completion.extraNames.begin(), completion.extraNames.end());
  if (keywordCompletion) names.insert(keywords.words.begin(), keywords.words.end());
  if (preprocessorCompletion) names.insert(preprocessor.words.begin(), preprocessor.words.end());
  if (customizedCompletion) {
    names.insert(customizedWords.words.begin(), customizedWords.words.end());
  }
  completion.names.assign(names.begin(), names.end());
}

void synLanguage::BuildSeparators() {
  // Characters that begin or end comments, strings and characters must
  // break words, or "a/*b*/" would be one word.
  if (debugFlag[DBG_SynSepAdj]) {
    for (const auto* pairs : {&comments, &strings, &characters}) {
      for (const synDelimiterPair& p : *pairs) {
        MarkChars(p.begin, separator, true);
        MarkChars(p.end, separator, true);
      }
    }
    for (const synLeader& l : lineComments) MarkChars(l.text, separator, true);
  }
  bool inDelimiter[256] = {};
  for (const auto* pairs : {&comments, &strings, &characters, &blocks}) {
    for (const synDelimiterPair& p : *pairs) {
      MarkChars(p.begin, inDelimiter, false);
      MarkChars(p.end, inDelimiter, false);
    }
  }
  for (const synLeader& l : lineComments) MarkChars(l.text, inDelimiter, false);
  for (int c = 0; c < 256; c++) plainSeparator[c] = separator[c] && !inDelimiter[c];
}

// The one character every preprocessor word not starting with a letter
// starts with; it joins the directive name and is no separator.
void synLanguage::FindPreprocessorLeader() {
  leader = 0;
  for (const std::string& w : preprocessor.words) {
    if (w.empty() || IsAsciiLetter(static_cast<unsigned char>(w[0]))) continue;
    const unsigned char c = static_cast<unsigned char>(w[0]);
    if (leader && leader != c) {
      leader = 0;
      break;
    }
    leader = c;
  }
  if (leader) separator[leader] = plainSeparator[leader] = false;
}

void synLanguage::MarkItemStarts() {
  const auto mark = [this](const std::string& begin, bool atLineStart, bool foldCase) {
    if (atLineStart || begin.empty()) return;  // tried at position 0 anyway
    const unsigned char c = static_cast<unsigned char>(begin[0]);
    itemStart[c] = true;
    if (foldCase && c < 128) {
      itemStart[static_cast<unsigned char>(std::tolower(c))] = true;
      itemStart[static_cast<unsigned char>(std::toupper(c))] = true;
    }
  };
  for (const auto* pairs : {&comments, &strings, &characters, &blocks}) {
    for (const synDelimiterPair& p : *pairs) mark(p.begin, p.beginAtLineStart, false);
  }
  for (const synLeader& l : lineComments) mark(l.text, l.atLineStart, !caseSensitive);
}
