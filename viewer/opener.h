// The two places where a request turns into a window: a viewer for a pair
// of sides, or the file chooser.  The window classes register themselves
// here; until they are registered a request is parsed and checked but opens
// nothing.  Tests register recording openers.
#pragma once

#include "viewer/diffviewer.h"

struct DiffViewerOpeners {
  // Constructs a viewer; returns it when its window opened, else null (the
  // opener destroys a viewer whose window failed).
  DiffViewer* (*openViewer)(const char* file1, const char* version1, const char* date1,
                            const char* file2, const char* version2, const char* date2,
                            int options) = nullptr;
  // Opens the chooser pre-filled with the names; it owns itself.
  void (*openChooser)(const char* file1, const char* file2, bool reuse,
                      const char* workingDir, int options) = nullptr;
};

extern DiffViewerOpeners diffViewerOpeners;

// What requests from other tools need of the service layer above: their
// names made absolute against the requesting tool's directory, that
// directory itself, and telling the router whether this process must
// persist (while viewers are open).  Unset, names are taken as given.
struct DiffViewerServiceHooks {
  char* (*resolveName)(STPSpecClass* connection, const char* name) = nullptr;
  char* (*callerDirectory)(STPSpecClass* connection) = nullptr;
  void (*setPersistent)(bool persistent) = nullptr;
};

extern DiffViewerServiceHooks diffViewerServiceHooks;
