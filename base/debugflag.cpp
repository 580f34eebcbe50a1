// The debug switch table: built-in names and defaults, lookup by name or
// number, switch files, the constraint rule, and the pending list of
// changes made before the switch service is connected.
#include "base/debugflag.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/gen.h"

unsigned char debugFlag[DEBUG_FLAG_COUNT];
const char* debugFlagName[DEBUG_FLAG_COUNT];

namespace {

struct BuiltinSwitch {
  int index;
  const char* name;
  bool on;
};

// The switches with names.  Numbers are fixed for good: they are written in
// users' switch files.
const BuiltinSwitch builtinSwitches[] = {
    {65, "SynSepAdj", true},
    {662, "ConfigService", true},
    {683, "DiffViewer", true},
    {755, "UseTextviewZone", true},
    {828, "Tamsel", false},
    {1066, "UseFDRegistry", true},
    {1117, "ServiceRouter", true},
    {1149, "DontAllowNullInConfigOptions", true},
    {1237, "UseArrayStoreInDiffView", true},
    {1274, "UseSingleConfigFile", true},
    {1353, "UseHelpService", true},
};

// Switches 1460..1479 and 0 belong to this process alone.
constexpr int kLastShared = 1459;

struct PendingChange {
  std::string name;
  int value;
};
std::vector<PendingChange> pending;
XSwitchPublishFn publisher = nullptr;

bool isNumber(const char* text) {
  const char* p = text;
  if (!isdigit(static_cast<unsigned char>(*p))) return false;
  while (isdigit(static_cast<unsigned char>(*p))) p++;
  while (*p && isspace(static_cast<unsigned char>(*p))) p++;
  return *p == '\0';
}

}  // namespace

void InitDebugFlag() {
  pending.clear();  // changes to a table that no longer exists
  for (int i = 0; i < DEBUG_FLAG_COUNT; i++) {
    debugFlag[i] = 0;
    debugFlagName[i] = nullptr;
  }
  for (const BuiltinSwitch& s : builtinSwitches) {
    debugFlagName[s.index] = s.name;
    debugFlag[s.index] = s.on ? 1 : 0;
  }
}

int GetXSwitchIndex(const char* text) {
  if (!text || !*text) return -1;
  if (isNumber(text)) {
    // Leading zeros are allowed; overlong numbers are simply out of range.
    long n = 0;
    for (const char* p = text; isdigit(static_cast<unsigned char>(*p)); p++) {
      n = n * 10 + (*p - '0');
      if (n >= DEBUG_FLAG_COUNT) return -1;
    }
    return static_cast<int>(n);
  }
  for (int i = 0; i < DEBUG_FLAG_COUNT; i++)
    if (debugFlagName[i] && gen_strequal(debugFlagName[i], text)) return i;
  return -1;
}

const char* debugFlag_NameFromIndex(int index) {
  if (index < 1 || index >= DEBUG_FLAG_COUNT) return nullptr;
  return debugFlagName[index];
}

int setXSwitch(const char* text, int value) {
  int index = GetXSwitchIndex(text);
  if (index < 0) return 0;
  debugFlag[index] = value ? 1 : 0;
  if (publisher)
    publisher(text, value);
  else
    pending.push_back({text, value});
  return 1;
}

int setXSwitch(int index, int value) {
  const char* name = debugFlag_NameFromIndex(index);
  return name ? setXSwitch(name, value) : 0;
}

void ConstrainXSwitches() {
  if (debugFlag[DBG_ServiceRouter]) return;
  debugFlag[DBG_DiffViewer] = 0;
  debugFlag[DBG_Tamsel] = 0;
  debugFlag[DBG_UseHelpService] = 0;
}

void XSwitch_AttachPublisher(XSwitchPublishFn publish) {
  publisher = publish;
  if (!publisher) return;
  std::vector<PendingChange> replay;
  replay.swap(pending);
  for (const PendingChange& c : replay) {
    int index = GetXSwitchIndex(c.name.c_str());
    if (index > 0) debugFlag[index] = c.value ? 1 : 0;
    publisher(c.name.c_str(), c.value);
  }
}

int XSwitch_PendingCount() { return static_cast<int>(pending.size()); }

int XSwitch_ApplyRemoteChange(const char* name, int value) {
  int index = GetXSwitchIndex(name);
  if (index < 1 || index > kLastShared) return 0;
  debugFlag[index] = value ? 1 : 0;
  return 1;
}
