// What the façade's files share inside vc/: the alert every message goes
// through, the process-wide module and the settings read at vc_Init.
#pragma once

class Vorne_VC_Module;

// Shows `text` through the alert seam (the toolkit's alert by default).
void vc_Alert(const char* text);
// The module, or null while version control is disabled.
Vorne_VC_Module* vc_Module();
// Whether detection may ask ClearCase ("ClearCaseSupport").
bool vc_ClearCaseSupport();

// Held by every façade call: a module retired while the call waits (the
// windows stay alive meanwhile) is deleted only after the call.
struct vc_CallScope {
  vc_CallScope();
  ~vc_CallScope();
  vc_CallScope(const vc_CallScope&) = delete;
  vc_CallScope& operator=(const vc_CallScope&) = delete;
};
