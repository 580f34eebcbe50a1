// Git through the git command, run in the file's directory with the file
// as "./<name>" after "--".  Versions are abbreviated commit names along
// the file's history, renames followed; any name git takes for a commit
// is accepted and stands for the last commit at or before it that changed
// the file.
#include "kvc/kvc.h"
#include "vc_service/vc_backend.h"
#include "vc_service/vcs_parts.h"
#include "vc_service/vcs_run.h"

namespace {

// One version in the file's history with the file's path in the tree then.
struct GitVersion {
  History_Info_Item item;
  std::string path;
};

std::string trimmed(const std::string& s) {
  const size_t start = s.find_first_not_of(" \n");
  const size_t end = s.find_last_not_of(" \n");
  return start == std::string::npos ? "" : s.substr(start, end - start + 1);
}

std::vector<std::string> split(const std::string& s, char c) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t at; (at = s.find(c, start)) != std::string::npos; start = at + 1)
    parts.push_back(s.substr(start, at - start));
  parts.push_back(s.substr(start));
  return parts;
}

// A path as git prints it: C-quoted when it holds quotes, backslashes or
// unusual bytes.
// What moves whenever a commit, reset, checkout or fetch may have changed
// a file's history: HEAD, the branch it names, the packed references and
// the index of the repository's own ".git" folder.  A linked work tree (a
// ".git" file) or no repository at all gives no stamp.
std::string gitStamp(const std::string& file) {
  std::string dir = vcs_DirOf(file);
  for (;;) {
    std::string git = dir + "/.git", head, error;
    if (kvc_ReadFile(git + "/HEAD", &head, &error)) {
      std::string stamp = head + vcs_FileStamp(git + "/index") + "|" +
                          vcs_FileStamp(git + "/packed-refs") + "|";
      if (head.rfind("ref: ", 0) == 0) stamp += vcs_FileStamp(git + "/" + trimmed(head.substr(5)));
      return stamp;
    }
    const std::string parent = vcs_DirOf(dir);
    if (!vcs_FileStamp(git).empty() || parent == dir) return "";
    dir = parent;
  }
}

std::string unquoted(const std::string& s) {
  if (s.size() < 2 || s.front() != '"' || s.back() != '"') return s;
  std::string out;
  for (size_t i = 1; i + 1 < s.size(); i++) {
    if (s[i] != '\\' || i + 2 >= s.size()) {
      out += s[i];
    } else if (s[i + 1] >= '0' && s[i + 1] <= '7' && i + 4 < s.size()) {
      out += static_cast<char>(std::stoi(s.substr(i + 1, 3), nullptr, 8));
      i += 3;
    } else {
      const char c = s[++i];
      out += c == 'n' ? '\n' : c == 't' ? '\t' : c;
    }
  }
  return out;
}

class GitBackend : public VcBackend {
 public:
  const char* name() const override { return "Git"; }

  std::string underVC(const std::string& file, bool* yes) override {
    *yes = git(file, {"ls-files", "--error-unmatch"}, true).ok();
    return "";
  }

  std::string historyStamp(const std::string& file) override { return gitStamp(file); }

  std::string history(const std::string& file, History_Info* h) override {
    std::vector<GitVersion> versions;
    std::string error = log(file, &versions);
    for (GitVersion& v : versions) h->items.push_back(std::move(v.item));
    if (!h->items.empty()) h->version = h->items[0].version;
    return error;
  }

  std::string canonical(const std::string& file, const std::string& version,
                        std::string* name) override {
    std::string error = vcs_CheckVersionName(version);
    if (!error.empty()) return error;
    VcsResult r = git(file, {"log", "-1", "--format=%h", version}, true);
    if (r.ok() && !trimmed(r.out).empty()) {
      *name = trimmed(r.out);
      return "";
    }
    r = git(file, {"rev-parse", "--verify", "--quiet", "--short", version + "^{commit}"}, false);
    if (!r.ok() || trimmed(r.out).empty()) return "no version " + version + " of " + file;
    *name = trimmed(r.out);
    return "";
  }

  std::string fetch(const std::string& file, const std::string& version,
                    std::string* text) override {
    VcsResult r = git(file, {"show", version + ":./" + vcs_BaseOf(file)}, false);
    if (!r.ok()) {
      // Before a rename the file had another path.
      std::vector<GitVersion> versions;
      log(file, &versions);
      for (const GitVersion& v : versions)
        if (v.item.version == version && !v.path.empty())
          r = git(file, {"show", version + ":" + v.path}, false);
    }
    if (!r.ok()) return r.error();
    *text = std::move(r.out);
    return "";
  }

  std::string fetchAtDate(const std::string& file, const std::string& date,
                          std::string* text) override {
    const VcsResult r =
        git(file, {"rev-list", "-1", "--abbrev-commit", "--before=" + date, "HEAD"}, true);
    if (!r.ok()) return r.error();
    if (trimmed(r.out).empty()) return "no version of " + file + " at or before " + date;
    return fetch(file, trimmed(r.out), text);
  }

  std::string status(const std::string& file, VcStatus* s) override {
    VcsResult r = git(file, {"status", "--porcelain", "-b"}, true);
    if (!r.ok()) return r.error();
    const std::vector<std::string> lines = split(r.out, '\n');
    if (lines[0].rfind("## ", 0) == 0) s->tag = lines[0].substr(3, lines[0].find("...") - 3);
    const std::string code = lines.size() > 1 ? lines[1].substr(0, 2) : "";
    s->type = code.empty() ? VC_STATUS_CURRENT
              : code == "??" ? VC_STATUS_UNMANAGED
              : code.find('U') != std::string::npos ? VC_STATUS_CONFLICT
              : code[0] == 'A' ? VC_STATUS_ADDED
              : code.find('D') != std::string::npos ? VC_STATUS_REMOVED
                                                     : VC_STATUS_MODIFIED;
    static const char* const texts[] = {"Up-to-date", "Locally Modified", "Unknown",
                                        "Needs Update", "Locally Added", "Locally Removed",
                                        "Conflict"};
    s->text = texts[s->type];
    r = git(file, {"log", "-1", "--format=%h"}, true);
    s->localVersion = s->remoteVersion = trimmed(r.out);
    return "";
  }

  std::string checkIn(const std::string& file, const std::string& comment,
                      std::string* version) override {
    std::string error = quiet(git(file, {"commit", "-q", "-m", message(comment)}, true));
    if (!error.empty()) return error;
    *version = trimmed(git(file, {"log", "-1", "--format=%h"}, true).out);
    return "";
  }

  std::string add(const std::string& file) override {
    return quiet(git(file, {"add"}, true));
  }

  std::string place(const std::string& file, const std::string& comment) override {
    std::string version, error = add(file);
    return error.empty() ? checkIn(file, comment, &version) : error;
  }

  std::string remove(const std::string& file) override {
    return quiet(git(file, {"rm", "-q"}, true));
  }

  std::string unremove(const std::string& file, std::string* version) override {
    std::string error = quiet(git(file, {"reset", "-q", "HEAD"}, true));
    if (error.empty()) error = quiet(git(file, {"checkout", "-q", "HEAD"}, true));
    *version = trimmed(git(file, {"log", "-1", "--format=%h"}, true).out);
    return error;
  }

  std::string commitDirectory(const std::string& dir, const std::string& comment) override {
    return quiet(vcs_Run({"git", "commit", "-q", "-m", message(comment), "--", "."}, dir));
  }

 private:
  static std::string message(const std::string& comment) {
    return comment.empty() ? "(no comment)" : comment;
  }
  static std::string quiet(const VcsResult& r) { return r.ok() ? "" : r.error(); }

  // git ARGS... [-- ./BASE] in the file's directory.
  static VcsResult git(const std::string& file, std::vector<std::string> args, bool withPath) {
    args.insert(args.begin(), "git");
    if (withPath) {
      args.push_back("--");
      args.push_back("./" + vcs_BaseOf(file));
    }
    return vcs_Run(args, vcs_DirOf(file));
  }

  // The file's history, newest first, following renames.
  static std::string log(const std::string& file, std::vector<GitVersion>* versions) {
    const VcsResult r = git(file, {"log", "--follow", "--name-only",
                                   "--format=%x1e%h%x1f%an%x1f%ai%x1f%B%x1f"}, true);
    if (!r.ok()) return r.error();
    for (const std::string& record : split(r.out, '\x1e')) {
      const std::vector<std::string> f = split(record, '\x1f');
      if (f.size() < 5) continue;
      GitVersion v;
      v.item.version = f[0];
      v.item.username = f[1];
      v.item.date = f[2];
      v.item.comments = trimmed(f[3]);
      v.path = unquoted(trimmed(f[4]));
      versions->push_back(std::move(v));
    }
    if (versions->empty()) return file + " has no versions in git";
    return "";
  }
};

}  // namespace

std::unique_ptr<VcBackend> vcs_MakeGitBackend() { return std::make_unique<GitBackend>(); }
