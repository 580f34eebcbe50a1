// One toolkit start-up per test program, on the program's Xvfb.
#include "gui_session.h"

#include <algorithm>

#include "base/debugflag.h"
#include "base/gen.h"
#include "gui/core/event_loop.h"
#include "gui/core/wgui.h"
#include "gui/loop/extra_process.h"
#include "gui/x11/display.h"
#include "gui/x11/xdisplay.h"

std::vector<std::string> GuiSession::keptArgs;

namespace {

bool up = false;

void flushToolkit() {
  if (XWindowsOn()) XSync(xstate().display, False);
}

// The toolkit goes before the server when the program ends.
struct ToolkitEnd : ::testing::Environment {
  void TearDown() override { GuiSession::stopToolkit(); }
};
::testing::Environment* const toolkitEnd = ::testing::AddGlobalTestEnvironment(new ToolkitEnd);

}  // namespace

bool GuiSession::startToolkit() {
  if (!xtest::display()) return false;
  gen_changeprogname("diffview");
  InitDebugFlag();
  static char a0[] = "diffview", a1[] = "-fg", a2[] = "#102030", a3[] = "left", a4[] = "-xrm",
              a5[] = "diffview.comment: #00ff00";
  char* argv[] = {a0, a1, a2, a3, a4, a5, nullptr};
  int argc = 6;
  up = WGUIInit(&argc, argv, nullptr, false, false, WGUI_KIND_APPLICATION) == 1;
  keptArgs.assign(argv + 1, argv + argc);
  xtest::setFlush(flushToolkit);
  return up;
}

void GuiSession::stopToolkit() {
  if (!XWindowsOn()) return;
  WDrawExit();
  WGUIDestroy();
  cleanup_after_gui();
}

void GuiSession::SetUpTestSuite() {
  if (!XWindowsOn()) startToolkit();
}

void GuiSession::SetUp() { ASSERT_TRUE(up && XWindowsOn()) << "no Xvfb or no toolkit"; }

void GuiSession::TearDown() {
  std::vector<ColWind*> open;
  cwCallProcOnAll([](ColWind* w, void* d) { static_cast<std::vector<ColWind*>*>(d)->push_back(w); },
                  &open);
  for (ColWind* w : open) {
    w->closeCallback = nullptr;
    cwDestroy(w);
  }
  drain();
}

bool GuiSession::waitFor(const std::function<bool()>& cond, int ms) {
  return xtest::poll(cond, ms, [] {
    WEventAll(0);
    long t = 0;
    ExtraProcess_Wait(&t);
    WYield(std::min(t, 5L), false);
  });
}

void GuiSession::drain() {
  if (!XWindowsOn()) return;
  xtest::flush();
  for (int i = 0; i < 20; i++) {
    WEventAll(0);
    if (!XPending(xstate().display)) break;
  }
}

namespace {
int maps;
}

ColWind* GuiSession::openWindow(const char* name, int width, int height) {
  maps = 0;
  ColWind* w = cwxCreatexy(20, 20, name, nullptr, nullptr, nullptr,
                           [](xinLibSt* e, ColWind*) {
                             maps += e->type == WEV_MAP && e->x == 1;
                             return 0;
                           },
                           width, height, nullptr);
  if (w && !waitFor([] { return maps > 0; })) return nullptr;
  if (w) w->eventCallback = nullptr;
  return w;
}

int GuiSession::xdotool(const std::vector<std::string>& args) {
  xtest::flush();  // windows made since the last loop turn reach the server first
  return xtest::xdotool(args);
}

int GuiSession::move(const WWindowedItem* item, int x, int y) {
  return xdotool({"mousemove", "--window", id(item), std::to_string(x), std::to_string(y)});
}

int GuiSession::click(const WWindowedItem* item, int x, int y, int button) {
  return xdotool({"mousemove", "--window", id(item), std::to_string(x), std::to_string(y),
                  "click", std::to_string(button)});
}

int GuiSession::keys(WWindowedItem* item, const std::vector<std::string>& names) {
  std::vector<std::string> args{"windowfocus", "--sync", id(item->getTopLevel()), "key"};
  args.insert(args.end(), names.begin(), names.end());
  return xdotool(args);
}
