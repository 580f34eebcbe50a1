// The static entry points of DiffViewer: request checks and messages, the
// choice between reusing the last window and opening a new one, and the
// count of open viewers.
#include "viewer/diffviewer.h"

#include <string>
#include <vector>

#include "base/gen.h"
#include "vc/vc.h"
#include "viewer/opener.h"
#include "viewer/request.h"

DiffViewer* last_diffview = nullptr;
int DiffViewer::_num_viewers_open = 0;
DiffViewerOpeners diffViewerOpeners;
DiffViewerServiceHooks diffViewerServiceHooks;

namespace {

char* directoryMessage(const char* name) {
  return gen_concat("File given to diff is a directory: ", name);
}

char* unreadableMessage(const char* name) {
  return gen_concat("Cannot open file for reading: ", name);
}

char* specialMessage(const char* name) {
  return gen_concat("Not a regular file (a FIFO, device or socket): ", name);
}

bool readable(const char* name) { return gen_access(name, 4) != -1; }

// The message for a side on disk that cannot be compared, or null.
char* checkOnDisk(const char* name) {
  if (!readable(name)) return unreadableMessage(name);
  if (gen_isspecial(name)) return specialMessage(name);
  return nullptr;
}

// A request from another tool names files relative to that tool's
// directory: the names are made absolute before anything is checked.
class CallerNames {
 public:
  CallerNames(STPSpecClass* connection, DiffRequest* r) : connection_(connection) {
    if (!connection_ || !diffViewerServiceHooks.resolveName) return;
    r->file1 = resolve(r->file1);
    r->file2 = resolve(r->file2);
  }
  ~CallerNames() {
    for (char* name : owned_) gen_free(name);
  }
  CallerNames(const CallerNames&) = delete;
  CallerNames& operator=(const CallerNames&) = delete;

  // The caller's working directory (owned here), or null.
  const char* directory() {
    if (!connection_ || !diffViewerServiceHooks.callerDirectory) return nullptr;
    return keep(diffViewerServiceHooks.callerDirectory(connection_));
  }

 private:
  const char* resolve(const char* name) {
    return name ? keep(diffViewerServiceHooks.resolveName(connection_, name)) : nullptr;
  }
  const char* keep(char* name) {
    if (name) owned_.push_back(name);
    return name;
  }

  STPSpecClass* connection_;
  std::vector<char*> owned_;
};

// One name: its previous version against the file on disk when it is under
// version control (its history when nothing is checked in before it), else
// the chooser asks for the other side.
char* openOneName(const DiffRequest& r, const char* workingDir) {
  const char* name = r.file1;
  if (gen_isdir(name)) return directoryMessage(name);
  if (char* message = checkOnDisk(name)) return message;
  if (!vc_UnderVC(name)) {
    DiffViewer::chooseNewDiff(name, nullptr, r.reuse, workingDir, r.options);
    return nullptr;
  }
  char* previous = vc_GetPreviousVersion(name, nullptr);
  if (previous)
    DiffViewer::createDiffViewer(name, previous, nullptr, name, nullptr, nullptr, r.reuse, r.add,
                                 r.options);
  else
    vc_ShowHistory(name);
  gen_free(previous);
  return nullptr;
}

// Two sides: the first failing check wins.  A directory as the second side
// stands for the file of the first side's base name inside it.
char* openTwoSides(const DiffRequest& r) {
  bool file1Versioned = r.version1 || r.date1;
  bool file2Versioned = r.version2 || r.date2;
  if (gen_isdir(r.file1)) return directoryMessage(r.file1);
  if (!file1Versioned)
    if (char* message = checkOnDisk(r.file1)) return message;
  std::string file2 = r.file2;
  if (gen_isdir(r.file2)) {
    char* base = gen_basename(r.file1);
    char* joined = gen_sconcat(r.file2, base);
    bool usable = readable(joined) && !gen_isdir(joined);
    if (usable) file2 = joined;
    gen_free(base);
    gen_free(joined);
    if (!usable) return directoryMessage(r.file2);
  }
  if (!file2Versioned)
    if (char* message = checkOnDisk(file2.c_str())) return message;

  DiffViewer::createDiffViewer(r.file1, r.version1, r.date1, file2.c_str(), r.version2,
                               r.date2, r.reuse, r.add, r.options);
  if (r.extra.empty()) return nullptr;
  char* message = gen_copy("Ignoring extra arguments:");
  for (const char* word : r.extra) message = gen_fconcat_sep(message, ' ', word);
  return message;
}

}  // namespace

void DiffViewer::main(int argc, char** argv, const char* fallbackFile, bool reuse,
                      bool add, char** errorText, STPSpecClass* connection,
                      int options) {
  DiffRequest r = diff_ParseRequest(argc, argv, fallbackFile, reuse, add, options);
  CallerNames names(connection, &r);
  char* message = nullptr;
  switch (r.kind) {
    case DiffRequest::NoFile:
      message = gen_copy("error: no file specified to diff");
      break;
    case DiffRequest::OneName:
      message = openOneName(r, names.directory());
      break;
    case DiffRequest::TwoSides:
      message = openTwoSides(r);
      break;
  }
  if (message) {
    if (errorText)
      *errorText = message;
    else
      gen_free(message);
  }
}

DiffViewer* DiffViewer::createDiffViewer(const char* file1, const char* version1,
                                         const char* date1, const char* file2,
                                         const char* version2, const char* date2,
                                         bool reuse, bool add, int options) {
  if ((add || reuse) && last_diffview) {
    last_diffview->loadNewDiff(file1, version1, date1, file2, version2, date2,
                               add ? AddOnly : ShowAndAdd, 0);
    last_diffview->raiseWindow();
    return last_diffview;
  }
  DiffViewer* viewer =
      diffViewerOpeners.openViewer
          ? diffViewerOpeners.openViewer(file1, version1, date1, file2, version2,
                                         date2, options)
          : nullptr;
  if (viewer) {
    last_diffview = viewer;
    viewer->raiseWindow();
  }
  return last_diffview;
}

void DiffViewer::chooseNewDiff(const char* file1, const char* file2, bool reuse,
                               const char* workingDir, int options) {
  if (diffViewerOpeners.openChooser)
    diffViewerOpeners.openChooser(file1, file2, reuse, workingDir, options);
}

void DiffViewer::DiffViewerAdd() {
  if (diffViewerServiceHooks.setPersistent) diffViewerServiceHooks.setPersistent(true);
  _num_viewers_open++;
}

void DiffViewer::DiffViewerRemove() {
  if (--_num_viewers_open == 0 && diffViewerServiceHooks.setPersistent)
    diffViewerServiceHooks.setPersistent(false);
}
