// The language record itself: construction with the initial separators,
// the kind named by the language's name, sorted word lists, and the
// working fields the scanners reset at each line.
#include "syntax/syn_language.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <strings.h>

#include "syntax/syn_extra_info.h"

namespace {

int CompareWords(const char* a, size_t an, const char* b, size_t bn,
                 bool caseSensitive) {
  const size_t n = std::min(an, bn);
  const int c = caseSensitive ? std::memcmp(a, b, n) : strncasecmp(a, b, n);
  if (c != 0) return c;
  return an < bn ? -1 : an > bn ? 1 : 0;
}

}  // namespace

void synWordList::Sort() {
  const bool cs = caseSensitive;
  std::sort(words.begin(), words.end(), [cs](const std::string& a, const std::string& b) {
    return CompareWords(a.data(), a.size(), b.data(), b.size(), cs) < 0;
  });
  std::fill(std::begin(first_), std::end(first_), false);
  shortest_ = words.empty() ? 0 : words.front().size();
  longest_ = 0;
  for (const std::string& w : words) {
    shortest_ = std::min(shortest_, w.size());
    longest_ = std::max(longest_, w.size());
    if (w.empty()) continue;
    const unsigned char c = static_cast<unsigned char>(w[0]);
    first_[c] = true;
    if (!cs) first_[std::tolower(c)] = first_[std::toupper(c)] = true;
  }
}

bool synWordList::Contains(const char* word, int length) const {
  const size_t n = static_cast<size_t>(length);
  if (words.empty() || n < shortest_ || n > longest_) return false;
  if (n > 0 && !first_[static_cast<unsigned char>(word[0])]) return false;
  size_t lo = 0, hi = words.size();
  while (lo < hi) {
    const size_t mid = (lo + hi) / 2;
    const std::string& w = words[mid];
    const int c = CompareWords(w.data(), w.size(), word,
                               static_cast<size_t>(length), caseSensitive);
    if (c == 0) return true;
    if (c < 0) {
      lo = mid + 1;
    } else {
      hi = mid;
    }
  }
  return false;
}

synLanguage::synLanguage(bool none) : none_(none) {
  separator[0] = separator[static_cast<unsigned char>('\n')] =
      separator[static_cast<unsigned char>('\r')] = true;
  if (none) name = "None";
}

synLanguage::~synLanguage() = default;

int synLanguage::KindFromName(const std::string& n) {
  if (n == "C") return KIND_C;
  if (n == "C++" || n == "CPP") return KIND_CPP;
  if (n == "Ada") return KIND_ADA;
  if (n == "Pascal") return KIND_PASCAL;
  if (n == "Fortran") return KIND_FORTRAN;
  if (n == "Java") return KIND_JAVA;
  if (n == "QEN-KRN-CONFIG") return KIND_QEN_CONFIG;
  if (n == "Perl") return KIND_PERL;
  return KIND_OTHER;
}

const char* synLanguage::GetLineCommentLeader() const {
  return lineComments.empty() ? nullptr : lineComments.front().text.c_str();
}

void synLanguage::Reset(bool clearCommentStart, int tokenStart) {
  tokenStart_ = tokenStart;
  if (clearCommentStart) commentStart_ = 0;
}

ExtraSyntaxInfoInterface* synLanguage::LoadSyntaxInfo(const char* file, int kindWanted) {
  if (kindWanted != SYN_EXTRA_INFO_KIND) return nullptr;
  return syn_LoadExtraSyntaxInfo(file);
}
