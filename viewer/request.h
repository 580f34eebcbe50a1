// The request grammar of the command line and of the diff view service,
// as a pure function: words in, the sides to compare (or an error) out.
// Two grammars share it: "file1 [-v vers1] [file2 [-v vers2]]" and
// "[-r rev1|-D date1] [-r rev2|-D date2] file1".
#pragma once

#include <string>
#include <vector>

struct DiffRequest {
  enum Kind {
    NoFile,    // nothing to compare: "error: no file specified to diff"
    OneName,   // one name: previous version, or the chooser for the other side
    TwoSides,  // a pair of sides
  };
  Kind kind = NoFile;
  bool reuse = false;
  bool add = false;
  int options = 0;
  // A null value is an absent field; an empty version came from a bare flag.
  const char* file1 = nullptr;
  const char* version1 = nullptr;
  const char* date1 = nullptr;
  const char* file2 = nullptr;
  const char* version2 = nullptr;
  const char* date2 = nullptr;
  // Entries from the first one not consumed to the end, when the
  // two-name form left some over.
  std::vector<const char*> extra;
};

// Filters the request words out of argv[0..argc-1] in place (kept words
// compacted to the front, freed slots nulled) and applies the version and
// date grammar.  The strings in the result point into argv or at
// fallbackFile.
DiffRequest diff_ParseRequest(int argc, char** argv, const char* fallbackFile,
                              bool reuse, bool add, int options);
