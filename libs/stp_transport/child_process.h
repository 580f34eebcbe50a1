// STPChildProcess: starts a tool that connects back.  The launcher opens a
// listening socket on a free port, passes "localhost" and the port to the
// program as arguments, spawns it (without a shell) and waits, under a
// retry handler, until the program connects; the transport is then bound
// to that connection.  killPID waits for a process to end and kills it
// when the wait gives up.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

#include "libs/stp_transport/tstat.h"

class RetryHandler;
class STPTransport;

class STPChildProcess {
 public:
  explicit STPChildProcess(bool killOnDelete = true);
  // Kills the child when kill-on-delete was set; ends a launch in progress.
  ~STPChildProcess();
  STPChildProcess(const STPChildProcess&) = delete;
  STPChildProcess& operator=(const STPChildProcess&) = delete;

  // The program and its arguments: a text split at blanks, or a vector.
  void setCommand(const char* text);
  void setCommand(const char* const* argv, int argc);
  void addArgument(const char* argument);
  // Inserts before `position` (0 is the program); beyond the end appends.
  void insertArgument(const char* argument, int position);
  // The transport that takes the connection (a reference is held).
  void setTransport(STPTransport* transport);
  // Whether "localhost" goes before the port (default on).
  void setInsertHostname(bool insert) { insertHostname_ = insert; }
  // Where the host (or the port) goes in the arguments (default 1).
  void setPortArg(int position) { portArg_ = position; }
  void setWorkingDir(const char* dir) { workingDir_ = dir ? dir : ""; }
  pid_t getPID() const { return pid_; }
  // The arguments of the last spawn, host and port included.
  const std::vector<std::string>& getLaunchArguments() const { return launched_; }
  // Kills the child with signal 9 and reaps it.
  void killChild();

  // Starts the program and waits (handler's idle, else serviceOnce(4000)
  // on the transport) until it connects; false with the status saying why.
  bool launch(RetryHandler* handler, TStat* status);
  // The same in steps, for callers with a loop of their own: beginLaunch
  // spawns and listens; tryLaunch is true once connected, false while
  // waiting (status 0) or failed; endLaunch ends the launch either way.
  bool beginLaunch(TStat* status);
  bool tryLaunch(TStat* status);
  void endLaunch();

 private:
  bool fail(TStat* status, int code, const char* message);
  bool spawn(const std::vector<std::string>& args);
  bool childExited();

  bool killOnDelete_;
  std::vector<std::string> args_, launched_;
  STPTransport* transport_ = nullptr;
  bool insertHostname_ = true;
  int portArg_ = 1;
  std::string workingDir_;
  pid_t pid_ = 0;
  bool launching_ = false;
  struct SavedSignal;
  SavedSignal* savedChildSignal_ = nullptr;
};

// Waits for `pid` to exit, checking without blocking under the handler (a
// plain STPRetryHandler when null); when the handler gives up, kills it
// with signal 9.  True when it exited by itself.  Reaps it either way.
bool killPID(pid_t pid, RetryHandler* handler = nullptr);
