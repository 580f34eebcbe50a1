// What the file choice dialogue shows and where it goes, without a
// display: a directory's entries in their order (".." first, then the
// directories, then the files the filter lets through, each group sorted),
// filters as ';'-separated shell patterns, joining and climbing paths, and
// the directory to start in when the asked one cannot be read.
#pragma once

#include <string>
#include <vector>

struct FileChooseEntry {
  std::string name;
  bool directory;
};

// The entries of a readable directory; false (and *out empty) when it
// cannot be read.  Names beginning with '.' are left out, except "..",
// which is there for every directory but the root.
bool fc_listDirectory(const std::string& dir, const char* filter,
                      std::vector<FileChooseEntry>* out);

// Whether a file name passes "*", "*.c;*.h" and the like; null or empty
// lets everything through.
bool fc_matchesFilter(const char* filter, const std::string& name);

// dir + "/" + name with one slash; ".." climbs to the parent directory.
std::string fc_join(const std::string& dir, const std::string& name);
// The parent of a directory ("/" stays "/").
std::string fc_parent(const std::string& dir);
// A directory without trailing slashes, "." and ".." parts resolved
// textually; relative paths are taken from the current directory.
std::string fc_normalise(const std::string& path);
bool fc_isDirectory(const std::string& path);
bool fc_isReadableDirectory(const std::string& path);

// The asked directory when it can be read, else $HOME, else the current
// directory, else "/".  The directory part of a file name counts as asked.
std::string fc_startDirectory(const char* asked);
