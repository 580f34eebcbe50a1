// Taking events off the X queue: the input method and keyboard mapping
// first, then our selections, then translation into records.
#include "gui/x11/events.h"

#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <algorithm>

#include "gui/x11/display.h"
#include "gui/x11/event_translate.h"
#include "gui/x11/xdisplay.h"

namespace {

// The key codes that may be an abort key, found before the queue is
// searched (a predicate of the queue search must not call Xlib).
struct AbortKeys {
  KeyCode escape, c;
  bool controlC;
};

Bool isSafeEvent(Display*, XEvent* e, XPointer arg) {
  if (e->type == Expose || e->type == GraphicsExpose || e->type == ConfigureNotify) return True;
  if (e->type != KeyPress) return False;
  const auto* keys = reinterpret_cast<const AbortKeys*>(arg);
  return e->xkey.keycode == keys->escape ||
         (keys->controlC && e->xkey.keycode == keys->c && (e->xkey.state & ControlMask));
}

Bool isNotExposure(Display*, XEvent* e, XPointer) {
  return e->type != Expose && e->type != GraphicsExpose;
}

Bool belongsTo(Display*, XEvent* e, XPointer arg) {
  const auto* ids = reinterpret_cast<const std::vector<WindowId>*>(arg);
  return std::find(ids->begin(), ids->end(), e->xany.window) != ids->end();
}

// One event taken off the queue, as xev_next answers.
int settle(XEvent* e, xinLibSt* out) {
  if (XFilterEvent(e, None)) return 0;
  if (e->type == MappingNotify) {  // no window of its own: for everybody
    XRefreshKeyboardMapping(&e->xmapping);
    return 0;
  }
  int selection = gui_translateSelection(e, out);
  if (selection >= 0) return selection;
  return gui_translateXEvent(e, out) ? 1 : 0;
}

}  // namespace

int xev_next(xinLibSt* out) {
  Display* d = XWindowsOn() ? xstate().display : nullptr;
  if (!d || !XPending(d)) return -1;
  XEvent e;
  XNextEvent(d, &e);
  return settle(&e, out);
}

int xev_nextSafe(xinLibSt* out, bool controlCAborts) {
  Display* d = XWindowsOn() ? xstate().display : nullptr;
  if (!d) return -1;
  AbortKeys keys{XKeysymToKeycode(d, XK_Escape), XKeysymToKeycode(d, XK_c), controlCAborts};
  XEventsQueued(d, QueuedAfterReading);
  XEvent e;
  if (!XCheckIfEvent(d, &e, isSafeEvent, reinterpret_cast<XPointer>(&keys))) return -1;
  return settle(&e, out);
}

bool xev_queued() {
  return XWindowsOn() && XEventsQueued(xstate().display, QueuedAfterFlush) > 0;
}

void xev_dropAllButExposures() {
  if (!XWindowsOn()) return;
  XEvent e;
  while (XCheckIfEvent(xstate().display, &e, isNotExposure, nullptr)) {
  }
}

void xev_dropEventsOf(const std::vector<WindowId>& windows) {
  if (!XWindowsOn()) return;
  Display* d = xstate().display;
  XSync(d, False);
  XEvent e;
  auto arg = reinterpret_cast<XPointer>(const_cast<std::vector<WindowId>*>(&windows));
  while (XCheckIfEvent(d, &e, belongsTo, arg)) {
  }
}

bool xev_isCloseRequest(const xinLibSt* e) {
  return XWindowsOn() && e->type == WEV_CLIENT &&
         static_cast<Atom>(e->subKind) == xstate().wmDeleteWindow;
}

int W_keyCodeOfName(const char* name) {
  KeySym ks = name ? XStringToKeysym(name) : NoSymbol;
  return ks == NoSymbol ? 0 : W_keyCodeOfKeysym(ks);
}
