// The application: its top-level windows, its wish to exit, and the hooks
// that the layers above the toolkit fill before start-up.
#pragma once

#include <vector>

class ColWind;

class WApplication {
 public:
  virtual ~WApplication() = default;
  std::vector<ColWind*> windows;  // open top-level windows, oldest first
  bool exitRequested = false;
  void (*exitFunction)() = nullptr;  // run by WEventAll after exitRequested
};
WApplication* WGetApplication();
void WSetApplication(WApplication* application);

// True when no top-level window is open and no history browser is up.
bool NoMoreWindows();

struct WGUIHooks {
  // Starts the service router connection (retry time-out in ms); true when up.
  bool (*startRouter)(int timeoutMs) = nullptr;
  // After the router is up: configuration defaults, whiteboard and switches.
  void (*routerServices)(int timeoutMs) = nullptr;
  // Whether a version-history browser is open (keeps the loop running).
  bool (*historyBrowserOpen)() = nullptr;
  // cleanup_after_gui: version control lets go of its service.
  void (*versionControlCleanup)() = nullptr;
};
extern WGUIHooks guiHooks;
