// gui/loop without a display: the idle notifier over real pipes (readiness,
// listeners removed while served, queued work, timers, idle passes) and
// the wait list (its four kinds, deadlines, a real child reaped, entries
// removed during a pass, the repeating WTimer).
#include <gtest/gtest.h>
#include <sys/wait.h>
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
  ~PipeListener() override {
    close(fds[0]);
    close(fds[1]);
  }
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

TEST(IdleNotifier, ReadableDescriptorsAreServedWhenAsked) {
  IdleNotifier n;
  PipeListener a, b;
  n.addSocketListener(&a);
  n.addSocketListener(&b);
  n.addSocketListener(&a);  // a second registration replaces the first
  EXPECT_EQ(n.getNumSocketListeners(), 2);
  b.feed();
  b.stop = true;
  EXPECT_FALSE(n.notifySocketActivity(100, false));  // select only
  EXPECT_EQ(b.reads, 0);
  EXPECT_TRUE(n.pendingSocketActivityToProcess());
  EXPECT_TRUE(n.notifySocketActivity(1000, true));
  EXPECT_EQ(a.reads, 0);
  EXPECT_EQ(b.reads, 1);
  EXPECT_EQ(b.stops, 1);  // asked after the handlers
  EXPECT_FALSE(n.pendingSocketActivityToProcess());
  EXPECT_FALSE(n.notifySocketActivity(0, true));
}

TEST(IdleNotifier, ListenerRemovingItselfIsNotCalledAgain) {
  IdleNotifier n;
  PipeListener a, b;
  a.writeWanted = true;  // a is writable
  a.readWanted = false;
  a.onRead = [&] { n.removeSocketListener(&a); };
  b.onRead = [&] { n.removeSocketListener(&b); };
  n.addSocketListener(&a);
  n.addSocketListener(&b);
  b.feed();
  b.queued = true;
  EXPECT_TRUE(n.notifySocketActivity(1000, true));
  EXPECT_EQ(b.reads, 1);
  EXPECT_EQ(b.dispatches, 0);  // removed by its read handler
  EXPECT_EQ(a.writes, 1);
  EXPECT_EQ(n.getNumSocketListeners(), 1);
  b.feed();
  n.notifySocketActivity(0, true);
  EXPECT_EQ(b.reads, 1);
}

TEST(IdleNotifier, QueuedWorkAndListenersWithoutDescriptorMakeTheWaitZero) {
  for (bool queued : {true, false}) {
    IdleNotifier n;
    PipeListener a;
    a.queued = queued;
    a.noFd = !queued;
    n.addSocketListener(&a);
    int64_t start = idle_nowMs();
    EXPECT_TRUE(n.notifySocketActivity(2000, true));
    EXPECT_LT(idle_nowMs() - start, 1000);
    EXPECT_EQ(queued ? a.dispatches : a.reads, 1);
  }
}

// Records the order in which timers ran.
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
  EXPECT_EQ(n.getTimeBeforeNextTimer(), -1);
  n.addTimerListener(&late, 200);
  n.addTimerListener(&early, 100);
  n.addTimerListener(&gone, 100);
  n.removeTimerListener(&gone);
  int64_t left = n.getTimeBeforeNextTimer();
  EXPECT_GT(left, 50);
  EXPECT_LE(left, 100);
  int64_t start = idle_nowMs();
  n.notifySocketActivity(1000, true);  // nothing to read: sleeps until the first timer
  EXPECT_GE(idle_nowMs() - start, 80);
  EXPECT_LT(idle_nowMs() - start, 700);
  ASSERT_TRUE(xtest::poll([&] { return order.size() >= 2; }, 3000, [&] { n.notifyTimers(); }));
  EXPECT_EQ(order[0], "early");
  EXPECT_EQ(order[1], "late");  // early is re-armed a period later, after late
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
  EXPECT_EQ(safe.runs, 1);
  EXPECT_EQ(unsafe.runs, 0);
  // Whichever runs first removes the other: exactly one of them runs.
  safe.onIdle = [&] { n.removeIdleListener(&unsafe); };
  unsafe.onIdle = [&] { n.removeIdleListener(&safe); };
  n.notifyIdle(false);
  EXPECT_EQ(safe.runs + unsafe.runs, 2);
  EXPECT_EQ(n.getNumIdlers(), 1);
  // Many idlers at once are all served.
  std::vector<std::unique_ptr<TestIdler>> many;
  for (int i = 0; i < 40; i++) n.addIdleListener(many.emplace_back(new TestIdler(true)).get());
  n.notifyIdle(false);
  for (auto& i : many) EXPECT_EQ(i->runs, 1);
}

// ---- the wait list -----------------------------------------------------------------

struct Calls {
  int runs = 0, finishes = 0, lastStatus = -100, runResult = 0, finishResult = 1;
};

int countRun(void* data, int) {
  auto* c = static_cast<Calls*>(data);
  c->runs++;
  return c->runResult;
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

TEST_F(WaitList, UnknownKindsGiveNoEntryAndDormantEntriesNeverRun) {
  EXPECT_EQ(pass(), 5000);  // nothing due: the longest sleep
  ExtraProcessHandle h = ExtraProcess_Create(7, 0, countRun, nullptr, nullptr);
  EXPECT_TRUE(h.expired());
  EXPECT_EQ(ExtraProcess_Kill(h), 0);
  EXPECT_EQ(ExtraProcess_SetTimeout(h, 10), 0);
  EXPECT_EQ(ExtraProcess_GetPid(h), 0);
  Calls c;
  ExtraProcess_Create(EP_DORMANT, 0, countRun, countFinish, &c);
  EXPECT_EQ(pass(), 5000);
  EXPECT_EQ(c.runs, 0);
  EXPECT_EQ(ExtraProcess_NumberPending(), 1);
}

TEST_F(WaitList, TimeoutRunsOnlyAfterItsDeadlineAndLowersTheWait) {
  Calls c, moved;
  c.runResult = 1;
  ExtraProcessHandle h = ExtraProcess_Create(EP_TIMEOUT, 80, countRun, countFinish, &c);
  ExtraProcessHandle later = ExtraProcess_Create(EP_TIMEOUT, 0, countRun, nullptr, &moved);
  EXPECT_EQ(ExtraProcess_SetTimeout(later, 10000), 1);
  long t = pass();
  EXPECT_EQ(c.runs, 0);
  EXPECT_GT(t, 0);
  EXPECT_LE(t, 80);
  EXPECT_FALSE(ExtraProcess_AnyTimedOut());
  ASSERT_TRUE(xtest::poll(ExtraProcess_AnyTimedOut, 3000));
  t = pass();
  EXPECT_EQ(c.runs, 1);
  EXPECT_EQ(c.finishes, 1);
  EXPECT_EQ(c.lastStatus, 0);
  EXPECT_TRUE(h.expired());
  EXPECT_GT(t, 4000);  // the moved deadline is next
  EXPECT_EQ(moved.runs, 0);
}

TEST_F(WaitList, PollEntriesRunEveryPassAndARefusingFinishKeepsThem) {
  Calls c, stays;
  ExtraProcess_Create(EP_POLL, 0, countRun, nullptr, &c);
  stays.runResult = 1, stays.finishResult = 0;
  ExtraProcessHandle h = ExtraProcess_Create(EP_POLL, 0, countRun, countFinish, &stays);
  for (int i = 0; i < 3; i++) EXPECT_EQ(pass(), 0);
  EXPECT_EQ(c.runs, 3);
  EXPECT_EQ(stays.finishes, 3);
  EXPECT_FALSE(h.expired());
  stays.finishResult = 1;
  pass();
  EXPECT_TRUE(h.expired());
}

TEST_F(WaitList, ChildEntryFinishesWithTheReapedChildsStatus) {
  pid_t pid = fork();
  if (pid == 0) _exit(7);
  Calls c;
  ExtraProcessHandle h = ExtraProcess_Create(EP_CHILD, pid, countRun, countFinish, &c);
  EXPECT_EQ(ExtraProcess_GetPid(h), pid);
  static pid_t endedPid;
  static int endedStatus;
  endedPid = 0;
  ExtraProcess_SetChildEndedHook([](pid_t p, int s) { endedPid = p, endedStatus = s; });
  EXPECT_TRUE(xtest::poll([&] { return h.expired(); }, 5000, [] { pass(); }));
  ExtraProcess_SetChildEndedHook(nullptr);
  EXPECT_GE(c.runs, 1);  // run is called on every pass for a child entry
  EXPECT_EQ(c.finishes, 1);
  EXPECT_EQ(c.lastStatus, 7);
  EXPECT_EQ(endedPid, pid);
  EXPECT_EQ(endedStatus, 7);
}

TEST_F(WaitList, KillCallsFinishWithTheStatusOrOne) {
  Calls c;
  ExtraProcessHandle h = ExtraProcess_Create(EP_DORMANT, 0, nullptr, countFinish, &c);
  c.finishResult = 0;
  EXPECT_EQ(ExtraProcess_Kill(h), 1);
  EXPECT_EQ(c.lastStatus, 1);
  EXPECT_FALSE(h.expired());
  c.finishResult = 1;
  EXPECT_EQ(ExtraProcess_Kill(h, 9), 1);
  EXPECT_EQ(c.lastStatus, 9);
  EXPECT_TRUE(h.expired());
  EXPECT_EQ(ExtraProcess_Kill(h), 0);
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

TEST_F(WaitList, TimersRunAfterTheirIntervalAndAreReArmed) {
  Recorder rec;
  int64_t created = idle_nowMs();
  auto timer = std::make_unique<WTimer>(&rec, 5000);
  timer->setInterval(60);
  EXPECT_EQ(timer->getInterval(), 60);
  ASSERT_TRUE(xtest::poll([&] { return rec.at.size() >= 2; }, 3000, [] { EXPECT_LE(pass(), 60); }));
  EXPECT_GE(rec.at[0] - created, 60);
  EXPECT_GE(rec.at[1] - rec.at[0], 60);
  timer.reset();
  EXPECT_EQ(ExtraProcess_NumberPending(), 0);
  // Killing a timer's entry deletes the timer.
  WTimer* doomed = new WTimer(&rec, 1);
  ExtraProcessHandle h = doomed->getEntry();
  EXPECT_EQ(ExtraProcess_Kill(h), 1);
  EXPECT_TRUE(h.expired());
  EXPECT_EQ(ExtraProcess_NumberPending(), 0);
}

}  // namespace
