// The command runner: fork and exec with pipes, a poll loop that drains
// both outputs until they close or the time runs out, then the wait.
#include "vc_service/vcs_run.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Never returns: the child's side of the fork.
[[noreturn]] void execChild(const std::vector<std::string>& argv, const std::string& dir,
                            int outFd, int errFd) {
  setpgid(0, 0);
  const int nullFd = open("/dev/null", O_RDONLY);
  if (nullFd >= 0) dup2(nullFd, 0);
  dup2(outFd, 1);
  dup2(errFd, 2);
  signal(SIGPIPE, SIG_DFL);
  setenv("LC_ALL", "C", 1);
  setenv("GIT_TERMINAL_PROMPT", "0", 1);
  if (!dir.empty() && chdir(dir.c_str()) != 0) {
    dprintf(2, "cannot enter %s: %s\n", dir.c_str(), strerror(errno));
    _exit(127);
  }
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  execvp(args[0], args.data());
  dprintf(2, "cannot run %s: %s\n", args[0], strerror(errno));
  _exit(127);
}

int64_t nowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// Reads both pipes until they close or the deadline passes.
bool drain(int outFd, int errFd, std::string* out, std::string* err, int64_t deadline) {
  pollfd fds[2] = {{outFd, POLLIN, 0}, {errFd, POLLIN, 0}};
  std::string* sinks[2] = {out, err};
  int open = 2;
  char buf[65536];
  while (open > 0) {
    const int64_t left = deadline - nowMs();
    if (left <= 0) return false;
    const int n = poll(fds, 2, static_cast<int>(left));
    if (n < 0 && errno != EINTR) return false;
    for (int i = 0; i < 2 && n > 0; i++) {
      if (fds[i].fd < 0 || fds[i].revents == 0) continue;
      const ssize_t got = read(fds[i].fd, buf, sizeof buf);
      if (got > 0) {
        sinks[i]->append(buf, static_cast<size_t>(got));
      } else if (got == 0 || errno != EINTR) {
        fds[i].fd = -1;
        open--;
      }
    }
  }
  return true;
}

}  // namespace

std::string VcsResult::error() const {
  if (timedOut)
    return program + " did not finish within " +
           (timeoutMs % 1000 ? std::to_string(timeoutMs) + " ms"
                             : std::to_string(timeoutMs / 1000) + " s") +
           " and was stopped";
  std::string text = err;
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
  if (!text.empty()) return text;
  return program + " failed" + (status >= 0 ? " with exit status " + std::to_string(status) : "");
}

VcsResult vcs_Run(const std::vector<std::string>& argv, const std::string& dir, int timeoutMs) {
  VcsResult r;
  r.program = argv.empty() ? "" : argv[0];
  r.timeoutMs = timeoutMs;
  int outPipe[2], errPipe[2];
  if (argv.empty() || pipe2(outPipe, O_CLOEXEC) != 0) {
    r.err = "cannot run " + r.program + ": " + strerror(errno);
    return r;
  }
  if (pipe2(errPipe, O_CLOEXEC) != 0) {
    r.err = "cannot run " + r.program + ": " + strerror(errno);
    close(outPipe[0]), close(outPipe[1]);
    return r;
  }
  const pid_t pid = fork();
  if (pid == 0) execChild(argv, dir, outPipe[1], errPipe[1]);
  close(outPipe[1]), close(errPipe[1]);
  if (pid < 0) {
    r.err = "cannot run " + r.program + ": " + strerror(errno);
  } else {
    setpgid(pid, pid);
    r.timedOut = !drain(outPipe[0], errPipe[0], &r.out, &r.err, nowMs() + timeoutMs);
    if (r.timedOut) kill(-pid, SIGKILL), kill(pid, SIGKILL);
    int wstatus = 0;
    while (waitpid(pid, &wstatus, 0) < 0 && errno == EINTR) {
    }
    r.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
  }
  close(outPipe[0]), close(errPipe[0]);
  return r;
}
