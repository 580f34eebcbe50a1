// The debug switch table: built-in names and defaults, lookup by name or
// number, switch files and the constraint rule.
#include "base/debugflag.h"

unsigned char debugFlag[DEBUG_FLAG_COUNT];
const char* debugFlagName[DEBUG_FLAG_COUNT];
