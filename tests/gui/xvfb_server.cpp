// Starting and stopping the test's own Xvfb, and running X clients.
#include "xvfb_server.h"

#include <X11/Xlib.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace {

bool exists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

[[noreturn]] void execQuietly(const std::vector<std::string>& argv, int outFd) {
  int null = open("/dev/null", O_RDWR);
  dup2(null, 0);
  dup2(outFd >= 0 ? outFd : null, 1);
  dup2(null, 2);
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  execvp(args[0], args.data());
  _exit(127);
}

}  // namespace

bool XvfbServer::tryNumber(int n) {
  if (exists("/tmp/.X" + std::to_string(n) + "-lock") ||
      exists("/tmp/.X11-unix/X" + std::to_string(n)))
    return false;
  std::string name = ":" + std::to_string(n);
  pid_t pid = fork();
  if (pid < 0) return false;
  if (pid == 0)
    execQuietly({"Xvfb", name, "-screen", "0", "1280x1024x24", "-nolisten", "tcp"}, -1);
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
  while (std::chrono::steady_clock::now() < deadline) {
    int status;
    if (waitpid(pid, &status, WNOHANG) == pid) return false;  // died: number taken
    if (Display* d = XOpenDisplay(name.c_str())) {
      XCloseDisplay(d);
      pid_ = pid;
      name_ = name;
      return true;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
  return false;
}

bool XvfbServer::start() {
  int base = 60 + getpid() % 300;
  for (int i = 0; i < 30; i++) {
    if (tryNumber(base + i)) {
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

int runProgram(const std::vector<std::string>& argv, std::string* out) {
  int fds[2] = {-1, -1};
  if (out && pipe(fds) != 0) return -1;
  pid_t pid = fork();
  if (pid < 0) return -1;
  if (pid == 0) execQuietly(argv, out ? fds[1] : -1);
  if (out) {
    close(fds[1]);
    char buf[4096];
    ssize_t n;
    out->clear();
    while ((n = read(fds[0], buf, sizeof buf)) > 0) out->append(buf, n);
    close(fds[0]);
  }
  int status;
  if (waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
