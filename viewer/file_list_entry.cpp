#include "viewer/file_list_entry.h"

#include "base/gen.h"
#include "vc/vc.h"

FileListEntry::FileListEntry(const char* left, const char* leftVers, const char* right,
                             const char* rightVers, int line)
    : leftName(left ? left : ""),
      rightName(right ? right : ""),
      leftVersion(leftVers ? leftVers : ""),
      rightVersion(rightVers ? rightVers : ""),
      hasLeftVersion(leftVers && *leftVers),
      hasRightVersion(rightVers && *rightVers),
      savedRow(line) {}

void FileListEntry::CleanupUserData(void* data) { delete static_cast<FileListEntry*>(data); }

char* get_local_version(const char* name) {
  char* previous = vc_UnderVC(name) ? vc_GetPreviousVersion(name, nullptr) : nullptr;
  char* label = previous ? gen_asprintf("local (%s)", previous) : gen_asprintf("local");
  gen_free(previous);
  return label;
}

std::string dv_VersionLabel(const char* name, const char* version) {
  if (version && *version) return version;
  if (!vc_UnderVC(name)) return "disk";
  char* local = get_local_version(name);
  std::string label = local;
  gen_free(local);
  return label;
}

std::string dv_CountLabel(int count, bool known) {
  return known ? std::to_string(count) : "?";
}
