// Window records by X window id, and the damage collected per window until
// the loop delivers it as repaint events.
#include "gui/window_registry.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

#include "gui/item.h"
#include "gui/xdisplay.h"

namespace {

std::unordered_map<Window, WindowRecord> records;
ForeignWindowHandler foreignHandler = nullptr;

struct Damage {
  Window window;
  int x0, y0, x1, y1;  // bounding box, x1/y1 exclusive
};
std::vector<Damage> damage;  // in the order first damaged

Damage* findDamage(Window window) {
  for (Damage& d : damage)
    if (d.window == window) return &d;
  return nullptr;
}

}  // namespace

void gui_registerWindow(Window window, const WindowRecord& record) { records[window] = record; }

void gui_unregisterWindow(Window window) {
  records.erase(window);
  gui_forgetDamage(window);
}

WindowRecord* gui_findWindow(Window window) {
  auto it = records.find(window);
  return it == records.end() ? nullptr : &it->second;
}

int gui_windowCount() { return static_cast<int>(records.size()); }

void gui_setForeignWindowHandler(ForeignWindowHandler handler) { foreignHandler = handler; }
ForeignWindowHandler gui_getForeignWindowHandler() { return foreignHandler; }

void gui_addDamage(Window window, int x, int y, int width, int height) {
  if (width <= 0 || height <= 0) return;
  Damage* d = findDamage(window);
  if (!d) {
    damage.push_back(Damage{window, x, y, x + width, y + height});
    return;
  }
  d->x0 = std::min(d->x0, x), d->y0 = std::min(d->y0, y);
  d->x1 = std::max(d->x1, x + width), d->y1 = std::max(d->y1, y + height);
}

void gui_forgetDamage(Window window) {
  std::erase_if(damage, [window](const Damage& d) { return d.window == window; });
}

void gui_scrollDamage(Window window, int dx, int dy) {
  Damage* d = findDamage(window);
  if (d) gui_addDamage(window, d->x0 + dx, d->y0 + dy, d->x1 - d->x0, d->y1 - d->y0);
}

void gui_deliverDamage() {
  // Painting may add damage again; that waits for the next turn.
  std::vector<Damage> now;
  now.swap(damage);
  for (const Damage& d : now) {
    WindowRecord* r = gui_findWindow(d.window);
    if (!r || !r->item) continue;
    xinLibSt ev;
    ev.type = WEV_REPAINT;
    ev.window = d.window;
    ev.x = d.x0, ev.y = d.y0;
    ev.width = d.x1 - d.x0, ev.height = d.y1 - d.y0;
    ev.state = static_cast<unsigned>(ev.width);
    ev.code = ev.height;
    r->item->EventParse(&ev);
  }
}
