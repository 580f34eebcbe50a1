// The wait list: entries in creation order, served by ExtraProcess_Wait
// between the loop's waits.  Callbacks may create and remove entries; an
// entry runs with its in-progress flag set, so a nested wait skips it.
#include "gui/loop/extra_process.h"

#include <sys/wait.h>

#include <algorithm>
#include <cerrno>
#include <vector>

#include "gui/loop/idle_notifier.h"

struct ExtraProcessEntry {
  int kind;
  int64_t deadline;  // monotonic ms, for time-outs
  pid_t pid;
  ExtraProcessRunFn run;
  ExtraProcessFinishFn finish;
  void* data;
  bool inProgress = false;
};

namespace {

constexpr long kIdleWaitMs = 5000;  // nothing due: the longest sleep
constexpr size_t kCapacityStep = 10;

std::vector<std::shared_ptr<ExtraProcessEntry>> entries;
void (*childEndedHook)(pid_t, int) = nullptr;

int indexOf(const ExtraProcessEntry* e) {
  for (size_t i = 0; i < entries.size(); i++)
    if (entries[i].get() == e) return static_cast<int>(i);
  return -1;
}

void removeEntry(const ExtraProcessEntry* e) {
  int i = indexOf(e);
  if (i >= 0) entries.erase(entries.begin() + i);
}

int decodeStatus(int status) {
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return 0;
}

// Reaps one finished child without blocking; -1 when reaping failed.
pid_t reapOne(int* exitStatus) {
  int status = 0;
  pid_t pid;
  do pid = waitpid(-1, &status, WNOHANG);
  while (pid < 0 && errno == EINTR);
  if (pid < 0) return errno == ECHILD ? 0 : -1;
  *exitStatus = pid > 0 ? decodeStatus(status) : 0;
  return pid;
}

// Runs one entry if it is due; says whether it finished.  The entry may be
// removed by its own callback, so only the handle is trusted afterwards.
bool serveEntry(const ExtraProcessHandle& h, pid_t reaped, long* wait) {
  std::shared_ptr<ExtraProcessEntry> e = h.lock();
  ExtraProcessRunFn run = e->run;
  void* data = e->data;
  int index = indexOf(e.get());
  int kind = e->kind;
  bool reapedMine = kind == EP_CHILD && reaped > 0 && e->pid == reaped;
  bool due = kind == EP_TIMEOUT && idle_nowMs() >= e->deadline;
  e.reset();
  if (kind == EP_POLL) *wait = 0;
  int finished = 0;
  if ((kind == EP_POLL || kind == EP_CHILD || due) && run) finished = run(data, index);
  if (due && !run) finished = 1;  // a bare time-out ends at its deadline
  // A time-out that goes on lowers the wait to its (possibly new) deadline.
  e = h.lock();
  if (e && kind == EP_TIMEOUT && !finished)
    *wait = std::min<long>(*wait, std::max<int64_t>(0, e->deadline - idle_nowMs()));
  return finished || reapedMine;
}

void finishEntry(const ExtraProcessHandle& h, int status) {
  std::shared_ptr<ExtraProcessEntry> e = h.lock();
  if (!e) return;
  ExtraProcessFinishFn finish = e->finish;
  void* data = e->data;
  e.reset();
  if (finish && !finish(data, status)) return;
  if ((e = h.lock())) removeEntry(e.get());
}

}  // namespace

ExtraProcessHandle ExtraProcess_Create(int kind, long value, ExtraProcessRunFn run,
                                       ExtraProcessFinishFn finish, void* data) {
  if (kind < EP_TIMEOUT || kind > EP_DORMANT) return {};
  if (entries.size() == entries.capacity()) entries.reserve(entries.capacity() + kCapacityStep);
  auto e = std::make_shared<ExtraProcessEntry>();
  e->kind = kind;
  e->deadline = kind == EP_TIMEOUT ? idle_nowMs() + value : 0;
  e->pid = kind == EP_CHILD ? static_cast<pid_t>(value) : 0;
  e->run = run, e->finish = finish, e->data = data;
  entries.push_back(e);
  return e;
}

int ExtraProcess_Kill(const ExtraProcessHandle& handle, int status) {
  if (handle.expired()) return 0;
  finishEntry(handle, status < 0 ? 1 : status);
  return 1;
}

int ExtraProcess_SetTimeout(const ExtraProcessHandle& handle, long ms) {
  std::shared_ptr<ExtraProcessEntry> e = handle.lock();
  if (!e) return 0;
  e->deadline = idle_nowMs() + ms;
  return 1;
}

bool ExtraProcess_AnyTimedOut() {
  int64_t now = idle_nowMs();
  return std::any_of(entries.begin(), entries.end(), [now](const auto& e) {
    return e->kind == EP_TIMEOUT && e->run && now >= e->deadline;
  });
}

int ExtraProcess_NumberPending() { return static_cast<int>(entries.size()); }

pid_t ExtraProcess_GetPid(const ExtraProcessHandle& handle) {
  std::shared_ptr<ExtraProcessEntry> e = handle.lock();
  return e ? e->pid : 0;
}

int ExtraProcess_Wait(long* timeout) {
  if (entries.empty()) {
    *timeout = kIdleWaitMs;
    return 1;
  }
  int status = 0;
  pid_t reaped = reapOne(&status);
  if (reaped < 0) return 0;
  if (reaped > 0 && childEndedHook) childEndedHook(reaped, status);
  long wait = kIdleWaitMs;
  std::vector<ExtraProcessHandle> pass(entries.begin(), entries.end());
  for (const ExtraProcessHandle& h : pass) {
    std::shared_ptr<ExtraProcessEntry> e = h.lock();
    if (!e || e->inProgress) continue;
    bool child = e->kind == EP_CHILD && e->pid == reaped;
    e->inProgress = true;
    e.reset();
    bool finished = serveEntry(h, reaped, &wait);
    if ((e = h.lock())) e->inProgress = false;
    e.reset();
    if (finished) finishEntry(h, child ? status : 0);
  }
  *timeout = wait;
  return 1;
}

void ExtraProcess_SetChildEndedHook(void (*hook)(pid_t pid, int status)) {
  childEndedHook = hook;
}

void ExtraProcess_Clear() { entries.clear(); }
