// Starting and stopping the test's own Xvfb.
#include "xvfb_server.h"

#include <X11/Xlib.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <vector>

namespace {

[[noreturn]] void execQuietly(const std::vector<std::string>& argv) {
  int null = open("/dev/null", O_RDWR);
  dup2(null, 0);
  dup2(null, 1);
  dup2(null, 2);
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  execvp(args[0], args.data());
  _exit(127);
}

}  // namespace

// Xvfb picks a free display number itself and writes it to a pipe, so
// parallel test programs never race for one.
bool XvfbServer::launch() {
  int fds[2];
  if (pipe(fds) != 0) return false;
  pid_t pid = fork();
  if (pid < 0) return false;
  if (pid == 0) {
    close(fds[0]);
    // The server goes with the test program, however that ends; it does not
    // reset when its last client leaves (a reset refuses connections).
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    execQuietly({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", "1280x1024x24",
                 "-nolisten", "tcp", "-noreset"});
  }
  close(fds[1]);
  std::string number;
  pollfd p{fds[0], POLLIN, 0};
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (number.find('\n') == std::string::npos && std::chrono::steady_clock::now() < deadline) {
    if (poll(&p, 1, 100) <= 0) continue;
    char buf[32];
    ssize_t n = read(fds[0], buf, sizeof buf);
    if (n <= 0) break;
    number.append(buf, n);
  }
  close(fds[0]);
  if (number.find('\n') == std::string::npos) {
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return false;
  }
  pid_ = pid;
  name_ = ":" + number.substr(0, number.find('\n'));
  Display* d = XOpenDisplay(name_.c_str());
  if (!d) {
    stop();
    return false;
  }
  XCloseDisplay(d);
  return true;
}

bool XvfbServer::start() {
  for (int attempt = 0; attempt < 3; attempt++) {
    if (launch()) {
      setenv("DISPLAY", name_.c_str(), 1);
      return true;
    }
  }
  return false;
}

void XvfbServer::stop() {
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  waitpid(pid_, nullptr, 0);
  pid_ = 0;
}
