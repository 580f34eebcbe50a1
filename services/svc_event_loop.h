// Svc_EventLoop: the main loop of a tool that has no loop of its own (a
// service provider without windows).  It runs while the router link is
// alive; each pass does the loop's work (loopAction), then asks whether
// the tool should leave (shouldExit).  A tool that should leave asks the
// router to let it go, at most once every 30 s, until the link ends; a
// pass that should not leave withdraws the pending request.
//
// Conditions, extra work, clean-up and the sleep time may be installed
// for every loop (global) or for one loop.  Without exit conditions a
// tool leaves once it has served a connection and serves none any more
//.  The GUI variant derives from this class.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

class Svc_EventLoop {
 public:
  using Condition = std::function<bool()>;
  using Action = std::function<void()>;

  static constexpr int64_t kDisconnectRepeatMs = 30000;
  static constexpr int64_t kDefaultSleepMs = 1000;

  Svc_EventLoop() = default;
  virtual ~Svc_EventLoop() = default;
  Svc_EventLoop(const Svc_EventLoop&) = delete;
  Svc_EventLoop& operator=(const Svc_EventLoop&) = delete;

  // Runs until the router link ends, then the clean-up actions.
  void enterLoop();

  // One pass of waiting and serving: idle work, timers, and the sockets
  // for up to the sleep time.
  virtual void loopAction();
  // Any exit condition true, or the default rule above.
  virtual bool shouldExit();

  void addExitCondition(Condition c) { exits_.push_back(std::move(c)); }
  void addLoopAction(Action a) { actions_.push_back(std::move(a)); }
  void addCleanupAction(Action a) { cleanups_.push_back(std::move(a)); }
  void setSleepTime(int64_t ms) { sleepMs_ = ms; }
  static void addGlobalExitCondition(Condition c);
  static void addGlobalLoopAction(Action a);
  static void addGlobalCleanupAction(Action a);
  static void setGlobalSleepTime(int64_t ms);

  // The sleep of a pass: this loop's, else the global one, else 1 s.
  int64_t sleepTime() const;

 private:
  void runActions();
  bool exitConditionsSay(bool* any) const;

  std::vector<Condition> exits_;
  std::vector<Action> actions_, cleanups_;
  int64_t sleepMs_ = -1;
};
