// The "VersionControl" service without a system in its name: each file
// goes to the system that holds it.  The file's own marks come first (a
// CVS "Entries" line, a KVC log, an RCS file, then git tracking it), then
// its folder's (a CVS folder, a kvc.log folder, an RCS folder, a git work
// tree); a file in a plain folder is KVC's.
#include <sys/stat.h>

#include "kvc/kvc.h"
#include "vc_service/vc_backend.h"
#include "vc_service/vcs_parts.h"
#include "vc_service/vcs_run.h"

namespace {

bool exists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

class DetectingBackend : public VcBackend {
 public:
  const char* name() const override { return "VersionControl"; }

  std::string underVC(const std::string& f, bool* yes) override { return of(f)->underVC(f, yes); }
  std::string history(const std::string& f, History_Info* h) override {
    return of(f)->history(f, h);
  }
  std::string fetch(const std::string& f, const std::string& v, std::string* text) override {
    return of(f)->fetch(f, v, text);
  }
  std::string historyStamp(const std::string& f) override {
    VcBackend* b = of(f);
    std::string stamp = b->historyStamp(f);
    if (stamp.empty()) return "";
    std::string named = b->name();
    named += ' ';
    named += stamp;
    return named;
  }
  std::string fetchAtDate(const std::string& f, const std::string& d,
                          std::string* text) override {
    return of(f)->fetchAtDate(f, d, text);
  }
  std::string status(const std::string& f, VcStatus* s) override { return of(f)->status(f, s); }
  std::string canonical(const std::string& f, const std::string& v, std::string* n) override {
    return of(f)->canonical(f, v, n);
  }
  std::string checkIn(const std::string& f, const std::string& c, std::string* v) override {
    return of(f)->checkIn(f, c, v);
  }
  std::string checkOut(const std::string& f) override { return of(f)->checkOut(f); }
  std::string checkOutVersion(const std::string& f, const std::string& v) override {
    return of(f)->checkOutVersion(f, v);
  }
  std::string uncheck(const std::string& f) override { return of(f)->uncheck(f); }
  std::string getFile(const std::string& f) override { return of(f)->getFile(f); }
  std::string add(const std::string& f) override { return of(f)->add(f); }
  std::string place(const std::string& f, const std::string& c) override {
    return of(f)->place(f, c);
  }
  std::string remove(const std::string& f) override { return of(f)->remove(f); }
  std::string unremove(const std::string& f, std::string* v) override {
    return of(f)->unremove(f, v);
  }
  std::string commitDirectory(const std::string& d, const std::string& c) override {
    return ofFolder(d)->commitDirectory(d, c);
  }

 private:
  VcBackend* of(const std::string& file) {
    const std::string dir = vcs_DirOf(file), base = vcs_BaseOf(file);
    std::string entries, error;
    if (kvc_ReadFile(dir + "/CVS/Entries", &entries, &error) &&
        ("\n" + entries).find("\n/" + base + "/") != std::string::npos)
      return cvs_.get();
    if (kvc_HasLog(file)) return kvc_.get();
    if (exists(dir + "/RCS/" + base + ",v")) return rcs_.get();
    bool tracked = false;
    git_->underVC(file, &tracked);
    return tracked ? git_.get() : ofFolder(dir);
  }
  VcBackend* ofFolder(const std::string& dir) {
    if (exists(dir + "/CVS/Entries")) return cvs_.get();
    if (exists(dir + "/kvc.log")) return kvc_.get();
    if (exists(dir + "/RCS")) return rcs_.get();
    if (vcs_Run({"git", "rev-parse", "--is-inside-work-tree"}, dir).ok()) return git_.get();
    return kvc_.get();
  }

  std::unique_ptr<VcBackend> kvc_ = vcs_MakeKvcBackend(), cvs_ = vcs_MakeCvsBackend(),
                             rcs_ = vcs_MakeRcsBackend(), git_ = vcs_MakeGitBackend();
};

}  // namespace

std::unique_ptr<VcBackend> vcs_MakeDetectingBackend() {
  return std::make_unique<DetectingBackend>();
}
