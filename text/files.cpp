// Loading a file record from disk, finding loaded files by name, and
// freeing them.  Loaded files can be registered by their absolute name so
// that a second request for the same name shares the record.
#include "text/text_private.h"

#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <unordered_map>

#include "base/gen.h"

namespace {

constexpr int kNewFileMode = 0664;  // decimal 436

std::unordered_map<std::string, file*>& Registry() {
  static auto* registry = new std::unordered_map<std::string, file*>();
  return *registry;
}

FileLanguage_PT languageHook = nullptr;
FileMissing_PT missingHook = nullptr;
FileUnlock_PT unlockHook = nullptr;

file* NewRecord(const char* name) {
  auto* f = static_cast<file*>(gen_alloc(1, sizeof(file)));
  f->name = gen_copy(name);
  f->expandedName = gen_expand_filename(name);
  f->cacheDescriptor = -1;
  return f;
}

// Fills the record's disk facts; a missing file is new with mode 0664.
void TakeDiskFacts(file* f, bool exists) {
  struct stat st;
  if (!exists || stat(f->name, &st) != 0) {
    f->flags |= FILE_NEW;
    f->mode = kNewFileMode;
    return;
  }
  f->mode = static_cast<int>(st.st_mode & 07777);
  f->modificationTime = st.st_mtime;
  f->device = st.st_dev;
  f->inode = st.st_ino;
  f->size = static_cast<long>(st.st_size);
  if (access(f->name, W_OK) != 0) f->flags |= FILE_READONLY;
}

void FreeContents(file* f) {
  for (line* l = f->firstLine; l;) {
    line* next = l->next;
    LineFree(l);
    l = next;
  }
  f->firstLine = f->lastLine = nullptr;
  f->lineCount = 0;
  text_private::CacheDestroy(f);
  gen_free(f->cacheBuffer);
  f->cacheBuffer = nullptr;
}

// Loads the disk text into an existing record; false after a message.
bool Fill(file* f, bool exists) {
  TakeDiskFacts(f, exists);
  if (!text_private::FileFillup(f, f->name)) return false;
  f->flags &= ~FILE_STUB;
  return true;
}

// Asks about a missing file that version control may hold: -1 cancels,
// 1 means a copy was placed at the name, 0 means a new empty file.
int HandleMissing(file* f) {
  switch (text_private::AskMissing(f->expandedName)) {
    case FILE_CANCEL:
      return -1;
    case FILE_COPY:
      return 1;
    case FILE_CHECKOUT:
      return 2;
    case FILE_NOT_VERSIONED:
      break;
  }
  return 0;
}

}  // namespace

namespace text_private {

file* RegistryFind(const char* expandedName) {
  if (!expandedName) return nullptr;
  auto it = Registry().find(expandedName);
  return it == Registry().end() ? nullptr : it->second;
}

void RegistryAdd(file* f) {
  if (!f->expandedName || f->registered) return;
  Registry()[f->expandedName] = f;
  f->registered = true;
}

void RegistryRemove(file* f) {
  if (!f->registered) return;
  auto it = Registry().find(f->expandedName);
  if (it != Registry().end() && it->second == f) Registry().erase(it);
  f->registered = false;
}

void* ChooseLanguage(const char* name) { return languageHook ? languageHook(name) : nullptr; }

FileMissingAnswer AskMissing(const char* expandedName) {
  if (!missingHook) return FILE_NOT_VERSIONED;
  char* question =
      gen_asprintf("%.60s does not exist, check it out of Version Control?", expandedName);
  const FileMissingAnswer answer =
      missingHook(expandedName, question, "Check non-existent file out of version control?");
  gen_free(question);
  return answer;
}

}  // namespace text_private

void FileSetLanguageHook(FileLanguage_PT hook) { languageHook = hook; }
void FileSetMissingHook(FileMissing_PT hook) { missingHook = hook; }
void FileSetUnlockHook(FileUnlock_PT hook) { unlockHook = hook; }

file* FileF_File(const char* name, int registerIt, int options) {
  const int access = FileCheckAccess(name, options);
  if (access < 0) return nullptr;
  file* f = NewRecord(name);
  int exists = access;
  if (!exists) {
    exists = HandleMissing(f);
    if (exists < 0) {
      FileFree(f);
      return nullptr;
    }
  }
  if (!Fill(f, exists > 0)) {
    FileFree(f);
    return nullptr;
  }
  if (exists == 1 && access == 0) f->flags |= FILE_READONLY;  // a fetched copy
  if (registerIt) text_private::RegistryAdd(f);
  return f;
}

file* FileFStub(const char* name) {
  if (!name) return nullptr;
  char* expanded = gen_expand_filename(name);
  file* f = text_private::RegistryFind(expanded);
  gen_free(expanded);
  if (f) return f;
  f = NewRecord(name);
  f->flags |= FILE_STUB;
  text_private::RegistryAdd(f);
  return f;
}

file* FileFName(const char* name, int options) {
  if (!name) return nullptr;
  char* expanded = gen_expand_filename(name);
  file* f = text_private::RegistryFind(expanded);
  gen_free(expanded);
  if (!f) return FileF_File(name, 1, options);
  if (!(f->flags & FILE_STUB)) return f;
  const int access = FileCheckAccess(f->name, options);
  if (access < 0 || !Fill(f, access > 0)) {
    FreeContents(f);
    return nullptr;
  }
  return f;
}

void FileFree(file* f) {
  if (!f) return;
  if ((f->flags & FILE_LOCKED) && unlockHook) unlockHook(f);
  text_private::RegistryRemove(f);
  FreeContents(f);
  gen_free(f->name);
  gen_free(f->expandedName);
  gen_free(f->sourceName);
  gen_free(f->title);
  gen_free(f->versionLabel);
  gen_free(f);
}
