// The process-wide debug switches: 1480 on/off flags, each selecting between
// two behaviours of some module.  Modules test a switch by number
// (debugFlag[DBG_DiffViewer]); users set switches by name or number in
// ".xsw" switch files and on the command line.  Changes made through
// setXSwitch are shared with the suite's other tools once a publisher is
// attached; until then they wait in a pending list.
#pragma once

constexpr int DEBUG_FLAG_COUNT = 1480;

extern unsigned char debugFlag[DEBUG_FLAG_COUNT];
extern const char* debugFlagName[DEBUG_FLAG_COUNT];

// The switches other modules test, by their fixed numbers.  The numbers are
// part of the switch files' vocabulary: a user may write 683 for DiffViewer.
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

// Resets every switch to off and unnamed, then applies the built-in names
// and defaults; changes still waiting to be shared are dropped.
void InitDebugFlag();

// A decimal number (trailing blanks allowed) names that switch when it is in
// range; any other text is a name matched ignoring case.  -1 when none.
int GetXSwitchIndex(const char* text);

// The name of switch `index` for 1 <= index < 1480, else null.
const char* debugFlag_NameFromIndex(int index);

// Sets a switch and shares the change; 1 when the switch exists, else 0.
int setXSwitch(const char* text, int value);
// The same by number; 0 when that switch has no name.
int setXSwitch(int index, int value);

// Switches that need the service router are forced off without it.
void ConstrainXSwitches();

// Reads "<program>.xsw" from each directory in order, later files winning.
// The configuration library knows the four directories (ReadXSWFiles).
void ReadXSWFilesFrom(const char* const* dirs, int count);

// ---- sharing with other tools -------------------------------------------------
// The switch service lives in the service layer, above this library; it
// attaches itself here as a publisher.

using XSwitchPublishFn = void (*)(const char* name, int value);

// Attaches (or, with null, detaches) the publisher.  Attaching replays every
// pending change in order: the switch is set again and the change published.
void XSwitch_AttachPublisher(XSwitchPublishFn publish);
// Number of changes waiting for a publisher.
int XSwitch_PendingCount();
// A change reported by another tool: applied to switches 1..1459 only, and
// not published again.  Returns 1 when applied.
int XSwitch_ApplyRemoteChange(const char* name, int value);
