// Top-level windows: the X window with the window manager's protocols, the
// master list, names and status messages, and closing with the close
// callback's veto (from the program, Control+Q, or the close button).
#include "gui/colwind.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/cursorfont.h>

#include <algorithm>
#include <cstring>
#include <strings.h>
#include <unordered_map>

#include "gui/bindings.h"
#include "gui/tooltip.h"
#include "gui/window_registry.h"
#include "gui/wgui.h"
#include "gui/xdisplay.h"

namespace {

constexpr long kTopLevelEvents = ExposureMask | KeyPressMask | KeyReleaseMask |
                                 ButtonPressMask | ButtonReleaseMask | ButtonMotionMask |
                                 EnterWindowMask | LeaveWindowMask | FocusChangeMask |
                                 StructureNotifyMask;
constexpr int kMaxSize = 32767;

std::unordered_map<WindowId, ColWind*> masterList;
int nextSequence = 1;
std::string versionControlView;

void setSizeHints(Window w, DrawRect r, bool placed) {
  XSizeHints* h = XAllocSizeHints();
  h->flags = PMaxSize | PSize | (placed ? USPosition : 0);
  h->x = r.x, h->y = r.y, h->width = r.width, h->height = r.height;
  h->max_width = kMaxSize, h->max_height = kMaxSize;
  XSetWMNormalHints(xstate().display, w, h);
  XFree(h);
}

// The first window honours "-geometry" (size, and position when given)
// when the program left the placement to the toolkit.
bool applyGeometryResource(int* x, int* y, int* width, int* height) {
  const char* g = gui_getResource("geometry");
  if (!g) return false;
  int gx = 0, gy = 0;
  unsigned gw = 0, gh = 0;
  int mask = XParseGeometry(g[0] == '=' ? g + 1 : g, &gx, &gy, &gw, &gh);
  if (mask & WidthValue) *width = static_cast<int>(gw);
  if (mask & HeightValue) *height = static_cast<int>(gh);
  if (!(mask & XValue) || !(mask & YValue)) return false;
  *x = gx, *y = gy;
  return true;
}

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
  XSetWMHints(xs.display, w, wm);
  XFree(wm);
  XSetWMProtocols(xs.display, w, &xs.wmDeleteWindow, 1);
}

// Titles as the window manager shows them: UTF-8 and the legacy property.
void setTitles(Window w, const std::string& title, const std::string& icon) {
  XState& xs = xstate();
  Atom utf8 = XInternAtom(xs.display, "UTF8_STRING", False);
  auto put = [&](const char* prop, const std::string& text) {
    XChangeProperty(xs.display, w, XInternAtom(xs.display, prop, False), utf8, 8,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(text.c_str()),
                    static_cast<int>(text.size()));
  };
  XStoreName(xs.display, w, title.c_str());
  XSetIconName(xs.display, w, icon.c_str());
  put("_NET_WM_NAME", title);
  put("_NET_WM_ICON_NAME", icon);
}

std::string shownTitle(const ColWind* w) {
  std::string t = w->title.empty() ? w->name : w->title;
  if (!versionControlView.empty()) t += "     (VIEW: " + versionControlView + ")";
  if (!w->statusBox && !w->message.empty()) t += "  -  " + w->message;
  return t;
}

void updateTitle(ColWind* w) {
  if (!w->getWindow() || !XWindowsOn()) return;
  std::string icon = !w->iconName.empty() ? w->iconName : !w->title.empty() ? w->title : w->name;
  setTitles(w->getWindow(), shownTitle(w), icon);
}

// Events of the destroyed windows still queued are dropped.
Bool belongsTo(Display*, XEvent* e, XPointer arg) {
  const auto* ids = reinterpret_cast<const std::vector<WindowId>*>(arg);
  return std::find(ids->begin(), ids->end(), e->xany.window) != ids->end();
}

void collectWindows(WWindowedItem* item, std::vector<WindowId>* ids) {
  if (item->getWindow()) ids->push_back(item->getWindow());
  for (WWindowedItem* c : item->getChildren()) collectWindows(c, ids);
}

// True when a key hook consumed the key (the window may be gone then).
bool runKeyHooks(ColWind* w, xinLibSt* e) {
  auto alive = w->aliveToken();
  auto hooks = w->keyHooks;
  for (const auto& h : hooks) {
    if (alive.expired()) return true;
    if (std::find(w->keyHooks.begin(), w->keyHooks.end(), h) == w->keyHooks.end()) continue;
    if (h.first(e, h.second)) return true;
  }
  return alive.expired();
}

}  // namespace

ColWind::ColWind(DrawRect placement, Pixel background)
    : WWindowedItem(TopLevelTag{}, placement, background) {
  if (!XWindowsOn()) return;
  XState& xs = xstate();
  XSetWindowAttributes a{};
  a.background_pixel = background;
  a.event_mask = kTopLevelEvents;
  a.cursor = XCreateFontCursor(xs.display, XC_left_ptr);
  Window w = XCreateWindow(xs.display, xs.root, placement.x, placement.y, placement.width,
                           placement.height, 0, CopyFromParent, InputOutput, CopyFromParent,
                           CWBackPixel | CWEventMask | CWCursor, &a);
  XFreeCursor(xs.display, a.cursor);
  adoptWindow(w);
  setClassAndProtocols(w);
  WindowRecord r;
  r.item = this;
  gui_registerWindow(w, r);
}

ColWind::~ColWind() {
  while (!getChildren().empty()) delete getChildren().back();
  if (gui_getModalWindow() == this) gui_setModalWindow(nullptr);
  masterList.erase(getWindow());
  if (WApplication* app = WGetApplication()) std::erase(app->windows, this);
}

int ColWind::handleEvent(xinLibSt* e) {
  if (getEventStealHook() && getEventStealHook()(e, this)) return 1;
  if (e->type == WEV_CLIENT && static_cast<Atom>(e->subKind) == xstate().wmDeleteWindow) {
    cwDestroy(this);
    return 1;
  }
  if (e->type == WEV_CONFIGURE) handleConfigure(e->width, e->height);
  bool key = e->type == WEV_KEY || e->type == WEV_HELP;
  if (key && runKeyHooks(this, e)) return 1;
  if (key && activeItem && activeItem != this && activeItem->EventParse(e)) return 1;
  auto alive = aliveToken();
  if (eventCallback && eventCallback(e, this)) return 1;
  if (alive.expired()) return 1;
  if (e->type == WEV_KEY) {
    const char* command = W_keyCommand(e->code, e->state);
    if (command && !strcmp(command, "Close")) {
      cwDestroy(this);
      return 1;
    }
  }
  return e->type == WEV_CONFIGURE ? 1 : WWindowedItem::handleEvent(e);
}

ColWind* cwxCreatexy(int x, int y, const char* name, const char* title, const char* iconName,
                     ColWindCloseFn closeCallback, ColWindEventFn eventCallback, int width,
                     int height, void* returnData) {
  if (!XWindowsOn() || !W_defaultWindowBindings()) return nullptr;
  bool placed = x >= 0 && y >= 0;
  int seq = nextSequence++;
  if (seq == 1 && !placed) placed = applyGeometryResource(&x, &y, &width, &height);
  if (!placed) x = 40 + 30 * (seq % 8), y = 40 + 30 * (seq % 8);
  width = std::clamp(width, 1, kMaxSize), height = std::clamp(height, 1, kMaxSize);
  ColWind* w = new ColWind(DrawRect{x, y, width, height}, bg_pixel);
  w->sequence = seq;
  w->closeCallback = closeCallback;
  w->eventCallback = eventCallback;
  w->returnData = returnData;
  setSizeHints(w->getWindow(), DrawRect{x, y, width, height}, placed);
  cwSetName(w, name, title, iconName);
  masterList[w->getWindow()] = w;
  if (WApplication* app = WGetApplication()) app->windows.push_back(w);
  XMapWindow(xstate().display, w->getWindow());
  return w;
}

void cwSetGeometry(ColWind* w, DrawRect r) {
  if (!w) return;
  r.width = std::clamp(r.width, 1, kMaxSize), r.height = std::clamp(r.height, 1, kMaxSize);
  // The default north-west gravity makes a re-parenting window manager put
  // its frame's corner, not the client's, at the position asked for.
  if (w->getWindow() && XWindowsOn()) setSizeHints(w->getWindow(), r, true);
  w->setGeometry(r);
}

void cwSetName(ColWind* w, const char* name, const char* title, const char* iconName) {
  if (!w) return;
  w->name = name ? name : "";
  w->title = title ? title : "";
  w->iconName = iconName ? iconName : "";
  updateTitle(w);
}

void cwSetMsg(ColWind* w, const char* message, int) {
  if (!w) return;
  std::string text;
  if (!message || !*message) {
    text = w->permanentMessage;
  } else {
    text = message;
    text = text.substr(0, text.find_first_of("\r\n"));
    if (text == w->message) return;
  }
  w->message = text;
  if (w->statusBox) w->statusBox->setStatusText(text.c_str());
  else updateTitle(w);
}

void cwSetPermanentMsg(ColWind* w, const char* message) {
  if (w) w->permanentMessage = message ? message : "";
}

void cwSetStatusBox(ColWind* w, WStatusItem* statusItem) {
  if (!w) return;
  w->statusBox = statusItem;
  if (statusItem) statusItem->setStatusText(w->message.c_str());
  updateTitle(w);
}

int cwDestroy(ColWind* w) {
  if (!w) return 0;
  auto alive = w->aliveToken();
  bool ask = !w->closing;  // a close callback that closes its own window is obeyed
  w->closing = true;
  W_toolTipClose();
  if (ask && w->closeCallback) {
    int allowed = w->closeCallback(w);
    if (alive.expired()) return 1;
    if (!allowed) {
      w->closing = false;
      return 0;
    }
  }
  std::vector<WindowId> ids;
  collectWindows(w, &ids);
  delete w;
  if (XWindowsOn()) {
    XSync(xstate().display, False);
    XEvent e;
    while (XCheckIfEvent(xstate().display, &e, belongsTo, reinterpret_cast<XPointer>(&ids))) {
    }
  }
  return 1;
}

void cwCallProcOnAll(void (*proc)(ColWind*, void*), void* data) {
  std::vector<ColWind*> all;
  for (auto& [id, w] : masterList) all.push_back(w);
  std::sort(all.begin(), all.end(),
            [](const ColWind* a, const ColWind* b) { return a->sequence < b->sequence; });
  for (ColWind* w : all)
    if (masterList.count(w->getWindow())) proc(w, data);
}

int cwCount() { return static_cast<int>(masterList.size()); }

ColWind* cwFromWindow(WindowId window) {
  auto it = masterList.find(window);
  return it == masterList.end() ? nullptr : it->second;
}

void cwAddKeyHook(ColWind* w, ColWindKeyHook hook, void* data) {
  if (w && hook) w->keyHooks.emplace_back(hook, data);
}

void cwRemoveKeyHook(ColWind* w, ColWindKeyHook hook, void* data) {
  if (w) std::erase(w->keyHooks, std::make_pair(hook, data));
}

void cwSetVersionControlView(const char* view) {
  versionControlView = view ? view : "";
  cwCallProcOnAll([](ColWind* w, void*) { updateTitle(w); }, nullptr);
}
