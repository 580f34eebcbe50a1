// Starting a program for the router: an argument vector (never a shell),
// a working directory, and the environment with the settings tools sent.
#pragma once

#include <sys/types.h>

#include <string>
#include <utility>
#include <vector>

using RouterEnvironment = std::vector<std::pair<std::string, std::string>>;

// Starts argv[0] (a path) with `argv` in `dir` (the router's own when
// empty or not a directory), the router's environment with `env` set on
// top.  The child's pid, or -1 with *error saying why.  The caller reaps it.
pid_t router_spawn(const std::vector<std::string>& argv, const std::string& dir,
                   const RouterEnvironment& env, std::string* error);
