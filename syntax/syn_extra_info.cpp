// Per-file extra words: read like a definition, but only the customized
// words, patterns and colour are kept.
#include "syntax/syn_extra_info.h"

#include <strings.h>

#include <algorithm>
#include <cstring>

#include "libs/libcxxutil/options_database.h"
#include "syntax/syn_definition.h"
#include "syntax/syn_report.h"
#include "syntax/syn_wildcard.h"

bool ExtraSyntaxInfo::IsCustomizedWord(const char* word, int length,
                                       bool caseSensitive) const {
  for (const std::string& w : words) {
    if (static_cast<int>(w.size()) != length) continue;
    const int c = caseSensitive ? std::memcmp(w.data(), word, length)
                                : strncasecmp(w.data(), word, length);
    if (c == 0) return true;
  }
  for (const std::string& p : patterns) {
    if (syn_WildcardMatch(p.c_str(), word, length, caseSensitive)) return true;
  }
  return false;
}

ExtraSyntaxInfo* syn_LoadExtraSyntaxInfo(const char* file) {
  if (!file) return nullptr;
  ut_options_database database;
  syn_PrepareDatabase(&database);
  if (!database.read_from_file_name(file)) return nullptr;
  auto lang = syn_BuildLanguage(*database.get_root_node(), file, true,
                                database.get_error_count());
  if (!lang) return nullptr;
  auto* info = new ExtraSyntaxInfo;
  info->words = std::move(lang->customizedWords.words);
  info->patterns = std::move(lang->customizedPatterns);
  std::sort(info->words.begin(), info->words.end());
  lang->customizedColor.MoveTo(info->color);
  return info;
}
