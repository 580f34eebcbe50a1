// fork and exec with everything prepared before the fork, so that the
// child only changes directory, restores the broken-pipe signal the router
// ignores, and executes.
#include "svc_router/router_spawn.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "base/gen.h"

extern char** environ;

namespace {

std::vector<std::string> mergedEnvironment(const RouterEnvironment& env) {
  std::vector<std::string> merged;
  for (char** e = environ; e && *e; e++) {
    const char* eq = std::strchr(*e, '=');
    size_t nameLength = eq ? static_cast<size_t>(eq - *e) : std::strlen(*e);
    bool replaced = false;
    for (const auto& [name, value] : env)
      replaced |= name.size() == nameLength && name.compare(0, nameLength, *e, nameLength) == 0;
    if (!replaced) merged.emplace_back(*e);
  }
  for (const auto& [name, value] : env) merged.push_back(name + "=" + value);
  return merged;
}

std::vector<char*> pointers(std::vector<std::string>& words) {
  std::vector<char*> out;
  for (std::string& w : words) out.push_back(w.data());
  out.push_back(nullptr);
  return out;
}

}  // namespace

pid_t router_spawn(const std::vector<std::string>& argv, const std::string& dir,
                   const RouterEnvironment& env, std::string* error) {
  if (argv.empty()) {
    *error = "no program";
    return -1;
  }
  std::vector<std::string> args = argv, envWords = mergedEnvironment(env);
  std::vector<char*> argp = pointers(args), envp = pointers(envWords);
  const char* where = !dir.empty() && gen_isdir(dir.c_str()) ? dir.c_str() : nullptr;
  pid_t pid = fork();
  if (pid < 0) {
    *error = std::string("fork failed: ") + std::strerror(errno);
    return -1;
  }
  if (pid == 0) {
    signal(SIGPIPE, SIG_DFL);
    if (where && chdir(where) != 0) _exit(127);
    execve(argp[0], argp.data(), envp.data());
    _exit(127);
  }
  return pid;
}
