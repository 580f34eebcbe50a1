// Reading one language definition file (an options database holding a
// "language" tree with "general", "keyword", "comment", "string" and the
// other trees) into a finished language.
#pragma once

#include <memory>

#include "syntax/syn_language.h"

class ut_options_node;

// Reads a definition file into a new language.  Null when the file cannot
// be read or the language has no name.  Warnings are printed and counted
// in the language's error count; a file with warnings rings the bell and
// prints the old-format notice.
std::unique_ptr<synLanguage> syn_LoadOneFile(const char* path);

// The same over a tree already read; `path` names the file in messages.
// With `forExtraInfo` a nameless language is kept and nothing more than
// the warnings is said.  Null when the tree holds no "language" tree.
// `parseErrors` counts the file's syntax errors met before the tree.
std::unique_ptr<synLanguage> syn_BuildLanguage(const ut_options_node& root,
                                               const char* path, bool forExtraInfo,
                                               int parseErrors = 0);
