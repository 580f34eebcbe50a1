// The common steps of the façade's calls, the output sink, and the
// changes (check-out, check-in and their family), which differ only in
// their message.
#include "vc/vc_ops.h"

#include <cstdio>

#include "base/gen.h"
#include "vc/vc.h"
#include "vc/vc_client.h"

using VC = VersionControl_Client;

namespace {

vc_Output_PT outputSink = nullptr;

const char* firstOf(const std::vector<std::string>& files) {
  return files.empty() ? nullptr : files.front().c_str();
}

}  // namespace

void vc_SetOutput(vc_Output_PT sink) { outputSink = sink; }

void vc_Output(const char* text) {
  if (!text || !*text) return;
  if (outputSink) outputSink(text);
  else fputs(text, stdout);
}

std::string vc_Take(char* text) {
  std::string s = text ? text : "";
  gen_free(text);
  return s;
}

bool vc_Call(const char* file, const char* disabledText, bool quiet,
             const Vorne_VC_Module::Send& send) {
  Vorne_VC_Module* m = vc_Module();
  if (!m) {
    if (!quiet) ReportVCError(disabledText);
    return false;
  }
  vc_CallScope scope;
  std::string error;
  if (m->call(file, &error, send)) return true;
  if (!quiet) ReportVCError(error.c_str());
  return false;
}

char* vc_CallForText(const char* file, const char* disabledText, const vc_TextSend& send,
                     bool quiet) {
  if (quiet && !vc_Module()) ReportVCError(disabledText);
  char* out = nullptr;
  const bool ok = vc_Call(file, disabledText, quiet,
                          [&](VC* c, char** e, RetryHandler* h, TStat* s) {
                            return send(c, &out, e, h, s);
                          });
  if (ok && out && *out) return out;
  gen_free(out);
  return nullptr;
}

// ---- changes ----

bool vc_CheckOutFile(const char* file) {
  return vc_Call(file, "Version control is disabled; Can't check out file", false,
                 [&](VC* c, char** e, RetryHandler* h, TStat* s) {
                   return c->send_CheckOutFile(gen_getusername(), file, e, h, s);
                 });
}

bool vc_CheckOutFileByVersion(const char* file, const char* version) {
  return vc_Call(file, "Version control is disabled; Can't check out file", false,
                 [&](VC* c, char** e, RetryHandler* h, TStat* s) {
                   return c->send_CheckOutFileByVersion(file, version, e, h, s);
                 });
}

bool vc_CheckOutFiles(const std::vector<std::string>& files) {
  return vc_Call(firstOf(files), "Version control is disabled; Can't check out files", false,
                 [&](VC* c, char** e, RetryHandler* h, TStat* s) {
                   return c->send_CheckOutFiles(files, e, h, s);
                 });
}

bool vc_UncheckFile(const char* file) {
  return vc_Call(file, "Version control is disabled; Can't undo check out", false,
                 [&](VC* c, char** e, RetryHandler* h, TStat* s) {
                   return c->send_UncheckFile(gen_getusername(), file, e, h, s);
                 });
}

bool vc_GetFile(const char* file) {
  return vc_Call(file, "Version control is disabled; Can't get file", false,
                 [&](VC* c, char** e, RetryHandler* h, TStat* s) {
                   return c->send_GetFile(file, e, h, s);
                 });
}

bool vc_CheckInFile(const char* file, const char* comments, char** newVersion) {
  char* made = nullptr;
  const bool ok = vc_Call(file, "Version control is disabled; Can't check in file", false,
                          [&](VC* c, char** e, RetryHandler* h, TStat* s) {
                            return c->send_CheckInFile(file, comments, &made, e, h, s);
                          });
  if (newVersion) *newVersion = made;
  else gen_free(made);
  return ok;
}

bool vc_PlaceFileUnderVC(const char* file, bool forced, const char* comments) {
  return vc_Call(file, "Version control is disabled; Can't place file under version control",
                 false, [&](VC* c, char** e, RetryHandler* h, TStat* s) {
                   return c->send_PlaceFileUnderVC(file, forced, comments, e, h, s);
                 });
}

bool vc_AddFilesToVC(const std::vector<std::string>& files) {
  return vc_Call(firstOf(files), "Version control is disabled; Can't add files", false,
                 [&](VC* c, char** e, RetryHandler* h, TStat* s) {
                   return c->send_AddFilesToVC(files, e, h, s);
                 });
}

bool vc_RemoveFiles(const std::vector<std::string>& files) {
  return vc_Call(firstOf(files), "Version control is disabled; Can't remove files", false,
                 [&](VC* c, char** e, RetryHandler* h, TStat* s) {
                   return c->send_RemoveFiles(files, e, h, s);
                 });
}

bool vc_UnremoveFiles(const std::vector<std::string>& files) {
  std::vector<std::string> versions;
  return vc_Call(firstOf(files), "Version control is disabled; Can't unremove files", false,
                 [&](VC* c, char** e, RetryHandler* h, TStat* s) {
                   return c->send_UnremoveFiles(files, &versions, e, h, s);
                 });
}

bool vc_CommitFiles(const std::vector<std::string>& files, const char* comments) {
  std::vector<std::string> versions;
  return vc_Call(firstOf(files), "Version control is disabled; Can't commit files", false,
                 [&](VC* c, char** e, RetryHandler* h, TStat* s) {
                   return c->send_CommitFiles(files, comments, &versions, e, h, s);
                 });
}

bool vc_CommitDirectories(const std::vector<std::string>& directories, const char* comments) {
  return vc_Call(firstOf(directories), "Version control is disabled; Can't commit directories",
                 false, [&](VC* c, char** e, RetryHandler* h, TStat* s) {
                   return c->send_CommitDirectories(directories, comments, e, h, s);
                 });
}
