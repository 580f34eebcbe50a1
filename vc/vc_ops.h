// The shape every façade call shares: the module (or the disabled
// message), one message to the file's service, and the error text shown
// through ReportVCError unless the caller is quiet.
#pragma once

#include <string>

#include "vc/vc_module.h"
#include "vc/vc_private.h"

// Sends through `send` for `file`; false after showing the disabled text
// or the service's error (unless `quiet`).
bool vc_Call(const char* file, const char* disabledText, bool quiet,
             const Vorne_VC_Module::Send& send);

// The same for a message whose answer is one text: the answer, or null
// when the call failed or the answer is empty.  A quiet call shows only
// the disabled text.
using vc_TextSend = std::function<bool(VersionControl_Client* client, char** out, char** error,
                                       RetryHandler* handler, TStat* status)>;
char* vc_CallForText(const char* file, const char* disabledText, const vc_TextSend& send,
                     bool quiet = false);

// A text the stubs returned, as a string; the text is freed.
std::string vc_Take(char* text);
// Hands command output to the output sink (standard output when unset).
void vc_Output(const char* text);
