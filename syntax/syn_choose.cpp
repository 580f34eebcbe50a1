// Choosing the language of a file: its suffix first; when that does not
// decide, the first non-blank line (first-line patterns, then an editor
// mode marker "-*- c++ -*-"), then the makefile name rule.
#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>

#include "base/gen.h"
#include "syntax/syn_index.h"
#include "syntax/syn_wildcard.h"

namespace {

constexpr int kLinesExamined = 10;
constexpr size_t kLineLimit = 65536;  // longer lines are cut for matching

bool IsBlankLine(const std::string& s) {
  for (char c : s) {
    if (!std::isspace(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

// The first non-blank line among the file's first lines, without its line
// end; false when the file cannot be read or has none.
bool FirstNonBlankLine(const char* path, std::string* line) {
  FILE* f = std::fopen(path, "rb");
  if (!f) return false;
  bool found = false;
  for (int n = 0; n < kLinesExamined && !found; n++) {
    line->clear();
    int c;
    while ((c = std::fgetc(f)) != EOF && c != '\n') {
      if (line->size() < kLineLimit) line->push_back(static_cast<char>(c));
    }
    if (!line->empty() && line->back() == '\r') line->pop_back();
    found = !IsBlankLine(*line);
    if (c == EOF) break;
  }
  std::fclose(f);
  return found;
}

// The language a mode marker word stands for, or null.
const char* ModeLanguage(std::string word) {
  for (char& c : word) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  static const struct { const char* word; const char* language; } kModes[] = {
      {"ada", "Ada"},         {"c", "C"},         {"objc", "C"},
      {"c++", "C++"},         {"idl", "C++"},     {"fortran", "Fortran"},
      {"f90", "Fortran"},     {"java", "Java"},   {"pascal", "Pascal"},
      {"qen", "QEN-Script"},
  };
  for (const auto& m : kModes) {
    if (word == m.word) return m.language;
  }
  return nullptr;
}

}  // namespace

// "-*-", optional blanks, a word, then blanks or "-*-".
const char* syn_ModeMarkerLanguage(const char* line) {
  const char* p = std::strstr(line, "-*-");
  if (!p) return nullptr;
  p += 3;
  while (*p == ' ' || *p == '\t') p++;
  const char* word = p;
  while (*p && *p != ' ' && *p != '\t' && std::strncmp(p, "-*-", 3) != 0) p++;
  const bool closed = *p == ' ' || *p == '\t' || std::strncmp(p, "-*-", 3) == 0;
  if (p == word || !closed) return nullptr;
  return ModeLanguage(std::string(word, p - word));
}

synLanguageInterface* synIndex::LanguageOfFile(const char* path) {
  if (!syn_Settings().colorsyntax) return nullptr;
  synLanguage* fallback = None();
  if (!path) return fallback;
  const char* suffix = gen_getsuffix(path);
  std::vector<synLanguageAbs*> entries;
  GetLanguageFSuffix(suffix, &entries, 0);
  std::vector<synLanguage*> candidates;
  for (synLanguageAbs* e : entries) {
    if (candidates.size() == 2) break;
    synLanguage* lang = e->GetLanguageDefinition();
    if (lang && lang != fallback) candidates.push_back(lang);
  }
  if (candidates.size() == 1) return candidates.front();

  std::string line;
  if (FirstNonBlankLine(path, &line)) {
    const char* only = candidates.size() == 2 ? suffix : nullptr;
    if (synLanguage* lang = GetLanguageFContent(line.c_str(), only)) return lang;
    if (synLanguage* lang = GetLanguageFName(syn_ModeMarkerLanguage(line.c_str()), false)) {
      return lang;
    }
  }
  if (syn_WildcardMatch("*makefile*", path, static_cast<int>(std::strlen(path)), false)) {
    if (synLanguage* lang = GetLanguageFName("makefile", false)) return lang;
  }
  return candidates.empty() ? fallback : candidates.front();
}
