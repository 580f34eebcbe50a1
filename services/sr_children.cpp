// Tools this tool starts when the router asks (StartPlugin), and the check
// of its children at shutdown.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <thread>

#include "base/gen.h"
#include "services/sr_plugin_link.h"
#include "services/sr_proxy.h"

namespace {

constexpr size_t kStartPluginArgs = 7;  // the router's launch line has at least these
constexpr int kShutdownWaitMs = 4000;
constexpr int kShutdownPollMs = 1000;

std::string programDir() {
  char path[PATH_MAX] = {};
  if (readlink("/proc/self/exe", path, sizeof path - 1) <= 0) return ".";
  char* dir = gen_dirname(path);
  std::string result = dir ? dir : ".";
  gen_free(dir);
  return result;
}

std::string baseName(const std::string& path) {
  char* base = gen_basename(path.c_str());
  std::string result = base ? base : path;
  gen_free(base);
  return result;
}

// Starts argv in `dir` (no shell); the pid, or -1 when the program could
// not be started (a pipe closed by exec tells the two apart).
pid_t spawnIn(const std::vector<std::string>& args, const std::string& dir) {
  int status[2];
  if (pipe2(status, O_CLOEXEC) != 0) return -1;
  const pid_t pid = fork();
  if (pid == 0) {
    close(status[0]);
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    if (dir.empty() || chdir(dir.c_str()) == 0) execvp(argv[0], argv.data());
    int error = errno;
    (void)!write(status[1], &error, sizeof error);
    _exit(127);
  }
  close(status[1]);
  int error = 0;
  ssize_t n = pid > 0 ? read(status[0], &error, sizeof error) : -1;
  close(status[0]);
  if (pid > 0 && n > 0) waitpid(pid, nullptr, 0);
  return pid > 0 && n == 0 ? pid : -1;
}

}  // namespace

void SRProxy::startPlugin(const std::vector<std::string>& args, uint32_t cookie,
                          const std::string& workingDir) {
  if (args.size() < kStartPluginArgs) {
    link->send_StartPluginEvent(
        cookie, 0, "Invalid arguments specified when attempting to launch plugin.", false);
    return;
  }
  std::vector<std::string> argv = args;
  const std::string local = programDir() + "/" + baseName(argv[0]);
  if (access(local.c_str(), X_OK) == 0) argv[0] = local;
  const pid_t pid = spawnIn(argv, workingDir);
  if (pid < 0) {
    link->send_StartPluginEvent(cookie, 0, "Unable to launch plugin.", false);
    return;
  }
  pluginPids[pid] = baseName(argv[0]);
}

void sr_check_children(const std::map<pid_t, std::string>& children, bool wait) {
  std::map<pid_t, std::string> running = children;
  for (int waited = 0;; waited += kShutdownPollMs) {
    for (auto it = running.begin(); it != running.end();) {
      int status = 0;
      const pid_t r = waitpid(it->first, &status, WNOHANG);
      if (r == 0) {
        ++it;
        continue;
      }
      if (r == it->first && WIFSIGNALED(status) && wait)
        fprintf(stderr, "vorne: %s (pid=%d) exited with signal %d\n", it->second.c_str(),
                it->first, WTERMSIG(status));
      it = running.erase(it);
    }
    if (running.empty() || !wait) return;
    if (waited >= kShutdownWaitMs) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(kShutdownPollMs));
  }
  for (const auto& [pid, name] : running) {
    fprintf(stderr,
            "vorne: %s (pid=%d) took more than %d seconds (%d msecs) to shut down (ret=%d, "
            "status=%d), killing process.\n",
            name.empty() ? "plugin" : name.c_str(), pid, kShutdownWaitMs / 1000,
            kShutdownWaitMs, 0, 0);
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
  }
}
