// The generated server endpoint filled in: each message's names resolved,
// the backend asked, its answer put into the reply fields and any error
// text into error_string.
#include "vc_service/vcs_server.h"

#include "base/gen.h"
#include "kvc/kvc.h"
#include "services/servicerouter_proxy.h"
#include "vc/VersionControl_server_Impl.h"
#include "vc_service/vc_backend.h"

namespace {

void put(char** out, const std::string& text) { *out = gen_copy(text.c_str()); }

// Leaves error_string unset on success.
void fail(char** error, const std::string& text) {
  if (!text.empty()) put(error, text);
}

class VcsServer : public VersionControl_server_Impl {
 public:
  explicit VcsServer(VcBackend* backend) : b_(backend) {}

 private:
  // A name from the message, absolute.
  std::string path(const char* name) {
    if (!name || !*name) return "";
    char* resolved = ServiceRouter_Proxy::resolveConRelFilename(this, name, nullptr);
    std::string out = vcs_Absolute(resolved ? resolved : name);
    gen_free(resolved);
    return out;
  }
  static std::string text(const char* s) { return s ? s : ""; }

  // The same operation on every file; the first error is answered, the
  // others are only counted so that one bad name does not stop the rest.
  template <typename Op>
  std::string each(const std::vector<std::string>& names, Op op) {
    std::string first;
    int failures = 0;
    for (const std::string& n : names) {
      const std::string error = op(path(n.c_str()));
      if (error.empty()) continue;
      if (failures++ == 0) first = error;
    }
    if (failures > 1) first += " (and " + std::to_string(failures - 1) + " more failed)";
    return first;
  }

  void msg_FileIsUnderVC(const char* filename, int* result, char** error) override {
    bool yes = false;
    fail(error, b_->underVC(path(filename), &yes));
    *result = yes ? 1 : 0;
  }
  void msg_GetPreviousVersionForFile(const char* filename, const char* version, char** out,
                                     char** error) override {
    std::string v;
    fail(error, b_->previous(path(filename), text(version), &v));
    put(out, v);
  }
  void msg_GetNextVersionForFile(const char* filename, const char* version, char** out,
                                 char** error) override {
    std::string v;
    fail(error, b_->next(path(filename), text(version), &v));
    put(out, v);
  }
  void msg_GetVersionInfo(const char* filename, const char* version, VersionInfo* info,
                          char** error) override {
    fail(error, b_->info(path(filename), text(version), info));
  }
  void msg_RestoreFileToVersion(const char* source, const char* outname, const char* version,
                                int, char** error) override {
    fail(error, b_->restoreVersion(path(source), path(outname), text(version)));
  }
  void msg_RestoreFileToDate(const char* source, const char* outname, const char* date, int,
                             char** error) override {
    fail(error, b_->restoreDate(path(source), path(outname), text(date)));
  }
  void msg_ShowHistory(const char* filename, History_Info* history, char** error) override {
    const std::string file = path(filename);
    fail(error, b_->history(file, history));
    VcStatus s;
    if (b_->status(file, &s).empty()) {
      history->file_is_modified = s.type == VC_STATUS_MODIFIED;
      history->status = s.text;
      history->tag = s.tag;
    }
    for (const History_Info_Item& item : history->items)
      history->display_tags = history->display_tags || !item.tags.empty();
  }
  void msg_ShowLastEdit(const char* filename, int from, int to, const char* theversion,
                        char** version, int* lineno, char** postver, int* postlineno,
                        int* ret_val, char** error) override {
    VcLastEdit e;
    const std::string why = b_->lastEdit(path(filename), from, to, text(theversion), &e);
    fail(error, why);
    put(version, e.version);
    put(postver, e.postVersion);
    *lineno = e.line;
    *postlineno = e.postLine;
    *ret_val = why.empty() ? 0 : -1;
  }
  void msg_GetStatusInfo(const char* filename, int* type, char** statusText, char** local,
                         char** remote, char** tag, char** lockedBy, char** error) override {
    VcStatus s;
    fail(error, b_->status(path(filename), &s));
    *type = s.type;
    put(statusText, s.text), put(local, s.localVersion), put(remote, s.remoteVersion);
    put(tag, s.tag), put(lockedBy, s.lockedBy);
  }
  void msg_CheckInFile(const char* filename, const char* comments, char** version,
                       char** error) override {
    std::string v;
    fail(error, b_->checkIn(path(filename), text(comments), &v));
    put(version, v);
  }
  void msg_CheckOutFile(const char*, const char* filename, char** error) override {
    fail(error, b_->checkOut(path(filename)));
  }
  void msg_CheckOutFileByVersion(const char* filename, const char* version,
                                 char** error) override {
    fail(error, b_->checkOutVersion(path(filename), text(version)));
  }
  void msg_CheckOutFiles(const std::vector<std::string>& names, char** error) override {
    fail(error, each(names, [&](const std::string& f) { return b_->checkOut(f); }));
  }
  void msg_UncheckFile(const char*, const char* filename, char** error) override {
    fail(error, b_->uncheck(path(filename)));
  }
  void msg_GetFile(const char* filename, char** error) override {
    fail(error, b_->getFile(path(filename)));
  }
  void msg_AddFilesToVC(const std::vector<std::string>& names, char** error) override {
    fail(error, each(names, [&](const std::string& f) { return b_->add(f); }));
  }
  void msg_PlaceFileUnderVC(const char* filename, int, const char* comments,
                            char** error) override {
    fail(error, b_->place(path(filename), text(comments)));
  }
  void msg_RemoveFiles(const std::vector<std::string>& names, char** error) override {
    fail(error, each(names, [&](const std::string& f) { return b_->remove(f); }));
  }
  void msg_UnremoveFiles(const std::vector<std::string>& names, std::vector<std::string>* versions,
                         char** error) override {
    fail(error, each(names, [&](const std::string& f) {
           std::string v;
           const std::string why = b_->unremove(f, &v);
           versions->push_back(v);
           return why;
         }));
  }
  void msg_CommitFiles(const std::vector<std::string>& names, const char* comments,
                       std::vector<std::string>* versions, char** error) override {
    fail(error, each(names, [&](const std::string& f) {
           std::string v;
           const std::string why = b_->checkIn(f, text(comments), &v);
           versions->push_back(v);
           return why;
         }));
  }
  void msg_CommitDirectories(const std::vector<std::string>& dirs, const char* comments,
                             char** error) override {
    fail(error, each(dirs, [&](const std::string& d) {
           return b_->commitDirectory(d, text(comments));
         }));
  }
  void msg_ExecuteCommandString(const char*, char** output, char** error) override {
    put(output, "");
    fail(error, std::string("ExecuteCommandString is not supported for ") + b_->name());
  }
  void msg_GetCommentTemplateForFile(const char*, char** comment, char**) override {
    put(comment, "");
  }
  void msg_GetUserWhoOwnsFile(const char* filename, char** user, char** error) override {
    std::string u;
    fail(error, b_->owner(path(filename), &u));
    put(user, u);
  }
  void msg_GetVCUsername(char** user, char**) override { put(user, kvc_Username()); }
  void msg_IsVCOptimistic(int* optimistic, char**) override {
    *optimistic = b_->optimistic() ? 1 : 0;
  }

  VcBackend* b_;
};

}  // namespace

VcsServiceFactory::VcsServiceFactory(const std::string& system)
    : ServiceFactory(("VersionControl" + (system.empty() ? "" : "." + system)).c_str(), -1,
                     true),
      backend_(vcs_MakeBackend(system)) {}

VcsServiceFactory::~VcsServiceFactory() = default;

STPSpecClass* VcsServiceFactory::getService(STPTransport* transport, uint32_t localRN,
                                            uint32_t remoteRN) {
  auto* server = new VcsServer(backend_.get());
  server->setTransport(transport, localRN, remoteRN);
  return server;
}
