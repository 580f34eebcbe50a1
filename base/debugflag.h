// The process-wide debug switches: 1480 on/off flags, each selecting between
// two behaviours of some module.  Modules test a switch by number
// (debugFlag[DBG_DiffViewer]); users set switches by name or number in
// ".xsw" switch files and on the command line.
#pragma once

constexpr int DEBUG_FLAG_COUNT = 1480;

extern unsigned char debugFlag[DEBUG_FLAG_COUNT];
extern const char* debugFlagName[DEBUG_FLAG_COUNT];

// The switches other modules test, by their fixed numbers.
enum DebugFlagIndex {
  DBG_SynSepAdj = 65,
  DBG_ConfigService = 662,
  DBG_DiffViewer = 683,
  DBG_UseTextviewZone = 755,
  DBG_Tamsel = 828,
  DBG_UseFDRegistry = 1066,
  DBG_ServiceRouter = 1117,
  DBG_DontAllowNullInConfigOptions = 1149,
  DBG_UseArrayStoreInDiffView = 1237,
  DBG_UseSingleConfigFile = 1274,
  DBG_UseHelpService = 1353,
};

void InitDebugFlag();
int GetXSwitchIndex(const char* text);          // index, or -1
const char* debugFlag_NameFromIndex(int index);  // null for 0 and unnamed
int setXSwitch(const char* text, int value);     // 1 when the switch exists
int setXSwitch(int index, int value);
void ConstrainXSwitches();

// Reads "<program>.xsw" from each directory in order, later files winning.
// The configuration library supplies the directories (see config/cfg.h's
// ReadXSWFiles).
void ReadXSWFilesFrom(const char* const* dirs, int count);
