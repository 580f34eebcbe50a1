// Where configuration lives and how it is read at start-up: the user's
// directory ($HOME/.qen), the site directory (<program dir>/config), the
// site defaults (<program dir>/defaults), the configuration file name in a
// directory, file lookup across the three, the start-up reading order, X
// resource defaults and the debug switch files.  Paths returned as char*
// are new strings for the caller to gen_free.
#pragma once

#include "config/config.h"

// $HOME/.qen, or the directory set by cfg_SetUserConfigDir.  With `create`
// a missing directory is made with mode 0755; failure is reported as
// "Couldn't create user config directory: <path>" and the path is still
// returned.
char* cfg_GetUserConfigDir(bool create);
// Replaces the user directory (the toolkit's "-configdir"); null restores.
void cfg_SetUserConfigDir(const char* dir);
char* cfg_GetSiteConfigDir();         // null without a program directory
char* cfg_GetSiteDefaultConfigDir();  // null without a program directory
// Forgets the directory settings (toolkit clean-up).
void cfg_CleanupConfigDirs();

// When on ("-nocfg"), the user and site configuration files are not read
// and those directories are not searched.
void cfg_SetNoConfigFiles(bool on);
bool cfg_GetNoConfigFiles();

// The configuration file of `progname` in `dir`: with `useOverride`,
// "override/<prog>.cfg" when it exists; with `useSingleFile`, "qen.cfg"
// when it exists; otherwise "<prog>.cfg", existing or not.
char* cfg_CreateConfigFilename(const char* dir, const char* progname,
                               bool useOverride, bool useSingleFile);

// An absolute name when accessible with `mode` (access(2)); a relative one
// in the user, site and site defaults directories in turn, the first
// accessible non-directory winning.  Null when none is found.
char* cfg_SearchFileInConfigDirs(const char* name, int mode);

// Reads the site file, records the site level, reads the user file, applies
// the configuration service's lines and runs the after-read hook.  Old
// files of the main program are reported as superseded.  Returns 1.
int shr_ReadConfigFiles(const char* progname);
// The value an option had once the site file was read (the site level);
// null before shr_ReadConfigFiles or for an unknown option.
const char* cfg_GetSiteLevelValue(const _ConfigOption* option);

// The X resource default of an option: "<prog>.<option>" (first letters in
// lower case) with class "Vorne.<Option>", then "vorne.<option>".  Values
// of 512 bytes or more are ignored with a warning.  A new string or null.
char* shr_get_default_val(const char* option);

// Reads the debug switch files from the program directory, the site
// defaults, the site and the user directory, later ones winning.
void ReadXSWFiles();
