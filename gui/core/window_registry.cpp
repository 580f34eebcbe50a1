// Items by X window id, and the modal window.
#include "gui/core/window_registry.h"

#include <unordered_map>

#include "gui/x11/damage.h"

namespace {

std::unordered_map<WindowId, WWindowedItem*> items;
ColWind* modalWindow = nullptr;

}  // namespace

void gui_registerWindow(WindowId window, WWindowedItem* item) { items[window] = item; }

void gui_unregisterWindow(WindowId window) {
  items.erase(window);
  gui_forgetDamage(window);
}

WWindowedItem* gui_findItem(WindowId window) {
  auto it = items.find(window);
  return it == items.end() ? nullptr : it->second;
}

int gui_windowCount() { return static_cast<int>(items.size()); }

void gui_setModalWindow(ColWind* window) { modalWindow = window; }
ColWind* gui_getModalWindow() { return modalWindow; }
