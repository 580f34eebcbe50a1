// Preprocessor conditionals as the quick parser sees them: which directive
// a line holds, whether its condition is a plain number, and how it moves
// the tracking of disabled and live regions.  Private to the library.
#pragma once

#include <cstdint>

class synLanguage;

struct synDirective {
  enum Kind { NONE, IF, ELIF, ELSE, ENDIF, OTHER };
  Kind kind = NONE;
  bool zero = false;     // "if" or "elif" on the number 0
  bool nonZero = false;  // "if" or "elif" on a non-zero number
};

// The directive after the leader at text[leaderPosition].
synDirective syn_ParseDirective(const synLanguage& language, const char* text,
                                int leaderPosition, int length);

// Conditional tracking carried in the condition word: inside disabled code,
// inside a region opened by a conditional on a non-zero number, and the
// depth of conditionals nested in either.
struct synConditional {
  bool dead = false;
  bool live = false;
  uint32_t depth = 0;
  void Apply(const synDirective& directive);

 private:
  void ApplyOutsideDeadCode(const synDirective& directive);
};
