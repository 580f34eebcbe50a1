#include "vc/vc.h"

#include "base/gen.h"

namespace {

// No version-control service is connected in this process.
bool connected = false;

}  // namespace

bool Vorne_VC_Module::VCEnabled() { return connected; }

bool vc_UnderVC(const char*) { return connected; }

char* vc_GetPreviousVersion(const char*, const char*) {
  if (!connected) gen_error("Version control is disabled; Can't get previous version");
  return nullptr;
}

char* vc_GetNextVersion(const char*, const char*) {
  if (!connected) gen_error("Version control is disabled; Can't get next version");
  return nullptr;
}

bool vc_ShowHistory(const char*) {
  if (!connected) gen_error("Version control is disabled; Can't show history");
  return false;
}

int vc_ShowLastEdit(const char*, int, int, const char*, char** version1, char** version2,
                    int* line) {
  *version1 = *version2 = nullptr;
  *line = 0;
  if (!connected) gen_error("Version control is disabled; Can't show last edit");
  return -1;
}
