// RCS through its own commands.  Files are named to them by absolute
// path, which finds "RCS/<name>,v" beside the file and can never be taken
// for an option.  RCS locks: a file is checked out with a lock before it
// is changed and checked in with "ci -u", which leaves it read-only.
#include <sys/stat.h>

#include "kvc/kvc.h"
#include "vc_service/vc_backend.h"
#include "vc_service/vcs_parts.h"
#include "vc_service/vcs_run.h"

namespace {

class RcsBackend : public VcBackend {
 public:
  const char* name() const override { return "RCS"; }
  bool optimistic() const override { return false; }

  std::string underVC(const std::string& file, bool* yes) override {
    *yes = run({"rlog", "-R", file}, file).ok();
    return "";
  }

  std::string history(const std::string& file, History_Info* h) override {
    std::string head, locker;
    return rlog({"rlog", file}, file, h, &head, &locker);
  }

  // The RCS file is rewritten (a new inode) by every change to it.
  std::string historyStamp(const std::string& file) override {
    std::string stamp = vcs_FileStamp(vcs_DirOf(file) + "/RCS/" + vcs_BaseOf(file) + ",v");
    return stamp.empty() ? vcs_FileStamp(file + ",v") : stamp;
  }

  std::string fetch(const std::string& file, const std::string& version,
                    std::string* text) override {
    return output({"co", "-q", "-p" + version, file}, file, text);
  }

  std::string fetchAtDate(const std::string& file, const std::string& date,
                          std::string* text) override {
    return output({"co", "-q", "-p", "-d" + date, file}, file, text);
  }

  std::string status(const std::string& file, VcStatus* s) override {
    History_Info h;
    std::string head;
    std::string error = rlog({"rlog", "-h", file}, file, &h, &head, &s->lockedBy);
    if (!error.empty()) return error;
    s->localVersion = s->remoteVersion = head;
    const VcsResult diff = run({"rcsdiff", "-q", file}, file);
    if (diff.status != 0 && diff.status != 1) return diff.error();
    s->type = diff.status == 0 ? VC_STATUS_CURRENT : VC_STATUS_MODIFIED;
    s->text = diff.status == 0 ? "Up-to-date" : "Locally Modified";
    return "";
  }

  std::string checkIn(const std::string& file, const std::string& comment,
                      std::string* version) override {
    std::string error = quiet({"ci", "-q", "-u", "-m" + message(comment), file}, file);
    return error.empty() ? headOf(file, version) : error;
  }

  // A lock, and the working file made writable; its text is kept.
  std::string checkOut(const std::string& file) override {
    std::string error = quiet({"rcs", "-q", "-l", file}, file);
    struct stat st;
    if (error.empty() && stat(file.c_str(), &st) == 0) chmod(file.c_str(), st.st_mode | S_IWUSR);
    return error;
  }

  std::string checkOutVersion(const std::string& file, const std::string& version) override {
    const std::string error = vcs_CheckVersionName(version);
    return error.empty() ? quiet({"co", "-q", "-f", "-r" + version, file}, file) : error;
  }

  // The lock given up and the working file back to the head version.
  std::string uncheck(const std::string& file) override {
    std::string error = quiet({"rcs", "-q", "-u", file}, file);
    return error.empty() ? quiet({"co", "-q", "-f", "-u", file}, file) : error;
  }

  std::string getFile(const std::string& file) override {
    return quiet({"co", "-q", "-u", file}, file);
  }

  std::string add(const std::string& file) override { return place(file, ""); }

  std::string place(const std::string& file, const std::string& comment) override {
    mkdir((vcs_DirOf(file) + "/RCS").c_str(), 0777);
    return quiet({"ci", "-q", "-i", "-u", "-t-" + message(comment), file}, file);
  }

 private:
  static std::string message(const std::string& comment) {
    return comment.empty() ? "*** empty log message ***" : comment;
  }
  static VcsResult run(const std::vector<std::string>& argv, const std::string& file) {
    return vcs_Run(argv, vcs_DirOf(file));
  }
  static std::string quiet(const std::vector<std::string>& argv, const std::string& file) {
    const VcsResult r = run(argv, file);
    return r.ok() ? "" : r.error();
  }
  static std::string output(const std::vector<std::string>& argv, const std::string& file,
                            std::string* text) {
    VcsResult r = run(argv, file);
    if (!r.ok()) return r.error();
    *text = std::move(r.out);
    return "";
  }
  static std::string rlog(const std::vector<std::string>& argv, const std::string& file,
                          History_Info* h, std::string* head, std::string* locker) {
    const VcsResult r = run(argv, file);
    if (!r.ok()) return r.error();
    if (!vcs_ParseRlog(r.out, h, head, locker)) return "unreadable output of rlog for " + file;
    return "";
  }
  static std::string headOf(const std::string& file, std::string* version) {
    History_Info h;
    std::string locker;
    return rlog({"rlog", "-h", file}, file, &h, version, &locker);
  }
};

}  // namespace

std::unique_ptr<VcBackend> vcs_MakeRcsBackend() { return std::make_unique<RcsBackend>(); }
