// The reader of one definition's "language" tree: one member per child
// tree, each checking its keys and reporting what it cannot use.  Private
// to the syntax library.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "libs/libcxxutil/options_node.h"
#include "syntax/syn_language.h"
#include "syntax/syn_report.h"

class synDefinitionReader {
 public:
  synDefinitionReader(synLanguage* language, synReport* report)
      : lang_(*language), report_(*report) {}

  void ReadLanguageTree(const ut_options_node& tree);

 private:
  using Handler = std::function<bool(const ut_options_attribute&)>;
  using PairHandler = std::function<void(const ut_options_node&)>;

  // Walks a tree's attributes through `handle` (false: unknown key) and its
  // child trees through `pairs` (null: none expected).
  void ReadTree(const ut_options_node& tree, const char* name, const Handler& handle,
                const PairHandler& pairs);
  bool ReadPair(const ut_options_node& node, const char* tree, bool spanKnown,
                bool spanDefault, synDelimiterPair* out);
  void ReadPairs(const ut_options_node& tree, const char* name, bool spanKnown,
                 bool spanDefault, int limit, std::vector<synDelimiterPair>* pairs,
                 synColor* color);

  void ReadGeneral(const ut_options_node& tree);
  void ReadWords(const ut_options_node& tree, const char* name, synWordList* words,
                 synColor* color, bool* completion, bool caseKey);
  void ReadLineComments(const ut_options_node& tree);
  void ReadIntegers(const ut_options_node& tree);
  void ReadFloats(const ut_options_node& tree);
  void ReadAutocomplete(const ut_options_node& tree);

  // Typed values; a value of another type is reported and ignored.
  bool String(const ut_options_attribute& a, const char* tree, std::string* out);
  bool Strings(const ut_options_attribute& a, const char* tree,
               std::vector<std::string>* out);
  bool Bool(const ut_options_attribute& a, const char* tree, bool* out);
  bool Int(const ut_options_attribute& a, const char* tree, int* out);
  void Color(const ut_options_attribute& a, const char* tree, synColor* color);
  void BadValue(const char* tree, const std::string& key);

  synLanguage& lang_;
  synReport& report_;
};
