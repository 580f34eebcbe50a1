// Files the text model must not leave behind: cache files and temporary
// copies are listed here while they exist, and an exit handler unlinks
// whatever is still listed.  The foundation's signal traps end the process
// through exit(), so the handler also runs after an interrupt or terminate.
// The list is published with single pointer stores so that a handler that
// runs mid-update still sees a walkable list.
#include "text/text_private.h"

#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "base/gen.h"

namespace {

struct TrackedPath {
  TrackedPath* next;
  char path[1];  // NUL-terminated, allocated to fit
};

TrackedPath* volatile tracked = nullptr;
bool handlerInstalled = false;

void RemoveTracked() {
  for (TrackedPath* node = tracked; node; node = node->next) unlink(node->path);
  tracked = nullptr;
}

}  // namespace

namespace text_private {

void TrackTemporary(const char* path) {
  if (!path) return;
  if (!handlerInstalled) {
    handlerInstalled = true;
    std::atexit(RemoveTracked);
  }
  const size_t length = strlen(path);
  // Plain malloc: the node must stay valid for the exit handler whatever the
  // allocation hooks do meanwhile.
  auto* node = static_cast<TrackedPath*>(malloc(sizeof(TrackedPath) + length));
  if (!node) return;
  memcpy(node->path, path, length + 1);
  node->next = tracked;
  tracked = node;
}

int CreateTrackedTemporary(const char* suffix, char** name) {
  sigset_t interrupts, before;
  sigemptyset(&interrupts);
  for (int sig : {SIGHUP, SIGINT, SIGQUIT, SIGTERM}) sigaddset(&interrupts, sig);
  sigprocmask(SIG_BLOCK, &interrupts, &before);
  const int fd = gen_mkstemp(suffix, name);
  if (fd >= 0) TrackTemporary(*name);
  sigprocmask(SIG_SETMASK, &before, nullptr);
  return fd;
}

void ForgetTemporary(const char* path) {
  if (!path) return;
  TrackedPath* previous = nullptr;
  for (TrackedPath* node = tracked; node; previous = node, node = node->next) {
    if (strcmp(node->path, path) != 0) continue;
    if (previous) {
      previous->next = node->next;
    } else {
      tracked = node->next;
    }
    free(node);
    return;
  }
}

}  // namespace text_private
