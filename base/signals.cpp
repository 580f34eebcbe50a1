// Signal traps: hang-up, interrupt, quit and terminate end the program with
// status 2 and a short note; a broken pipe does the same, and a second one
// (raised while the first is being reported) closes the standard streams so
// the exit cannot block.  Resource-limit signals say which limit was hit.
#include "base/gen.h"

#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <initializer_list>

#include "base/gen_private.h"

volatile int gen_sigtrap_value = 0;

namespace {

volatile sig_atomic_t broken_pipes = 0;

void on_interrupt(int sig) {
  if (gen_private::exiting()) _exit(2);
  gen_sigtrap_value = sig;
  fflush(stdout);
  if (sig == SIGINT) {
    gen_message(GEN_MSG_FATAL, "Halted");
  } else if (sig != SIGTERM) {
    gen_message(GEN_MSG_FATAL, "Interrupt (%d)", sig);
  }
  gen_exit(2);
}

void on_broken_pipe(int sig) {
  gen_sigtrap_value = sig;
  broken_pipes = broken_pipes + 1;
  if (broken_pipes > 1) {
    close(1);
    close(2);
    gen_exit(2);
    _exit(2);
  }
  gen_message(GEN_MSG_FATAL, "Halted by a SIGPIPE.");
  gen_exit(2);
}

void on_resource_limit(int sig) {
  gen_sigtrap_value = sig;
  if (sig == SIGXCPU) {
    gen_message(GEN_MSG_FATAL, "Cpu Limit Exceeded");
  } else {
    gen_message(GEN_MSG_FATAL, "Resource Limit exceeded");
  }
  gen_exit(2);
}

// SA_NODEFER lets a second broken pipe, raised while the first one is
// being reported, reach the handler again.
void trap(int sig, void (*handler)(int)) {
  struct sigaction action = {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_NODEFER;
  sigaction(sig, &action, nullptr);
}

}  // namespace

namespace gen_private {

void install_signal_traps() {
  for (int sig : {SIGHUP, SIGINT, SIGQUIT, SIGTERM}) trap(sig, on_interrupt);
  trap(SIGPIPE, on_broken_pipe);
  trap(SIGXCPU, on_resource_limit);
  trap(SIGXFSZ, on_resource_limit);
}

}  // namespace gen_private
