// Request parsing: the option words that may travel inside a request, then
// the two grammars for naming versions ("-v") or revisions and dates ("-r",
// "-D").  A flag's value is glued to it ("-v1.2") or is the next word.
#include "viewer/request.h"

#include <cstring>

namespace {

bool startsWith(const char* s, const char* prefix) {
  return s && strncmp(s, prefix, strlen(prefix)) == 0;
}

// Removes the option words, OR-ing their bits and flags into the request;
// returns the number of words kept.
int filterOptionWords(int argc, char** argv, DiffRequest& r) {
  int kept = 0;
  for (int i = 0; i < argc; i++) {
    const char* a = argv[i];
    if (!a) continue;
    if (!strcmp(a, "-noreuse") || !strcmp(a, "-new")) {
      r.reuse = false;
    } else if (!strcmp(a, "-reuse")) {
      r.reuse = true;
    } else if (!strcmp(a, "-add")) {
      r.add = r.reuse = true;
    } else if (!strcmp(a, "-b")) {
      r.options |= 2;
    } else if (!strcmp(a, "-w")) {
      r.options |= 1;
    } else if (!strcmp(a, "-i")) {
      r.options |= 8;
    } else if (!strcmp(a, "-lang=c")) {
      r.options |= 4;
    } else {
      argv[kept++] = argv[i];
    }
  }
  for (int i = kept; i < argc; i++) argv[i] = nullptr;
  return kept;
}

// Walks the kept words; `at` is the index of the next unread one.
struct Words {
  char** v;
  int n;
  int at = 0;
  const char* peek() const { return at < n ? v[at] : nullptr; }
  const char* take() { return at < n ? v[at++] : nullptr; }
  // The value of a two-letter flag that has just been taken: glued, or the
  // next word (null when there is none).
  const char* flagValue(const char* flag) {
    return flag[2] ? flag + 2 : take();
  }
};

// "[-r rev1|-D date1] [-r rev2|-D date2] file1": both sides are states of
// the one file.
void parseCvsStyle(Words& w, const char* fallbackFile, DiffRequest& r) {
  const char* flag = w.take();
  const char*& slot1 = flag[1] == 'r' ? r.version1 : r.date1;
  slot1 = w.flagValue(flag);
  const char* first = w.take();
  if (startsWith(first, "-r") || startsWith(first, "-D")) {
    const char*& slot2 = first[1] == 'r' ? r.version2 : r.date2;
    slot2 = w.flagValue(first);
    first = w.take();
  }
  if (!first) first = fallbackFile;
  if (!first) {
    r.kind = DiffRequest::NoFile;
    return;
  }
  r.file1 = r.file2 = first;  // later words are neither used nor reported
}

// "file1 [-v vers1] [file2 [-v vers2]]"; a missing second file means the
// first one on disk.
void parseKvcStyle(Words& w, const char* first, const char* second, DiffRequest& r) {
  r.file1 = first;
  w.at = 1;  // `first` is consumed
  if (startsWith(second, "-v")) {
    w.take();
    r.version1 = w.flagValue(second);
    second = w.take();
  } else if (w.peek() == second) {
    w.take();
  }
  if (!second) {
    r.file2 = first;
    return;
  }
  r.file2 = second;
  const char* after = w.peek();
  if (!after) return;
  if (startsWith(after, "-v")) {
    w.take();
    r.version2 = w.flagValue(after);
    return;
  }
  for (int i = w.at; i < w.n; i++) r.extra.push_back(w.v[i]);
}

}  // namespace

DiffRequest diff_ParseRequest(int argc, char** argv, const char* fallbackFile,
                              bool reuse, bool add, int options) {
  DiffRequest r;
  r.reuse = reuse;
  r.add = add;
  r.options = options;
  Words w{argv, filterOptionWords(argc, argv, r)};

  const char* first = w.n > 0 ? w.v[0] : fallbackFile;
  const char* second = w.n > 1 ? w.v[1] : (w.n > 0 ? fallbackFile : nullptr);
  if (!first) return r;
  if (!second) {
    r.kind = DiffRequest::OneName;
    r.file1 = first;
    return r;
  }
  r.kind = DiffRequest::TwoSides;
  if (w.n > 0 && (startsWith(first, "-r") || startsWith(first, "-D")))
    parseCvsStyle(w, fallbackFile, r);
  else
    parseKvcStyle(w, first, second, r);
  return r;
}
