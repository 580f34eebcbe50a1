// Repaints asked for by items, made necessary by scrolling, or reported by
// the server: one bounding box per window, handed out once per loop turn
// so that a window paints at most once per turn whatever asked for it.
#pragma once

#include <vector>

#include "gui/x11/draw.h"

struct WDamage {
  WindowId window;
  DrawRect area;
};

void gui_addDamage(WindowId window, int x, int y, int width, int height);
void gui_forgetDamage(WindowId window);
// Moves a window's contents by (dx, dy) on screen (the pan of a scrolled
// view): pending damage moves along and the uncovered strips are damaged.
void gui_scrollWindow(WindowId window, DrawRect area, int dx, int dy);
// Everything collected so far, in the order first damaged; the collection
// starts empty again (painting may add to it for the next turn).
std::vector<WDamage> gui_takeDamage();
