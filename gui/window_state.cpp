#include "gui/window_state.h"

#include <X11/Xatom.h>

#include <cstring>

#include "gui/colwind.h"
#include "gui/wgui.h"
#include "gui/xdisplay.h"

void cwRaise(ColWind* window) {
  if (!window || !window->getWindow() || !XWindowsOn()) return;
  XMapRaised(xstate().display, window->getWindow());
}

void cwScreenSize(int* width, int* height) {
  *width = *height = 0;
  if (!XWindowsOn()) return;
  *width = DisplayWidth(xstate().display, xstate().screen);
  *height = DisplayHeight(xstate().display, xstate().screen);
}

void cwBell() {
  if (XWindowsOn()) XBell(xstate().display, 0);
}

void cwPublishState(ColWind* window, const char* text) {
  if (!window || !window->getWindow() || !XWindowsOn()) return;
  Display* d = xstate().display;
  Atom name = XInternAtom(d, "_DIFFVIEW_STATE", False);
  Atom utf8 = XInternAtom(d, "UTF8_STRING", False);
  XChangeProperty(d, window->getWindow(), name, utf8, 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(text ? text : ""),
                  text ? static_cast<int>(std::strlen(text)) : 0);
}

namespace {

std::vector<std::pair<ColWind*, int>>& registered() {
  static std::vector<std::pair<ColWind*, int>> windows;
  return windows;
}

}  // namespace

void cwRegisterWindowClass(ColWind* window, int classNumber) {
  cwUnregisterWindowClass(window);
  if (window) registered().emplace_back(window, classNumber);
}

void cwUnregisterWindowClass(ColWind* window) {
  std::erase_if(registered(), [window](const auto& r) { return r.first == window; });
}

std::vector<ColWind*> cwWindowsOfClass(int classNumber) {
  std::vector<ColWind*> out;
  for (const auto& [window, number] : registered())
    if (number == classNumber) out.push_back(window);
  return out;
}
