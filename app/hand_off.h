// Handing a command line's request to the viewer that already runs (the
// default): through the service router, which starts a viewer when none
// runs.  Returns only when there is no router or no viewer to hand to, and
// the request is then served by a window of this process.
#pragma once

#include "app/command_line.h"

void app_HandOff(int* argc, char** argv, const StartOptions& o);

// The one request string a running viewer splits again: the words joined
// by blanks, a word holding a blank enclosed in double quotes.
char* app_RequestString(int argc, char** argv);
