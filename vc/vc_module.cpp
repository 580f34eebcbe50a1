// The dispatcher: which service a file's questions go to, the client
// connected to it, and the steps every call takes.
#include "vc/vc_module.h"

#include "base/gen.h"
#include "libs/stp_transport/tstat.h"
#include "services/windlib/windlib.h"
#include "vc/vc.h"
#include "vc/vc_client.h"
#include "vc/vc_detect.h"
#include "vc/vc_private.h"

namespace {

constexpr long kCallMs = 60000;
constexpr const char* kNoClient =
    "Unable to start version control client. Version control operations will not work.";
constexpr const char* kTransportFailed =
    "Failed to complete version control operation, disabling version control";

// Optimistic systems take no locks: what a detected type implies when no
// service has been asked.
bool optimisticType(int type) { return type == VC_CVS || type == VC_CVS_VARIANT || type == VC_GIT; }

}  // namespace

const char* Vorne_VC_Module::serviceName(int type) {
  switch (type) {
    case VC_KVC: return "VersionControl.KVC";
    case VC_CVS: return "VersionControl.CVS";
    case VC_CLEARCASE: return "VersionControl.ClearCase";
    case VC_PVCS: return "VersionControl.PVCS";
    case VC_RCS: return "VersionControl.RCS";
    case VC_CVS_VARIANT: return "VersionControl.CVS";
    case VC_CUSTOM: return "VersionControl.Custom";
    case VC_SOURCESAFE: return "VersionControl.SourceSafe";
    case VC_GIT: return "VersionControl.Git";
    default: return nullptr;
  }
}

Vorne_VC_Module::Vorne_VC_Module(int type) : configured_(type) {
  if (serviceName(type)) connect(type, true);
}

Vorne_VC_Module::~Vorne_VC_Module() { dropClient(); }

bool Vorne_VC_Module::hasLiveClient() const { return client_ && client_->isAlive(); }

bool Vorne_VC_Module::connect(int type, bool alertOnFailure) {
  dropClient();
  active_ = type;
  if (failed_.count(type)) return false;
  client_ = VersionControl_Client::getVersionControl_Client(serviceName(type));
  if (!client_) {
    failed_.insert(type);
    if (alertOnFailure) vc_Alert(kNoClient);
    return false;
  }
  retry_ = std::make_shared<ConnWindLibRetryHandler>(
      client_, kCallMs, "Version control operation has still not finished");
  return true;
}

// The next call in automatic detection connects afresh.
void Vorne_VC_Module::dropClient() {
  VersionControl_Client::release(client_);
  client_ = nullptr;
  retry_.reset();
  if (configured_ == VC_AUTOMATIC) active_ = -1;
}

// Automatic detection moves to the file's system; the active type keeps
// its client.  A system whose service is missing just fails its files'
// questions: files in a work tree nobody serves are compared on disk,
// without an alert for each.
bool Vorne_VC_Module::switchFor(const char* file) {
  if (configured_ != VC_AUTOMATIC) return true;
  if (!file || !*file) return false;
  const int type = vc_DetectType(file, vc_ClearCaseSupport());
  if (type == active_ && client_) return true;
  return connect(type, false);
}

bool Vorne_VC_Module::FileIsInVC(const char* file) {
  if (configured_ == VC_AUTOMATIC) {
    const int type = vc_DetectStrict(file, vc_ClearCaseSupport());
    if (type < 0) return false;
    VersionControl_Client::SetVCOptimistic(optimisticType(type));
    if (type != VC_GIT) return true;
  }
  int result = 0;
  std::string error;
  return call(file, &error, [&](VersionControl_Client* c, char** e, RetryHandler* h, TStat* s) {
           return c->send_FileIsUnderVC(file, &result, e, h, s);
         }) &&
         result != 0;
}

bool Vorne_VC_Module::call(const char* file, std::string* error, const Send& send) {
  error->clear();
  if (!switchFor(file) || !hasLiveClient()) return false;
  // A call waits with the windows alive: the client and the handler must
  // outlive whatever the wait does to the module.
  VersionControl_Client* client = client_;
  std::shared_ptr<RetryHandler> handler = retry_;
  client->addRef();
  TStat status;
  char* text = nullptr;
  const bool sent = send(client, &text, handler.get(), &status);
  const bool dropped = !sent || !status.ok();
  client->delRef();
  if (dropped) {
    gen_free(text);
    vc_Alert(kTransportFailed);
    if (client == client_) dropClient();
    return false;
  }
  const bool failed = text && *text;
  if (failed) *error = text;
  gen_free(text);
  return !failed;
}
