// Finding the token at a position: the recognisers tried in their fixed
// order (preprocessor word, delimited items, disabled code, keyword,
// numbers, customized word), the first match deciding the class.
#include <cstring>

#include "syntax/syn_language.h"
#include "syntax/syn_numbers.h"
#include "syntax/syn_wildcard.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

synState synLanguage::FindSyntaxStatus(synState state, const char* text, int position,
                                       int length, int* tokenLength,
                                       const ExtraSyntaxInfoInterface* extra) {
  int dummy = 0;
  int& n = tokenLength ? *tokenLength : dummy;
  n = 0;
  tokenClosed_ = true;
  if (position >= length) return 0;
  tokenStart_ = position;
  const bool plain = (state & SYN_CLASS_MASK) == 0;
  const int wordEnd = FindSyntaxWordEnd(text, position, length);
  wordFrom_ = position;
  wordEnd_ = wordEnd;
  if (plain && MatchPreprocessorWord(text, position, wordEnd)) {
    n = wordEnd - position;
    return SYN_PREPROCESSOR;
  }
  Item item;
  if (MatchDelimitedItem(text, position, length, &item)) {
    if (item.cls == SYN_COMMENT) commentStart_ = position;
    if (item.cls & (SYN_BLOCK | SYN_STRING | SYN_STRING2 | SYN_CHARACTER |
                    SYN_CHARACTER2)) {
      pairIndex_ = item.pair;
    }
    n = item.end - position;
    tokenClosed_ = item.closed;
    return item.cls;
  }
  if (state & SYN_DEAD_CODE) {
    n = length - position;
    tokenClosed_ = false;
    return SYN_DEAD_CODE;
  }
  if (!plain) return 0;
  if (MatchKeyword(text, position, wordEnd, length)) {
    n = wordEnd - position;
    return SYN_KEYWORD;
  }
  if (const synState number = FindNumber(text, position, wordEnd, length)) {
    // A number that starts with "." reaches past the "." word.
    n = (text[position] == '.' ? FindSyntaxWordEnd(text, position + 1, length)
                               : wordEnd) - position;
    return number;
  }
  if (MatchCustomized(text, position, wordEnd, length, extra)) {
    n = wordEnd - position;
    return SYN_CUSTOMIZED;
  }
  return 0;
}

bool synLanguage::MatchPreprocessorWord(const char* text, int position, int wordEnd) {
  if (preprocessor.words.empty()) return false;
  if (!leader || text[position] != static_cast<char>(leader)) {
    const int n = wordEnd - position;
    return static_cast<size_t>(n) < wordBufferSize &&
           preprocessor.Contains(text + position, n);
  }
  // The leader must be the line's first non-blank (looking back only over
  // blanks keeps long lines linear).
  for (int i = position - 1; i >= 0; i--) {
    if (!IsBlank(text[i])) return false;
  }
  int name = position + 1;
  while (name < wordEnd && IsBlank(text[name])) name++;
  const size_t n = static_cast<size_t>(wordEnd - name) + 1;
  if (n >= wordBufferSize) return false;
  wordBuffer_.assign(1, static_cast<char>(leader));
  wordBuffer_.append(text + name, n - 1);
  return preprocessor.Contains(wordBuffer_.data(), static_cast<int>(n));
}

bool synLanguage::IsMemberAccess(const char* text, int position, int wordEnd,
                                 int length) const {
  if (!IsC() && !IsCPP()) return false;
  if (position > 0 && text[position - 1] == '.') return true;
  if (position > 1 && text[position - 2] == '-' && text[position - 1] == '>') return true;
  if (wordEnd < length && text[wordEnd] == '.') return true;
  return wordEnd + 1 < length && text[wordEnd] == '-' && text[wordEnd + 1] == '>';
}

bool synLanguage::MatchKeyword(const char* text, int position, int wordEnd,
                               int length) const {
  const int n = wordEnd - position;
  if (keywords.words.empty() || static_cast<size_t>(n) >= wordBufferSize) return false;
  if (IsMemberAccess(text, position, wordEnd, length)) return false;
  return keywords.Contains(text + position, n);
}

synState synLanguage::FindNumber(const char* text, int position, int wordEnd,
                                 int length) const {
  int end = wordEnd;
  if (text[position] == '.') {
    // ".5" is a number unless the "." follows a word or another ".".
    const bool startsNumber = !IsPascal() && position + 1 < length &&
                              IsDigit(text[position + 1]) &&
                              (position == 0 || (IsSeparator(text[position - 1]) &&
                                                 text[position - 1] != '.'));
    if (!startsNumber) return 0;
    end = FindSyntaxWordEnd(text, position + 1, length);
  }
  const char* w = text + position;
  const int n = end - position;
  if (kind != KIND_FORTRAN) {
    if (integersOn && text[position] != '.' && syn_IsInteger(*this, w, n)) {
      return SYN_INTEGER;
    }
    if (floatsOn && syn_IsFloat(*this, w, n)) return SYN_FLOAT;
  }
  if (IsAda() && syn_IsAdaNumber(w, n)) return SYN_INTEGER;
  return 0;
}

bool synLanguage::MatchCustomized(const char* text, int position, int wordEnd,
                                  int length,
                                  const ExtraSyntaxInfoInterface* extra) const {
  const int n = wordEnd - position;
  const bool any = !customizedWords.words.empty() || !customizedPatterns.empty() || extra;
  if (!any || n <= 0 || IsSeparator(text[position])) return false;
  if (IsMemberAccess(text, position, wordEnd, length)) return false;
  if (static_cast<size_t>(n) < wordBufferSize &&
      customizedWords.Contains(text + position, n)) {
    return true;
  }
  for (const std::string& pattern : customizedPatterns) {
    if (syn_WildcardMatch(pattern.c_str(), text + position, n, caseSensitive)) {
      return true;
    }
  }
  return extra && extra->IsCustomizedWord(text + position, n, caseSensitive);
}
