// The parts of two directory names that tell two files apart, shown after
// each base name ("main.c (x/src)") when both sides have the same name or
// live in similar places.
#pragma once

#include <string>

struct DirectoryParts {
  bool shown = false;  // false: show the base names alone
  std::string left;
  std::string right;
};

// Both parts are empty (not shown) when a name is missing, the names are
// equal, or the files share a directory.  When one directory lies inside
// the other, or they differ from the first character, the parts are the
// whole directory names; otherwise both start at the path component where
// the directories first differ.
DirectoryParts dv_DirectoryParts(const char* leftName, const char* rightName);

// "base (part)" or "base" when the part is not shown or empty.
std::string dv_FileLabel(const char* name, const DirectoryParts& parts, bool right);
