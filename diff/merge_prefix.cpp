// The conflict-marker strings: defaults in the comment syntax of file 1's
// language (from its last suffix), and the dialogue that edits them.
#include <cstring>
#include <ctime>

#include "base/gen.h"
#include "diff/merge.h"
#include "diff/merge_private.h"

namespace {

struct CommentSyntax {
  const char* start;
  const char* end;
};

CommentSyntax SyntaxFor(const char* fileName) {
  const char* suffix = gen_getsuffix(fileName);
  if (!suffix || !*suffix) return {"|", ""};
  if (strcmp(suffix, "cxx") == 0 || strcmp(suffix, "cc") == 0 || suffix[0] == 'C') {
    return {"// ", ""};
  }
  switch (suffix[0]) {
    case 'c':
    case 'h':
      return {"/* ", " */"};
    case 'f':
    case 'F':
      return {"C", ""};
    case 'p':
      return {"{", "}"};
    case 's':
      return {";", ""};
    default:
      return {"|", ""};
  }
}

// The 24-character form of the current date and time.
std::string Now() {
  const time_t now = time(nullptr);
  char text[32] = "";
  ctime_r(&now, text);
  return std::string(text, strnlen(text, 24));
}

struct Strings {
  char* header;
  char* separator;
  char* trailer;
  char* newPrefix;
  char* oldPrefix;
  bool newFirst;
};

Strings Save(const mcargs* mc) {
  return {gen_copy(mc->header),    gen_copy(mc->separator), gen_copy(mc->trailer),
          gen_copy(mc->newPrefix), gen_copy(mc->oldPrefix), mc->newFirst};
}

void Restore(mcargs* mc, Strings& s) {
  for (char** p : {&mc->header, &mc->separator, &mc->trailer, &mc->newPrefix, &mc->oldPrefix}) {
    gen_free(*p);
  }
  mc->header = s.header;
  mc->separator = s.separator;
  mc->trailer = s.trailer;
  mc->newPrefix = s.newPrefix;
  mc->oldPrefix = s.oldPrefix;
  mc->newFirst = s.newFirst;
}

void Forget(Strings& s) {
  for (char* p : {s.header, s.separator, s.trailer, s.newPrefix, s.oldPrefix}) gen_free(p);
}

}  // namespace

void merge_DefaultPrefix(mcargs* mc, const char* fileName) {
  const CommentSyntax c = SyntaxFor(fileName);
  std::string header = c.start;
  header += gen_getusername();
  header += ": ";
  header += Now();
  header += c.end;
  std::string separator = c.start;
  separator += "End NEW CODE";
  separator += c.end;
  separator += " ";
  separator += c.start;
  separator += "OLD CODE";
  separator += c.end;
  std::string trailer = c.start;
  trailer += "End OLD CODE";
  trailer += c.end;
  gen_strchange(&mc->header, header.c_str());
  gen_strchange(&mc->separator, separator.c_str());
  gen_strchange(&mc->trailer, trailer.c_str());
  gen_strchange(&mc->newPrefix, "");
  gen_strchange(&mc->oldPrefix, c.start);
  mc->newFirst = true;
}

bool PrefixInfo(mcargs* mc) {
  Strings before = Save(mc);
  if (!mc->prefixGiven) merge_DefaultPrefix(mc, mc->record->name1);
  const MergeHooks& hooks = merge_private::Hooks();
  if (hooks.editPrefix && !hooks.editPrefix(mc)) {
    Restore(mc, before);
    return false;
  }
  Forget(before);
  mc->prefixGiven = true;
  return true;
}
