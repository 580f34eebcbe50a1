// Top-level windows: the X window with the window manager's protocols, the
// master list, names and status messages, and closing with the close
// callback's veto (from the program, Control+Q, or the close button).
#include "gui/core/colwind.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "base/gen.h"
#include "config/config_vars.h"
#include "gui/core/application.h"
#include "gui/core/bindings.h"
#include "gui/core/item.h"
#include "gui/core/pixels.h"
#include "gui/core/splash.h"
#include "gui/core/window_registry.h"
#include "gui/x11/display.h"
#include "gui/x11/events.h"
#include "gui/x11/window.h"

namespace {

constexpr int kMaxSize = 32767;

std::unordered_map<WindowId, ColWind*> masterList;
int nextSequence = 1;
std::string versionControlView;

// The first window honours "-geometry" (size, and position when given;
// "-X" and "-Y" count from the screen's right and bottom edges) when the
// program left the placement to the toolkit.  True when it placed the
// window; *sized tells whether it sized it.  A text that is no geometry is
// reported and ignored.
bool applyGeometryResource(int* x, int* y, int* width, int* height, bool* sized) {
  const char* text = gui_getResource("geometry");
  *sized = false;
  if (!text) return false;
  WGeometry g = xwin_parseGeometry(text);
  if (!g.valid) {
    gen_warning("Ignoring the geometry \"%s\": it is not WIDTHxHEIGHT+X+Y", text);
    return false;
  }
  *sized = g.hasWidth || g.hasHeight;
  if (g.hasWidth) *width = g.rect.width;
  if (g.hasHeight) *height = g.rect.height;
  if (!g.hasPosition) return false;
  int screenWidth = 0, screenHeight = 0;
  gui_screenSize(&screenWidth, &screenHeight);
  *x = g.fromRight ? screenWidth - *width + g.rect.x : g.rect.x;
  *y = g.fromBottom ? screenHeight - *height + g.rect.y : g.rect.y;
  return true;
}

// "firstposition" places the first window when nothing else did.
bool applyFirstPosition(int* x, int* y) {
  if (cfg_firstposition.width <= 0 && cfg_firstposition.height <= 0) return false;
  *x = std::max(cfg_firstposition.width, 0), *y = std::max(cfg_firstposition.height, 0);
  return true;
}

// Sizes within "minwindowsize" and "maxwindowsize" (a dimension of 0 or
// less is free), which the window manager is told too.
void limitSize(int* width, int* height) {
  xwin_setSizeLimits(cfg_minwindowsize.width, cfg_minwindowsize.height,
                     cfg_maxwindowsize.width, cfg_maxwindowsize.height);
  if (cfg_maxwindowsize.width > 0) *width = std::min(*width, cfg_maxwindowsize.width);
  if (cfg_maxwindowsize.height > 0) *height = std::min(*height, cfg_maxwindowsize.height);
  if (cfg_minwindowsize.width > 0) *width = std::max(*width, cfg_minwindowsize.width);
  if (cfg_minwindowsize.height > 0) *height = std::max(*height, cfg_minwindowsize.height);
  *width = std::clamp(*width, 1, kMaxSize), *height = std::clamp(*height, 1, kMaxSize);
}

std::string shownTitle(const ColWind* w) {
  std::string t = w->title.empty() ? w->name : w->title;
  if (!versionControlView.empty()) t += "     (VIEW: " + versionControlView + ")";
  if (!w->statusBox && !w->message.empty()) t += "  -  " + w->message;
  return t;
}

void updateTitle(ColWind* w) {
  if (!w->getWindow()) return;
  std::string icon = !w->iconName.empty() ? w->iconName : !w->title.empty() ? w->title : w->name;
  xwin_setTitles(w->getWindow(), shownTitle(w), icon);
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

// A key bound to a command the window knows (the bindings of the
// configuration included): true when it ran (the window may be gone then).
bool runBoundCommand(ColWind* w, xinLibSt* e) {
  const char* command = W_keyCommand(e->code, e->state);
  if (!command) return false;
  if (!strcmp(command, "Close")) {
    cwDestroy(w);
    return true;
  }
  return w->commandHandler && w->commandHandler(command);
}

}  // namespace

ColWind::ColWind(DrawRect placement, Pixel background)
    : WWindowedItem(TopLevelTag{}, placement, background) {
  WindowId w = xwin_createTopLevel(placement, background);
  if (!w) return;
  adoptWindow(w);
  gui_registerWindow(w, this);
}

ColWind::~ColWind() {
  while (!getChildren().empty()) delete getChildren().back();
  if (gui_getModalWindow() == this) gui_setModalWindow(nullptr);
  masterList.erase(getWindow());
  if (WApplication* app = WGetApplication()) std::erase(app->windows, this);
}

int ColWind::handleEvent(xinLibSt* e) {
  if (getEventStealHook() && getEventStealHook()(e, this)) return 1;
  if (xev_isCloseRequest(e)) {
    cwDestroy(this);
    return 1;
  }
  if (e->type == WEV_CONFIGURE) handleConfigure(e->width, e->height);
  if (e->type == WEV_MAP && e->x == 1) W_closeSplash();  // the first window is up
  bool key = e->type == WEV_KEY || e->type == WEV_HELP;
  if (key && runKeyHooks(this, e)) return 1;
  if (e->type == WEV_KEY && runBoundCommand(this, e)) return 1;
  WWindowedItem* active = getActiveItem();
  if (key && active && active != this && active->EventParse(e)) return 1;
  auto alive = aliveToken();
  if (eventCallback && eventCallback(e, this)) return 1;
  if (alive.expired()) return 1;
  return e->type == WEV_CONFIGURE ? 1 : WWindowedItem::handleEvent(e);
}

ColWind* cwxCreatexy(int x, int y, const char* name, const char* title, const char* iconName,
                     ColWindCloseFn closeCallback, ColWindEventFn eventCallback, int width,
                     int height, void* returnData) {
  if (!XWindowsOn() || !W_defaultWindowBindings()) return nullptr;
  bool placed = x >= 0 && y >= 0, sized = false, fromResource = false;
  int seq = nextSequence++;
  if (seq == 1 && !placed)
    placed = fromResource = applyGeometryResource(&x, &y, &width, &height, &sized);
  if (seq == 1 && !placed) placed = applyFirstPosition(&x, &y);
  if (!placed) x = 40 + 30 * (seq % 8), y = 40 + 30 * (seq % 8);
  limitSize(&width, &height);
  ColWind* w = new ColWind(DrawRect{x, y, width, height}, bg_pixel);
  w->sequence = seq;
  w->sizeGiven = sized, w->placeGiven = fromResource;
  w->closeCallback = closeCallback;
  w->eventCallback = eventCallback;
  w->returnData = returnData;
  xwin_setSizeHints(w->getWindow(), DrawRect{x, y, width, height}, placed);
  cwSetName(w, name, title, iconName);
  masterList[w->getWindow()] = w;
  if (WApplication* app = WGetApplication()) app->windows.push_back(w);
  xwin_map(w->getWindow());
  W_raiseSplash();
  return w;
}

void cwSetGeometry(ColWind* w, DrawRect r) {
  if (!w) return;
  limitSize(&r.width, &r.height);
  // The default north-west gravity makes a re-parenting window manager put
  // its frame's corner, not the client's, at the position asked for.
  xwin_setSizeHints(w->getWindow(), r, true);
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
  if (W_toolTipHooks().close) W_toolTipHooks().close();
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
  xev_dropEventsOf(ids);  // events still queued for the destroyed windows
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

void cwSetCommandHandler(ColWind* w, std::function<bool(const char*)> handler) {
  if (w) w->commandHandler = std::move(handler);
}

void cwRemoveKeyHook(ColWind* w, ColWindKeyHook hook, void* data) {
  if (w) std::erase(w->keyHooks, std::make_pair(hook, data));
}

void cwSetVersionControlView(const char* view) {
  versionControlView = view ? view : "";
  cwCallProcOnAll([](ColWind* w, void*) { updateTitle(w); }, nullptr);
}
