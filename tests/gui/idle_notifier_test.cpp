// The idle notifier over real pipes: readiness, self-removal during a walk,
// queued work forcing a zero wait, timers bounding the wait, idle passes.
#include "gui/loop/idle_notifier.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <functional>
#include <memory>
#include <vector>

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
  void handleDequeueAndDispatch() override {
    dispatches++;
    queued = false;
  }
  void handleStop() override {
    stops++;
    stop = false;
  }
};

TEST(IdleNotifier, ReadableDescriptorIsServed) {
  IdleNotifier n;
  PipeListener a, b;
  n.addSocketListener(&a);
  n.addSocketListener(&b);
  n.addSocketListener(&a);  // a second registration replaces the first
  EXPECT_EQ(n.getNumSocketListeners(), 2);
  b.feed();
  EXPECT_TRUE(n.notifySocketActivity(1000, true));
  EXPECT_EQ(a.reads, 0);
  EXPECT_EQ(b.reads, 1);
  EXPECT_FALSE(n.notifySocketActivity(0, true));
}

TEST(IdleNotifier, SelectWithoutServingThenServe) {
  IdleNotifier n;
  PipeListener a;
  n.addSocketListener(&a);
  a.feed();
  EXPECT_FALSE(n.notifySocketActivity(100, false));
  EXPECT_EQ(a.reads, 0);
  EXPECT_TRUE(n.pendingSocketActivityToProcess());
  EXPECT_TRUE(n.notifySocketActivity(1000, true));  // served before any select
  EXPECT_EQ(a.reads, 1);
  EXPECT_FALSE(n.pendingSocketActivityToProcess());
}

TEST(IdleNotifier, ListenerRemovingItselfIsNotCalledAgain) {
  IdleNotifier n;
  PipeListener a, b;
  a.writeWanted = true;  // a is both readable-pending and writable
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

TEST(IdleNotifier, QueuedWorkMakesTheWaitZero) {
  IdleNotifier n;
  PipeListener a;
  a.queued = true;
  n.addSocketListener(&a);
  int64_t start = idle_nowMs();
  EXPECT_TRUE(n.notifySocketActivity(2000, true));
  EXPECT_LT(idle_nowMs() - start, 1000);
  EXPECT_EQ(a.dispatches, 1);
}

TEST(IdleNotifier, ListenerWithoutDescriptorIsReadyAtOnce) {
  IdleNotifier n;
  PipeListener a;
  a.noFd = true;
  n.addSocketListener(&a);
  int64_t start = idle_nowMs();
  EXPECT_TRUE(n.notifySocketActivity(2000, true));
  EXPECT_LT(idle_nowMs() - start, 1000);
  EXPECT_EQ(a.reads, 1);
}

TEST(IdleNotifier, StopIsAskedAfterHandlers) {
  IdleNotifier n;
  PipeListener a;
  a.stop = true;
  n.addSocketListener(&a);
  a.feed();
  n.notifySocketActivity(1000, true);
  EXPECT_EQ(a.stops, 1);
}

struct CountingTimer : TimerListener {
  std::vector<int64_t> calls;
  void handleTimer(int64_t now) override { calls.push_back(now); }
};

TEST(IdleNotifier, TimerShortensTheWait) {
  IdleNotifier n;
  PipeListener a;
  n.addSocketListener(&a);
  CountingTimer t;
  EXPECT_EQ(n.getTimeBeforeNextTimer(), -1);
  n.addTimerListener(&t, 200);
  int64_t left = n.getTimeBeforeNextTimer();
  EXPECT_GT(left, 100);
  EXPECT_LE(left, 200);
  int64_t start = idle_nowMs();
  n.notifySocketActivity(1000, true);
  int64_t waited = idle_nowMs() - start;
  EXPECT_GE(waited, 150);
  EXPECT_LT(waited, 700);
  n.notifyTimers();
  ASSERT_EQ(t.calls.size(), 1u);
  EXPECT_GT(n.getTimeBeforeNextTimer(), 100);  // re-armed a period later
}

TEST(IdleNotifier, TimersFireInDueOrderAndCanBeRemoved) {
  IdleNotifier n;
  CountingTimer early, late, gone;
  n.addTimerListener(&late, 60);
  n.addTimerListener(&early, 5);
  n.addTimerListener(&gone, 5);
  n.removeTimerListener(&gone);
  usleep(10000);
  n.notifyTimers();
  EXPECT_EQ(early.calls.size(), 1u);
  EXPECT_EQ(late.calls.size(), 0u);
  EXPECT_EQ(gone.calls.size(), 0u);
  usleep(60000);
  n.notifyTimers();
  EXPECT_EQ(late.calls.size(), 1u);
  EXPECT_EQ(early.calls.size(), 2u);
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
  EXPECT_EQ(n.getNumIdlers(), 2);
  n.notifyIdle(true);
  EXPECT_EQ(safe.runs, 1);
  EXPECT_EQ(unsafe.runs, 0);
  // Whichever runs first removes the other: exactly one of them runs.
  safe.onIdle = [&] { n.removeIdleListener(&unsafe); };
  unsafe.onIdle = [&] { n.removeIdleListener(&safe); };
  n.notifyIdle(false);
  EXPECT_EQ(safe.runs + unsafe.runs, 2);
  EXPECT_EQ(n.getNumIdlers(), 1);
}

TEST(IdleNotifier, ManyIdlersUseTheHeapSnapshot) {
  IdleNotifier n;
  std::vector<std::unique_ptr<TestIdler>> idlers;
  for (int i = 0; i < 40; i++) {
    idlers.push_back(std::make_unique<TestIdler>(true));
    n.addIdleListener(idlers.back().get());
  }
  n.notifyIdle(false);
  for (auto& i : idlers) EXPECT_EQ(i->runs, 1);
}

}  // namespace
