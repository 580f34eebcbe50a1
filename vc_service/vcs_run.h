// Running a version-control system's command: an argument vector (never a
// shell) in a working directory, standard input from /dev/null, both
// outputs read in full, a time limit after which the command and its
// children are killed, and the exit status.
#pragma once

#include <string>
#include <vector>

// Below the viewer's 60 s wait for an answer, so that a command that
// hangs is reported as such before the viewer gives up on the service.
constexpr int kVcsCommandTimeoutMs = 55000;

struct VcsResult {
  int status = -1;  // the exit status; -1 when it did not exit normally
  bool timedOut = false;
  std::string out, err;

  bool ok() const { return status == 0 && !timedOut; }
  // What went wrong, for an error_string: the command's own error text,
  // else its exit status or the time limit.
  std::string error() const;
  std::string program;
  int timeoutMs = 0;
};

VcsResult vcs_Run(const std::vector<std::string>& argv, const std::string& dir,
                  int timeoutMs = kVcsCommandTimeoutMs);
