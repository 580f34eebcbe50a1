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
  XIM inputMethod = nullptr;
  bool greyScale = false;  // "-grey": every colour allocated as a shade of grey  // null: keys are decoded by the keyboard map alone
};

XState& xstate();

// An atom of the display, made on first use.
Atom x11_atom(const char* name);

// The input method (input_method.cpp): opened with the display when the
// locale has one, one input context per top-level window.  Key events of a
// window with a context are decoded through it.
void x11_openInputMethod();
void x11_closeInputMethod();
void x11_createInputContext(Window w);
void x11_destroyInputContext(Window w);
void x11_focusInputContext(Window w, bool in);
// The text a key press types, as UTF-8, and its keysym; false when the
// window has no input context (the caller decodes the key itself).
bool x11_lookupUtf8(XKeyEvent* key, std::string* text, KeySym* keysym);

// The program's icon (window_icon.cpp): the last icon given to a window is
// put on every top-level window made after it.
void x11_applyProgramIcon(Window w);
