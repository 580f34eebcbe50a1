// The version-control façade the viewer asks about files and versions.
// Version control is served by a separate tool through a service; until a
// connection to one is made the module stays disabled, every file counts as
// outside version control, and the queries that need it fail with their
// messages.
#pragma once

class Vorne_VC_Module {
 public:
  // Whether version control may be used at all.
  static bool VCEnabled();
};

// Whether the file is under version control (false when disabled).
bool vc_UnderVC(const char* file);
// The neighbouring version name, newly allocated, or null when there is
// none; a versionless name's previous version is the newest checked in.
char* vc_GetPreviousVersion(const char* file, const char* version);
char* vc_GetNextVersion(const char* file, const char* version);
// Opens the history of a file; false when it cannot.
bool vc_ShowHistory(const char* file);
// The last change that touched lines first..last of `file` (of `revision`,
// or of the working file when null): 0 with the versions before and after
// it and the line where it shows, or -1 when it cannot be told.
int vc_ShowLastEdit(const char* file, int first, int last, const char* revision,
                    char** version1, char** version2, int* line);
