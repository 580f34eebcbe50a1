// Names and priorities of the classes in a state word: the order in which a
// state's classes are named, and the order in which the first class present
// decides a run's colour.
#include "syntax/syn_state.h"

#include <string>

#include "base/gen.h"

namespace {

struct NamedClass {
  synState mask;
  const char* name;
};

// The order classes are named in.
const NamedClass kNameOrder[] = {
    {SYN_DEAD_CODE, "DEAD_CODE"},
    {SYN_STRING | SYN_STRING2, "STRING"},
    {SYN_CHARACTER | SYN_CHARACTER2, "CHARACTER"},
    {SYN_BLOCK, "BLOCK"},
    {SYN_COMMENT, "COMMENT"},
    {SYN_LINE_COMMENT, "LINE_COMMENT"},
    {SYN_KEYWORD, "KEY_WORD"},
    {SYN_PREPROCESSOR, "PREPROCESSOR"},
    {SYN_CUSTOMIZED, "CUSTOMIZED"},
    {SYN_INTEGER, "INTEGER"},
    {SYN_FLOAT, "FLOAT"},
};

// The order in which the first class present chooses the colour.
const synState kColourOrder[] = {
    SYN_STRING,  SYN_STRING2,      SYN_CHARACTER, SYN_CHARACTER2,
    SYN_DEAD_CODE, SYN_COMMENT,    SYN_LINE_COMMENT, SYN_KEYWORD,
    SYN_PREPROCESSOR, SYN_INTEGER, SYN_FLOAT,     SYN_BLOCK,
    SYN_CUSTOMIZED,
};

}  // namespace

synState GetPureSyntaxStatus(synState status) {
  for (synState cls : kColourOrder) {
    if (status & cls) return cls;
  }
  return 0;
}

char* GetNameForSynstate(synState status) {
  std::string names;
  for (const NamedClass& c : kNameOrder) {
    if (!(status & c.mask)) continue;
    if (!names.empty()) names += ' ';
    names += c.name;
  }
  return gen_copy(names.c_str());
}
