// The busy cursor is defined on the top-level windows only: their children
// inherit it, except those with a cursor of their own (splitter bars keep
// their resize arrows, which still say what a drag would do).
#include "gui/busy_cursor.h"

#include <X11/cursorfont.h>

#include "gui/colwind.h"
#include "gui/wgui.h"
#include "gui/xdisplay.h"

namespace {

int depth = 0;

// The server keeps a cursor alive while a window uses it, so ours is freed
// at once.
void defineOnAll(unsigned shape) {
  if (!XWindowsOn()) return;
  Display* d = xstate().display;
  Cursor c = XCreateFontCursor(d, shape);
  cwCallProcOnAll(
      [](ColWind* w, void* data) {
        if (w->getWindow())
          XDefineCursor(xstate().display, w->getWindow(), *static_cast<Cursor*>(data));
      },
      &c);
  XFreeCursor(d, c);
  XFlush(d);
}

}  // namespace

void gui_BusyCursorOn() {
  depth++;
  defineOnAll(XC_watch);
}

void gui_BusyCursorOff() {
  if (depth == 0) return;
  // The arrow is the cursor ColWind gives its windows when it makes them.
  if (--depth == 0) defineOnAll(XC_left_ptr);
}

int gui_BusyCursorDepth() { return depth; }
