// The toolkit's X windows: creation with the attributes each kind needs,
// the window manager's hints and properties, cursors, grabs and pointer
// queries.
#include "gui/x11/window.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/cursorfont.h>

#include <unistd.h>

#include <algorithm>
#include <climits>
#include <strings.h>

#include "gui/x11/display.h"
#include "gui/x11/xdisplay.h"

namespace {

constexpr long kTopLevelEvents = ExposureMask | KeyPressMask | KeyReleaseMask |
                                 ButtonPressMask | ButtonReleaseMask | ButtonMotionMask |
                                 EnterWindowMask | LeaveWindowMask | FocusChangeMask |
                                 StructureNotifyMask;
constexpr long kChildEvents = ExposureMask | ButtonPressMask | ButtonReleaseMask |
                              ButtonMotionMask | EnterWindowMask | LeaveWindowMask |
                              StructureNotifyMask;
constexpr long kPopupEvents = ExposureMask | ButtonPressMask | ButtonReleaseMask |
                              PointerMotionMask | KeyPressMask | KeyReleaseMask |
                              StructureNotifyMask;
constexpr unsigned kGrabEvents = ButtonPressMask | ButtonReleaseMask | PointerMotionMask;
constexpr int kMaxSize = 32767;

DrawRect sizeLimits{0, 0, 0, 0};  // minimum width and height, maximum width and height
bool wmHinting = false;            // "-wmhints"
Window groupLeader = 0;            // the first top-level window, under "-wmhints"

Display* display() { return XWindowsOn() ? xstate().display : nullptr; }

bool startIconic() {
  const char* v = gui_getResource("iconify");
  return v && !strcasecmp(v, "on");
}

void setClassAndProtocols(Window w) {
  XState& xs = xstate();
  XClassHint hint;
  hint.res_name = const_cast<char*>(xs.resourceName.c_str());
  hint.res_class = const_cast<char*>(xs.resourceClass.c_str());
  XSetClassHint(xs.display, w, &hint);
  XWMHints* wm = XAllocWMHints();
  wm->flags = InputHint | StateHint;
  wm->input = True;
  wm->initial_state = startIconic() ? IconicState : NormalState;
  if (wmHinting) {  // the program's windows are one group, led by the first
    if (!groupLeader) groupLeader = w;
    wm->flags |= WindowGroupHint;
    wm->window_group = groupLeader;
    Atom normal = x11_atom("_NET_WM_WINDOW_TYPE_NORMAL");
    XChangeProperty(xs.display, w, x11_atom("_NET_WM_WINDOW_TYPE"), XA_ATOM, 32,
                    PropModeReplace, reinterpret_cast<unsigned char*>(&normal), 1);
  }
  XSetWMHints(xs.display, w, wm);
  XFree(wm);
  XSetWMProtocols(xs.display, w, &xs.wmDeleteWindow, 1);
}

// What task bars and window managers find a client's windows by: the
// process and the machine it runs on.
void setClientIdentity(Window w) {
  Display* d = xstate().display;
  unsigned long pid = static_cast<unsigned long>(getpid());
  XChangeProperty(d, w, x11_atom("_NET_WM_PID"), XA_CARDINAL, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(&pid), 1);
  char host[HOST_NAME_MAX + 1] = {};
  if (gethostname(host, sizeof host - 1) != 0) return;
  char* list[] = {host};
  XTextProperty machine;
  if (!XStringListToTextProperty(list, 1, &machine)) return;
  XSetWMClientMachine(d, w, &machine);
  XFree(machine.value);
}

unsigned cursorFontShape(WCursorShape shape) {
  switch (shape) {
    case WCURSOR_WATCH: return XC_watch;
    case WCURSOR_RESIZE_H: return XC_sb_h_double_arrow;
    case WCURSOR_RESIZE_V: return XC_sb_v_double_arrow;
    default: return XC_left_ptr;
  }
}

// The window's ancestor just below the root: the window manager's frame, or
// the window itself when nobody re-parented it.
Window outermost(Display* d, Window w) {
  for (int depth = 0; depth < 32; depth++) {
    Window root = 0, parent = 0, *children = nullptr;
    unsigned n = 0;
    if (!XQueryTree(d, w, &root, &parent, &children, &n)) return w;
    if (children) XFree(children);
    if (!parent || parent == root) return w;
    w = parent;
  }
  return w;
}

}  // namespace

WindowId xwin_createTopLevel(DrawRect r, Pixel background) {
  Display* d = display();
  if (!d) return 0;
  XSetWindowAttributes a{};
  a.background_pixel = background;
  a.event_mask = kTopLevelEvents;
  a.cursor = XCreateFontCursor(d, XC_left_ptr);
  Window w = XCreateWindow(d, xstate().root, r.x, r.y, std::clamp(r.width, 1, kMaxSize),
                           std::clamp(r.height, 1, kMaxSize), 0, CopyFromParent, InputOutput,
                           CopyFromParent, CWBackPixel | CWEventMask | CWCursor, &a);
  XFreeCursor(d, a.cursor);
  setClassAndProtocols(w);
  setClientIdentity(w);
  x11_applyProgramIcon(w);
  x11_createInputContext(w);
  return w;
}

WindowId xwin_createChild(WindowId parent, DrawRect r, Pixel background) {
  Display* d = display();
  if (!d || !parent) return 0;
  XSetWindowAttributes a{};
  a.background_pixel = background;
  a.event_mask = kChildEvents;
  a.bit_gravity = NorthWestGravity;
  Window w = XCreateWindow(d, parent, r.x, r.y, std::max(r.width, 1), std::max(r.height, 1), 0,
                           CopyFromParent, InputOutput, CopyFromParent,
                           CWBackPixel | CWEventMask | CWBitGravity, &a);
  XMapWindow(d, w);
  return w;
}

WindowId xwin_createPopup(DrawRect r, Pixel background) {
  Display* d = display();
  if (!d) return 0;
  XSetWindowAttributes a{};
  a.background_pixel = background;
  a.event_mask = kPopupEvents;
  a.override_redirect = True;
  a.save_under = True;
  return XCreateWindow(d, xstate().root, r.x, r.y, std::max(r.width, 1), std::max(r.height, 1),
                       0, CopyFromParent, InputOutput, CopyFromParent,
                       CWBackPixel | CWEventMask | CWOverrideRedirect | CWSaveUnder, &a);
}

void xwin_setWindowManagerHinting(bool on) { wmHinting = on; }

void xwin_setTransientFor(WindowId w, WindowId parent) {
  Display* d = display();
  if (!d || !w || !parent || !wmHinting) return;
  XSetTransientForHint(d, w, parent);
  Atom dialog = x11_atom("_NET_WM_WINDOW_TYPE_DIALOG");
  XChangeProperty(d, w, x11_atom("_NET_WM_WINDOW_TYPE"), XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(&dialog), 1);
}

void xwin_destroy(WindowId w) {
  if (Display* d = display(); d && w) {
    x11_destroyInputContext(w);
    if (w == groupLeader) groupLeader = 0;
    XDestroyWindow(d, w);
  }
}

void xwin_moveResize(WindowId w, DrawRect r) {
  if (Display* d = display(); d && w)
    XMoveResizeWindow(d, w, r.x, r.y, std::max(r.width, 1), std::max(r.height, 1));
}

void xwin_map(WindowId w) {
  if (Display* d = display(); d && w) XMapWindow(d, w);
}

void xwin_unmap(WindowId w) {
  if (Display* d = display(); d && w) XUnmapWindow(d, w);
}

void xwin_raise(WindowId w) {
  if (Display* d = display(); d && w) XRaiseWindow(d, w);
}

void xwin_mapRaised(WindowId w) {
  if (Display* d = display(); d && w) XMapRaised(d, w);
}

void xwin_setBackground(WindowId w, Pixel background) {
  if (Display* d = display(); d && w) XSetWindowBackground(d, w, background);
}

void xwin_selectPointerMotion(WindowId w, bool on) {
  if (Display* d = display(); d && w) XSelectInput(d, w, kChildEvents | (on ? PointerMotionMask : 0));
}

// The server keeps a cursor alive while a window uses it, so ours is freed
// at once.
void xwin_setCursor(WindowId w, WCursorShape shape) {
  Display* d = display();
  if (!d || !w) return;
  Cursor c = XCreateFontCursor(d, cursorFontShape(shape));
  XDefineCursor(d, w, c);
  XFreeCursor(d, c);
}

void xwin_setTitles(WindowId w, const std::string& title, const std::string& icon) {
  Display* d = display();
  if (!d || !w) return;
  Atom utf8 = x11_atom("UTF8_STRING");
  auto put = [&](const char* prop, const std::string& text) {
    XChangeProperty(d, w, x11_atom(prop), utf8, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(text.c_str()),
                    static_cast<int>(text.size()));
  };
  XStoreName(d, w, title.c_str());
  XSetIconName(d, w, icon.c_str());
  put("_NET_WM_NAME", title);
  put("_NET_WM_ICON_NAME", icon);
}

void xwin_setSizeHints(WindowId w, DrawRect r, bool userPlaced) {
  Display* d = display();
  if (!d || !w) return;
  XSizeHints* h = XAllocSizeHints();
  h->flags = PMaxSize | PSize | (userPlaced ? USPosition : 0);
  h->x = r.x, h->y = r.y, h->width = r.width, h->height = r.height;
  h->max_width = sizeLimits.width > 0 ? sizeLimits.width : kMaxSize;
  h->max_height = sizeLimits.height > 0 ? sizeLimits.height : kMaxSize;
  if (sizeLimits.x > 0 || sizeLimits.y > 0) {
    h->flags |= PMinSize;
    h->min_width = std::max(sizeLimits.x, 1), h->min_height = std::max(sizeLimits.y, 1);
  }
  XSetWMNormalHints(d, w, h);
  XFree(h);
}

void xwin_setSizeLimits(int minWidth, int minHeight, int maxWidth, int maxHeight) {
  sizeLimits = DrawRect{std::max(minWidth, 0), std::max(minHeight, 0), std::max(maxWidth, 0),
                        std::max(maxHeight, 0)};
}

// The window's own configure events cannot tell the place: under a
// re-parenting window manager they are relative to the frame.
bool xwin_frameGeometry(WindowId w, DrawRect* out) {
  Display* d = display();
  if (!d || !w) return false;
  XWindowAttributes client, frame;
  if (!XGetWindowAttributes(d, w, &client)) return false;
  Window outer = outermost(d, w);
  if (outer == w) frame = client;
  else if (!XGetWindowAttributes(d, outer, &frame)) return false;
  *out = DrawRect{frame.x, frame.y, client.width, client.height};
  return true;
}

void xwin_setTextProperty(WindowId w, const char* name, const char* text) {
  Display* d = display();
  if (!d || !w) return;
  std::string value = text ? text : "";
  XChangeProperty(d, w, x11_atom(name), x11_atom("UTF8_STRING"), 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(value.c_str()),
                  static_cast<int>(value.size()));
}

WGeometry xwin_parseGeometry(const char* text) {
  WGeometry g;
  if (!text) return g;
  int x = 0, y = 0;
  unsigned w = 0, h = 0;
  int mask = XParseGeometry(text[0] == '=' ? text + 1 : text, &x, &y, &w, &h);
  g.hasWidth = mask & WidthValue;
  g.hasHeight = mask & HeightValue;
  g.hasPosition = (mask & XValue) && (mask & YValue);
  g.fromRight = mask & XNegative;
  g.fromBottom = mask & YNegative;
  g.valid = mask != 0 && (!g.hasWidth || w > 0) && (!g.hasHeight || h > 0);
  g.rect = DrawRect{x, y, static_cast<int>(w), static_cast<int>(h)};
  return g;
}

bool xwin_grabInput(WindowId w) {
  Display* d = display();
  if (!d || !w) return false;
  if (XGrabPointer(d, w, False, kGrabEvents, GrabModeAsync, GrabModeAsync, None, None,
                   CurrentTime) != GrabSuccess)
    return false;
  if (XGrabKeyboard(d, w, False, GrabModeAsync, GrabModeAsync, CurrentTime) != GrabSuccess) {
    XUngrabPointer(d, CurrentTime);
    return false;
  }
  return true;
}

void xwin_releaseInput() {
  Display* d = display();
  if (!d) return;
  XUngrabPointer(d, CurrentTime);
  XUngrabKeyboard(d, CurrentTime);
  XFlush(d);
}

void xwin_rootOrigin(WindowId w, int* rootX, int* rootY) {
  *rootX = *rootY = 0;
  Display* d = display();
  if (!d || !w) return;
  Window child;
  XTranslateCoordinates(d, w, xstate().root, 0, 0, rootX, rootY, &child);
}

bool xwin_pointerOnRoot(int* rootX, int* rootY) {
  Display* d = display();
  if (!d) return false;
  Window root, child;
  int wx, wy;
  unsigned mask;
  return XQueryPointer(d, xstate().root, &root, &child, rootX, rootY, &wx, &wy, &mask);
}

bool xwin_pointerIn(WindowId w, int* x, int* y) {
  Display* d = display();
  if (!d || !w) return false;
  Window root, child;
  int rx, ry;
  unsigned mask;
  return XQueryPointer(d, w, &root, &child, &rx, &ry, x, y, &mask);
}
