// The language index: the known languages in menu order, how a file is
// recognised as one of them (suffixes, first-line patterns), and which
// definition file describes each.  Definitions are loaded on first use.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "syntax/syn_language.h"

class ut_options_node;
class synReport;

// Finds a definition file by the name the index gives; a new string for
// gen_free, or null.
using synFileFinder = char* (*)(const char* name);

// One compiled first-line pattern.
class synFirstLinePattern {
 public:
  ~synFirstLinePattern();
  // Compiles `pattern`; false (with `error` set) when it does not compile.
  bool Compile(const char* pattern, std::string* error);
  bool Matches(const char* line) const;

 private:
  void* regex_ = nullptr;  // the compiled regex_t
};

// One index entry.
class synLanguageAbs {
 public:
  std::string name;
  std::string description;
  std::vector<std::string> extensions;
  std::string definitionFile;  // cleared once loading was tried
  std::vector<std::unique_ptr<synFirstLinePattern>> patterns;
  bool hidden = false;
  std::string submenu;
  std::unique_ptr<synLanguage> language;
  int id = 0;
  synFileFinder finder = nullptr;

  // The language, loading the definition on first use; null when it has
  // none or loading failed (a failed load is not retried).
  synLanguage* GetLanguageDefinition();
  // Has a language, or may still load one.
  bool IsAvailable() const { return language || !definitionFile.empty(); }
  bool ListsSuffix(const char* suffix) const;
  bool MatchesFirstLine(const char* line) const;
};

// The language named by an editor mode marker ("-*- c++ -*-") on `line`,
// or null.
const char* syn_ModeMarkerLanguage(const char* line);

class synIndex {
 public:
  // `finder` locates definition files; null uses the configuration
  // directories (the name itself, then "syntax_coloring/" and the name).
  explicit synIndex(synFileFinder finder = nullptr);

  // Builds the index from a file; a null or unreadable path leaves only the
  // built-in "None" entry.  Warnings are printed.
  void Load(const char* path);
  // The same from a tree already read; `path` names it in messages.
  void LoadFromTree(const ut_options_node& root, const char* path);

  const std::string& fileName() const { return fileName_; }
  int Count() const { return static_cast<int>(entries_.size()); }
  synLanguageAbs* Entry(int id) const;
  int hiddenId() const { return hiddenId_; }
  synLanguage* None() const { return entries_.front()->language.get(); }
  synLanguageAbs* FindByName(const char* name) const;

  // The language with that index name ("C++" and "CPP" match each other);
  // with `orNone`, the "None" language when there is no such language.
  synLanguage* GetLanguageFName(const char* name, bool orNone);
  // Appends the available entries listing `suffix`, in index order, at
  // most `max` when max > 0; when there are none, only the "None" entry.
  int GetLanguageFSuffix(const char* suffix, std::vector<synLanguageAbs*>* list, int max);
  // The first language (among those listing `suffix`, when given) one of
  // whose first-line patterns matches `line`.
  synLanguage* GetLanguageFContent(const char* line, const char* suffix);
  // The language for a file: by suffix, first line, mode marker and the
  // makefile name rule; null when syntax colouring is off.
  synLanguageInterface* LanguageOfFile(const char* path);

  // Directories relative names are resolved in.
  std::vector<std::string> sourceDirs{"."};

 private:
  void Reset();
  void ReadEntry(const ut_options_node& node, synReport* report);
  void CompilePatterns(const std::vector<std::string>& patterns, synLanguageAbs* entry,
                       synReport* report);
  void AddEntry(std::unique_ptr<synLanguageAbs> entry);

  std::string fileName_;
  std::vector<std::unique_ptr<synLanguageAbs>> entries_;
  int hiddenId_ = -1;
  synFileFinder finder_;
};
