// The trees of a language definition, one reader each: "general",
// "keyword", "preprocessor", "comment", "line_comment", "string",
// "character", "block", "integer", "float", "customized" and
// "autocomplete".  Trees of other names are not ours and are skipped.
#include "syntax/syn_definition_reader.h"

void synDefinitionReader::ReadLanguageTree(const ut_options_node& tree) {
  const auto noKeys = [](const ut_options_attribute&) { return false; };
  ReadTree(tree, "language", noKeys, [this](const ut_options_node& child) {
    const std::string& n = child.get_name();
    if (n == "general") ReadGeneral(child);
    else if (n == "keyword") ReadWords(child, "keyword", &lang_.keywords, &lang_.keywordColor,
                                       &lang_.keywordCompletion, false);
    else if (n == "preprocessor") ReadWords(child, "preprocessor", &lang_.preprocessor,
                                            &lang_.preprocessorColor,
                                            &lang_.preprocessorCompletion, true);
    else if (n == "customized") ReadWords(child, "customized", &lang_.customizedWords,
                                          &lang_.customizedColor,
                                          &lang_.customizedCompletion, false);
    else if (n == "comment") ReadPairs(child, "comment", false, true, 0, &lang_.comments,
                                       &lang_.commentColor);
    else if (n == "string") ReadPairs(child, "string", true, false,
                                      synLanguage::MAX_CONSTANT_PAIRS, &lang_.strings,
                                      &lang_.stringColor);
    else if (n == "character") ReadPairs(child, "character", true, false,
                                         synLanguage::MAX_CONSTANT_PAIRS,
                                         &lang_.characters, &lang_.characterColor);
    else if (n == "block") ReadPairs(child, "block", true, true, 0, &lang_.blocks,
                                     &lang_.blockColor);
    else if (n == "line_comment") ReadLineComments(child);
    else if (n == "integer") ReadIntegers(child);
    else if (n == "float") ReadFloats(child);
    else if (n == "autocomplete") ReadAutocomplete(child);
  });
}

void synDefinitionReader::ReadGeneral(const ut_options_node& tree) {
  const char* t = "general";
  ReadTree(tree, t, [&](const ut_options_attribute& a) {
    std::string s;
    if (a.name == "name") String(a, t, &lang_.name);
    else if (a.name == "description") String(a, t, &lang_.description);
    else if (a.name == "first_line_pattern") String(a, t, &lang_.firstLinePattern);
    else if (a.name == "extension") Strings(a, t, &lang_.extensions);
    else if (a.name == "pascal_style_priority") Bool(a, t, &lang_.pascalStylePriority);
    else if (a.name == "case_sensitive") Bool(a, t, &lang_.caseSensitive);
    else if (a.name == "separator") {
      if (String(a, t, &s)) {
        for (unsigned char c : s) lang_.separator[c] = true;
      }
    } else if (a.name == "escape") {
      if (String(a, t, &s)) lang_.escape = s.empty() ? -1 : static_cast<unsigned char>(s[0]);
    } else {
      return false;
    }
    return true;
  }, nullptr);
}

void synDefinitionReader::ReadWords(const ut_options_node& tree, const char* name,
                                    synWordList* words, synColor* color,
                                    bool* completion, bool caseKey) {
  const char* listKey = words == &lang_.customizedWords ? "pattern" : "name";
  ReadTree(tree, name, [&](const ut_options_attribute& a) {
    if (a.name == "color") Color(a, name, color);
    else if (a.name == listKey) Strings(a, name, &words->words);
    else if (a.name == "autocomplete") Bool(a, name, completion);
    else if (caseKey && a.name == "case_sensitive") {
      if (Bool(a, name, &words->caseSensitive)) lang_.preprocessorCaseGiven = true;
    } else {
      return false;
    }
    return true;
  }, nullptr);
}

void synDefinitionReader::ReadLineComments(const ut_options_node& tree) {
  const char* t = "line_comment";
  ReadTree(tree, t, [&](const ut_options_attribute& a) {
    if (a.name == "color") {
      Color(a, t, &lang_.lineCommentColor);
      return true;
    }
    std::vector<std::string> leaders;
    if (a.kind != ut_value_kind::string && a.kind != ut_value_kind::list) {
      BadValue(t, a.name);
      return true;
    }
    Strings(a, t, &leaders);
    for (std::string& s : leaders) {
      synLeader leader;
      if (!s.empty() && s[0] == '\x01') {
        leader.atLineStart = true;
        s.erase(0, 1);
      }
      leader.text = std::move(s);
      if (!leader.text.empty()) lang_.lineComments.push_back(std::move(leader));
    }
    return true;
  }, nullptr);
}

void synDefinitionReader::ReadIntegers(const ut_options_node& tree) {
  const char* t = "integer";
  lang_.integersOn = true;
  bool cs = false;
  ReadTree(tree, t, [&](const ut_options_attribute& a) {
    if (a.name == "color") Color(a, t, &lang_.integerColor);
    else if (a.name == "decimal_suffix") Strings(a, t, &lang_.decimalSuffixes.words);
    else if (a.name == "hex_suffix") Strings(a, t, &lang_.hexSuffixes.words);
    else if (a.name == "hex") Bool(a, t, &lang_.integerHex);
    else if (a.name == "case_sensitive") Bool(a, t, &cs);
    else return false;
    return true;
  }, nullptr);
  lang_.decimalSuffixes.caseSensitive = lang_.hexSuffixes.caseSensitive = cs;
}

void synDefinitionReader::ReadFloats(const ut_options_node& tree) {
  const char* t = "float";
  lang_.floatsOn = true;
  ReadTree(tree, t, [&](const ut_options_attribute& a) {
    if (a.name == "color") Color(a, t, &lang_.floatColor);
    else if (a.name == "suffix") Strings(a, t, &lang_.floatSuffixes.words);
    else if (a.name == "scientific") Bool(a, t, &lang_.floatScientific);
    else if (a.name == "case_sensitive") Bool(a, t, &lang_.floatSuffixes.caseSensitive);
    else return false;
    return true;
  }, nullptr);
}

void synDefinitionReader::ReadAutocomplete(const ut_options_node& tree) {
  const char* t = "autocomplete";
  synCompletion& c = lang_.completion;
  ReadTree(tree, t, [&](const ut_options_attribute& a) {
    std::string s;
    if (a.name == "match") {
      if (!String(a, t, &s)) return true;
      if (s == "first") c.algorithm = SYN_MATCH_FIRST;
      else if (s == "best") c.algorithm = SYN_MATCH_BEST;
      else report_.Warn("Unknown configuration option value \"%s\" for %s.%s in file:\n\t%s\n",
                        s.c_str(), t, a.name.c_str(), report_.file());
    } else if (a.name == "name") Strings(a, t, &c.extraNames);
    else if (a.name == "autocomplete") Bool(a, t, &c.enabled);
    else if (a.name == "max_match") Int(a, t, &c.maxMatch);
    else if (a.name == "min_string_length") Int(a, t, &c.minStringLength);
    else if (a.name == "grab_prototype") Bool(a, t, &c.grabPrototype);
    else if (a.name == "show_prototype") Bool(a, t, &c.showPrototype);
    else if (a.name == "name_value_separator") {
      if (String(a, t, &s) && !s.empty()) c.nameValueSeparator = s[0];
    } else {
      return false;
    }
    return true;
  }, nullptr);
}
