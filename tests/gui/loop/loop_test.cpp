// gui/loop without a display: the idle notifier over real pipes (readiness,
// listeners removed while served, queued work, timers, idle passes) and
// the wait list (its kinds, deadlines, a real child reaped, entries removed
// during a pass, WTimer).  The X tests run both under the real loop.
#include <gtest/gtest.h>
#include <unistd.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gui/loop/extra_process.h"
#include "gui/loop/idle_notifier.h"
#include "gui/loop/wtimer.h"
#include "x_session.h"

namespace {

// A listener on the read end of a pipe, with hooks for its handlers.
struct PipeListener : SocketListener {
  int fds[2];
  int reads = 0, writes = 0, dispatches = 0, stops = 0;
  bool readWanted = true, writeWanted = false, queued = false, stop = false, noFd = false;
  std::function<void()> onRead;
  PipeListener() { EXPECT_EQ(pipe(fds), 0); }
  ~PipeListener() override { close(fds[0]), close(fds[1]); }
  void feed() { ASSERT_EQ(write(fds[1], "x", 1), 1); }
  bool hasFD() override { return !noFd; }
  int getFD() override { return writeWanted ? fds[1] : fds[0]; }
  bool wantsToRead() override { return readWanted; }
  bool wantsToWrite() override { return writeWanted; }
  bool wantsToDequeueAndDispatch() override { return queued; }
  bool wantsToStop() override { return stop; }
  void handleRead() override {
    char c;
    if (!noFd) (void)read(fds[0], &c, 1);
    reads++;
    if (onRead) onRead();
  }
  void handleWrite() override { writes++; }
  void handleDequeueAndDispatch() override { dispatches++, queued = false; }
  void handleStop() override { stops++, stop = false; }
};

TEST(IdleNotifier, ReadableDescriptorsAreServedAndListenersMayLeaveMeanwhile) {
  IdleNotifier n;
  PipeListener a, b;
  n.addSocketListener(&a);
  n.addSocketListener(&b);
  n.addSocketListener(&a);  // a second registration replaces the first
  EXPECT_EQ(n.getNumSocketListeners(), 2);
  b.feed();
  b.stop = true;
  EXPECT_FALSE(n.notifySocketActivity(100, false));  // select only
  EXPECT_TRUE(n.pendingSocketActivityToProcess());
  EXPECT_TRUE(n.notifySocketActivity(1000, true));
  EXPECT_EQ(a.reads * 10 + b.reads, 1);
  EXPECT_EQ(b.stops, 1);  // asked after the handlers
  // A listener removed by its own handler is called no more.
  a.writeWanted = true, a.readWanted = false;
  b.onRead = [&] { n.removeSocketListener(&b); };
  b.feed();
  b.queued = true;
  EXPECT_TRUE(n.notifySocketActivity(1000, true));
  EXPECT_EQ(b.reads * 10 + b.dispatches, 20);
  EXPECT_EQ(a.writes, 1);
  EXPECT_EQ(n.getNumSocketListeners(), 1);
}

TEST(IdleNotifier, QueuedWorkAndListenersWithoutDescriptorMakeTheWaitZero) {
  for (bool queued : {true, false}) {
    IdleNotifier n;
    PipeListener a;
    a.queued = queued, a.noFd = !queued;
    n.addSocketListener(&a);
    int64_t start = idle_nowMs();
    EXPECT_TRUE(n.notifySocketActivity(2000, true));
    EXPECT_LT(idle_nowMs() - start, 1000);
    EXPECT_EQ(queued ? a.dispatches : a.reads, 1);
  }
}

struct NamedTimer : TimerListener {
  std::vector<std::string>* order;
  std::string name;
  NamedTimer(std::vector<std::string>* o, const char* n) : order(o), name(n) {}
  void handleTimer(int64_t) override { order->push_back(name); }
};

TEST(IdleNotifier, TimersBoundTheWaitAndFireInDueOrder) {
  IdleNotifier n;
  PipeListener quiet;
  n.addSocketListener(&quiet);
  std::vector<std::string> order;
  NamedTimer late(&order, "late"), early(&order, "early"), gone(&order, "gone");
  n.addTimerListener(&late, 200);
  n.addTimerListener(&early, 100);
  n.addTimerListener(&gone, 100);
  n.removeTimerListener(&gone);
  int64_t start = idle_nowMs();
  n.notifySocketActivity(1000, true);  // nothing to read: sleeps until the first timer
  EXPECT_GE(idle_nowMs() - start, 80);
  EXPECT_LT(idle_nowMs() - start, 700);
  ASSERT_TRUE(xtest::poll([&] { return order.size() >= 2; }, 3000, [&] { n.notifyTimers(); }));
  EXPECT_EQ(order[0] + " " + order[1], "early late");  // early is re-armed a period later
}

struct TestIdler : Idler {
  bool safe;
  int runs = 0;
  std::function<void()> onIdle;
  explicit TestIdler(bool s) : safe(s) {}
  void handleIdle(IdleNotifier*) override {
    runs++;
    if (onIdle) onIdle();
  }
  bool isIdlerSafe() override { return safe; }
};

TEST(IdleNotifier, IdlePassesHonourSafetyAndRemoval) {
  IdleNotifier n;
  TestIdler safe(true), unsafe(false);
  n.addIdleListener(&safe);
  n.addIdleListener(&unsafe);
  n.notifyIdle(true);
  EXPECT_EQ(safe.runs * 10 + unsafe.runs, 10);
  // Whichever runs first removes the other: exactly one of them runs.
  safe.onIdle = [&] { n.removeIdleListener(&unsafe); };
  unsafe.onIdle = [&] { n.removeIdleListener(&safe); };
  n.notifyIdle(false);
  EXPECT_EQ(safe.runs + unsafe.runs, 2);
}


struct Calls {
  int runs = 0, finishes = 0, lastStatus = -100, runResult = 0, finishResult = 1;
};
int countRun(void* data, int) {
  auto* c = static_cast<Calls*>(data);
  return c->runs++, c->runResult;
}
int countFinish(void* data, int status) {
  auto* c = static_cast<Calls*>(data);
  c->finishes++, c->lastStatus = status;
  return c->finishResult;
}
long pass() {
  long t = -1;
  EXPECT_EQ(ExtraProcess_Wait(&t), 1);
  return t;
}

class WaitList : public ::testing::Test {
 protected:
  void SetUp() override { ExtraProcess_Clear(); }
  void TearDown() override { ExtraProcess_Clear(); }
};

TEST_F(WaitList, KindsDeadlinesAndTheWaitTheyAllow) {
  EXPECT_EQ(pass(), 5000);  // nothing due: the longest sleep
  ExtraProcessHandle unknown = ExtraProcess_Create(7, 0, countRun, nullptr, nullptr);
  EXPECT_TRUE(unknown.expired());
  EXPECT_EQ(ExtraProcess_Kill(unknown) + ExtraProcess_SetTimeout(unknown, 10), 0);
  Calls dormant, timeout, moved;
  ExtraProcess_Create(EP_DORMANT, 0, countRun, countFinish, &dormant);
  timeout.runResult = 1;
  ExtraProcessHandle h = ExtraProcess_Create(EP_TIMEOUT, 80, countRun, countFinish, &timeout);
  ExtraProcessHandle later = ExtraProcess_Create(EP_TIMEOUT, 0, countRun, nullptr, &moved);
  EXPECT_EQ(ExtraProcess_SetTimeout(later, 10000), 1);
  long t = pass();
  EXPECT_GT(t, 0);
  EXPECT_LE(t, 80);
  EXPECT_FALSE(ExtraProcess_AnyTimedOut());
  ASSERT_TRUE(xtest::poll(ExtraProcess_AnyTimedOut, 3000));
  EXPECT_GT(pass(), 4000);  // the moved deadline is next
  EXPECT_EQ(timeout.runs * 10 + timeout.finishes, 11);
  EXPECT_EQ(timeout.lastStatus, 0);
  EXPECT_TRUE(h.expired());
  EXPECT_EQ(moved.runs + dormant.runs, 0);
  // Poll entries run on every pass; a finish that answers 0 keeps them.
  Calls poll;
  poll.runResult = 1, poll.finishResult = 0;
  ExtraProcessHandle p = ExtraProcess_Create(EP_POLL, 0, countRun, countFinish, &poll);
  EXPECT_EQ(pass() + pass(), 0);
  EXPECT_EQ(poll.finishes, 2);
  poll.finishResult = 1;
  EXPECT_EQ(ExtraProcess_Kill(p, 9), 1);  // with its own status (1 when none)
  EXPECT_EQ(poll.lastStatus, 9);
  EXPECT_TRUE(p.expired());
}

TEST_F(WaitList, ChildEntryFinishesWithTheReapedChildsStatus) {
  pid_t pid = fork();
  if (pid == 0) _exit(7);
  Calls c;
  ExtraProcessHandle h = ExtraProcess_Create(EP_CHILD, pid, countRun, countFinish, &c);
  EXPECT_EQ(ExtraProcess_GetPid(h), pid);
  static pid_t endedPid;
  static int endedStatus;
  ExtraProcess_SetChildEndedHook([](pid_t p, int s) { endedPid = p, endedStatus = s; });
  EXPECT_TRUE(xtest::poll([&] { return h.expired(); }, 5000, [] { pass(); }));
  ExtraProcess_SetChildEndedHook(nullptr);
  EXPECT_EQ(c.finishes, 1);
  EXPECT_EQ(c.lastStatus, 7);
  EXPECT_EQ(endedPid, pid);
  EXPECT_EQ(endedStatus, 7);
}

TEST_F(WaitList, CallbacksMayRemoveLaterEntriesAndNestedPassesSkipTheirCaller) {
  static ExtraProcessHandle victim;
  static int runs, depth;
  runs = depth = 0;
  Calls victimCalls;
  ExtraProcess_Create(
      EP_POLL, 0,
      [](void*, int) {
        runs++;
        if (depth++ == 0) pass();  // a nested pass: this entry is not run again
        ExtraProcess_Kill(victim);
        return 0;
      },
      nullptr, nullptr);
  victim = ExtraProcess_Create(EP_POLL, 0, countRun, countFinish, &victimCalls);
  pass();
  EXPECT_EQ(runs, 1);
  EXPECT_TRUE(victim.expired());
  EXPECT_EQ(victimCalls.finishes, 1);
  EXPECT_LE(victimCalls.runs, 1);  // at most in the nested pass, before its removal
}

struct Recorder : WTimerHandler {
  std::vector<int64_t> at;
  void handleTimer(WTimer*) override { at.push_back(idle_nowMs()); }
};

TEST_F(WaitList, TimersRunAfterTheirIntervalAreReArmedAndGoWithTheirEntry) {
  Recorder rec;
  int64_t created = idle_nowMs();
  auto timer = std::make_unique<WTimer>(&rec, 5000);
  timer->setInterval(60);
  ASSERT_TRUE(xtest::poll([&] { return rec.at.size() >= 2; }, 3000, [] { EXPECT_LE(pass(), 60); }));
  EXPECT_GE(rec.at[0] - created, 60);
  EXPECT_GE(rec.at[1] - rec.at[0], 60);
  timer.reset();
  EXPECT_EQ(ExtraProcess_NumberPending(), 0);
  WTimer* doomed = new WTimer(&rec, 1);  // killing its entry deletes the timer
  ExtraProcessHandle h = doomed->getEntry();
  EXPECT_EQ(ExtraProcess_Kill(h), 1);
  EXPECT_EQ(ExtraProcess_NumberPending(), 0);
}

}  // namespace
