// Syntax colouring as the rest of the program uses it.  Start-up loads the
// language index once (syn_Init); the text model asks for a file's
// language (syn_LanguageOfFile) and computes each line's start state from
// the line before (syn_GetSynstate); the viewer colours a line from its
// start state into runs (syn_ColorLine) and asks the language for each
// run's foreground (GetColorForStatus).
#pragma once

#include <string>
#include <vector>

#include "syntax/syn_index.h"
#include "syntax/syn_language_interface.h"
#include "syntax/syn_state.h"

// Reads the colouring options from the configuration; on the first call
// also loads the language index.  Later calls (after the configuration was
// read again) only refresh the options: languages stay loaded.
void syn_Init(bool reload);
// Releases the index and every language (their colours too).
void syn_Cleanup();
// Builds the process index from "syntax_coloring/index.gsc" in the
// configuration directories, and the source directories from
// "syntax_coloring/qen_editor.gsd".  False when there is no index file (only
// "None" is known then).
bool syn_LoadLanguageIndex();
// The process index; null before syn_Init.
synIndex* syn_GetIndex();

// The language for a file (see synIndex::LanguageOfFile); the "None"
// language without an index, null when colouring is off.
synLanguageInterface* syn_LanguageOfFile(const char* path);
synLanguage* syn_GetLanguageFName(const char* name, bool orNone);
// 0 without an index.
int syn_GetLanguageFSuffix(const char* suffix, std::vector<synLanguageAbs*>* list, int max);
synLanguage* syn_GetLanguageFContent(const char* line, const char* suffix);

// An absolute name unchanged; a relative one in the first source directory
// where it is accessible with `mode` and no directory.  A new string, or
// null.
char* syn_ResolveFile(const char* name, int mode);
char* syn_ResolveFileIn(const std::vector<std::string>& dirs, const char* name, int mode);
// Reads the source directories from a "qen_editor.gsd" file ("." without).
void syn_ReadSourceDirs(const char* path, std::vector<std::string>* dirs);

// The start of the line after one that started in `*previous` and holds
// previousText[0, previousLength).  {0, 0} for the first line (previous
// null), and when the language is null or "None" or colouring is off.
synLineStart syn_GetSynstate(synLanguageInterface* language, const synLineStart* previous,
                             const char* previousText, int previousLength);

// One coloured run of a line.
struct synRun {
  int start;
  int length;
  synState status;  // pass to GetColorForStatus
  bool operator==(const synRun&) const = default;
};

// Colours a whole line that begins in `start` into runs covering it in
// order (merged where neighbours share a class) and returns the state at
// its end.  Without a language every character is one plain run.
synState syn_ColorLine(synLanguageInterface* language, synLineStart start,
                       const char* text, int length, std::vector<synRun>* runs,
                       const ExtraSyntaxInfoInterface* extra = nullptr);

// The state in force at `position` of a line that begins in `state`.
synState syn_SynstateAt(synState state, const char* text, int position,
                        synLanguageInterface* language,
                        const ExtraSyntaxInfoInterface* extra);
