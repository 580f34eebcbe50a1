// The stand-alone service loop.
#include "services/svc_event_loop.h"

#include "gui/loop/idle_notifier.h"
#include "libs/libcxxutil/retry_handler.h"
#include "services/servicerouter_proxy.h"

namespace {

struct GlobalSettings {
  std::vector<Svc_EventLoop::Condition> exits;
  std::vector<Svc_EventLoop::Action> actions, cleanups;
  int64_t sleepMs = -1;
};

GlobalSettings& global() {
  static GlobalSettings g;
  return g;
}

}  // namespace

void Svc_EventLoop::addGlobalExitCondition(Condition c) { global().exits.push_back(std::move(c)); }
void Svc_EventLoop::addGlobalLoopAction(Action a) { global().actions.push_back(std::move(a)); }
void Svc_EventLoop::addGlobalCleanupAction(Action a) { global().cleanups.push_back(std::move(a)); }
void Svc_EventLoop::setGlobalSleepTime(int64_t ms) { global().sleepMs = ms; }

int64_t Svc_EventLoop::sleepTime() const {
  if (sleepMs_ >= 0) return sleepMs_;
  return global().sleepMs >= 0 ? global().sleepMs : kDefaultSleepMs;
}

void Svc_EventLoop::enterLoop() {
  int64_t nextRequestMs = -1;  // -1: no request pending
  while (ServiceRouter_Proxy::isAlive()) {
    loopAction();
    if (!shouldExit()) {
      nextRequestMs = -1;
      continue;
    }
    const int64_t now = ut_getTimeMillis64();
    if (nextRequestMs >= 0 && now < nextRequestMs) continue;
    ServiceRouter_Proxy::requestServiceRouterDisconnect(nullptr);
    nextRequestMs = now + kDisconnectRepeatMs;
  }
  for (const Action& a : global().cleanups) a();
  for (const Action& a : cleanups_) a();
}

void Svc_EventLoop::runActions() {
  for (const Action& a : global().actions) a();
  for (const Action& a : actions_) a();
}

void Svc_EventLoop::loopAction() {
  IdleNotifier* notifier = getIdleNotifier();
  notifier->notifyIdle(false);
  notifier->notifyTimers();
  notifier->notifySocketActivity(sleepTime(), true);
  runActions();
}

bool Svc_EventLoop::exitConditionsSay(bool* any) const {
  *any = !global().exits.empty() || !exits_.empty();
  for (const Condition& c : global().exits)
    if (c()) return true;
  for (const Condition& c : exits_)
    if (c()) return true;
  return false;
}

bool Svc_EventLoop::shouldExit() {
  bool any = false;
  if (exitConditionsSay(&any)) return true;
  if (any) return false;
  return ServiceRouter_Proxy::acceptedAConnection() &&
         ServiceRouter_Proxy::getNumServerConnections() == 0;
}
