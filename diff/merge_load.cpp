// Loading the sides of a merge or comparison, with the loading rules and
// messages: file 2 and the base may be given as a directory (completed
// with file 1's base name), file 2 may be the disk state or another
// version of file 1's name, and a base that cannot be loaded may be left
// out when the user agrees.  Binary files are refused like missing ones.
#include "diff/merge_load.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "base/gen.h"
#include "diff/merge_private.h"
#include "text/file.h"

namespace {

constexpr long kBinaryProbe = 8000;  // bytes looked at for a NUL, as git does

bool Empty(const char* s) { return !s || !*s; }

bool IsBinary(const file* f) {
  const int fd = open(f->name, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  char probe[kBinaryProbe];
  const ssize_t n = read(fd, probe, sizeof probe);
  close(fd);
  return n > 0 && memchr(probe, '\0', static_cast<size_t>(n)) != nullptr;
}

void Discard(file* f) {
  FileRemoveTemporary(f);
  FileFree(f);
}

// A side as a temporary copy of the file or of a version; null when it
// cannot be had (a version that could not be restored counts), or is
// binary, after the loader's message.
file* LoadSide(const char* name, const char* version) {
  file* f = FileFVName(name, version, nullptr);
  if (f && !Empty(version) && !f->versionLabel) {
    Discard(f);
    return nullptr;
  }
  if (f && IsBinary(f)) {
    gen_error("Binary file: %s", name);
    Discard(f);
    return nullptr;
  }
  return f;
}

// The disk file itself (file 2 named like file 1, without a version).
file* LoadDisk(const char* name) {
  file* f = FileF_File(name, 0, FILE_LOAD_MUST_EXIST);
  if (f && IsBinary(f)) {
    gen_error("Binary file: %s", name);
    FileFree(f);
    return nullptr;
  }
  return f;
}

// A directory name completed with file 1's base name.
std::string Complete(const char* name, const char* name1) {
  std::string completed = name;
  if (!gen_isdir(name)) return completed;
  char* base = gen_basename(name1);
  if (completed.empty() || completed.back() != '/') completed += '/';
  completed += base ? base : "";
  gen_free(base);
  return completed;
}

bool SameName(const char* a, const char* b) {
  char* ea = gen_expand_filename(a);
  char* eb = gen_expand_filename(b);
  const bool same = ea && eb && strcmp(ea, eb) == 0;
  gen_free(ea);
  gen_free(eb);
  return same;
}

bool CantOpen(const char* name) {
  gen_error("Can't open file %s", name);
  return false;
}

bool LoadSecond(const MergeRequest* rq, MergeSides* s) {
  const char* name1 = rq->files[0].name;
  const char* v1 = rq->files[0].version;
  const char* v2 = rq->files[1].version;
  s->name2 = Empty(rq->files[1].name) ? name1 : rq->files[1].name;
  if (!SameName(name1, s->name2.c_str())) {
    s->name2 = Complete(s->name2.c_str(), name1);
    s->file2 = LoadSide(s->name2.c_str(), v2);
  } else if (Empty(v2)) {
    s->file2 = LoadDisk(s->name2.c_str());
  } else if (!Empty(v1) && strcmp(v1, v2) == 0) {
    std::string text = "Merging same version - nothing to do: ";
    text += name1;
    merge_private::Alert(text.c_str());
    s->nothingToDo = true;
    return false;
  } else {
    s->file2 = LoadSide(s->name2.c_str(), v2);
  }
  return s->file2 || CantOpen(s->name2.c_str());
}

bool LoadBase(const MergeRequest* rq, MergeSides* s) {
  const char* nameB = rq->files[2].name;
  if (Empty(nameB)) return true;
  const std::string completed = Complete(nameB, rq->files[0].name);
  s->file3 = LoadSide(completed.c_str(), rq->files[2].version);
  if (s->file3) return true;
  char* question = gen_asprintf("Can not file file %s, proceed with merge anyway?",
                                completed.c_str());
  const MergeHooks& hooks = merge_private::Hooks();
  const bool proceed = hooks.ask && hooks.ask(question);
  gen_free(question);
  return proceed || CantOpen(completed.c_str());
}

}  // namespace

bool merge_LoadSides(const MergeRequest* rq, MergeSides* s) {
  const char* name1 = rq->files[0].name;
  if (Empty(name1)) return CantOpen("");
  s->file1 = LoadSide(name1, rq->files[0].version);
  if (!s->file1) return CantOpen(name1);
  if (LoadSecond(rq, s) && LoadBase(rq, s)) return true;
  merge_FreeSides(s);
  return false;
}

void merge_FreeSides(MergeSides* s) {
  for (file** f : {&s->file1, &s->file2, &s->file3}) {
    Discard(*f);
    *f = nullptr;
  }
}
