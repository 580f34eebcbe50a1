// Pieces shared by the text model's own files: the cache descriptors, the
// chunked loader, the registry of loaded files, the hooks and the list of
// files to remove when the process ends.  Not for use outside text/.
#pragma once

#include "text/file.h"

namespace text_private {

// ---- cache descriptors (cache.cpp) ----
// Creates f's cache file under a fresh name and opens it for reading and
// writing as the most recently used descriptor.  False on failure.
bool CacheCreate(file* f);
// The open descriptor of f's cache file, reopened (closing the least
// recently used one beyond the limit) when needed; -1 on failure.
int CacheDescriptor(file* f);
// Closes f's descriptor, if open, and removes the cache file.
void CacheDestroy(file* f);
// Number of cache descriptors currently open (for tests).
int CacheOpenCount();
// Reads the window that holds [offset, offset + length) of the cache file.
bool CacheLoadWindow(file* f, long offset, long length);

// ---- measure (measure.cpp) ----
// Continues a line's widest-line measure `m` over more of its bytes.
long MeasureFrom(long m, const char* text, long length);

// ---- loading (load.cpp) ----
// Sizes the window, creates the cache file, picks the language and reads
// `name` into f.  Reports and returns false on failure.
bool FileFillup(file* f, const char* name);

// ---- registry and hooks (files.cpp) ----
file* RegistryFind(const char* expandedName);
void RegistryAdd(file* f);
void RegistryRemove(file* f);
void* ChooseLanguage(const char* name);
FileMissingAnswer AskMissing(const char* expandedName);

// ---- process-end clean-up (cleanup.cpp) ----
// Remembers a path to unlink if the process ends while it still exists;
// safe to call from many places, the list is walked from an exit handler.
void TrackTemporary(const char* path);
// gen_mkstemp and TrackTemporary with the interrupt signals held between
// the two, so that an interrupt can never leave an untracked file behind.
int CreateTrackedTemporary(const char* suffix, char** name);
// Forgets a path (after its owner removed it).
void ForgetTemporary(const char* path);

}  // namespace text_private
