// Starting diffview, reading its published state, and driving it.
#include "viewer_session.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

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
  if (fd < 0 || !xtest::display()) return false;
  errFile_ = name;
  pid_ = fork();
  if (pid_ == 0) {
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    dup2(fd, 2);
    dup2(open("/dev/null", O_WRONLY), 1);
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
  return pid_ > 0;
}

unsigned long ViewerSession::waitForWindow(const std::string& title) {
  window_ = 0;
  xtest::poll([&] {
    for (unsigned long w : xtest::topWindows(title))
      if (!xtest::property(w, "_DIFFVIEW_STATE").empty()) window_ = w;
    return window_ != 0;
  }, 10000);
  return window_;
}

ViewerState ViewerSession::state() const {
  ViewerState s;
  std::istringstream in(xtest::property(window_, "_DIFFVIEW_STATE"));
  std::string line;
  while (std::getline(in, line)) {
    size_t eq = line.find('=');
    if (eq != std::string::npos) s.values[line.substr(0, eq)] = line.substr(eq + 1);
  }
  return s;
}

ViewerState ViewerSession::waitFor(const std::function<bool(const ViewerState&)>& ready) const {
  ViewerState s;
  xtest::poll([&] { return ready(s = state()); });
  return s;
}

int ViewerSession::waitForCurrent(int current) const {
  return waitFor([&](const ViewerState& s) { return s.number("current") == current; })
      .number("current");
}

void ViewerSession::key(const std::string& keys) const {
  xtest::xdotool({"windowfocus", "--sync", std::to_string(window_), "key", keys});
}

void ViewerSession::click(int x, int y, int button) const {
  xtest::xdotool({"mousemove", "--window", std::to_string(window_), std::to_string(x),
                  std::to_string(y), "click", std::to_string(button)});
}

std::vector<Band> ViewerSession::rowBands(const std::string& view) const {
  Rect r = state().rect(view);
  return xtest::bands(window_, r.x + r.width - 6, r.y, r.y + r.height);
}

int ViewerSession::wait() {
  int status = 0;
  bool ended = xtest::poll([&] { return waitpid(pid_, &status, WNOHANG) == pid_; }, 10000);
  if (!ended) return -1;  // the destructor kills it
  pid_ = -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

bool ViewerSession::running() {
  if (pid_ > 0 && waitpid(pid_, nullptr, WNOHANG) == pid_) pid_ = -1;
  return pid_ > 0;
}

std::string ViewerSession::errors() const {
  std::stringstream s;
  s << std::ifstream(errFile_).rdbuf();
  return s.str();
}

void keys(const std::vector<std::string>& names) {
  std::vector<std::string> args{"key"};
  args.insert(args.end(), names.begin(), names.end());
  xtest::xdotool(args);
}

void type(const std::string& text) { xtest::xdotool({"type", "--delay", "5", text}); }

unsigned long focusWindow(const std::string& title) {
  unsigned long found = 0;
  xtest::poll([&] {
    std::vector<unsigned long> w = xtest::topWindows(title);
    found = w.size() == 1 && xtest::viewable(w[0]) ? w[0] : 0;
    return found != 0;
  });
  if (found) xtest::xdotool({"windowfocus", "--sync", std::to_string(found)});
  return found;
}
