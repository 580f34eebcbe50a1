// One Xvfb and one toolkit start-up per test program.
#include "old_x_session.h"

#include <chrono>

#include "base/debugflag.h"
#include "base/gen.h"
#include "gui/core/colwind.h"
#include "gui/core/event_loop.h"
#include "gui/core/wgui.h"
#include "gui/x11/display.h"

XvfbServer* XSession::server = nullptr;
Display* XSession::other = nullptr;
std::vector<std::string> XSession::keptArgs;
bool XSession::up = false;

void XSession::SetUpTestSuite() {
  if (server) return;
  server = new XvfbServer();
  if (!server->start()) return;
  gen_changeprogname("diffview");
  InitDebugFlag();
  static char a0[] = "diffview", a1[] = "-fg", a2[] = "#102030", a3[] = "left",
              a4[] = "-xrm", a5[] = "diffview.comment: #00ff00";
  char* argv[] = {a0, a1, a2, a3, a4, a5, nullptr};
  int argc = 6;
  up = WGUIInit(&argc, argv, nullptr, false, false, WGUI_KIND_APPLICATION) == 1;
  for (int i = 1; i < argc; i++) keptArgs.push_back(argv[i]);
  other = XOpenDisplay(server->display().c_str());
  up = up && other;
}

void XSession::TearDownTestSuite() {}

void XSession::SetUp() { ASSERT_TRUE(up) << "no X server or toolkit start-up failed"; }

void XSession::TearDown() {
  // Close what a test left open, without asking anybody.
  std::vector<ColWind*> open;
  cwCallProcOnAll([](ColWind* w, void* d) { static_cast<std::vector<ColWind*>*>(d)->push_back(w); },
                  &open);
  for (ColWind* w : open) {
    w->closeCallback = nullptr;
    cwDestroy(w);
  }
  settle(20);
}

bool XSession::waitFor(const std::function<bool()>& cond, int ms) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  for (;;) {
    WEventAll(0);
    if (cond()) return true;
    if (std::chrono::steady_clock::now() > deadline) return false;
    WYield(10, false);
  }
}

void XSession::settle(int ms) {
  waitFor([] { return false; }, ms);
}

namespace {
int mapped;
int countMaps(xinLibSt* e, ColWind*) {
  if (e->type == WEV_MAP && e->x == 1) mapped++;
  return 0;
}
}  // namespace

ColWind* XSession::openWindow(const char* name, int width, int height) {
  mapped = 0;
  ColWind* w = cwxCreatexy(20, 20, name, nullptr, nullptr, nullptr, countMaps, width, height,
                           nullptr);
  if (!w) return nullptr;
  waitFor([] { return mapped > 0; });
  w->eventCallback = nullptr;
  return w;
}

int XSession::xdotool(const std::vector<std::string>& args) {
  std::vector<std::string> argv{"xdotool"};
  argv.insert(argv.end(), args.begin(), args.end());
  return runProgram(argv);
}

// The toolkit and the server go when the test program ends.
class XSessionEnd : public ::testing::Environment {
 public:
  void TearDown() override { XSession::shutDown(); }
};
static ::testing::Environment* const sessionEnd =
    ::testing::AddGlobalTestEnvironment(new XSessionEnd);

void XSession::shutDown() {
  if (!server) return;
  if (XWindowsOn()) {
    WDrawExit();
    WGUIDestroy();
    cleanup_after_gui();
  }
  if (other) XCloseDisplay(other);
  other = nullptr;
  delete server;
  server = nullptr;
}
