// Runs a built program as a user would, capturing what it prints and how
// it ends.
#pragma once

#include <string>
#include <vector>

struct ProgramResult {
  int status = -1;      // exit status, or 128 + signal
  std::string out;      // standard output
  std::string err;      // standard error
};

// Runs `program` with `args` (argv[0] is the program path); `env` entries
// ("NAME=value") are added to the inherited environment.
ProgramResult runProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::vector<std::string>& env = {});
