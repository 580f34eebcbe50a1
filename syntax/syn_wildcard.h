// Shell-style wildcard matching ("*", "?", "[...]") over counted text, for
// customized word patterns and the "*makefile*" file-name rule.
#pragma once

// True when text[0, length) matches `pattern` as a whole.
bool syn_WildcardMatch(const char* pattern, const char* text, int length,
                       bool caseSensitive);
// True when the pattern holds a wildcard character.
bool syn_HasWildcard(const char* pattern);
