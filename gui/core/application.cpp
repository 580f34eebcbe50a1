// The application instance and the question the main loop asks of it.
#include "gui/core/application.h"

WGUIHooks guiHooks;

namespace {

WApplication* application = nullptr;

}  // namespace

WApplication* WGetApplication() { return application; }
void WSetApplication(WApplication* app) { application = app; }

bool NoMoreWindows() {
  bool none = !application || application->windows.empty();
  return none && !(guiHooks.historyBrowserOpen && guiHooks.historyBrowserOpen());
}
