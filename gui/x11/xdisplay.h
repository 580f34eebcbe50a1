// The toolkit's hold on the X server, private to gui/x11/: the display,
// its screen, visual and colour map, the resource database and the atoms
// the toolkit needs.  Only the files of this folder (and test harnesses
// that read the server) include this header.
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

// An atom of the display, made on first use.
Atom x11_atom(const char* name);
