// Pieces shared between the configuration's own files: applying a value by
// the option's type, the include handler and access to the hooks.
#pragma once

#include <string>

#include "config/config.h"
#include "config/config_hooks.h"

// A value as an error message echoes it: at most 80 bytes, then "...", so
// that a runaway line of megabytes does not flood the terminal.
std::string cfg_Clipped(const char* text);

// Sets `option` from `value` (never null) by its type; 1 on success.
int cfg_ApplyValue(_ConfigOption* option, const char* value, bool quiet);

// The handler of the "include" option: reads another configuration file,
// looked up in the configuration directories.
int cfg_IncludeFile(_ConfigOption* option, const cfg_Value* value);

// Hook access; each is a no-op (or answers "none") while its hook is unset.
int cfg_CallColorHook(_ConfigOption* option, cfg_ColorSlot* slot, const cfg_Rgb* rgb);
void cfg_NotifyChange(_ConfigOption* option);
void cfg_Alert(const char* text);  // the alert hook, else gen_error
const char* cfg_LookupXResource(const char* name, const char* cls);
const cfg_ConfigService* cfg_GetConfigService();
void cfg_RunAfterReadHook();
