// The recent directories of the file choice dialogue, one list per group
// name ("Editor", ...), most recent first.  Kept in memory and, unless the
// configuration files are off, in "filechooser.history" in the user's
// configuration directory as lines "<group>\t<directory>".
#pragma once

#include <string>
#include <vector>

constexpr int kFileChooseHistoryLength = 10;

// Puts dir first in the group's list (once), dropping the oldest past the
// length; the file is rewritten.
void fc_rememberDirectory(const char* group, const std::string& dir);
// The group's directories, most recent first (read from the file on the
// first use).
std::vector<std::string> fc_recentDirectories(const char* group);
// Forgets what memory holds, so the next use reads the file again.
void fc_forgetHistory();
// Where the history is kept; empty when configuration files are off.
std::string fc_historyFile();
