// The backends of the version-control service: one per system (RCS, CVS,
// Git, KVC), each answering the "VersionControl" messages for the files
// it manages, with versions named as the system names them.  The service
// program (vcs_server.h) turns messages into these calls; tests call them
// directly.
//
// File names are absolute (a relative one is taken against the current
// directory).  Every operation returns "" on success or the error text to
// pass back, which is the system's own message where it gave one.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "vc/vc_records.h"

// GetStatusInfo's status_type.
enum VcStatusType : int {
  VC_STATUS_CURRENT = 0,      // the working file is the newest version
  VC_STATUS_MODIFIED = 1,     // changed since it was checked out
  VC_STATUS_UNMANAGED = 2,    // not under version control
  VC_STATUS_OUT_OF_DATE = 3,  // a newer version exists in the repository
  VC_STATUS_ADDED = 4,        // added, not yet committed
  VC_STATUS_REMOVED = 5,      // removed, not yet committed
  VC_STATUS_CONFLICT = 6,     // needs a merge, or anything else unusual
};

struct VcStatus {
  int type = VC_STATUS_UNMANAGED;
  std::string text, localVersion, remoteVersion, tag, lockedBy;
};

// ShowLastEdit: the change that last touched a line range.  postVersion
// made it (empty: the working file's own changes), postLine is where the
// range's first changed line is in it; version is the version before,
// line the place of the change there (both empty/0 when the lines came
// with the first version).
struct VcLastEdit {
  std::string version, postVersion;
  int line = 0, postLine = 0;
};

class VcBackend {
 public:
  virtual ~VcBackend() = default;
  // "RCS", "CVS", "Git" or "KVC".
  virtual const char* name() const = 0;
  // Whether files are edited without locking them first.
  virtual bool optimistic() const { return true; }

  // ---- what each system answers itself ----
  virtual std::string underVC(const std::string& file, bool* yes) = 0;
  // Every version, newest first.
  virtual std::string history(const std::string& file, History_Info* history) = 0;
  virtual std::string fetch(const std::string& file, const std::string& version,
                            std::string* text) = 0;
  virtual std::string fetchAtDate(const std::string& file, const std::string& date,
                                  std::string* text) = 0;
  virtual std::string status(const std::string& file, VcStatus* status) = 0;
  // The name the history uses for `version` (for git: any name git takes).
  virtual std::string canonical(const std::string& file, const std::string& version,
                                std::string* name);
  // What changes whenever the file's history may have changed (the RCS
  // file's identity, git's references and index); "" when the system cannot
  // tell cheaply, and then the history is asked for every time.
  virtual std::string historyStamp(const std::string&) { return ""; }

  // ---- answered from the above ----
  // A versionless name's previous version is the newest; next of the
  // newest is an error.
  std::string previous(const std::string& file, const std::string& version, std::string* out);
  std::string next(const std::string& file, const std::string& version, std::string* out);
  std::string info(const std::string& file, const std::string& version, VersionInfo* info);
  std::string restoreVersion(const std::string& file, const std::string& outname,
                             const std::string& version);
  std::string restoreDate(const std::string& file, const std::string& outname,
                          const std::string& date);
  std::string lastEdit(const std::string& file, int from, int to, const std::string& version,
                       VcLastEdit* edit);
  std::string owner(const std::string& file, std::string* user);

  // ---- changes; unless a system overrides them they answer
  // "<Message> is not supported for <system>" ----
  virtual std::string checkIn(const std::string& file, const std::string& comment,
                              std::string* version);
  virtual std::string checkOut(const std::string& file);
  virtual std::string checkOutVersion(const std::string& file, const std::string& version);
  virtual std::string uncheck(const std::string& file);
  virtual std::string getFile(const std::string& file);
  // AddFilesToVC: scheduled for the next commit where the system has one.
  virtual std::string add(const std::string& file);
  // PlaceFileUnderVC: added and committed as the first version.
  virtual std::string place(const std::string& file, const std::string& comment);
  virtual std::string remove(const std::string& file);
  virtual std::string unremove(const std::string& file, std::string* version);
  virtual std::string commitDirectory(const std::string& dir, const std::string& comment);

 protected:
  std::string unsupported(const char* message) const;

 private:
  // The history, kept per file while its stamp stays the same: stepping
  // through versions asks for neighbours, information and text of one file
  // many times, and each history costs a run of the system's log command.
  std::string keptHistory(const std::string& file, History_Info* history);
  // `version` as the history names it: itself when listed, else canonical.
  std::string nameIn(const History_Info& history, const std::string& file,
                     const std::string& version, std::string* name);
  struct Kept {
    std::string stamp;
    History_Info history;
  };
  std::map<std::string, Kept> kept_;
};

// The backend for a system name as above, or for "" the one that sends
// each file to the system holding it; null for an unknown name.
std::unique_ptr<VcBackend> vcs_MakeBackend(const std::string& system);

// Helpers the backends share.
std::string vcs_Absolute(const std::string& file);
std::string vcs_DirOf(const std::string& file);
std::string vcs_BaseOf(const std::string& file);
// "" when `version` may be handed to a command, else the error text.
std::string vcs_CheckVersionName(const std::string& version);
// Writes `text` to `path`, replacing what it held.
std::string vcs_WriteOut(const std::string& path, const std::string& text);
