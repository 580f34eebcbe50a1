// The index entries and lookups by name, suffix and first line.  Entries
// keep their definition file name until the language is first wanted; a
// definition that fails to load leaves its entry without a language.
#include "syntax/syn_index.h"

#include <pcre2posix.h>

#include <cstring>

#include "base/gen.h"
#include "syntax/syn_config.h"
#include "syntax/syn_definition.h"

synFirstLinePattern::~synFirstLinePattern() {
  if (!regex_) return;
  regfree(static_cast<regex_t*>(regex_));
  delete static_cast<regex_t*>(regex_);
}

bool synFirstLinePattern::Compile(const char* pattern, std::string* error) {
  auto* re = new regex_t;
  const int rc = regcomp(re, pattern, REG_NEWLINE);
  if (rc != 0) {
    char text[256];
    regerror(rc, re, text, sizeof text);
    if (error) *error = text;
    delete re;
    return false;
  }
  regex_ = re;
  return true;
}

bool synFirstLinePattern::Matches(const char* line) const {
  return regex_ && regexec(static_cast<const regex_t*>(regex_), line, 0, nullptr, 0) == 0;
}

synLanguage* synLanguageAbs::GetLanguageDefinition() {
  if (language || definitionFile.empty()) return language.get();
  const synFileFinder find = finder ? finder : syn_FindDefinitionFile;
  char* path = find(definitionFile.c_str());
  if (path) language = syn_LoadOneFile(path);
  gen_free(path);
  definitionFile.clear();
  return language.get();
}

bool synLanguageAbs::ListsSuffix(const char* suffix) const {
  if (!suffix) return false;
  for (const std::string& e : extensions) {
    if (e == suffix) return true;
  }
  return false;
}

bool synLanguageAbs::MatchesFirstLine(const char* line) const {
  for (const auto& p : patterns) {
    if (p->Matches(line)) return true;
  }
  return false;
}

synIndex::synIndex(synFileFinder finder) : finder_(finder) { Reset(); }

void synIndex::Reset() {
  entries_.clear();
  hiddenId_ = -1;
  auto none = std::make_unique<synLanguageAbs>();
  none->name = none->description = "None";
  none->language = std::make_unique<synLanguage>(true);
  AddEntry(std::move(none));
}

void synIndex::AddEntry(std::unique_ptr<synLanguageAbs> entry) {
  entry->id = Count();
  entry->finder = finder_;
  entries_.push_back(std::move(entry));
}

synLanguageAbs* synIndex::Entry(int id) const {
  return id >= 0 && id < Count() ? entries_[id].get() : nullptr;
}

synLanguageAbs* synIndex::FindByName(const char* name) const {
  if (!name) return nullptr;
  const auto cppAlias = [](const std::string& n) { return n == "C++" || n == "CPP"; };
  const std::string wanted = name;
  for (const auto& e : entries_) {
    if (e->name == wanted || (cppAlias(e->name) && cppAlias(wanted))) return e.get();
  }
  return nullptr;
}

synLanguage* synIndex::GetLanguageFName(const char* name, bool orNone) {
  synLanguageAbs* entry = FindByName(name);
  synLanguage* lang = entry ? entry->GetLanguageDefinition() : nullptr;
  return lang || !orNone ? lang : None();
}

int synIndex::GetLanguageFSuffix(const char* suffix, std::vector<synLanguageAbs*>* list,
                                 int max) {
  int found = 0;
  for (const auto& e : entries_) {
    if (max > 0 && found >= max) break;
    if (!e->IsAvailable() || !e->ListsSuffix(suffix)) continue;
    list->push_back(e.get());
    found++;
  }
  if (found > 0) return found;
  list->push_back(entries_.front().get());
  return 1;
}

synLanguage* synIndex::GetLanguageFContent(const char* line, const char* suffix) {
  if (!line) return nullptr;
  for (const auto& e : entries_) {
    if (suffix && !e->ListsSuffix(suffix)) continue;
    if (!e->IsAvailable() || !e->MatchesFirstLine(line)) continue;
    if (synLanguage* lang = e->GetLanguageDefinition()) return lang;
  }
  return nullptr;
}
