// X resources: the toolkit's resource options are taken out of the command
// line into a database, and the full database is merged from the
// application defaults, the user's files, the server and the command line.
#pragma once

#include <X11/Xresource.h>

#include <string>
#include <vector>

// Takes the resource options ("-display d", "-fg red", "-rv", "=80x24",
// "-xrm 'a.b: c'", ...) out of argv[1..], compacting the rest; returns a new
// database of them under `name` (the program's base name).
XrmDatabase gui_parseResourceOptions(int* argc, char** argv, const char* name);

// "<name>.<resource>" with the class "<Class>.<Resource>"; null when unset.
const char* gui_lookupResource(XrmDatabase db, const char* name, const char* cls,
                                const char* resource);

// The files merged before the server's property, weakest first: the
// application defaults, ~/.Xdefaults-<host>, $XENVIRONMENT, ~/.Xdefaults.
std::vector<std::string> gui_resourceFiles(const char* home, const char* host,
                                           const char* xenvironment);

// The full database.  With "<name>.loadResources" set on the command line
// only that file is read; otherwise the files above, then `serverString`
// (the server's resource property, may be null), then the command line,
// each overriding the ones before.  Consumes `commandLine`.
XrmDatabase gui_buildResourceDatabase(XrmDatabase commandLine, const char* name,
                                      const char* cls, const char* serverString);

// The class name of a resource name: its first letter in upper case.
std::string gui_className(const char* name);
