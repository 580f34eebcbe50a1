// One Xvfb per test program, ending with the program.
#include "x_session.h"

#include <X11/Xatom.h>

#include <chrono>
#include <thread>

#include "test_support.h"
#include "xvfb_server.h"

namespace xtest {

namespace {

void (*flushHook)() = nullptr;

// Windows may go while the test looks at them; other errors are reported.
int onError(Display* d, XErrorEvent* e) {
  if (e->error_code == BadWindow || e->error_code == BadDrawable || e->error_code == BadMatch)
    return 0;
  char text[256];
  XGetErrorText(d, e->error_code, text, sizeof text);
  ADD_FAILURE() << "X error: " << text << " (request " << int(e->request_code) << ")";
  return 0;
}

// The server is never deleted: a child that exits (a death test) must
// not take it along.  It ends with the program, which it is bound to.
Display* open() {
  auto* server = new XvfbServer;
  if (!server->start()) return nullptr;
  XSetErrorHandler(onError);
  return XOpenDisplay(server->display().c_str());
}

}  // namespace

Display* display() {
  static Display* d = open();
  return d;
}

void setFlush(void (*f)()) { flushHook = f; }

void flush() {
  if (flushHook) flushHook();
  if (display()) XSync(display(), False);
}

int run(const std::vector<std::string>& argv) {
  std::vector<std::string> args(argv.begin() + 1, argv.end());
  return test_support::runProgram(argv[0], args).status;
}

// Unless told otherwise xdotool pauses 100 ms after a click and 12 ms
// after a key or typed character; the tests wait for what they need instead.
int xdotool(const std::vector<std::string>& args) {
  std::vector<std::string> argv{"xdotool"};
  for (size_t i = 0; i < args.size(); i++) {
    argv.push_back(args[i]);
    bool paced = args[i] == "click" || args[i] == "key" || args[i] == "type";
    if (paced && (i + 1 == args.size() || args[i + 1].rfind("--", 0) != 0))
      argv.insert(argv.end(), {"--delay", "0"});
  }
  return run(argv);
}

bool poll(const std::function<bool()>& cond, int ms, const std::function<void()>& step) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  for (;;) {
    if (step) step();
    if (cond()) return true;
    if (std::chrono::steady_clock::now() > deadline) return false;
    if (!step) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

std::string title(unsigned long w) {
  flush();
  char* name = nullptr;
  std::string out;
  if (display() && XFetchName(display(), w, &name) && name) out = name;
  if (name) XFree(name);
  return out;
}

std::string property(unsigned long w, const char* name) {
  Atom type;
  int format;
  unsigned long count, after;
  unsigned char* data = nullptr;
  std::string out;
  flush();
  if (display() && XGetWindowProperty(display(), w, XInternAtom(display(), name, False), 0,
                                      1 << 20, False, AnyPropertyType, &type, &format, &count,
                                      &after, &data) == Success && data)
    out.assign(reinterpret_cast<char*>(data), count * (format == 32 ? sizeof(long) : format / 8));
  if (data) XFree(data);
  return out;
}

namespace {
std::vector<unsigned long> children() {
  Window root, parent, *list = nullptr;
  unsigned int n = 0;
  std::vector<unsigned long> out;
  if (display() && XQueryTree(display(), DefaultRootWindow(display()), &root, &parent, &list, &n))
    out.assign(list, list + n);
  if (list) XFree(list);
  return out;
}
}  // namespace

std::vector<unsigned long> topWindows(const std::string& part) {
  std::vector<unsigned long> out;
  for (unsigned long w : children()) {
    std::string t = title(w);
    if (!t.empty() && t.find(part) != std::string::npos) out.push_back(w);
  }
  return out;
}

std::vector<unsigned long> popups() {
  std::vector<unsigned long> out;
  XWindowAttributes a;
  for (unsigned long w : children())
    if (XGetWindowAttributes(display(), w, &a) && a.map_state == IsViewable && a.override_redirect)
      out.push_back(w);
  return out;
}

bool viewable(unsigned long w) {
  flush();
  XWindowAttributes a;
  return w && display() && XGetWindowAttributes(display(), w, &a) && a.map_state == IsViewable;
}

Rect geometry(unsigned long w) {
  flush();
  XWindowAttributes a;
  if (!display() || !XGetWindowAttributes(display(), w, &a)) return {};
  return {a.x, a.y, a.width, a.height};
}

void sendDelete(unsigned long w) {
  Display* d = display();
  XEvent e{};
  e.xclient.type = ClientMessage;
  e.xclient.window = w;
  e.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
  e.xclient.format = 32;
  e.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
  XSendEvent(d, w, False, NoEventMask, &e);
  XFlush(d);
}

}  // namespace xtest
