// DiffViewer: the static entry points through which every comparison
// request arrives (command line, or another tool through the diff view
// service), and the abstract interface of a viewer window.
#pragma once

class STPSpecClass;

// The comparison option bits (1 "-w", 2 "-b", 4 "-lang=c", 8 "-i") are
// the engine's, declared in diff/diff.h; they travel unchanged from the
// request to the engine.

class DiffViewer {
 public:
  // How loadNewDiff treats the window's comparison list.
  enum loadType {
    ShowOnly = 0,    // show the pair, not added (the list itself uses this)
    ShowAndAdd = 1,  // show the pair and add it to the list
    AddOnly = 2,     // only add it to the list
  };

  virtual void gotoRange(int index) = 0;
  virtual void raiseWindow() = 0;
  virtual void loadNewDiff(const char* file1, const char* version1, const char* date1,
                           const char* file2, const char* version2, const char* date2,
                           loadType type, int flags) = 0;
  virtual ~DiffViewer() = default;

  // Parses one request (the arguments after the program name) and opens or
  // reuses a viewer, or opens the file chooser.  argv is filtered in place.
  // On failure *errorText receives a new message for the caller to report
  // and free; it is left untouched on success.  `connection` is set when
  // the request came from another tool, whose working directory then
  // resolves relative names.
  static void main(int argc, char** argv, const char* fallbackFile, bool reuse,
                   bool add, char** errorText, STPSpecClass* connection,
                   int options);

  // Loads the pair into the last viewer (reuse or add) or opens a new one.
  // Returns the last viewer that opened, or null.
  static DiffViewer* createDiffViewer(const char* file1, const char* version1,
                                      const char* date1, const char* file2,
                                      const char* version2, const char* date2,
                                      bool reuse, bool add, int options);

  // Opens the file chooser pre-filled with the two names.
  static void chooseNewDiff(const char* file1, const char* file2, bool reuse,
                            const char* workingDir, int options);

  // Every viewer window and chooser counts itself in and out here; the
  // process must persist while the count is positive.
  static void DiffViewerAdd();
  static void DiffViewerRemove();
  static int numViewersOpen() { return _num_viewers_open; }

 private:
  static int _num_viewers_open;
};

// The most recently created viewer whose window opened; null at start.
extern DiffViewer* last_diffview;
