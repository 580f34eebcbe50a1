// The façade's questions about files and versions, and fetching versions.
// Each goes through the module to the service of the file's system; while
// version control is disabled it fails with its message.
#include "vc/vc.h"

#include "base/gen.h"
#include "vc/vc_client.h"
#include "vc/vc_ops.h"

using VC = VersionControl_Client;

bool vc_UnderVC(const char* file) {
  Vorne_VC_Module* m = vc_Module();
  if (!m || !file || !*file) return false;
  vc_CallScope scope;
  return m->FileIsInVC(file);
}

bool vc_GetVersionInfo(const char* file, const char* version, VersionInfo* info, bool quiet) {
  return vc_Call(file, "Version control is disabled; Can't get version info", quiet,
                 [&](VC* c, char** e, RetryHandler* h, TStat* s) {
                   return c->send_GetVersionInfo(file, version, info, e, h, s);
                 });
}

// A service may answer the ends of the history with an error ("1.1 is
// the first version"): asked to dim spin buttons, these stay quiet.
char* vc_GetPreviousVersion(const char* file, const char* version) {
  return vc_CallForText(file, "Version control is disabled; Can't get previous version",
                        [&](VC* c, char** out, char** e, RetryHandler* h, TStat* s) {
                          return c->send_GetPreviousVersionForFile(file, version, out, e, h, s);
                        },
                        true);
}

char* vc_GetNextVersion(const char* file, const char* version) {
  return vc_CallForText(file, "Version control is disabled; Can't get next version",
                        [&](VC* c, char** out, char** e, RetryHandler* h, TStat* s) {
                          return c->send_GetNextVersionForFile(file, version, out, e, h, s);
                        },
                        true);
}

bool vc_RestoreFileToVersion(const char* source, const char* outname, const char* version,
                             bool useCurrentTime) {
  return vc_Call(source, "Version control is disabled; Can't restore file to version.", false,
                 [&](VC* c, char** e, RetryHandler* h, TStat* s) {
                   return c->send_RestoreFileToVersion(source, outname, version, useCurrentTime,
                                                       e, h, s);
                 });
}

bool vc_RestoreFileToDate(const char* source, const char* outname, const char* date,
                          bool useCurrentTime) {
  return vc_Call(source, "Version control is disabled; Can't restore file to date.", false,
                 [&](VC* c, char** e, RetryHandler* h, TStat* s) {
                   return c->send_RestoreFileToDate(source, outname, date, useCurrentTime, e, h,
                                                    s);
                 });
}

bool vc_GetHistory(const char* file, History_Info* history) {
  return vc_Call(file, "Version control is disabled; Can't show history", false,
                 [&](VC* c, char** e, RetryHandler* h, TStat* s) {
                   return c->send_ShowHistory(file, history, e, h, s);
                 });
}

int vc_ShowLastEdit(const char* file, int first, int last, const char* revision,
                    char** version1, char** version2, int* line) {
  *version1 = *version2 = nullptr;
  *line = 0;
  int lineBefore = 0, result = -1;
  const bool ok = vc_Call(file, "Version control is disabled; Can't show last edit", false,
                          [&](VC* c, char** e, RetryHandler* h, TStat* s) {
                            return c->send_ShowLastEdit(file, first, last, revision, version1,
                                                        &lineBefore, version2, line, &result, e,
                                                        h, s);
                          });
  if (ok && result == 0) return 0;
  gen_free(*version1);
  gen_free(*version2);
  *version1 = *version2 = nullptr;
  *line = 0;
  return -1;
}

bool vc_GetStatusInfo(const char* file, VCStatus* status) {
  char *text = nullptr, *local = nullptr, *remote = nullptr, *tag = nullptr, *locker = nullptr;
  const bool ok = vc_Call(file, "Version control is disabled; Can't get status", false,
                          [&](VC* c, char** e, RetryHandler* h, TStat* s) {
                            return c->send_GetStatusInfo(file, &status->type, &text, &local,
                                                         &remote, &tag, &locker, e, h, s);
                          });
  status->text = vc_Take(text), status->localVersion = vc_Take(local);
  status->remoteVersion = vc_Take(remote), status->tag = vc_Take(tag);
  status->lockedBy = vc_Take(locker);
  return ok;
}

char* vc_GetUserWhoOwnsFile(const char* file) {
  return vc_CallForText(file, "Version control is disabled; Can't get the owner of a file",
                        [&](VC* c, char** out, char** e, RetryHandler* h, TStat* s) {
                          return c->send_GetUserWhoOwnsFile(file, out, e, h, s);
                        });
}

char* vc_GetVCUsername(const char* file) {
  return vc_CallForText(file, "Version control is disabled; Can't get the user name",
                        [&](VC* c, char** out, char** e, RetryHandler* h, TStat* s) {
                          return c->send_GetVCUsername(out, e, h, s);
                        });
}

char* vc_GetCommentTemplate(const char* file) {
  return vc_CallForText(file, "Version control is disabled; Can't get a comment template",
                        [&](VC* c, char** out, char** e, RetryHandler* h, TStat* s) {
                          return c->send_GetCommentTemplateForFile(file, out, e, h, s);
                        });
}

bool vc_Other(const char* file, const char* command) {
  char* output = nullptr;
  const bool ok = vc_Call(file, "Version control is disabled; Can't do what you want to do",
                          false, [&](VC* c, char** e, RetryHandler* h, TStat* s) {
                            return c->send_ExecuteCommandString(command, &output, e, h, s);
                          });
  vc_Output(output);
  gen_free(output);
  return ok;
}
