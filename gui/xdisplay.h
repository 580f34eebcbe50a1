// The toolkit's hold on the X server, private to gui/: the display, its
// screen, visual and colour map, the resource database and the atoms the
// toolkit needs.  Only files of the toolkit include this header.
#pragma once

#include <X11/Xlib.h>
#include <X11/Xresource.h>

#include <string>

struct XState {
  Display* display = nullptr;
  int screen = 0;
  Visual* visual = nullptr;
  Colormap colormap = 0;
  int depth = 0;
  Window root = 0;
  GC gc = nullptr;        // fills, lines and buffer copies; no exposures
  GC scrollGc = nullptr;  // window-to-window copies; reports obscured parts
  XrmDatabase database = nullptr;
  std::string resourceName;  // program base name
  std::string resourceClass; // the same, first letter upper case
  Atom wmProtocols = 0;
  Atom wmDeleteWindow = 0;
};

XState& xstate();

// Looks a resource up as "<name>.<resource>" / "<Class>.<Resource>"; null
// when it is not set.  The text belongs to the database.
const char* gui_getResource(const char* resource);

// Repaints asked for and collected from exposures, delivered once per loop
// turn as type 0 events.
void gui_addDamage(Window window, int x, int y, int width, int height);
void gui_forgetDamage(Window window);
// The window's contents moved by (dx, dy): pending damage moves along.
void gui_scrollDamage(Window window, int dx, int dy);
void gui_deliverDamage();
