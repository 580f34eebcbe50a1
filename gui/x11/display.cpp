// Opening and closing the display: the resource options and database, X
// error handling, the screen's visual and graphics contexts, and the X
// connection as a socket listener of the idle notifier.
#include "gui/x11/display.h"

#include <cstdlib>

#include "base/gen.h"
#include "gui/loop/idle_notifier.h"
#include "gui/x11/resources.h"
#include "gui/x11/xdisplay.h"

namespace {

XState state;
bool xOn = false;

// The X connection as a listener: it only wakes the wait when the server
// sends something, so that the next pass of the loop drains the X queue.
class XSocketListener : public SocketListener {
 public:
  explicit XSocketListener(int fd) : fd_(fd) {}
  bool hasFD() override { return true; }
  int getFD() override { return fd_; }
  bool wantsToRead() override { return true; }
  bool wantsToWrite() override { return false; }
  bool wantsToDequeueAndDispatch() override { return false; }
  bool wantsToStop() override { return false; }
  void handleRead() override {}
  void handleWrite() override {}
  void handleDequeueAndDispatch() override {}
  void handleStop() override {}

 private:
  int fd_;
};
XSocketListener* xListener = nullptr;

// Benign races (a window destroyed while requests about it were in flight)
// are ignored; everything else is reported.
int onXError(Display* d, XErrorEvent* e) {
  if (e->error_code == BadWindow || e->error_code == BadDrawable) return 0;
  char text[256];
  XGetErrorText(d, e->error_code, text, sizeof text);
  gen_warning("X error: %s (request %d.%d)", text, e->request_code, e->minor_code);
  return 0;
}

}  // namespace

XState& xstate() { return state; }

Atom x11_atom(const char* name) { return XInternAtom(state.display, name, False); }

bool XWindowsOn() { return xOn; }

bool gui_openDisplay(int* argc, char** argv, const char* programName, std::string* tried) {
  state.resourceName = programName;
  state.resourceClass = gui_className(programName);
  XrmDatabase cmd = gui_parseResourceOptions(argc, argv, programName);
  const char* name = gui_lookupResource(cmd, state.resourceName.c_str(),
                                        state.resourceClass.c_str(), "display");
  *tried = name ? name : "";
  state.display = XOpenDisplay(tried->empty() ? nullptr : tried->c_str());
  if (!state.display) {
    if (tried->empty() && getenv("DISPLAY")) *tried = getenv("DISPLAY");
    XrmDestroyDatabase(cmd);
    return false;
  }
  state.database = gui_buildResourceDatabase(cmd, state.resourceName.c_str(),
                                             state.resourceClass.c_str(),
                                             XResourceManagerString(state.display));
  return true;
}

void gui_initDisplay(bool listen) {
  Display* d = state.display;
  XSetErrorHandler(onXError);
  const char* sync = gui_getResource("synchronous");
  if (sync && gen_strequal(sync, "on")) XSynchronize(d, True);
  const char* grey = gui_getResource("grey");
  state.greyScale = grey && gen_strequal(grey, "on");
  state.screen = DefaultScreen(d);
  state.visual = DefaultVisual(d, state.screen);
  state.colormap = DefaultColormap(d, state.screen);
  state.depth = DefaultDepth(d, state.screen);
  state.root = RootWindow(d, state.screen);
  XGCValues v{};
  v.graphics_exposures = False;
  state.gc = XCreateGC(d, state.root, GCGraphicsExposures, &v);
  v.graphics_exposures = True;
  state.scrollGc = XCreateGC(d, state.root, GCGraphicsExposures, &v);
  state.wmProtocols = x11_atom("WM_PROTOCOLS");
  state.wmDeleteWindow = x11_atom("WM_DELETE_WINDOW");
  x11_openInputMethod();
  xOn = true;
  if (listen) {
    xListener = new XSocketListener(ConnectionNumber(d));
    getIdleNotifier()->addSocketListener(xListener);
  }
}

void gui_closeDisplay() {
  if (!state.display) return;
  if (xListener) {
    getIdleNotifier()->removeSocketListener(xListener);
    delete xListener;
    xListener = nullptr;
  }
  if (state.gc) XFreeGC(state.display, state.gc);
  if (state.scrollGc) XFreeGC(state.display, state.scrollGc);
  if (state.database) XrmDestroyDatabase(state.database);
  x11_closeInputMethod();
  XCloseDisplay(state.display);
  state = XState();
  xOn = false;
}

const char* gui_getResource(const char* resource) {
  return gui_lookupResource(state.database, state.resourceName.c_str(),
                            state.resourceClass.c_str(), resource);
}

const char* gui_getResourceNamed(const char* name, const char* cls) {
  char* type = nullptr;
  XrmValue value;
  if (!state.database || !XrmGetResource(state.database, name, cls, &type, &value))
    return nullptr;
  return value.addr;
}

void gui_screenSize(int* width, int* height) {
  *width = *height = 0;
  if (!xOn) return;
  *width = DisplayWidth(state.display, state.screen);
  *height = DisplayHeight(state.display, state.screen);
}

void gui_bell() {
  if (xOn) XBell(state.display, 0);
}

int gui_connectionNumber() { return xOn ? ConnectionNumber(state.display) : -1; }
