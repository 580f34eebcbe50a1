// X windows as the toolkit's items use them: top-level windows with the
// window manager's hints, child windows, override-redirect popups, and the
// few things done to them (placing, mapping, cursors, titles, grabs, the
// published state property, the icon).  Every call does nothing (or
// answers 0 / false) while the display is not open.
#pragma once

#include <string>
#include <vector>

#include "gui/x11/draw.h"

enum WCursorShape { WCURSOR_ARROW, WCURSOR_WATCH, WCURSOR_RESIZE_H, WCURSOR_RESIZE_V };

// A top-level window on the root with the program's class (WM_CLASS), its
// process and machine (_NET_WM_PID, WM_CLIENT_MACHINE), the icon last given
// to a window, an input context when there is an input method, the window
// manager's close protocol, the arrow cursor and, with the resource
// "iconify" on, an iconic start.  Unmapped.
WindowId xwin_createTopLevel(DrawRect placement, Pixel background);
// A mapped child window; its contents stay put when it grows.
WindowId xwin_createChild(WindowId parent, DrawRect placement, Pixel background);
// An unmapped popup on the root that the window manager leaves alone.
WindowId xwin_createPopup(DrawRect placement, Pixel background);
void xwin_destroy(WindowId window);

// "-wmhints": the window manager is told more about the windows made from
// then on: they form one group led by the first, their type (normal or
// dialog), and which window a dialog belongs to.
void xwin_setWindowManagerHinting(bool on);
// Under "-wmhints": `w` is a dialog of `parent`.
void xwin_setTransientFor(WindowId w, WindowId parent);

// The smallest and largest size the window manager lets the user give a
// top-level window ("minwindowsize", "maxwindowsize"); 0 leaves a
// dimension free.  Applies to the size hints set from then on.
void xwin_setSizeLimits(int minWidth, int minHeight, int maxWidth, int maxHeight);

// Sizes below one pixel become one.
void xwin_moveResize(WindowId window, DrawRect placement);
void xwin_map(WindowId window);
void xwin_unmap(WindowId window);
void xwin_raise(WindowId window);
void xwin_mapRaised(WindowId window);
void xwin_setBackground(WindowId window, Pixel background);
// Child windows: pointer motion without a button held (hover, tool tips).
void xwin_selectPointerMotion(WindowId window, bool on);
void xwin_setCursor(WindowId window, WCursorShape shape);

// Top-level windows: the titles the window manager shows (UTF-8 and the
// legacy properties), the size hints (`userPlaced`: the position is the
// user's choice, not to be changed by the window manager's rules).
void xwin_setTitles(WindowId window, const std::string& title, const std::string& iconName);
void xwin_setSizeHints(WindowId window, DrawRect placement, bool userPlaced);
// The client's size and the outer corner of the window manager's frame (the
// window itself when nobody re-parented it), in root coordinates.
bool xwin_frameGeometry(WindowId window, DrawRect* out);
// A text property of type UTF8_STRING (the published window state).
void xwin_setTextProperty(WindowId window, const char* name, const char* text);
// The icon as the window manager's pixmap and mask and as _NET_WM_ICON,
// from `width` x `height` pixels 0xAARRGGBB (alpha 0: transparent; the
// pixmap shows `background` there).  Top-level windows made later get the
// same icon.
void xwin_setIcon(WindowId window, int width, int height, const std::vector<unsigned long>& argb,
                  Pixel background);

// An X geometry text ("80x24+10+20", "=500x400"): what it gives.
struct WGeometry {
  bool valid = false;  // the text parsed, and gave no zero size
  bool hasWidth = false, hasHeight = false, hasPosition = false;
  bool fromRight = false, fromBottom = false;  // "-X" / "-Y": from the far edge
  DrawRect rect{0, 0, 0, 0};
};
WGeometry xwin_parseGeometry(const char* text);

// Takes the pointer and the keyboard for a popup; false when the server
// refused (another client holds a grab).  xwin_releaseInput gives both back.
bool xwin_grabInput(WindowId window);
void xwin_releaseInput();
// Root coordinates of a window's top-left corner.
void xwin_rootOrigin(WindowId window, int* rootX, int* rootY);
// Where the pointer is, on the root window / relative to `window`.
bool xwin_pointerOnRoot(int* rootX, int* rootY);
bool xwin_pointerIn(WindowId window, int* x, int* y);
