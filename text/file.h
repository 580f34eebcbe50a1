// The text model: a file held as a doubly linked list of line records.
// Loading copies the text, CR LF pairs reduced to LF, into a private cache
// file and keeps only each line's offset and length; a line's text is
// fetched on demand through a window of the cache file held in memory.
// Start reading at FileF_File (loading) and FileLineText (text access).
#pragma once

#include <sys/types.h>

#include <ctime>

// One line (seven words).  While `capacity` is -1 the text lies in the
// cache file at byte `storage.offset`; otherwise `storage.text` is an owned
// in-memory copy of `capacity` bytes.
struct line {
  union {
    long offset;
    char* text;
  } storage;
  line* previous;
  line* next;
  long length;        // bytes of text, without the line terminator
  long capacity;      // -1: text in the cache file
  long syntaxState;   // colouring state at the line's start
  void* extra;        // reserved for the editor
};

// File state flags.
enum : unsigned {
  FILE_NEW = 1u << 0,            // the file did not exist when loaded
  FILE_READONLY = 1u << 1,
  FILE_MODIFIED = 1u << 2,       // changed in memory
  FILE_TEMPORARY = 1u << 3,      // its disk file is a copy to remove later
  FILE_LOCKED = 1u << 4,
  FILE_CRLF_MAJORITY = 1u << 5,  // more CR LF endings than bare LF endings
  FILE_SAVE_CRLF = 1u << 6,      // write CR LF endings when saved
  FILE_UNIFORM_ENDINGS = 1u << 7,
  FILE_STUB = 1u << 8,           // registered by name but not loaded yet
  FILE_NO_FINAL_NEWLINE = 1u << 9,  // the last line had no LF
};

// Options of FileF_File.
enum : int {
  // A missing file is an error ("%s: %s" with the system text) instead of
  // a new empty file; for tools that only read.
  FILE_LOAD_MUST_EXIST = 1,
};

struct file {
  char* name;            // the path the caller passed
  char* expandedName;    // absolute form, set on first load
  char* cacheFileName;   // private cache file holding the text
  char* cacheBuffer;     // window buffer, cacheCapacity + 1 bytes
  long cacheCapacity;
  long cacheOffset;      // the cache file bytes the window holds
  long cacheLength;
  line* firstLine;
  line* lastLine;
  long lineCount;
  long widestLine;       // widest line measure (FileSetMaxW)
  long size;             // bytes on disk when loaded
  char* sourceName;      // for a temporary copy: the file it came from
  char* title;           // shown to the user for this side
  char* versionLabel;    // version or date the copy was made from, or null
  void* language;        // syntax language from the name (hook), or null
  int mode;
  time_t modificationTime;
  dev_t device;
  ino_t inode;
  unsigned flags;
  // Private to the model: the open cache descriptor (-1 when closed) and
  // the links of the process-wide list of loaded files.
  int cacheDescriptor;
  bool registered;
};

// ---- loading and lookup ------------------------------------------------------

// Loads `name` from disk.  With `registerIt` the file can later be found by
// FileFName.  Returns null after reporting the trouble through gen_error.
file* FileF_File(const char* name, int registerIt, int options);
// The loaded file of that name (a stub is loaded fully first), else a new
// registered load.
file* FileFName(const char* name, int options);
// Registers `name` as known but not loaded; FileFName loads it on demand.
file* FileFStub(const char* name);
// One side of a comparison: a temporary copy of the file itself (no version
// and no date) or of the version or dated state that version control
// restores.  The result is marked temporary and read-only.
file* FileFVName(const char* name, const char* version, const char* date);
// Releases the lock, the lines, the cache file and the record.  Null is
// ignored.  A temporary copy stays on disk (see FileRemoveTemporary).
void FileFree(file* f);
// Removes the disk copy of a file marked temporary; other files are left.
void FileRemoveTemporary(file* f);

// Checks that `name` can be loaded, reporting the loader's messages.
// Returns 1 for an existing readable file, 0 for a missing file that would
// become a new one (only without FILE_LOAD_MUST_EXIST), -1 on trouble.
int FileCheckAccess(const char* name, int options);

// ---- text access ---------------------------------------------------------------

// The line's text, valid until the next text request on the same file; not
// NUL-terminated, `l->length` bytes.  Null when the cache file cannot be
// read.
const char* FileLineText(file* f, line* l);
// The line's text when it is in memory or inside the current window,
// without reading the cache file; null otherwise.  Lets a reader hold
// several lines' texts at once while they share one window.
const char* FileLineTextInWindow(const file* f, const line* l);
// The 1-based line `number`, or null.
line* FileGetLine(file* f, long number);

// ---- line records -------------------------------------------------------------

line* LineFAlloc(long offset, long length);
void LineFree(line* l);
// Inserts a cache-file line before `before` (at the end when null).
line* _FileInsertO(file* f, line* before, long offset, long length);
line* FileAppendO(file* f, long offset, long length);

// ---- widest line measure ----------------------------------------------------------

// The measure of one line's text (at least length + 1).
long FileSetMaxW(const char* text, long length);
// Recomputes f->widestLine from every line.
void FileFindMaxWidth(file* f);
// Tab size used by the measure; 0 counts as 1.  Default 8.
void FileSetTabSize(int size);
int FileGetTabSize();

// ---- seams filled by higher layers ------------------------------------------------

// Restores `version` (or the state at `date`) of `expandedName` into
// `destination`; returns true on success.  Null until version control
// exists, so every versioned side is unavailable.
using FileVersionFetch_PT = bool (*)(const char* expandedName, const char* version,
                                     const char* date, const char* destination);
void FileSetVersionFetchHook(FileVersionFetch_PT hook);

// A missing file that version control may hold: the hook answers not
// under version control, or asks the user `question` in a dialog titled
// `title` and answers cancel, fetch a read-only copy, or check it out for
// writing (for the last two it has placed the file at its name).
enum FileMissingAnswer { FILE_NOT_VERSIONED, FILE_CANCEL, FILE_COPY, FILE_CHECKOUT };
using FileMissing_PT = FileMissingAnswer (*)(const char* expandedName, const char* question,
                                             const char* title);
void FileSetMissingHook(FileMissing_PT hook);

// Chooses the syntax language of a file from its name; the result is kept
// in file::language.  Null hook: no language.
using FileLanguage_PT = void* (*)(const char* name);
void FileSetLanguageHook(FileLanguage_PT hook);

// Releases a version-control lock held by a file.
using FileUnlock_PT = void (*)(file* f);
void FileSetUnlockHook(FileUnlock_PT hook);
