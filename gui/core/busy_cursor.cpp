// The busy cursor is defined on the top-level windows only: their children
// inherit it, except those with a cursor of their own (splitter bars keep
// their resize arrows, which still say what a drag would do).
#include "gui/core/busy_cursor.h"

#include "gui/core/colwind.h"
#include "gui/x11/draw.h"
#include "gui/x11/window.h"

namespace {

int depth = 0;

void defineOnAll(WCursorShape shape) {
  cwCallProcOnAll(
      [](ColWind* w, void* data) {
        xwin_setCursor(w->getWindow(), *static_cast<WCursorShape*>(data));
      },
      &shape);
  draw_flush();
}

}  // namespace

void gui_BusyCursorOn() {
  depth++;
  defineOnAll(WCURSOR_WATCH);
}

void gui_BusyCursorOff() {
  if (depth == 0) return;
  // The arrow is the cursor ColWind gives its windows when it makes them.
  if (--depth == 0) defineOnAll(WCURSOR_ARROW);
}

int gui_BusyCursorDepth() { return depth; }
