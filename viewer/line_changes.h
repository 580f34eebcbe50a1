// Changes within a line: where a changed line faces a changed line, the
// words and signs that differ are shaded more strongly than the rest.  A
// line is cut into tokens (runs of letters, digits and '_' or of bytes
// beyond ASCII, runs of blanks, single other signs); the tokens outside a
// longest common subsequence of the two lines are the changes.  The
// comparison options hold here as in the engine: blanks are ignored
// altogether (-w, -lang=c) or any run equals any other (-b), and letters
// may match regardless of case (-i).  Very long lines beyond the common
// start and end are marked whole rather than searched.
#pragma once

#include <string_view>
#include <vector>

struct LineChange {
  int start, end;  // byte offsets into the line, end exclusive
};

// The changes of `line` against `other`, in order and never touching.
void dv_LineChanges(std::string_view line, std::string_view other, int options,
                    std::vector<LineChange>* out);
