// One X event through the toolkit: records by window, child coordinates
// reported to the parent, the event test, modal refusal, translation and
// delivery to the item.
#include "gui/event_process.h"

#include <X11/Xutil.h>
#include <X11/keysym.h>

#include "gui/colwind.h"
#include "gui/event_loop.h"
#include "gui/event_translate.h"
#include "gui/window_registry.h"
#include "gui/xdisplay.h"

namespace {

bool stopRequested = false;
bool controlCAborts = false;
bool newServerProtocol = false;
SelectionEventHook selectionHook = nullptr;
ColWind* modalWindow = nullptr;

bool isPointerOrKey(int type) {
  return type == KeyPress || type == KeyRelease || type == ButtonPress ||
         type == ButtonRelease || type == MotionNotify;
}

// Key, button and motion events of a child window are reported in its
// parent's coordinates.
void reportToParent(XEvent* e, Window parent) {
  if (!isPointerOrKey(e->type)) return;
  int x, y;
  Window child;
  XTranslateCoordinates(e->xany.display, e->xany.window, parent, e->xkey.x, e->xkey.y, &x, &y,
                        &child);
  e->xkey.x = x, e->xkey.y = y;  // same layout for keys, buttons and motion
  e->xany.window = parent;
}

// While a modal window is up, presses elsewhere ring the bell and raise it.
// Popups (menus opened from the dialog) belong to no top-level window and
// keep their input.
bool refusedByModal(XEvent* e, WWindowedItem* item) {
  if (!modalWindow || !item) return false;
  ColWind* top = item->getTopLevel();
  if (!top || top == modalWindow) return false;
  if (e->type == KeyPress || e->type == ButtonPress) {
    XBell(e->xany.display, 0);
    XRaiseWindow(e->xany.display, modalWindow->getWindow());
    return true;
  }
  return e->type == ButtonRelease || e->type == KeyRelease;
}

bool isSelectionEvent(int type) {
  return type == SelectionRequest || type == SelectionNotify || type == SelectionClear;
}

}  // namespace

int gui_processXEvent(XEvent* e) {
  if (isSelectionEvent(e->type) && selectionHook && selectionHook(e)) return 1;
  if (e->type == MappingNotify) {  // no window of its own: for everybody
    XRefreshKeyboardMapping(&e->xmapping);
    return 1;
  }
  WindowRecord* r = gui_findWindow(e->xany.window);
  if (r && r->parent) {
    reportToParent(e, r->parent);
    r = gui_findWindow(r->parent);
  }
  if (!r) {
    if (ForeignWindowHandler h = gui_getForeignWindowHandler()) h(e);
    return 1;
  }
  if (r->eventTest && r->eventTest(e, r->item)) return 1;
  if (refusedByModal(e, r->item)) return 1;
  xinLibSt ev;
  bool deliver = r->translate ? r->translate(e, &ev, r->item) : gui_translateXEvent(e, &ev);
  return deliver ? WEventDeliver(&ev) : 1;
}

int WEventDeliver(xinLibSt* event) {
  WindowRecord* r = gui_findWindow(event->window);
  if (!r || !r->item) return 1;
  stopRequested = false;
  r->item->EventParse(event);
  bool stop = stopRequested;
  stopRequested = false;
  return stop ? 0 : 1;
}

void WEventRequestStop() { stopRequested = true; }

bool gui_isAbortKey(XEvent* e) {
  if (e->type != KeyPress) return false;
  KeySym ks = XLookupKeysym(&e->xkey, 0);
  if (ks == XK_Escape) return true;
  return controlCAborts && (e->xkey.state & ControlMask) && (ks == XK_c || ks == XK_C);
}

bool gui_controlCAborts() { return controlCAborts; }
void gui_setControlCAborts(bool on) { controlCAborts = on; }
bool gui_newServerProtocol() { return newServerProtocol; }
void gui_setNewServerProtocol(bool on) { newServerProtocol = on; }

void gui_setSelectionEventHook(SelectionEventHook hook) { selectionHook = hook; }
void gui_setModalWindow(ColWind* window) { modalWindow = window; }
ColWind* gui_getModalWindow() { return modalWindow; }
