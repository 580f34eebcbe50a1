// The version-control façade the viewer asks about files and versions.
// Version control is served by separate tools of the suite, one
// "VersionControl.<System>" service per system; the process-wide module
// (vc_module.h) decides which system manages a file and talks to its
// service.  While version control is disabled every file counts as
// outside it and the queries fail with their "Version control is
// disabled; Can't ..." messages.  Strings returned as char* are new, for
// the caller to gen_free.
#pragma once

#include <string>
#include <vector>

#include "vc/vc_module.h"
#include "vc/vc_records.h"

// The version-control systems, by the number the "VersionControl" option
// takes.  Git is ours, detected by a ".git" entry in the file's directory
// or a parent.
enum VC_TYPE {
  VC_KVC = 0,
  VC_CVS = 1,
  VC_CLEARCASE = 2,
  VC_PVCS = 3,
  VC_RCS = 4,
  VC_AUTOMATIC = 5,
  VC_CVS_VARIANT = 6,
  VC_CUSTOM = 7,
  VC_SOURCESAFE = 8,
  VC_DISABLED = 9,
  VC_GIT = 10,
};

// ---- start, stop and settings ----
// (Re)creates the module for the configured type ("VersionControl",
// "VersionControlDisabled"); a system whose service does not come alive
// disables version control with an alert.  Also lets the text model fetch
// versions through vc_RestoreFileToVersion and vc_RestoreFileToDate, and
// re-runs itself when either option changes later.
void vc_Init();
// Deletes the module (its client lets go of the service).
void vc_Cleanup();
// The option values changed: vc_Init again.
void versctrlTypeChanged();
void versctrlDisableChanged();
// Turns version control off for the rest of the session (until vc_Init).
void vc_DisableVersionControl();
// Where the output of version-control commands goes (null: standard
// output).
using vc_Output_PT = void (*)(const char* text);
void vc_SetOutput(vc_Output_PT sink);
// Shows a file's history (the history window); unset, vc_ShowHistory
// only fetches it.
using vc_HistoryBrowser_PT = void (*)(const char* file, const History_Info& history);
void vc_SetHistoryBrowser(vc_HistoryBrowser_PT browser);
// How alerts are shown; unset, through the toolkit's alert.
using vc_Alert_PT = void (*)(const char* text);
void vc_SetAlert(vc_Alert_PT alert);

// Shows an error text from version control (nothing for an empty one).
// Errors that pile up six deep, each arriving while the alerts of the
// earlier ones are still open, disable version control, once per process.
void ReportVCError(const char* text);

// ---- queries ----
// Whether the file is under version control (false when disabled).
bool vc_UnderVC(const char* file);
// The version's author, date and comment; the error is shown unless
// `quiet`.
bool vc_GetVersionInfo(const char* file, const char* version, VersionInfo* info, bool quiet);
// The neighbouring version name, or null when there is none (the
// service's reason is not shown); a versionless name's previous version
// is the newest checked in.
char* vc_GetPreviousVersion(const char* file, const char* version);
char* vc_GetNextVersion(const char* file, const char* version);
// Writes `version` (or the version current at `date`) of `source` to
// `outname`; with `useCurrentTime` the copy gets the present time.
bool vc_RestoreFileToVersion(const char* source, const char* outname, const char* version,
                             bool useCurrentTime);
bool vc_RestoreFileToDate(const char* source, const char* outname, const char* date,
                          bool useCurrentTime);
// The history of a file, newest version first as the service gives it.
bool vc_GetHistory(const char* file, History_Info* history);
// Opens the history of a file (the custom type runs the configured
// "ShowHistoryCommand" with the file name after it); false when it cannot.
bool vc_ShowHistory(const char* file);
// The last change that touched lines first..last of `file` (of `revision`,
// or of the working file when null): 0 with the versions before and after
// it and the line where it shows, or -1 when it cannot be told.
int vc_ShowLastEdit(const char* file, int first, int last, const char* revision,
                    char** version1, char** version2, int* line);

struct VCStatus {
  int type = 0;
  std::string text, localVersion, remoteVersion, tag, lockedBy;
};
bool vc_GetStatusInfo(const char* file, VCStatus* status);
char* vc_GetUserWhoOwnsFile(const char* file);
char* vc_GetVCUsername(const char* file);
char* vc_GetCommentTemplate(const char* file);
// Runs a command of the system that manages `file`; its output goes to
// the output sink.
bool vc_Other(const char* file, const char* command);

// ---- changes ----
bool vc_CheckOutFile(const char* file);
bool vc_CheckOutFileByVersion(const char* file, const char* version);
bool vc_CheckOutFiles(const std::vector<std::string>& files);
bool vc_UncheckFile(const char* file);
bool vc_GetFile(const char* file);
// *newVersion (may be null) gets the version the check-in made.
bool vc_CheckInFile(const char* file, const char* comments, char** newVersion);
bool vc_PlaceFileUnderVC(const char* file, bool forced, const char* comments);
bool vc_AddFilesToVC(const std::vector<std::string>& files);
bool vc_RemoveFiles(const std::vector<std::string>& files);
bool vc_UnremoveFiles(const std::vector<std::string>& files);
bool vc_CommitFiles(const std::vector<std::string>& files, const char* comments);
bool vc_CommitDirectories(const std::vector<std::string>& directories, const char* comments);

// The type of a list of checkout directories (blanks or path separators
// between them): each must give the same one; -1 with an alert when they
// differ.
int vc_TypeOfCheckouts(const char* directories);
