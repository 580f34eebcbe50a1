// KVC, the suite's own store, served in this process through the kvc
// library.  A file without a log is not under version control; checking
// it in makes version 1.
#include "kvc/kvc.h"
#include "vc_service/vc_backend.h"
#include "vc_service/vcs_parts.h"

namespace {

bool parseVersion(const std::string& version, int* number) {
  if (version.empty() || version.size() > 9) return false;
  for (char c : version)
    if (c < '0' || c > '9') return false;
  *number = std::stoi(version);
  return *number > 0;
}

class KvcBackend : public VcBackend {
 public:
  const char* name() const override { return "KVC"; }

  std::string underVC(const std::string& file, bool* yes) override {
    *yes = kvc_HasLog(file);
    return "";
  }

  std::string history(const std::string& file, History_Info* h) override {
    std::string error;
    std::unique_ptr<KvcLog> log = KvcLog::readFor(file, &error);
    if (!log) return error;
    for (auto v = log->versions().rbegin(); v != log->versions().rend(); ++v)
      h->items.push_back(History_Info_Item{std::to_string(v->number), kvc_FormatDate(v->date),
                                           v->author, v->comment, {}, false});
    h->version = std::to_string(log->head());
    return "";
  }

  std::string canonical(const std::string& file, const std::string& version,
                        std::string* name) override {
    int number = 0;
    if (!parseVersion(version, &number)) return "no version " + version + " of " + file;
    *name = std::to_string(number);
    return "";
  }

  std::string fetch(const std::string& file, const std::string& version,
                    std::string* text) override {
    int number = 0;
    if (!parseVersion(version, &number)) return "no version " + version + " of " + file;
    std::string error;
    return kvc_Fetch(file, number, 0, text, &error) ? "" : error;
  }

  std::string fetchAtDate(const std::string& file, const std::string& date,
                          std::string* text) override {
    int64_t when = 0;
    if (!kvc_ParseDate(date, &when)) return "cannot read the date \"" + date + "\"";
    std::string error;
    return kvc_Fetch(file, 0, when, text, &error) ? "" : error;
  }

  std::string status(const std::string& file, VcStatus* s) override {
    std::string error, head, text;
    if (!kvc_HasLog(file)) {
      s->text = "Unknown";
      return "";
    }
    std::unique_ptr<KvcLog> log = KvcLog::readFor(file, &error);
    if (!log || !log->text(log->head(), &head, &error)) return error;
    const bool same = kvc_ReadFile(file, &text, &error) && text == head;
    s->type = same ? VC_STATUS_CURRENT : VC_STATUS_MODIFIED;
    s->text = same ? "Up-to-date" : "Locally Modified";
    s->localVersion = s->remoteVersion = std::to_string(log->head());
    return "";
  }

  std::string checkIn(const std::string& file, const std::string& comment,
                      std::string* version) override {
    std::string error;
    int number = 0;
    if (!kvc_HasLog(file)) return file + " is not under version control";
    if (!kvc_CheckIn(file, comment, &number, &error)) return error;
    *version = std::to_string(number);
    return "";
  }

  std::string add(const std::string& file) override { return place(file, ""); }

  std::string place(const std::string& file, const std::string& comment) override {
    if (kvc_HasLog(file)) return file + " is already under version control";
    std::string error;
    int number = 0;
    return kvc_CheckIn(file, comment, &number, &error) ? "" : error;
  }
};

}  // namespace

std::unique_ptr<VcBackend> vcs_MakeKvcBackend() { return std::make_unique<KvcBackend>(); }

std::unique_ptr<VcBackend> vcs_MakeBackend(const std::string& system) {
  if (system == "KVC") return vcs_MakeKvcBackend();
  if (system == "RCS") return vcs_MakeRcsBackend();
  if (system == "CVS") return vcs_MakeCvsBackend();
  if (system == "Git") return vcs_MakeGitBackend();
  if (system.empty()) return vcs_MakeDetectingBackend();
  return nullptr;
}
