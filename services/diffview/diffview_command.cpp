// Request strings to argument words, the inverse of how a diffview command
// writes its request.
#include "services/diffview/diffview_display.h"

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// One word starting at *p (not a blank); *p ends after it.  Text right
// after a closing quote continues the word, as it would in a shell.
bool takeWord(const char** p, std::string* word) {
  const char* s = *p;
  bool quoted = *s == '"';
  if (quoted) s++;
  for (; *s; s++) {
    if (quoted && *s == '"') {
      quoted = false;
      continue;
    }
    if (!quoted && isBlank(*s)) break;
    if (*s == '\\') {
      if (!s[1]) return false;
      word->push_back(*s++);
    }
    word->push_back(*s);
  }
  *p = s;
  return !quoted;
}

}  // namespace

bool DiffView_splitCommand(const char* command, std::vector<std::string>* words) {
  words->clear();
  const char* p = command ? command : "";
  while (isBlank(*p)) p++;
  while (*p) {
    std::string word;
    if (!takeWord(&p, &word)) return false;
    words->push_back(std::move(word));
    if (!*p) break;
    p++;  // the separating blank
    if (!*p) words->emplace_back();  // a blank after the last word
  }
  return true;
}
