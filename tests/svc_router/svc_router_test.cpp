// svc_router as tools meet it: one router process per test, started as a
// tool starts it, with tools that speak the plugin side of ServiceRouter.
#include <pwd.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <set>

#include <gtest/gtest.h>

#include "router_harness.h"
#include "test_support.h"

using namespace router_test;

namespace {

struct RouterTest : ::testing::Test {
  test_support::ScratchDir dir;
  std::vector<std::string> env() const {
    return {"TMPDIR=" + dir.path().string(), "HOME=" + dir.path().string()};
  }
};

// A second tool linked to the router, introduced.
std::unique_ptr<Tool> join(const RouterProcess& router) {
  auto tool = std::make_unique<Tool>(router.port);
  EXPECT_TRUE(tool->introduce());
  return tool;
}

}  // namespace

TEST_F(RouterTest, ToolsGetIdsRnsAndConnectionsWhoseFramesAndDropsReachTheOtherSide) {
  RouterProcess router({"-sr_zone", "z"}, env());
  ASSERT_NE(router.port, 0);
  EXPECT_TRUE(std::filesystem::exists(dir / "svc_z"));
  Tool& a = *router.first;
  auto b = join(router);
  EXPECT_NE(a.p->id, b->p->id);

  b->p->send_RegisterServiceList({"Echo"}, false);
  a.p->send_ReserveRNBlock(3, false);
  ASSERT_TRUE(b->waitFor([&] { return b->p->rns.size() == 1; }));
  ASSERT_TRUE(a.waitFor([&] { return a.p->rns.size() == 3; }));
  EXPECT_EQ(std::set<uint32_t>(a.p->rns.begin(), a.p->rns.end()).count(b->p->rns[0]), 0u);

  a.p->send_RequestServiceConnection("Nothing", kNone, {}, "/", 0, 7, 0, 0, false);
  a.p->send_RequestServiceConnection("Echo", kNone, {"k", "v"}, "/", 0, 8, 0, 0, false);
  ASSERT_TRUE(b->waitFor([&] { return b->p->requested.size() == 1; }));
  uint32_t service = b->p->rns[0], client = b->p->requested[0][2];
  EXPECT_EQ(b->p->requested[0], (std::vector<uint32_t>{a.p->id, service, client}));
  b->p->send_ConnectionAcceptedEvent(service, client, 1, false);
  ASSERT_TRUE(a.waitFor([&] { return a.p->replies.size() == 2; }));
  EXPECT_FALSE(a.p->replies[0].found);
  const Reply& r = a.p->replies[1];
  EXPECT_TRUE(r.found && r.accepted);
  EXPECT_EQ(r.cookie, 8u);
  EXPECT_EQ(r.localRN, client);
  EXPECT_EQ(r.serviceRN, service);
  EXPECT_EQ(r.plugin, b->p->id);

  Frames atB(b->t, service, client), atA(a.t, client, service);
  a.sendFrame(client, service, 41);
  b->sendFrame(service, client, 42);
  EXPECT_TRUE(b->waitFor([&] { return atB.ids == std::vector<uint32_t>{41}; }));
  EXPECT_TRUE(a.waitFor([&] { return atA.ids == std::vector<uint32_t>{42}; }));

  b->p->send_SetWorkingDir("/somewhere", false);
  b->p->send_RequestServiceRouterDisconnect(false);  // it serves a: not let go
  b->p->send_RequestLocation(false);  // once answered, the router has read the two above
  ASSERT_TRUE(b->waitFor([&] { return b->p->routerPort != 0; }));
  a.p->send_RequestValueOfNameOnPlugin(b->p->id, "cwd", false);
  a.p->send_RequestValueOfNameOnPlugin(b->p->id, "colour", false);
  std::vector<std::string> values{"cwd=/somewhere", "colour=answer"};
  EXPECT_TRUE(a.waitFor([&] { return a.p->values == values; }));

  a.p->send_DropServiceConnection(client, service, false);
  ASSERT_TRUE(b->waitFor([&] { return b->p->dropped.size() == 1; }));
  EXPECT_EQ(b->p->dropped[0], std::make_pair(service, client));
  EXPECT_TRUE(b->alive());

  // A provider that dies drops its connections at the client.
  a.p->send_RequestServiceConnection("Echo", kNone, {}, "/", 0, 9, 0, 0, false);
  ASSERT_TRUE(b->waitFor([&] { return b->p->requested.size() == 2; }));
  b->p->send_ConnectionAcceptedEvent(service, b->p->requested[1][2], 1, false);
  ASSERT_TRUE(a.waitFor([&] { return a.p->replies.size() == 3; }));
  b.reset();
  ASSERT_TRUE(a.waitFor([&] { return a.p->dropped.size() == 1; }));
  EXPECT_EQ(a.p->dropped[0], std::make_pair(a.p->replies[2].localRN, service));
}

TEST_F(RouterTest, StartsAMissingProviderFromTheTableInTheUsersConfigDirectory) {
  dir.write(".qen/svc_router.services",
            "Services {\n  Echo { program = \"" TEST_PROVIDER "\" }\n"
            "  Gone { program = \"/nonexistent/program\" }\n}\n");
  RouterProcess router({}, env());
  Tool& a = *router.first;
  a.p->send_RequestServiceConnection("Gone", kNone, {}, "/", 0, 1, 0, 0, false);
  a.p->send_RequestServiceConnection("Echo", kNone, {}, dir.path().c_str(), 0, 2, 0, 0, false);
  ASSERT_TRUE(a.waitFor([&] { return a.p->replies.size() == 2; }));
  EXPECT_FALSE(a.p->replies[0].found);
  const Reply& r = a.p->replies[1];
  ASSERT_TRUE(r.found && r.accepted);
  Frames back(a.t, r.localRN, r.serviceRN);
  a.sendFrame(r.localRN, r.serviceRN, 5);
  EXPECT_TRUE(a.waitFor([&] { return back.ids == std::vector<uint32_t>{1005}; }));

  a.p->send_RequestPluginLaunch({"/nonexistent/program"}, 11, 0, "/", false);
  a.p->send_RequestPluginLaunch({TEST_PROVIDER}, 12, 0, "/", false);
  ASSERT_TRUE(a.waitFor([&] { return a.p->started.size() == 2; }));
  EXPECT_EQ(a.p->started[0], std::make_pair(11u, kNone));
  EXPECT_EQ(a.p->started[1].first, 12u);
  EXPECT_NE(a.p->started[1].second, kNone);
  EXPECT_NE(a.p->started[1].second, r.plugin);
}

TEST_F(RouterTest, AnotherUsersClientIsClosedBeforeAnyFrameIsRouted) {
  const passwd* nobody = getpwnam("nobody");
  if (geteuid() != 0 || !nobody) GTEST_SKIP() << "needs root to become nobody";
  RouterProcess router({"-sr_log_internal", dir / "internal.log"}, env());
  Tool& a = *router.first;
  a.p->send_ReserveRNBlock(1, false);
  ASSERT_TRUE(a.waitFor([&] { return a.p->rns.size() == 1; }));
  Frames atA(a.t, a.p->rns[0], 77);
  pid_t child = fork();
  if (child == 0) {
    if (setgid(nobody->pw_gid) != 0 || setuid(nobody->pw_uid) != 0) _exit(3);
    signal(SIGPIPE, SIG_IGN);
    Tool stranger(router.port);
    int fd = dup(stranger.t->getFD());
    stranger.sendFrame(77, a.p->rns[0], 1);
    char byte;
    // The router neither negotiates nor routes: the first thing read is the end.
    _exit(fd >= 0 && read(fd, &byte, 1) <= 0 ? 0 : 4);
  }
  EXPECT_EQ(test_support::waitProgram(child), 0);
  a.p->send_RequestLocation(false);  // a round trip after the stranger's try
  a.p->routerPort = 0;
  ASSERT_TRUE(a.waitFor([&] { return a.p->routerPort != 0; }));
  EXPECT_TRUE(atA.ids.empty());
  EXPECT_NE(test_support::readFile(dir / "internal.log").find("not a process of this user"),
            std::string::npos);
}

TEST_F(RouterTest, BadFramesEndOnlyTheirToolAndCyclesLeaveNoTrace) {
  RouterProcess router({}, env());
  Tool& a = *router.first;
  for (const char* bad : {"\x1c\0\0\0\0\0\0\0", "\x2c\0\0\0\xff\xff\xff\x7f"}) {
    Tool c(router.port);
    c.t->enqueueRaw(reinterpret_cast<const uint8_t*>(bad), 8);
    c.t->serviceOnce(0, nullptr);
    EXPECT_TRUE(c.waitFor([&] { return !c.alive(); })) << "the router kept a tool that sent garbage";
  }
  a.p->send_RequestLocation(false);
  a.p->routerPort = 0;
  EXPECT_TRUE(a.waitFor([&] { return a.p->routerPort != 0; }));

  a.p->acceptAll = true;
  a.p->send_RegisterServiceList({"Echo"}, false);
  ASSERT_TRUE(a.waitFor([&] { return a.p->rns.size() == 1; }));
  auto cycle = [&] {
    Tool c(router.port);
    c.introduce();
    c.p->send_RequestServiceConnection("Echo", kNone, {}, "/", 0, 1, 0, 0, false);
    c.waitFor([&] { return !c.p->replies.empty(); });
  };
  for (int i = 0; i < 50; i++) cycle();
  a.waitFor([&] { return a.p->dropped.size() == 50; });
  int fds = openDescriptors(router.pid);
  long kb = residentKb(router.pid);
  for (int i = 0; i < 1000; i++) cycle();
  EXPECT_TRUE(a.waitFor([&] { return a.p->dropped.size() == 1050; }));
  EXPECT_EQ(openDescriptors(router.pid), fds);
  EXPECT_LE(residentKb(router.pid), kb + 256) << "from " << kb << " kB";
  RecordProperty("router_fds", fds);
  RecordProperty("router_rss_kb_after_50_cycles", kb);
  RecordProperty("router_rss_kb_after_1050_cycles", residentKb(router.pid));
}

TEST_F(RouterTest, LetsAnIdleToolGoThenEndsAndRemovesItsRegistration) {
  std::vector<std::string> e = env();
  e.push_back("SVC_ROUTER_IDLE_MS=300");
  RouterProcess router({}, e);
  ASSERT_TRUE(std::filesystem::exists(dir / "svc"));
  Tool& a = *router.first;
  a.p->send_RequestServiceRouterDisconnect(false);
  EXPECT_TRUE(a.waitFor([&] { return !a.alive(); }));
  int status = -1;
  for (int i = 0; i < 300 && waitpid(router.pid, &status, WNOHANG) == 0; i++) usleep(10000);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  router.pid = -1;
  EXPECT_FALSE(std::filesystem::exists(dir / "svc"));
}
