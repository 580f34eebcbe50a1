// Switch files: "<program>.xsw" holds one "name-or-number value" pair per
// line; "#" starts a comment line.  Files are read in the order given, so a
// later directory (the user's) overrides an earlier one (the program's).
#include "base/debugflag.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/gen.h"

namespace {

bool isBlank(char c) { return isspace(static_cast<unsigned char>(c)) != 0; }

// Applies one line; values from files are set directly, never shared.
void applySwitchLine(const char* line, const char* path) {
  const char* p = line;
  while (*p && isBlank(*p)) p++;
  if (!*p || *p == '#') return;
  const char* wordEnd = p;
  while (*wordEnd && !isBlank(*wordEnd)) wordEnd++;
  std::string word(p, wordEnd);
  const char* value = wordEnd;
  while (*value && isBlank(*value)) value++;
  if (!*value) return;  // a word without a value changes nothing
  int index = GetXSwitchIndex(word.c_str());
  if (index < 0) {
    gen_warning("Ignoring unknown option \"%s\" in \"%s\"", word.c_str(), path);
    return;
  }
  debugFlag[index] = atoi(value) != 0 ? 1 : 0;
}

void readSwitchFile(const char* path) {
  constexpr long kMaxFileBytes = 1L << 20;
  std::vector<std::string> lines;
  if (!gen_read_data_lines(path, kMaxFileBytes, "switch file", &lines)) return;
  for (const std::string& line : lines) applySwitchLine(line.c_str(), path);
}

}  // namespace

void ReadXSWFilesFrom(const char* const* dirs, int count) {
  char* fileName = gen_changesuffix(gen_getprogname(), ".xsw");
  for (int i = 0; i < count; i++) {
    if (!dirs[i] || !*dirs[i]) continue;
    char* path = gen_sconcat(dirs[i], fileName);
    readSwitchFile(path);
    gen_free(path);
  }
  gen_free(fileName);
}
