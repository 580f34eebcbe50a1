// The idle notifier: one select over every listener's descriptor, idle work
// and timers.  Readiness is kept in per-slot flags so that one pass can
// select without serving and a later one serve without selecting; the lock
// count lets handlers add and remove listeners while the list is walked.
#include "gui/loop/idle_notifier.h"

#include <sys/select.h>
#include <time.h>

#include <algorithm>
#include <cerrno>
#include <memory>

namespace {

constexpr size_t kInitialSocketSlots = 16;
constexpr size_t kIdlersOnStack = 15;

}  // namespace

int64_t idle_nowMs() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

IdleNotifier::IdleNotifier() { sockets_.reserve(kInitialSocketSlots); }

IdleNotifier::~IdleNotifier() = default;

IdleNotifier* getIdleNotifier() {
  static std::unique_ptr<IdleNotifier> notifier(new IdleNotifier);
  return notifier.get();
}

// ---- idle work ------------------------------------------------------------

void IdleNotifier::addIdleListener(Idler* idler) { idlers_.insert(idler); }

void IdleNotifier::removeIdleListener(Idler* idler) { idlers_.erase(idler); }

void IdleNotifier::notifyIdle(bool onlySafe) {
  // Handlers may register and remove idlers: walk a snapshot, and skip the
  // ones removed meanwhile.
  Idler* onStack[kIdlersOnStack];
  std::vector<Idler*> onHeap;
  Idler** snapshot = onStack;
  size_t n = idlers_.size();
  if (n > kIdlersOnStack) {
    onHeap.assign(idlers_.begin(), idlers_.end());
    snapshot = onHeap.data();
  } else {
    std::copy(idlers_.begin(), idlers_.end(), onStack);
  }
  for (size_t i = 0; i < n; i++) {
    Idler* idler = snapshot[i];
    if (!idlers_.count(idler)) continue;
    if (onlySafe && !idler->isIdlerSafe()) continue;
    idler->handleIdle(this);
  }
}

// ---- timers -----------------------------------------------------------------

void IdleNotifier::insertTimer(const Timer& t) {
  auto at = std::upper_bound(timers_.begin(), timers_.end(), t.due,
                             [](int64_t due, const Timer& x) { return due < x.due; });
  timers_.insert(at, t);
}

void IdleNotifier::addTimerListener(TimerListener* listener, int64_t periodMs) {
  removeTimerListener(listener);
  insertTimer({listener, periodMs, idle_nowMs() + periodMs});
}

void IdleNotifier::removeTimerListener(TimerListener* listener) {
  std::erase_if(timers_, [listener](const Timer& t) { return t.listener == listener; });
}

int64_t IdleNotifier::getTimeBeforeNextTimer() const {
  if (timers_.empty()) return -1;
  return std::max<int64_t>(0, timers_.front().due - idle_nowMs());
}

void IdleNotifier::notifyTimers() {
  size_t budget = timers_.size();  // a timer re-armed at 0 ms cannot spin here
  int64_t now = idle_nowMs();
  for (size_t k = 0; k < budget && !timers_.empty() && timers_.front().due <= now; k++) {
    Timer t = timers_.front();
    timers_.erase(timers_.begin());
    // Re-armed before the call, so that a handler can remove or re-add it.
    insertTimer({t.listener, t.periodMs, now + t.periodMs});
    t.listener->handleTimer(now);
  }
}

// ---- socket listeners -----------------------------------------------------------

void IdleNotifier::addSocketListener(SocketListener* listener) {
  removeSocketListener(listener);
  sockets_.push_back(Slot{listener});
}

void IdleNotifier::removeSocketListener(SocketListener* listener) {
  for (size_t i = 0; i < sockets_.size(); i++) {
    if (sockets_[i].listener != listener) continue;
    if (lockCount_ > 0) {
      sockets_[i] = Slot{};  // filled in when the walk ends
    } else {
      sockets_[i] = sockets_.back();
      sockets_.pop_back();
    }
    return;
  }
}

int IdleNotifier::getNumSocketListeners() const {
  return static_cast<int>(std::count_if(sockets_.begin(), sockets_.end(),
                                        [](const Slot& s) { return s.listener; }));
}

void IdleNotifier::unlock() {
  if (--lockCount_ > 0) return;
  // Fill the slots cleared during the walk from the end of the array.
  for (size_t i = 0; i < sockets_.size();) {
    if (sockets_[i].listener) {
      i++;
      continue;
    }
    sockets_[i] = sockets_.back();
    sockets_.pop_back();
  }
}

bool IdleNotifier::pendingSocketActivityToProcess() const {
  return std::any_of(sockets_.begin(), sockets_.end(), [](const Slot& s) {
    return s.listener &&
           (s.readReady || s.writeReady || s.exceptionReady || s.dispatchPending);
  });
}

bool IdleNotifier::pendingDequeueAndDispatch() const {
  return std::any_of(sockets_.begin(), sockets_.end(),
                     [](const Slot& s) { return s.listener && s.dispatchPending; });
}

// Runs the handlers of slot i whose activity is pending.  A listener removed
// by one of its own handlers is skipped for the rest.
bool IdleNotifier::serveSlot(size_t i) {
  SocketListener* l = sockets_[i].listener;
  bool ran = false;
  auto stillHere = [&] { return sockets_[i].listener == l; };
  if (sockets_[i].readReady) {
    sockets_[i].readReady = sockets_[i].dispatchPending = false;
    l->handleRead();
    ran = true;
    if (!stillHere()) return ran;
  }
  if (sockets_[i].exceptionReady) {
    sockets_[i].exceptionReady = false;
    l->handleException();
    ran = true;
    if (!stillHere()) return ran;
  }
  if (sockets_[i].writeReady) {
    sockets_[i].writeReady = false;
    l->handleWrite();
    ran = true;
    if (!stillHere()) return ran;
  }
  if (sockets_[i].dispatchPending) {
    sockets_[i].dispatchPending = false;
    l->handleDequeueAndDispatch();
    ran = true;
    if (!stillHere()) return ran;
  }
  if (l->wantsToStop()) l->handleStop();
  return ran;
}

bool IdleNotifier::processSocketActivity() {
  lock();
  bool ran = false;
  for (size_t i = 0; i < sockets_.size(); i++)
    if (sockets_[i].listener && serveSlot(i)) ran = true;
  unlock();
  return ran;
}

// Fills the descriptor sets; activity that needs no select (no descriptor,
// or queued work) is marked at once and makes the wait zero.
int64_t IdleNotifier::collectDescriptors(void* readSet, void* writeSet, void* exceptSet,
                                         int* maxFd, int64_t timeoutMs) {
  auto* r = static_cast<fd_set*>(readSet);
  auto* w = static_cast<fd_set*>(writeSet);
  auto* e = static_cast<fd_set*>(exceptSet);
  for (Slot& s : sockets_) {
    SocketListener* l = s.listener;
    if (!l) continue;
    bool fd = l->hasFD();
    int d = fd ? l->getFD() : -1;
    auto want = [&](bool wants, fd_set* set, bool& ready) {
      if (!wants) return;
      if (fd && d >= 0 && d < FD_SETSIZE) {
        FD_SET(d, set);
        *maxFd = std::max(*maxFd, d);
      } else {
        ready = true;
        timeoutMs = 0;
      }
    };
    want(l->wantsToWrite(), w, s.writeReady);
    want(l->wantsToReadException(), e, s.exceptionReady);
    want(l->wantsToRead(), r, s.readReady);
    if (l->wantsToDequeueAndDispatch()) {
      s.dispatchPending = true;
      timeoutMs = 0;
    }
  }
  return timeoutMs;
}

void IdleNotifier::recordReadiness(void* readSet, void* writeSet, void* exceptSet) {
  auto* r = static_cast<fd_set*>(readSet);
  auto* w = static_cast<fd_set*>(writeSet);
  auto* e = static_cast<fd_set*>(exceptSet);
  for (Slot& s : sockets_) {
    if (!s.listener || !s.listener->hasFD()) continue;
    int d = s.listener->getFD();
    if (d < 0 || d >= FD_SETSIZE) continue;
    if (FD_ISSET(d, r)) {
      s.readReady = true;
      s.dispatchPending = false;  // the read handler dispatches
    }
    if (FD_ISSET(d, w)) s.writeReady = true;
    if (FD_ISSET(d, e)) s.exceptionReady = true;
  }
}

bool IdleNotifier::notifySocketActivity(int64_t timeoutMs, bool process) {
  if (process) {
    if (processSocketActivity()) return true;
  } else if (pendingSocketActivityToProcess()) {
    timeoutMs = 0;
  }
  if (timeoutMs > 0) {
    int64_t next = getTimeBeforeNextTimer();
    if (next >= 0 && next < timeoutMs) timeoutMs = next;
  }
  if (!process && timeoutMs < 1) return false;

  lock();
  fd_set r, w, e;
  FD_ZERO(&r);
  FD_ZERO(&w);
  FD_ZERO(&e);
  int maxFd = -1;
  timeoutMs = collectDescriptors(&r, &w, &e, &maxFd, timeoutMs);
  int64_t deadline = idle_nowMs() + std::max<int64_t>(timeoutMs, 0);
  for (;;) {
    fd_set rr = r, ww = w, ee = e;
    timeval tv{};
    int64_t left = std::max<int64_t>(0, deadline - idle_nowMs());
    tv.tv_sec = left / 1000;
    tv.tv_usec = (left % 1000) * 1000;
    int n = select(maxFd + 1, &rr, &ww, &ee, timeoutMs < 0 ? nullptr : &tv);
    if (n < 0 && errno == EINTR) continue;
    if (n > 0) recordReadiness(&rr, &ww, &ee);
    break;
  }
  bool ran = process && processSocketActivity();
  unlock();
  return ran;
}
