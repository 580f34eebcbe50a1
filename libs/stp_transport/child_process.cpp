// The launcher.  Spawning goes through posix_spawnp, never a shell; the
// child-exit signal gets a handler that only wakes the transport's wait, so
// that a program dying before it connects is noticed at once rather than
// at the end of the wait.
#include "libs/stp_transport/child_process.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <memory>

#include "libs/libcxxutil/retry_handler.h"
#include "libs/stp_transport/stp_retry.h"
#include "libs/stp_transport/transport.h"

extern char** environ;

namespace {

constexpr long kServiceMs = 4000;  // the wait between checks without a handler

extern "C" void onChildExit(int) { STPTransport::interruptWait(); }

// True when `pid` has ended (and is reaped, when it was our child).
bool reapIfEnded(pid_t pid) {
  pid_t r;
  do r = waitpid(pid, nullptr, WNOHANG);
  while (r < 0 && errno == EINTR);
  if (r > 0) return true;
  if (r == 0) return false;
  // Not our child (or reaped elsewhere): ended when it no longer exists.
  return kill(pid, 0) != 0 && errno == ESRCH;
}

void killAndReap(pid_t pid) {
  kill(pid, SIGKILL);
  while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
  }
}

}  // namespace

struct STPChildProcess::SavedSignal {
  struct sigaction action;
};

STPChildProcess::STPChildProcess(bool killOnDelete) : killOnDelete_(killOnDelete) {}

STPChildProcess::~STPChildProcess() {
  if (launching_) endLaunch();
  if (killOnDelete_) killChild();
  setTransport(nullptr);
}

void STPChildProcess::setCommand(const char* text) {
  args_.clear();
  for (const char* p = text ? text : ""; *p;) {
    while (*p && std::isspace(static_cast<unsigned char>(*p))) p++;
    const char* start = p;
    while (*p && !std::isspace(static_cast<unsigned char>(*p))) p++;
    if (p > start) args_.emplace_back(start, p);
  }
}

void STPChildProcess::setCommand(const char* const* argv, int argc) {
  args_.clear();
  for (int i = 0; i < argc && argv[i]; i++) args_.emplace_back(argv[i]);
}

void STPChildProcess::addArgument(const char* argument) { args_.emplace_back(argument); }

void STPChildProcess::insertArgument(const char* argument, int position) {
  size_t at = std::min<size_t>(std::max(position, 0), args_.size());
  args_.insert(args_.begin() + at, argument);
}

void STPChildProcess::setTransport(STPTransport* transport) {
  if (transport) transport->addRef();
  if (transport_) transport_->delRef();
  transport_ = transport;
}

void STPChildProcess::killChild() {
  if (pid_ > 0) killAndReap(pid_);
  pid_ = 0;
}

bool STPChildProcess::fail(TStat* status, int code, const char* message) {
  if (status) status->set(code, message);
  return false;
}

bool STPChildProcess::childExited() {
  if (pid_ <= 0 || !reapIfEnded(pid_)) return false;
  pid_ = 0;
  return true;
}

bool STPChildProcess::spawn(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawnattr_t attr;
  posix_spawn_file_actions_init(&actions);
  posix_spawnattr_init(&attr);
  if (!workingDir_.empty())
    posix_spawn_file_actions_addchdir_np(&actions, workingDir_.c_str());
  // The child starts with no signal blocked and the child-exit signal at
  // its default, whatever this process does with them.
  sigset_t none, defaults;
  sigemptyset(&none);
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGCHLD);
  posix_spawnattr_setsigmask(&attr, &none);
  posix_spawnattr_setsigdefault(&attr, &defaults);
  posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  pid_t pid = 0;
  int err = posix_spawnp(&pid, argv[0], &actions, &attr, argv.data(), environ);
  posix_spawnattr_destroy(&attr);
  posix_spawn_file_actions_destroy(&actions);
  if (err != 0) return false;
  pid_ = pid;
  return true;
}

bool STPChildProcess::beginLaunch(TStat* status) {
  if (!transport_) return fail(status, TSTAT_USAGE, "[launch]: transport required to launch STPChildProcess.");
  if (args_.empty()) return fail(status, TSTAT_USAGE, "[launch]: command required to launch STPChildProcess.");
  if (pid_ > 0 || launching_) return fail(status, TSTAT_USAGE, "[launch]: Child is already launched.");

  int port = 0;
  std::string error;
  int fd = STPTransport::getListenSocket(&port, &error);
  if (fd < 0) return fail(status, TSTAT_CONNECTION, error.c_str());

  launched_ = args_;
  size_t at = std::clamp<size_t>(std::max(portArg_, 1), 1, launched_.size());
  if (insertHostname_) launched_.insert(launched_.begin() + at++, "localhost");
  launched_.insert(launched_.begin() + at, std::to_string(port));

  savedChildSignal_ = new SavedSignal;
  struct sigaction wake = {};
  wake.sa_handler = onChildExit;
  sigemptyset(&wake.sa_mask);
  sigaction(SIGCHLD, &wake, &savedChildSignal_->action);
  launching_ = true;

  if (!spawn(launched_)) {
    close(fd);
    endLaunch();
    return fail(status, TSTAT_CHILD, "[launch]: Program could not start (not found?).");
  }
  if (childExited()) {
    close(fd);
    endLaunch();
    return fail(status, TSTAT_CHILD, "[launch]: Program died upon launch.");
  }
  if (!transport_->startListenOnFD(fd, status)) {
    close(fd);
    killChild();
    endLaunch();
    return false;
  }
  return true;
}

bool STPChildProcess::tryLaunch(TStat* status) {
  if (!launching_) return fail(status, TSTAT_USAGE, "[launch]: No launch is in progress.");
  if (!transport_) return fail(status, TSTAT_USAGE, "[launch]: Transport is required.");
  if (childExited()) {
    transport_->closeConnection();
    endLaunch();
    return fail(status, TSTAT_CHILD, "[launch]: Program died before connecting.");
  }
  if (transport_->tryAccept(true, status)) {
    endLaunch();
    return true;
  }
  if (!transport_->getStatus().ok()) {
    killChild();
    endLaunch();
  }
  return false;
}

void STPChildProcess::endLaunch() {
  if (savedChildSignal_) sigaction(SIGCHLD, &savedChildSignal_->action, nullptr);
  delete savedChildSignal_;
  savedChildSignal_ = nullptr;
  launching_ = false;
}

bool STPChildProcess::launch(RetryHandler* handler, TStat* status) {
  if (!beginLaunch(status)) return false;
  if (handler) handler->beginOp();
  bool connected = false;
  for (;;) {
    if ((connected = tryLaunch(status)) || !launching_) break;
    if (!handler) {
      transport_->serviceOnce(kServiceMs, nullptr);
      continue;
    }
    handler->idle();
    if (handler->retryOp()) continue;
    // One last look: the child may have connected or died meanwhile.
    if ((connected = tryLaunch(status)) || !launching_) break;
    // A program that did not connect in time is of no use: it goes.
    killChild();
    transport_->closeConnection();
    endLaunch();
    fail(status, TSTAT_TIMEOUT, "[launch]: Timed out while waiting for child to connect.");
    break;
  }
  if (handler) handler->completedOp();
  return connected;
}

bool killPID(pid_t pid, RetryHandler* handler) {
  std::unique_ptr<RetryHandler> own;
  if (!handler) handler = (own = std::make_unique<STPRetryHandler>()).get();
  handler->beginOp();
  bool ended = reapIfEnded(pid);
  while (!ended) {
    handler->idle();
    ended = reapIfEnded(pid);
    if (!ended && !handler->retryOp()) break;
  }
  handler->completedOp();
  if (!ended) killAndReap(pid);
  return ended;
}
