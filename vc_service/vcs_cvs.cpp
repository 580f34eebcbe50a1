// CVS through the cvs command, run in the file's directory of a checkout
// (whose CVS/Root names the repository) with the base name after "--".
// CVS does not lock: files are edited freely and committed.
#include <sstream>

#include "kvc/kvc.h"
#include "vc_service/vc_backend.h"
#include "vc_service/vcs_parts.h"
#include "vc_service/vcs_run.h"

namespace {

// The text after "<key>" on the line holding it, up to a tab or the end.
std::string after(const std::string& text, const std::string& key) {
  const size_t at = text.find(key);
  if (at == std::string::npos) return "";
  size_t start = text.find_first_not_of(" \t", at + key.size());
  if (start == std::string::npos) return "";
  const size_t end = text.find_first_of("\t\n", start);
  return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

int statusType(const std::string& s) {
  if (s == "Up-to-date") return VC_STATUS_CURRENT;
  if (s == "Locally Modified") return VC_STATUS_MODIFIED;
  if (s == "Unknown") return VC_STATUS_UNMANAGED;
  if (s == "Needs Patch" || s == "Needs Checkout") return VC_STATUS_OUT_OF_DATE;
  if (s == "Locally Added") return VC_STATUS_ADDED;
  if (s == "Locally Removed") return VC_STATUS_REMOVED;
  return VC_STATUS_CONFLICT;
}

class CvsBackend : public VcBackend {
 public:
  const char* name() const override { return "CVS"; }

  std::string underVC(const std::string& file, bool* yes) override {
    std::string entries, error;
    *yes = false;
    if (!kvc_ReadFile(vcs_DirOf(file) + "/CVS/Entries", &entries, &error)) return "";
    *yes = ("\n" + entries).find("\n/" + vcs_BaseOf(file) + "/") != std::string::npos;
    return "";
  }

  std::string history(const std::string& file, History_Info* h) override {
    const VcsResult r = cvs(file, {"log"});
    if (!r.ok()) return r.error();
    std::string head, locker;
    if (!vcs_ParseRlog(r.out, h, &head, &locker)) return "unreadable output of cvs log for " + file;
    return "";
  }

  std::string fetch(const std::string& file, const std::string& version,
                    std::string* text) override {
    return output(cvs(file, {"update", "-p", "-r", version}), text,
                  "no version " + version + " of " + file);
  }

  std::string fetchAtDate(const std::string& file, const std::string& date,
                          std::string* text) override {
    return output(cvs(file, {"update", "-p", "-D", date}), text,
                  "no version of " + file + " at or before " + date);
  }

  std::string status(const std::string& file, VcStatus* s) override {
    const VcsResult r = cvs(file, {"status"});
    if (!r.ok()) return r.error();
    s->text = after(r.out, "Status:");
    if (s->text.empty()) return "unreadable output of cvs status for " + file;
    s->type = statusType(s->text);
    s->localVersion = after(r.out, "Working revision:");
    s->remoteVersion = after(r.out, "Repository revision:");
    s->tag = after(r.out, "Sticky Tag:");
    if (s->tag == "(none)") s->tag.clear();
    if (s->localVersion.rfind("No entry", 0) == 0) s->localVersion.clear();
    if (s->remoteVersion.rfind("No revision", 0) == 0) s->remoteVersion.clear();
    return "";
  }

  std::string checkIn(const std::string& file, const std::string& comment,
                      std::string* version) override {
    const VcsResult r = cvs(file, {"commit", "-m", message(comment)});
    if (!r.ok()) return r.error();
    VcStatus s;
    std::string error = status(file, &s);
    *version = s.localVersion;
    return error;
  }

  std::string getFile(const std::string& file) override { return quiet(cvs(file, {"update"})); }
  std::string add(const std::string& file) override { return quiet(cvs(file, {"add"})); }

  std::string place(const std::string& file, const std::string& comment) override {
    std::string version, error = add(file);
    return error.empty() ? checkIn(file, comment, &version) : error;
  }

  std::string remove(const std::string& file) override {
    return quiet(cvs(file, {"remove", "-f"}));
  }

  std::string unremove(const std::string& file, std::string* version) override {
    std::string error = quiet(cvs(file, {"add"}));
    VcStatus s;
    if (error.empty()) error = status(file, &s);
    *version = s.localVersion;
    return error;
  }

  std::string commitDirectory(const std::string& dir, const std::string& comment) override {
    return quiet(vcs_Run({"cvs", "-q", "commit", "-m", message(comment)}, dir));
  }

 private:
  static std::string message(const std::string& comment) {
    return comment.empty() ? "*** empty log message ***" : comment;
  }
  // cvs -q COMMAND ARGS... -- BASE in the file's directory.
  static VcsResult cvs(const std::string& file, std::vector<std::string> args) {
    args.insert(args.begin(), {"cvs", "-q"});
    args.push_back("--");
    args.push_back(vcs_BaseOf(file));
    return vcs_Run(args, vcs_DirOf(file));
  }
  static std::string quiet(const VcsResult& r) { return r.ok() ? "" : r.error(); }
  // For a version or date it does not have, cvs update -p prints nothing,
  // exits with 0 and says on its error output that the file "is no longer
  // in the repository"; `missing` says it better.
  static std::string output(VcsResult r, std::string* text, const std::string& missing) {
    if (!r.ok()) return r.error();
    if (r.out.empty() && !r.err.empty()) return missing;
    *text = std::move(r.out);
    return "";
  }
};

}  // namespace

std::unique_ptr<VcBackend> vcs_MakeCvsBackend() { return std::make_unique<CvsBackend>(); }
