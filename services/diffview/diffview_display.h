// The viewer's side of the diff view service: each connection gets a
// display, which opens, reuses or positions this process's viewer windows
// as requests arrive.  The factory offers the service to the router.
#pragma once

#include <string>
#include <vector>

#include "services/interfaces/DiffView_display_Impl.h"
#include "services/service_factory.h"

class DiffViewer;

class DiffView_Display : public DiffView_display_Impl {
 public:
  DiffView_Display();

  void msg_CreateNewDiffByFilename(const char* left, const char* left_version,
                                   const char* left_date, const char* right,
                                   const char* right_version, const char* right_date,
                                   int reuse, int append, int type, char** error) override;
  void msg_CreateNewDiff(const char* command, const char* current_filename, int reuse,
                         int append, char** error) override;
  void msg_GotoRange(int start, int end) override;
  void msg_ChooseNewDiff(const char* left, const char* right, int reuse, int type) override;

  // Live displays in this process.
  static int _num_displays_open;

 protected:
  ~DiffView_Display() override;

 private:
  DiffViewer* viewer_ = nullptr;  // the last viewer this display created
};

class DiffView_ServiceFactory : public ServiceFactory {
 public:
  DiffView_ServiceFactory();
  STPSpecClass* getService(STPTransport* transport, uint32_t localRN,
                           uint32_t remoteRN) override;
};

// Splits a request string into words: blanks separate words outside
// double quotes; a quote opening a word is dropped and the next quote ends
// its text; a backslash makes the next character ordinary (both stay).  A
// blank after the last word leaves an empty last word.  False for an
// unpaired quote or a backslash at the end ("non-terminated quoted
// string").
bool DiffView_splitCommand(const char* command, std::vector<std::string>* words);

// Lets the viewer resolve callers' names and tell the router whether this
// process must persist.
void DiffView_installViewerHooks();
