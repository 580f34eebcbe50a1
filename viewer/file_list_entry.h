// One row of a viewer window's list of comparisons: the pair it names (with
// the versions or dates of its sides), and
// where the user was (first visible row, current difference) when another
// pair was shown, so that coming back returns there.
#pragma once

#include <string>


struct FileListEntry {
  FileListEntry(const char* leftName, const char* leftVersion, const char* rightName,
                const char* rightVersion, int line);

  std::string leftName, rightName;
  std::string leftVersion, rightVersion;  // empty: the file itself
  std::string leftDate, rightDate;        // empty: no dated state
  bool hasLeftVersion = false, hasRightVersion = false;
  bool shown = false;
  int savedRow;
  int savedCurrent = 0;

  const char* leftVersionOrNull() const { return hasLeftVersion ? leftVersion.c_str() : nullptr; }
  const char* rightVersionOrNull() const {
    return hasRightVersion ? rightVersion.c_str() : nullptr;
  }
  const char* leftDateOrNull() const { return leftDate.empty() ? nullptr : leftDate.c_str(); }
  const char* rightDateOrNull() const { return rightDate.empty() ? nullptr : rightDate.c_str(); }

  // The row's user-data clean-up: deletes the entry.
  static void CleanupUserData(void* data);
};

// The version column's text: the version, else the local label of a file
// under version control ("local (1.4)" or "local"), else "disk".
std::string dv_VersionLabel(const char* name, const char* version);
// The local label of a working file: "local (" previous version ")" when
// version control knows one, else "local".  Newly allocated.
char* get_local_version(const char* name);
// The count column: the number of differences when computed, else "?".
std::string dv_CountLabel(int count, bool known);
