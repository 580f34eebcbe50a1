#include "viewer_session.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include "xvfb_server.h"

namespace {

using Clock = std::chrono::steady_clock;

// One connection for the whole test program, to the server in DISPLAY.
Display* display() {
  static Display* d = nullptr;
  static std::string name;
  const char* now = std::getenv("DISPLAY");
  if (d && now && name == now) return d;
  if (d) XCloseDisplay(d);
  d = XOpenDisplay(nullptr);
  name = now ? now : "";
  return d;
}

std::string property(unsigned long w, const char* name) {
  Display* d = display();
  if (!d) return "";
  Atom atom = XInternAtom(d, name, False);
  Atom type;
  int format;
  unsigned long count, after;
  unsigned char* data = nullptr;
  std::string out;
  if (XGetWindowProperty(d, w, atom, 0, 1 << 20, False, AnyPropertyType, &type, &format, &count,
                         &after, &data) == Success &&
      data) {
    out.assign(reinterpret_cast<char*>(data), count);
    XFree(data);
  }
  return out;
}

void pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

}  // namespace

std::string ViewerState::get(const std::string& key) const {
  auto it = values.find(key);
  return it == values.end() ? "" : it->second;
}

int ViewerState::number(const std::string& key) const {
  std::string v = get(key);
  return v.empty() ? -1 : std::atoi(v.c_str());
}

Rect ViewerState::rect(const std::string& key) const {
  Rect r;
  std::istringstream(get(key)) >> r.x >> r.y >> r.width >> r.height;
  return r;
}

std::string windowTitle(unsigned long w) {
  Display* d = display();
  char* name = nullptr;
  std::string out;
  if (d && XFetchName(d, w, &name) && name) {
    out = name;
    XFree(name);
  }
  return out;
}

std::vector<unsigned long> findWindows(const std::string& title) {
  std::vector<unsigned long> out;
  Display* d = display();
  if (!d) return out;
  Window root, parent, *children = nullptr;
  unsigned int n = 0;
  if (!XQueryTree(d, DefaultRootWindow(d), &root, &parent, &children, &n)) return out;
  for (unsigned int i = 0; i < n; i++)
    if (windowTitle(children[i]).find(title) != std::string::npos) out.push_back(children[i]);
  if (children) XFree(children);
  return out;
}

ViewerSession::~ViewerSession() {
  if (pid_ > 0) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  if (!errFile_.empty()) unlink(errFile_.c_str());
}

bool ViewerSession::start(const std::vector<std::string>& args, const std::string& configDir) {
  char name[] = "/tmp/viewer-err-XXXXXX";
  int fd = mkstemp(name);
  if (fd < 0) return false;
  errFile_ = name;
  pid_ = fork();
  if (pid_ < 0) return false;
  if (pid_ == 0) {
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    dup2(fd, 2);
    int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    std::vector<std::string> all = {std::string(DIFFVIEW_BIN) + "/diffview", "-configdir",
                                    configDir, "-noclient"};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
  }
  close(fd);
  return true;
}

unsigned long ViewerSession::waitForWindow(const std::string& title, int timeoutMs) {
  auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  while (Clock::now() < deadline) {
    for (unsigned long w : findWindows(title)) {
      if (!property(w, "_DIFFVIEW_STATE").empty()) return window_ = w;
    }
    pause(20);
  }
  return 0;
}

ViewerState ViewerSession::state() const {
  ViewerState s;
  std::istringstream in(property(window_, "_DIFFVIEW_STATE"));
  std::string line;
  while (std::getline(in, line)) {
    size_t eq = line.find('=');
    if (eq != std::string::npos) s.values[line.substr(0, eq)] = line.substr(eq + 1);
  }
  return s;
}

ViewerState ViewerSession::waitFor(const std::function<bool(const ViewerState&)>& ready,
                                   int timeoutMs) const {
  auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  ViewerState s = state();
  while (!ready(s) && Clock::now() < deadline) {
    pause(20);
    s = state();
  }
  return s;
}

std::string ViewerSession::title() const { return windowTitle(window_); }

Rect ViewerSession::geometry() const {
  Rect r;
  Display* d = display();
  XWindowAttributes a;
  if (d && XGetWindowAttributes(d, window_, &a)) r = {a.x, a.y, a.width, a.height};
  return r;
}

// Keys go through the server's test extension to the focused window, as
// typed keys do, so that grabs and popups see them too.
void ViewerSession::key(const std::string& keys) const {
  runProgram({"xdotool", "windowfocus", "--sync", std::to_string(window_)});
  runProgram({"xdotool", "key", keys});
  pause(50);
}

void ViewerSession::type(const std::string& text) const {
  runProgram({"xdotool", "type", "--delay", "5", text});
  pause(50);
}

void ViewerSession::click(int x, int y, int button) const {
  runProgram({"xdotool", "mousemove", "--window", std::to_string(window_), std::to_string(x),
              std::to_string(y), "click", std::to_string(button)});
  pause(50);
}

unsigned long ViewerSession::pixel(int x, int y) const {
  Display* d = display();
  XImage* img = XGetImage(d, window_, x, y, 1, 1, AllPlanes, ZPixmap);
  if (!img) return ~0ul;
  unsigned long p = XGetPixel(img, 0, 0);
  XDestroyImage(img);
  return p;
}

std::map<unsigned long, int> ViewerSession::colours(const Rect& a) const {
  std::map<unsigned long, int> seen;
  XImage* img = XGetImage(display(), window_, a.x, a.y, a.width, a.height, AllPlanes, ZPixmap);
  if (!img) return seen;
  for (int y = 0; y < a.height; y++)
    for (int x = 0; x < a.width; x++) seen[XGetPixel(img, x, y)]++;
  XDestroyImage(img);
  return seen;
}

std::vector<Band> ViewerSession::bands(int x, int y0, int y1) const {
  std::vector<Band> out;
  Display* d = display();
  XImage* img = XGetImage(d, window_, x, y0, 1, y1 - y0, AllPlanes, ZPixmap);
  if (!img) return out;
  for (int y = y0; y < y1; y++) {
    unsigned long p = XGetPixel(img, 0, y - y0);
    if (out.empty() || out.back().pixel != p) out.push_back({y, y + 1, p});
    else out.back().bottom = y + 1;
  }
  XDestroyImage(img);
  return out;
}

int ViewerSession::wait(int timeoutMs) {
  if (pid_ <= 0) return status_;
  auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  int status = 0;
  while (Clock::now() < deadline) {
    pid_t done = waitpid(pid_, &status, WNOHANG);
    if (done == pid_) {
      pid_ = -1;
      return status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    pause(20);
  }
  kill(pid_, SIGKILL);
  waitpid(pid_, nullptr, 0);
  pid_ = -1;
  return -1;
}

bool ViewerSession::running() {
  if (pid_ <= 0) return false;
  int status = 0;
  if (waitpid(pid_, &status, WNOHANG) != pid_) return true;
  pid_ = -1;
  status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return false;
}

std::string ViewerSession::errors() const {
  std::ifstream in(errFile_);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::vector<unsigned long> openPopups() {
  std::vector<unsigned long> out;
  Display* d = display();
  Window root, parent, *children = nullptr;
  unsigned int n = 0;
  if (!d || !XQueryTree(d, DefaultRootWindow(d), &root, &parent, &children, &n)) return out;
  for (unsigned int i = 0; i < n; i++) {
    XWindowAttributes a;
    if (XGetWindowAttributes(d, children[i], &a) && a.map_state == IsViewable &&
        a.override_redirect)
      out.push_back(children[i]);
  }
  if (children) XFree(children);
  return out;
}

std::vector<Band> inkRuns(unsigned long window, int x0, int x1) {
  std::vector<Band> out;
  Display* d = display();
  XWindowAttributes a;
  if (!d || !XGetWindowAttributes(d, window, &a)) return out;
  XImage* img = XGetImage(d, window, 0, 0, a.width, a.height, AllPlanes, ZPixmap);
  if (!img) return out;
  for (int y = 0; y < a.height; y++) {
    unsigned long bg = XGetPixel(img, 4, y);
    bool ink = false;
    for (int x = x0; x < x1 && x < a.width && !ink; x++) ink = XGetPixel(img, x, y) != bg;
    if (!ink) continue;
    if (!out.empty() && out.back().bottom == y) out.back().bottom = y + 1;
    else out.push_back({y, y + 1, 1});
  }
  XDestroyImage(img);
  return out;
}
