// The published state text, raising, and the register of windows by class.
#include "gui/core/window_state.h"

#include "gui/core/colwind.h"
#include "gui/x11/window.h"

void cwRaise(ColWind* window) {
  if (window) xwin_mapRaised(window->getWindow());
}

void cwPublishState(ColWind* window, const char* text) {
  if (window) xwin_setTextProperty(window->getWindow(), "_DIFFVIEW_STATE", text);
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
