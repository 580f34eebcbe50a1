// The façade's process-wide state: the chosen type, the disabled flag, the
// module, the error reports and their six-deep rule, and the start-up that
// reads the configuration and lets the text model fetch versions.
#include "vc/vc.h"

#include <memory>
#include <vector>

#include "base/gen.h"
#include "config/config.h"
#include "config/config_vars.h"
#include "gui/widgets/alert.h"
#include "gui/widgets/dialog.h"
#include "text/file.h"
#include "vc/vc_private.h"

namespace {

constexpr int kErrorsTooDeep = 6;
constexpr const char* kTooQuickly =
    "Version control has been disabled because errors are occurring in the version \n"
    "control system too quickly. If you reenable version control during this session\n"
    "it will not be disabled again.";
constexpr const char* kPluginDidNotStart =
    "Unable to start version control plugin, disabling version control.";

int vc_whichVC = VC_AUTOMATIC;
bool vc_disabled = true;
std::unique_ptr<Vorne_VC_Module> vc_module;
// Modules let go of while a call waits are deleted once no call does.
std::vector<std::unique_ptr<Vorne_VC_Module>> retired;
int callDepth = 0;
vc_Alert_PT alertSeam = nullptr;
int errorNesting = 0;
bool disabledOnce = false;

bool fetchVersion(const char* expanded, const char* version, const char* date,
                  const char* destination) {
  return version ? vc_RestoreFileToVersion(expanded, destination, version, false)
                 : vc_RestoreFileToDate(expanded, destination, date, false);
}

// A working file that is missing but held by version control: the user
// chooses between checking it out, a read-only copy, and leaving it.
FileMissingAnswer askMissing(const char* expanded, const char* question, const char* title) {
  if (!vc_UnderVC(expanded)) return FILE_NOT_VERSIONED;
  enum { kCheckOut, kCopy, kCancel };
  int answer = gui_ButtonDialog(nullptr, title, question, {"Check Out", "Read-Only Copy", "Cancel"},
                                kCheckOut, kCancel);
  if (answer == kCheckOut) return vc_CheckOutFile(expanded) ? FILE_CHECKOUT : FILE_CANCEL;
  if (answer == kCopy) return vc_GetFile(expanded) ? FILE_COPY : FILE_CANCEL;
  return FILE_CANCEL;
}

// The two options re-run vc_Init when they change after start-up.
int typeSetter(_ConfigOption*, const cfg_Value* value) {
  cfg_vc_type = static_cast<int>(value->number);
  versctrlTypeChanged();
  return 1;
}

int disableSetter(_ConfigOption*, const cfg_Value* value) {
  cfg_vc_disabled = value->number != 0;
  versctrlDisableChanged();
  return 1;
}

void watchOptions() {
  if (_ConfigOption* o = cfg_FindOption("VersionControl")) o->setter = typeSetter;
  if (_ConfigOption* o = cfg_FindOption("VersionControlDisabled")) o->setter = disableSetter;
}

void retireModule() {
  if (vc_module) retired.push_back(std::move(vc_module));
  if (callDepth == 0) retired.clear();
}

}  // namespace

vc_CallScope::vc_CallScope() { ++callDepth; }
vc_CallScope::~vc_CallScope() {
  if (--callDepth == 0) retired.clear();
}

void vc_Alert(const char* text) {
  if (alertSeam) alertSeam(text);
  else gui_Alert(nullptr, text);
}

Vorne_VC_Module* vc_Module() { return vc_disabled ? nullptr : vc_module.get(); }
bool vc_ClearCaseSupport() { return cfg_vc_clearcase; }
void vc_SetAlert(vc_Alert_PT alert) { alertSeam = alert; }

bool Vorne_VC_Module::VCEnabled() { return vc_Module() != nullptr; }

void vc_Init() {
  retireModule();
  watchOptions();
  FileSetVersionFetchHook(fetchVersion);
  FileSetMissingHook(askMissing);
  vc_whichVC = cfg_vc_type;
  vc_disabled = cfg_vc_disabled || vc_whichVC == VC_DISABLED;
  if (vc_disabled) return;
  vc_module = std::make_unique<Vorne_VC_Module>(vc_whichVC);
  if (Vorne_VC_Module::serviceName(vc_whichVC) && !vc_module->hasLiveClient()) {
    vc_Alert(kPluginDidNotStart);
    vc_DisableVersionControl();
  }
}

void vc_Cleanup() {
  retireModule();
  vc_disabled = true;
  FileSetVersionFetchHook(nullptr);
  FileSetMissingHook(nullptr);
}

void versctrlTypeChanged() { vc_Init(); }
void versctrlDisableChanged() { vc_Init(); }

void vc_DisableVersionControl() {
  vc_disabled = true;
  retireModule();
}

// An alert may run the event loop, and errors arriving meanwhile nest.
void ReportVCError(const char* text) {
  if (!text || !*text) return;
  ++errorNesting;
  if (errorNesting >= kErrorsTooDeep && !disabledOnce) {
    disabledOnce = true;
    vc_DisableVersionControl();
    vc_Alert(kTooQuickly);
  } else {
    vc_Alert(text);
  }
  --errorNesting;
}
