// Handing a file to the user's editor at a line.  The command comes from
// the environment variable DIFFVIEW_EDITOR, a shell command in which "%f"
// stands for the file name (quoted for the shell) and "%l" for the line,
// for example "gvim +%l %f" or "code --goto %f:%l".  Without it the
// editor named by VISUAL or EDITOR (else vi) runs in an xterm.
#pragma once

#include <string>

// The shell command that edits `file` at `line`.
std::string dv_EditCommand(const char* file, int line);
// Starts the command in the background; false when it could not be
// started.  The extra arguments are kept for callers that pass a column
// and flags; the editor is only told the line.
bool ReuseEditTag(const char* file, int line, int column, int flags, int reserved);
