// The toolkit on the program's Xvfb: start-up and configured colours and
// fonts, titles and messages, the close callback's veto, keys, clicks and
// crossings from xdotool or another client, motion coalescing, sleeping
// and waking, time-outs in the loop, and painting.
#include "gui_session.h"  // gtest before Xlib

#include <X11/Xatom.h>
#include <X11/keysym.h>

#include <chrono>
#include <thread>

#include "base/debugflag.h"
#include "config/config.h"
#include "config/config_vars.h"
#include "gui/core/application.h"
#include "gui/core/event_loop.h"
#include "gui/core/fonts.h"
#include "gui/core/pixels.h"
#include "gui/core/wgui.h"
#include "gui/core/window_registry.h"
#include "gui/loop/extra_process.h"
#include "gui/x11/damage.h"
#include "gui/x11/xdisplay.h"

namespace {

using Clock = std::chrono::steady_clock;
using Toolkit = GuiSession;

// Events a window saw, with their decoded characters.
std::vector<xinLibSt> seen;
std::vector<std::string> seenChars;
int record(xinLibSt* e, ColWind*) {
  seen.push_back(*e);
  seenChars.push_back(e->chars ? std::string(e->chars, e->nchars) : "");
  return 0;
}
std::vector<int> codesOf(const std::vector<xinLibSt>& events, int type = WEV_KEY) {
  std::vector<int> out;
  for (const xinLibSt& e : events)
    if (e.type == type) out.push_back(e.code);
  return out;
}

// An item that keeps what it is given and paints a band along its top.
class Pane : public WWindowedItem {
 public:
  Pane(WWindowedItem* parent, DrawRect r) : WWindowedItem(parent, r, bg_pixel) {}
  std::vector<xinLibSt> events;
  Pixel paint = 0;
  bool painted = false;
  bool handleMousePress(xinLibSt* e) override { return keep(e); }
  bool handleMouseRelease(xinLibSt* e) override { return keep(e); }
  bool handleMouseMotion(xinLibSt* e) override { return keep(e); }
  bool handleKey(xinLibSt* e) override { return keep(e); }
  bool handleMouseEnter(xinLibSt* e) override { return keep(e); }
  bool handleMouseLeave(xinLibSt* e) override { return keep(e); }
  bool handleExpose(int x, int y, int w, int h) override {
    DrawTarget* t = draw_begin(getWindow(), DrawRect{x, y, w, h});
    draw_fillRect(t, x, y, w, h, bg_pixel);
    draw_fillRect(t, 0, 0, getWidth(), 10, paint);
    draw_text(t, draw_defaultFont(), fg_pixel, 2, 20 + font_ascent, "MMMM", -1);
    draw_end(t);
    return painted = true;
  }
  bool keep(xinLibSt* e) {
    events.push_back(*e);
    return true;
  }
};

// Events of another client, sent straight to a window.
void sendEvent(Window w, XEvent& e, long mask) {
  e.xany.window = w;
  XSendEvent(xtest::display(), w, False, mask, &e);
  XFlush(xtest::display());
}
void sendKey(Window w, KeySym ks, unsigned state = 0) {
  XEvent e{};
  e.xkey.type = KeyPress;
  e.xkey.root = DefaultRootWindow(xtest::display());
  e.xkey.state = state;
  e.xkey.keycode = XKeysymToKeycode(xtest::display(), ks);
  e.xkey.same_screen = True;
  sendEvent(w, e, KeyPressMask);
}
void sendMessage(Window w, long value) {
  XEvent e{};
  e.xclient.type = ClientMessage;
  e.xclient.message_type = XA_STRING;
  e.xclient.format = 32;
  e.xclient.data.l[0] = value;
  sendEvent(w, e, NoEventMask);
}
// Until the toolkit's connection holds n events it has not read yet.
bool queued(int n) {
  XSync(xtest::display(), False);
  return xtest::poll([n] { return XEventsQueued(xstate().display, QueuedAfterReading) >= n; });
}

std::vector<unsigned> rgb(Pixel p) {
  unsigned r, g, b;
  draw_pixelRGB(p, &r, &g, &b);
  return {r, g, b};
}

TEST_F(Toolkit, StartUpTakesResourceOptionsAndTheConfigurationRecolours) {
  EXPECT_EQ(keptArgs, std::vector<std::string>{"left"});
  EXPECT_EQ(rgb(fg_pixel), (std::vector<unsigned>{0x10, 0x20, 0x30}));  // -fg
  EXPECT_EQ(rgb(comment_fg), (std::vector<unsigned>{0, 255, 0}));       // -xrm
  EXPECT_EQ(rgb(keyword_fg), (std::vector<unsigned>{0, 0, 255}));       // built in
  EXPECT_STREQ(cfg_GetColorText("comment"), "#00ff00");  // resources are the defaults
  ASSERT_EQ(cfg_ScanLine("background #ff0000", 0, 1), 1);
  EXPECT_EQ(rgb(bg_pixel), (std::vector<unsigned>{255, 0, 0}));
  ASSERT_EQ(cfg_ScanLine("background #ffffff", 0, 1), 1);
  // A changed font reopens the default font; one that cannot be loaded
  // falls back to the default.
  int before = font_h;
  ASSERT_EQ(cfg_ScanLine("font \"DejaVu Sans Mono:size=20\"", 0, 1), 1);
  EXPECT_GT(font_h, before);
  ASSERT_EQ(cfg_ScanLine("font \"No Such Family Anywhere\"", 0, 1), 1);
  EXPECT_EQ(font_h, before);
  ASSERT_EQ(cfg_ScanLine("font \"DejaVu Sans Mono:size=10\"", 0, 1), 1);
  // (Static texts measure texts beyond 16 bits of width.)
  std::string accents;
  for (int i = 0; i < 3000; i++) accents += "a\xc3\xa9";  // pieces end inside a character
  EXPECT_EQ(draw_textWidth(draw_defaultFont(), accents.c_str(), -1), 6000 * font_n);
  EXPECT_EQ(draw_openFont(""), nullptr);
}

TEST_F(Toolkit, RouterIsStartedWhenWantedAndOneThatCannotStartEndsTheProgram) {
  static int routerCalls, serviceCalls;
  routerCalls = serviceCalls = 0;
  guiHooks.startRouter = [](int) { return ++routerCalls > 0; };
  guiHooks.routerServices = [](int) { serviceCalls++; };
  stopToolkit();
  static char a0[] = "diffview";
  char* argv[] = {a0, nullptr};
  int argc = 1;
  debugFlag[DBG_ServiceRouter] = 1;
  EXPECT_EQ(WGUIInit(&argc, argv, nullptr, true, false, WGUI_KIND_APPLICATION), 1);
  EXPECT_EQ(routerCalls + serviceCalls, 2);
  guiHooks.startRouter = [](int) { return false; };
  EXPECT_EXIT(WGUIInit(&argc, argv, nullptr, true, false, WGUI_KIND_APPLICATION),
              ::testing::ExitedWithCode(1),
              "Warning: Unable to start IDE framework \\(svc_router\\)\\.  Exiting\\.");
  guiHooks.startRouter = nullptr;
  guiHooks.routerServices = nullptr;
  debugFlag[DBG_ServiceRouter] = 0;
  stopToolkit();
  ASSERT_TRUE(startToolkit());
}

TEST_F(Toolkit, TitlesCarryMessagesUntilAStatusBoxTakesThem) {
  ColWind* w = openWindow("first");
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(xtest::title(w->getWindow()), "first");
  cwSetName(w, "name", "The Title", nullptr);
  cwSetMsg(w, "Busy\nsecond line", 0);
  EXPECT_EQ(w->message, "Busy");
  EXPECT_EQ(xtest::title(w->getWindow()), "The Title  -  Busy");
  struct Box : WStatusItem {
    std::vector<std::string> texts;
    void setStatusText(const char* t) override { texts.push_back(t); }
  } box;
  cwSetStatusBox(w, &box);
  cwSetMsg(w, "Comparing\r...", 0);
  cwSetMsg(w, "Comparing", 0);  // the same again: nothing
  EXPECT_EQ(box.texts, (std::vector<std::string>{"Busy", "Comparing"}));
  EXPECT_EQ(xtest::title(w->getWindow()), "The Title");
  cwSetStatusBox(w, nullptr);
}

int vetoAnswer, vetoCalls;
int veto(ColWind*) {
  vetoCalls++;
  return vetoAnswer;
}

// The window manager's close button and Control+Q ask the close callback,
// which may refuse; cwDestroy reports the refusal.
TEST_F(Toolkit, ClosingAsksTheCloseCallbackWhichMayRefuse) {
  EXPECT_TRUE(NoMoreWindows());
  for (bool byKey : {false, true}) {
    ColWind* w = openWindow("veto");
    ASSERT_NE(w, nullptr);
    Window id = w->getWindow();
    w->closeCallback = veto;
    vetoAnswer = 0, vetoCalls = 0;
    byKey ? sendKey(id, XK_q, ControlMask) : xtest::sendDelete(id);
    ASSERT_TRUE(waitFor([] { return vetoCalls == 1; }));
    drain();
    EXPECT_EQ(cwFromWindow(id), w);
    EXPECT_FALSE(w->closing);
    EXPECT_EQ(cwDestroy(w), 0);
    vetoAnswer = 1;
    byKey ? sendKey(id, XK_q, ControlMask) : xtest::sendDelete(id);
    ASSERT_TRUE(waitFor([id] { return cwFromWindow(id) == nullptr; }));
  }
  EXPECT_TRUE(NoMoreWindows());
  ColWind* a = openWindow("a");
  ColWind* b = openWindow("b");
  EXPECT_LT(a->sequence, b->sequence);
  // A close callback that closes its own window: the close happened.
  b->closeCallback = [](ColWind* self) { return cwDestroy(self) * 0; };
  EXPECT_EQ(cwDestroy(b), 1);
  EXPECT_EQ(cwCount(), 1);
  EXPECT_EQ(cwDestroy(nullptr), 0);
}

TEST_F(Toolkit, KeysArriveWithTheirCodesAndTypedAheadKeysTogether) {
  ColWind* w = openWindow("keys");
  ASSERT_NE(w, nullptr);
  seen.clear(), seenChars.clear();
  w->eventCallback = record;
  ASSERT_EQ(keys(w, {"a", "Escape", "Up", "Alt_L", "shift+b"}), 0);
  drain();
  // Alt alone arrives once, on its release; no other release shows.  The
  // press of Shift is a function keysym like any other (0x100 | 0xE1).
  EXPECT_EQ(codesOf(seen), (std::vector<int>{'a', 283, 338, WKEY_ALT_L, 0x1E1, 'B'}));
  for (size_t i = 0; i < seen.size(); i++)
    if (seen[i].type == WEV_KEY) {
      EXPECT_EQ(seenChars[i], "a");  // the first key's decoded characters
      break;
    }
  EXPECT_FALSE(codesOf(seen, WEV_FOCUS).empty());  // windowfocus gave it the focus
  // Keys already queued together are delivered together; one with Control
  // is a delivery of its own.
  seen.clear(), seenChars.clear();
  for (KeySym k : {XK_a, XK_b, XK_c}) sendKey(w->getWindow(), k);
  sendKey(w->getWindow(), XK_d, ControlMask);
  ASSERT_TRUE(queued(4));
  WEventAll(0);
  ASSERT_EQ(codesOf(seen), (std::vector<int>{'a', 'd'}));
  EXPECT_EQ(seenChars[0], "abc");
  EXPECT_EQ(seenChars[1], "\x04");
}

TEST_F(Toolkit, TheActiveItemGetsTheWindowsKeys) {
  ColWind* w = openWindow("active");
  ASSERT_NE(w, nullptr);
  seen.clear();
  w->eventCallback = record;
  Pane* pane = new Pane(w, DrawRect{10, 10, 100, 50});
  pane->activateMe();
  sendKey(w->getWindow(), XK_x);
  ASSERT_TRUE(waitFor([pane] { return pane->events.size() == 1; }));
  EXPECT_EQ(pane->events[0].code, 'x');
  EXPECT_TRUE(codesOf(seen).empty());
  delete pane;  // the window forgets its active item
  EXPECT_EQ(w->getActiveItem(), nullptr);
  sendKey(w->getWindow(), XK_y);
  EXPECT_TRUE(waitFor([] { return codesOf(seen) == std::vector<int>{'y'}; }));
}

TEST_F(Toolkit, ClicksCarryButtonPlaceAndCountAndCrossingsReachTheItem) {
  ColWind* w = openWindow("clicks");
  ASSERT_NE(w, nullptr);
  Pane* pane = new Pane(w, DrawRect{20, 30, 120, 60});
  ASSERT_EQ(move(w, 5, 5), 0);
  ASSERT_EQ(xdotool({"mousemove", "--window", id(pane), "7", "9", "click", "--repeat", "2",
                     "--delay", "60", "1", "mousemove", "--window", id(w), "5", "5"}), 0);
  drain();
  std::vector<int> kinds;
  for (const xinLibSt& e : pane->events) kinds.push_back(e.type == WEV_CROSSING ? 10 + e.x : e.code);
  EXPECT_EQ(kinds, (std::vector<int>{11, WMOUSE_PRESS, WMOUSE_RELEASE, WMOUSE_PRESS,
                                     WMOUSE_RELEASE, 10}));
  ASSERT_EQ(pane->events.size(), 6u);
  EXPECT_EQ(pane->events[1].button, 1);
  EXPECT_EQ(pane->events[1].clicks, 1);
  EXPECT_EQ(pane->events[3].clicks, 2);
  EXPECT_EQ(pane->events[1].x * 100 + pane->events[1].y, 709);
}

TEST_F(Toolkit, QueuedMotionIsDeliveredOnceWithTheLaterPosition) {
  ColWind* w = openWindow("motion");
  ASSERT_NE(w, nullptr);
  Pane* pane = new Pane(w, DrawRect{0, 0, 200, 100});
  pane->selectPointerMotion(true);
  drain();
  pane->events.clear();
  for (int x : {10, 42}) {
    XEvent e{};
    e.xmotion.type = MotionNotify;
    e.xmotion.x = x, e.xmotion.y = 5;
    e.xmotion.same_screen = True;
    sendEvent(pane->getWindow(), e, PointerMotionMask);
  }
  ASSERT_TRUE(queued(2));
  WEventAll(0);
  ASSERT_EQ(pane->events.size(), 1u);
  EXPECT_EQ(pane->events[0].code, WMOUSE_MOTION);
  EXPECT_EQ(pane->events[0].x, 42);
}

// With the idle notifier's wait and with a plain select on the X
// connection, the loop sleeps until X input comes.
TEST_F(Toolkit, YieldSleepsAndWakesOnXInput) {
  ColWind* w = openWindow("yield");
  ASSERT_NE(w, nullptr);
  drain();
  for (int registry : {1, 0}) {
    debugFlag[DBG_UseFDRegistry] = registry;
    Window id = w->getWindow();
    std::thread sender([id] {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));  // into the sleep
      sendMessage(id, 1);
    });
    auto t0 = Clock::now();
    long allowed = WYield(3000, false);
    auto slept = Clock::now() - t0;
    sender.join();
    EXPECT_EQ(allowed, registry ? 3000 : 500) << "without the registry, half a second at most";
    EXPECT_GE(slept, std::chrono::milliseconds(40));
    EXPECT_LT(slept, std::chrono::milliseconds(400));
    drain();
  }
  debugFlag[DBG_UseFDRegistry] = 1;
}

TEST_F(Toolkit, TheLoopSleepsUntilTheNextTimeOutAndDrainsInFairPortions) {
  static Clock::time_point ranAt;
  static int runs;
  runs = 0;
  auto t0 = Clock::now();
  ExtraProcess_Create(EP_TIMEOUT, 150, [](void*, int) { ranAt = Clock::now(); return ++runs; },
                      nullptr, nullptr);
  ExtraProcess_Create(EP_TIMEOUT, 400, [](void*, int) { return 1; }, nullptr, nullptr);
  int turns = 0;
  while (runs == 0 && Clock::now() - t0 < std::chrono::seconds(3)) WMainLoopTurn(), turns++;
  EXPECT_GE(ranAt - t0, std::chrono::milliseconds(149));  // deadlines in whole milliseconds
  EXPECT_LT(ranAt - t0, std::chrono::milliseconds(300));
  EXPECT_LE(turns, 8);  // slept between turns instead of spinning
  ExtraProcess_Clear();
  // With a time-out due, draining stops after every eleven events.
  ColWind* w = openWindow("flood");
  ASSERT_NE(w, nullptr);
  drain();
  seen.clear();
  w->eventCallback = record;
  for (int i = 0; i < 30; i++) sendMessage(w->getWindow(), i);
  ASSERT_TRUE(queued(30));
  ExtraProcessHandle due =
      ExtraProcess_Create(EP_TIMEOUT, 0, [](void*, int) { return 1; }, nullptr, nullptr);
  WEventAll(0);
  EXPECT_EQ(codesOf(seen, WEV_CLIENT).size(), 11u);
  ExtraProcess_Kill(due);
  WEventAll(0);
  EXPECT_EQ(codesOf(seen, WEV_CLIENT).size(), 30u);
  EXPECT_EQ(seen.back().data[0], 29);
}

TEST_F(Toolkit, ItemsPaintThroughTheDrawingSeamAndScrollingPans) {
  ColWind* w = openWindow("paint", 240, 120);
  ASSERT_NE(w, nullptr);
  Pane* pane = new Pane(w, DrawRect{10, 10, 200, 80});
  pane->paint = red_pixel;
  ASSERT_TRUE(waitFor([pane] { return pane->painted; }));
  Window p = pane->getWindow();
  EXPECT_EQ(xtest::pixelAt(p, 50, 5), red_pixel);
  EXPECT_EQ(xtest::pixelAt(p, 50, 15), bg_pixel);
  EXPECT_GT(xtest::inkIn(p, {2, 20, 4 * font_n, font_h}, bg_pixel), 0);  // the text
  // Panning down by 10 moves the band to rows 10..19; the top is repainted.
  pane->painted = false;
  gui_scrollWindow(p, DrawRect{0, 0, 200, 80}, 0, 10);
  ASSERT_TRUE(waitFor([pane] { return pane->painted; }));
  EXPECT_EQ(xtest::pixelAt(p, 50, 15), red_pixel);
  EXPECT_EQ(xtest::pixelAt(p, 50, 5), red_pixel);
  EXPECT_EQ(xtest::pixelAt(p, 50, 25), bg_pixel);
}

}  // namespace
