// The one place where the program waits: every socket descriptor of
// interest is polled with one select, idle work runs between events, and
// timers fire.  The event loop drives the three entry points (notifyIdle,
// notifyTimers, notifySocketActivity); the X connection and the service
// transports register socket listeners, so window events, service traffic
// and timers are all served by the one thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <set>
#include <vector>

class IdleNotifier;

// Something with a descriptor (or queued work) to serve.  Handlers may add
// and remove listeners, themselves included, while the list is walked.
class SocketListener {
 public:
  virtual ~SocketListener() = default;
  virtual bool hasFD() = 0;
  virtual int getFD() = 0;
  virtual bool wantsToRead() = 0;
  virtual bool wantsToWrite() = 0;
  virtual bool wantsToReadException() { return false; }
  // Work already read and queued, waiting to be dispatched.
  virtual bool wantsToDequeueAndDispatch() = 0;
  virtual bool wantsToStop() = 0;
  virtual void handleRead() = 0;
  virtual void handleWrite() = 0;
  virtual void handleException() {}
  virtual void handleDequeueAndDispatch() = 0;
  virtual void handleStop() = 0;
};

// Work to do when nothing else is pending.
class Idler {
 public:
  virtual ~Idler() = default;
  virtual void handleIdle(IdleNotifier* notifier) = 0;
  // Whether it may run in a pass that runs only safe events.
  virtual bool isIdlerSafe() = 0;
};

class TimerListener {
 public:
  virtual ~TimerListener() = default;
  virtual void handleTimer(int64_t nowMs) = 0;
};

class IdleNotifier {
 public:
  IdleNotifier();
  ~IdleNotifier();
  IdleNotifier(const IdleNotifier&) = delete;
  IdleNotifier& operator=(const IdleNotifier&) = delete;

  void addIdleListener(Idler* idler);
  void removeIdleListener(Idler* idler);
  int getNumIdlers() const { return static_cast<int>(idlers_.size()); }

  // Adding first removes an earlier registration of the same listener.
  void addSocketListener(SocketListener* listener);
  void removeSocketListener(SocketListener* listener);
  int getNumSocketListeners() const;

  void addTimerListener(TimerListener* listener, int64_t periodMs);
  void removeTimerListener(TimerListener* listener);
  // -1 without timers, 0 when one is overdue, else milliseconds.
  int64_t getTimeBeforeNextTimer() const;

  void notifyIdle(bool onlySafe);
  void notifyTimers();
  // The select step: waits at most timeoutMs (shortened to the next timer)
  // for descriptor activity; with `process` the ready listeners are served.
  // Returns whether any handler ran.
  bool notifySocketActivity(int64_t timeoutMs, bool process);

  bool pendingSocketActivityToProcess() const;
  bool pendingDequeueAndDispatch() const;

 private:
  struct Slot {
    SocketListener* listener = nullptr;
    bool readReady = false;
    bool writeReady = false;
    bool exceptionReady = false;
    bool dispatchPending = false;
  };
  struct Timer {
    TimerListener* listener;
    int64_t periodMs;
    int64_t due;
  };

  bool processSocketActivity();
  bool serveSlot(size_t i);
  int64_t collectDescriptors(void* readSet, void* writeSet, void* exceptSet, int* maxFd,
                             int64_t timeoutMs);
  void recordReadiness(void* readSet, void* writeSet, void* exceptSet);
  void lock() { lockCount_++; }
  void unlock();
  void insertTimer(const Timer& t);

  std::set<Idler*> idlers_;
  std::vector<Slot> sockets_;
  int lockCount_ = 0;
  std::vector<Timer> timers_;  // sorted by due time
};

// The process-wide notifier, created on first use.
IdleNotifier* getIdleNotifier();

// Milliseconds on a monotonic clock.
int64_t idle_nowMs();
