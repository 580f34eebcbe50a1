// The wait list: the four kinds, deadlines, child reaping with a real
// child, removal during a pass, and the repeating WTimer.
#include "gui/loop/extra_process.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>
#include <vector>

#include "gui/loop/idle_notifier.h"
#include "gui/loop/wtimer.h"

namespace {

struct Calls {
  int runs = 0;
  int finishes = 0;
  int lastStatus = -100;
  int runResult = 0;
  int finishResult = 1;
};

int countRun(void* data, int) {
  auto* c = static_cast<Calls*>(data);
  c->runs++;
  return c->runResult;
}

int countFinish(void* data, int status) {
  auto* c = static_cast<Calls*>(data);
  c->finishes++;
  c->lastStatus = status;
  return c->finishResult;
}

void sleepMs(long ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

class WaitListTest : public ::testing::Test {
 protected:
  void SetUp() override { ExtraProcess_Clear(); }
  void TearDown() override { ExtraProcess_Clear(); }
};

TEST_F(WaitListTest, EmptyListWaitsFiveSeconds) {
  long t = -1;
  EXPECT_EQ(ExtraProcess_Wait(&t), 1);
  EXPECT_EQ(t, 5000);
  EXPECT_EQ(ExtraProcess_NumberPending(), 0);
}

TEST_F(WaitListTest, UnknownKindGivesNoEntry) {
  ExtraProcessHandle h = ExtraProcess_Create(7, 0, countRun, nullptr, nullptr);
  EXPECT_TRUE(h.expired());
  EXPECT_EQ(ExtraProcess_NumberPending(), 0);
  EXPECT_EQ(ExtraProcess_Kill(h), 0);
  EXPECT_EQ(ExtraProcess_SetTimeout(h, 10), 0);
  EXPECT_EQ(ExtraProcess_GetPid(h), 0);
}

TEST_F(WaitListTest, TimeoutRunsOnlyAfterItsDeadlineAndLowersTheWait) {
  Calls c;
  c.runResult = 1;
  ExtraProcessHandle h = ExtraProcess_Create(EP_TIMEOUT, 80, countRun, countFinish, &c);
  long t = 0;
  ASSERT_EQ(ExtraProcess_Wait(&t), 1);
  EXPECT_EQ(c.runs, 0);
  EXPECT_GT(t, 0);
  EXPECT_LE(t, 80);
  EXPECT_FALSE(ExtraProcess_AnyTimedOut());
  sleepMs(t + 5);
  EXPECT_TRUE(ExtraProcess_AnyTimedOut());
  ASSERT_EQ(ExtraProcess_Wait(&t), 1);
  EXPECT_EQ(c.runs, 1);
  EXPECT_EQ(c.finishes, 1);
  EXPECT_EQ(c.lastStatus, 0);
  EXPECT_TRUE(h.expired());
  EXPECT_EQ(t, 5000);
}

TEST_F(WaitListTest, RefusingFinishKeepsTheEntry) {
  Calls c;
  c.runResult = 1;
  c.finishResult = 0;
  ExtraProcessHandle h = ExtraProcess_Create(EP_POLL, 0, countRun, countFinish, &c);
  long t;
  ExtraProcess_Wait(&t);
  EXPECT_EQ(c.finishes, 1);
  EXPECT_FALSE(h.expired());
  c.finishResult = 1;
  ExtraProcess_Wait(&t);
  EXPECT_TRUE(h.expired());
}

TEST_F(WaitListTest, PollEntryMakesEveryWaitZero) {
  Calls c;
  ExtraProcess_Create(EP_POLL, 0, countRun, nullptr, &c);
  ExtraProcess_Create(EP_TIMEOUT, 3000, countRun, nullptr, &c);
  for (int i = 0; i < 3; i++) {
    long t = -1;
    ExtraProcess_Wait(&t);
    EXPECT_EQ(t, 0);
  }
  EXPECT_EQ(c.runs, 3);  // the poll entry each pass, the time-out never
}

TEST_F(WaitListTest, DormantEntryNeverRuns) {
  Calls c;
  ExtraProcess_Create(EP_DORMANT, 0, countRun, countFinish, &c);
  long t;
  ExtraProcess_Wait(&t);
  EXPECT_EQ(t, 5000);
  EXPECT_EQ(c.runs, 0);
  EXPECT_EQ(ExtraProcess_NumberPending(), 1);
}

TEST_F(WaitListTest, ChildEntryFinishesWithTheReapedChildsStatus) {
  pid_t pid = fork();
  if (pid == 0) _exit(7);
  Calls c;
  ExtraProcessHandle h = ExtraProcess_Create(EP_CHILD, pid, countRun, countFinish, &c);
  EXPECT_EQ(ExtraProcess_GetPid(h), pid);
  static pid_t endedPid;
  static int endedStatus;
  endedPid = 0;
  ExtraProcess_SetChildEndedHook([](pid_t p, int s) { endedPid = p, endedStatus = s; });
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!h.expired() && std::chrono::steady_clock::now() < deadline) {
    long t;
    ASSERT_EQ(ExtraProcess_Wait(&t), 1);
    sleepMs(5);
  }
  ExtraProcess_SetChildEndedHook(nullptr);
  EXPECT_TRUE(h.expired());
  EXPECT_GE(c.runs, 1);  // run is called on every pass for a child entry
  EXPECT_EQ(c.finishes, 1);
  EXPECT_EQ(c.lastStatus, 7);
  EXPECT_EQ(endedPid, pid);
  EXPECT_EQ(endedStatus, 7);
}

TEST_F(WaitListTest, KillCallsFinishWithTheStatusOrOne) {
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

TEST_F(WaitListTest, SetTimeoutMovesTheDeadline) {
  Calls c;
  ExtraProcessHandle h = ExtraProcess_Create(EP_TIMEOUT, 0, countRun, nullptr, &c);
  EXPECT_EQ(ExtraProcess_SetTimeout(h, 10000), 1);
  long t;
  ExtraProcess_Wait(&t);
  EXPECT_EQ(c.runs, 0);
  EXPECT_GT(t, 4000);
}

// An entry's callback removes the entry after it; the pass skips it.
struct Remover {
  ExtraProcessHandle victim;
  int runs = 0;
};

TEST_F(WaitListTest, CallbackMayRemoveOtherEntries) {
  Remover r;
  Calls victimCalls;
  ExtraProcess_Create(
      EP_POLL, 0,
      [](void* d, int) {
        auto* rm = static_cast<Remover*>(d);
        rm->runs++;
        ExtraProcess_Kill(rm->victim);
        return 0;
      },
      nullptr, &r);
  r.victim = ExtraProcess_Create(EP_POLL, 0, countRun, countFinish, &victimCalls);
  long t;
  ExtraProcess_Wait(&t);
  EXPECT_EQ(r.runs, 1);
  EXPECT_EQ(victimCalls.runs, 0);
  EXPECT_EQ(victimCalls.finishes, 1);
  EXPECT_TRUE(r.victim.expired());
}

TEST_F(WaitListTest, NestedWaitSkipsTheEntryInProgress) {
  static int depth, runs;
  depth = runs = 0;
  ExtraProcess_Create(
      EP_POLL, 0,
      [](void*, int) {
        runs++;
        if (depth++ == 0) {
          long t;
          ExtraProcess_Wait(&t);
        }
        return 0;
      },
      nullptr, nullptr);
  long t;
  ExtraProcess_Wait(&t);
  EXPECT_EQ(runs, 1);
}

// A timer records when it ran.
struct Recorder : WTimerHandler {
  std::vector<int64_t> at;
  void handleTimer(WTimer*) override { at.push_back(idle_nowMs()); }
};

TEST_F(WaitListTest, TimerRunsAfterItsIntervalAndIsReArmed) {
  Recorder rec;
  int64_t created = idle_nowMs();
  auto timer = std::make_unique<WTimer>(&rec, 100);
  EXPECT_TRUE(timer->isValid());
  while (rec.at.size() < 2 && idle_nowMs() - created < 3000) {
    long t;
    ExtraProcess_Wait(&t);
    EXPECT_LE(t, 100);
    sleepMs(t);
  }
  ASSERT_EQ(rec.at.size(), 2u);
  EXPECT_GE(rec.at[0] - created, 100);
  EXPECT_LT(rec.at[0] - created, 160);  // the first pass at or after its deadline
  EXPECT_GE(rec.at[1] - rec.at[0], 100);
  timer.reset();
  EXPECT_EQ(ExtraProcess_NumberPending(), 0);
}

TEST_F(WaitListTest, KillingATimersEntryTakesTheTimerOffTheList) {
  Recorder rec;
  WTimer* timer = new WTimer(&rec, 30);  // deleted by the kill
  ExtraProcessHandle h = timer->getEntry();
  ASSERT_FALSE(h.expired());
  EXPECT_EQ(ExtraProcess_Kill(h), 1);
  EXPECT_TRUE(h.expired());
  EXPECT_EQ(ExtraProcess_NumberPending(), 0);
  sleepMs(40);
  long t;
  ExtraProcess_Wait(&t);
  EXPECT_TRUE(rec.at.empty());
}

TEST_F(WaitListTest, SetIntervalRearmsTheTimer) {
  Recorder rec;
  WTimer timer(&rec, 5000);
  timer.setInterval(20);
  EXPECT_EQ(timer.getInterval(), 20);
  int64_t start = idle_nowMs();
  while (rec.at.empty() && idle_nowMs() - start < 2000) {
    long t;
    ExtraProcess_Wait(&t);
    sleepMs(t);
  }
  ASSERT_EQ(rec.at.size(), 1u);
  EXPECT_LT(rec.at[0] - start, 1000);
}

}  // namespace
