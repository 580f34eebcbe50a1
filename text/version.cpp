// One side of a comparison as a temporary copy: of the file itself, or of
// a version or dated state restored by version control through a hook.
// Version control sits above the text model, so until it fills the hook
// every versioned side is titled " (Unavailable ...)".
#include "text/text_private.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "base/gen.h"

namespace {

FileVersionFetch_PT fetchHook = nullptr;

// Says why a copy could not be made: a full disk as the loader says it,
// anything else with the system's words.
void ReportCopyFailure(const char* what, const char* name) {
  if (errno == ENOSPC || errno == EDQUOT) {
    gen_error("No space for tempfile");
    return;
  }
  gen_error("%s %s: %s", what, name, strerror(errno));
}

// Writes the lines of a file changed in memory to the open copy.
bool WriteContents(file* f, int fd) {
  const char* ending = (f->flags & FILE_SAVE_CRLF) ? "\r\n" : "\n";
  const size_t endingLength = (f->flags & FILE_SAVE_CRLF) ? 2 : 1;
  bool ok = true;
  for (line* l = f->firstLine; l && ok; l = l->next) {
    const char* text = FileLineText(f, l);
    ok = text && gen_write_all(fd, text, static_cast<size_t>(l->length));
    const bool last = !l->next && (f->flags & FILE_NO_FINAL_NEWLINE);
    if (ok && !last) ok = gen_write_all(fd, ending, endingLength);
  }
  if (!ok) ReportCopyFailure("Can't copy", f->name);
  return ok;
}

// Copies the disk file into the open copy; false after a message.
bool CopyContents(const char* from, int fd) {
  const int in = open(from, O_RDONLY | O_CLOEXEC);
  if (in < 0) {
    ReportCopyFailure("Can't open file", from);
    return false;
  }
  char chunk[65536];
  bool ok = true;
  for (;;) {
    const ssize_t n = read(in, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = n == 0;
      break;
    }
    if (!(ok = gen_write_all(fd, chunk, static_cast<size_t>(n)))) break;
  }
  if (!ok) ReportCopyFailure("Can't copy", from);
  close(in);
  return ok;
}

char* TitleOf(const char* name, const char* kind, const char* label) {
  char* base = gen_basename(name);
  char* title = gen_concat5(base, " (", kind, label, ")");
  gen_free(base);
  return title;
}

// The current state of `name` copied to `temp` (open as `fd`), loaded.
// A file nobody has loaded cannot be modified in memory: it is copied
// from disk without being loaded (and kept) first.
file* CurrentCopy(const char* name, const char* temp, int fd) {
  char* expanded = gen_expand_filename(name);
  file* source = expanded ? text_private::RegistryFind(expanded) : nullptr;
  gen_free(expanded);
  if (source) source = FileFName(name, 0);
  else if (FileCheckAccess(name, FILE_LOAD_MUST_EXIST) < 0) return nullptr;
  const char* diskName = source ? source->name : name;
  const bool copied = (source && (source->flags & FILE_MODIFIED))
                          ? WriteContents(source, fd)
                          : CopyContents(diskName, fd);
  if (!copied) return nullptr;
  file* f = FileF_File(temp, 0, 0);
  if (!f) return nullptr;
  f->sourceName = gen_copy(source && source->sourceName ? source->sourceName : diskName);
  f->versionLabel = gen_copy(source ? source->versionLabel : nullptr);
  char* base = gen_basename(name);
  f->title = gen_concat(base, " (Current Version)");
  gen_free(base);
  return f;
}

// A version or dated state restored into `temp`, loaded; a failed restore
// still gives the (empty or partial) copy, titled as unavailable.
file* VersionCopy(const char* expanded, const char* version, const char* date,
                  const char* temp) {
  const bool restored = fetchHook && fetchHook(expanded, version, date, temp);
  chmod(temp, 0444);
  file* f = FileF_File(temp, 0, 0);
  if (!f) return nullptr;
  f->sourceName = gen_copy(expanded);
  const char* label = version ? version : date;
  if (restored) {
    f->versionLabel = gen_copy(label);
    f->title = TitleOf(expanded, version ? "Version " : "Date ", label);
  } else {
    f->title = TitleOf(expanded, "Unavailable ", label);
  }
  return f;
}

}  // namespace

void FileSetVersionFetchHook(FileVersionFetch_PT hook) { fetchHook = hook; }

file* FileFVName(const char* name, const char* version, const char* date) {
  if (!name) return nullptr;
  if (version && !*version) version = nullptr;
  if (date && !*date) date = nullptr;
  char* expanded = gen_expand_filename(name);
  // The copy is created exclusively, and written through the descriptor
  // that created it: nothing planted in the temporary directory is followed.
  char* temp = nullptr;
  const int fd = expanded ? text_private::CreateTrackedTemporary(gen_getsuffix(name), &temp) : -1;
  if (fd < 0) {
    if (expanded) ReportCopyFailure("Can't create temp file in", gen_temp_dir(nullptr));
    gen_free(expanded);
    return nullptr;
  }
  file* f = (version || date) ? VersionCopy(expanded, version, date, temp)
                              : CurrentCopy(name, temp, fd);
  if (close(fd) != 0 && f) {  // a full disk may only show at close
    FileFree(f);
    f = nullptr;
  }
  gen_free(expanded);
  if (!f) {
    unlink(temp);
    text_private::ForgetTemporary(temp);
    gen_free(temp);
    return nullptr;
  }
  gen_free(temp);
  f->flags |= FILE_TEMPORARY | FILE_READONLY;
  return f;
}

void FileRemoveTemporary(file* f) {
  if (!f || !(f->flags & FILE_TEMPORARY) || !f->name) return;
  unlink(f->name);
  text_private::ForgetTemporary(f->name);
}
