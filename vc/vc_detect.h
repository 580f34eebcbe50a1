// Which version-control system manages a file, told from the file system
// alone.  Strict rules first, in this order: a CVS "Entries" line for the
// file, a ".git" entry in its directory or a parent, a log of our own
// system ("kvc.log/<base name>" beside the file's resolved name),
// ClearCase (only when its support is on), an RCS file "RCS/<base name>,v".
// Failing those, the directory decides in the same order (a readable CVS
// "Entries", a "kvc.log" directory, an "RCS" directory; the work tree and
// ClearCase already had their say), and a directory matching none counts
// as our own system.
#pragma once

#include <string>

// The type (VC_TYPE) by the strict rules, or -1 when none holds.
int vc_DetectStrict(const char* file, bool clearcase);
// The type by the strict rules, then the directory, then our own system.
int vc_DetectType(const char* file, bool clearcase);
// The type a directory's files get when no strict rule holds for them.
int vc_DetectDirectory(const char* directory);

// What cleartool says about a file: true for an element ("@@" or "-->" in
// its answer).  Anything else than ": Error: " is reported through
// `unrecognized` (once per process by the caller's choice).
bool vc_ClearCaseKnows(const char* file, std::string* unrecognized);
