// The toolkit against a real X server: start-up results, window titles and
// status messages, keys and clicks sent with xdotool, motion coalescing,
// the close-callback veto, painting through the drawing seam, and sleeping.
#include "x_session.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <chrono>
#include <thread>

#include "base/debugflag.h"
#include "config/config.h"
#include "config/config_vars.h"
#include "gui/core/bindings.h"
#include "gui/core/colwind.h"
#include "gui/core/event_loop.h"
#include "gui/core/fonts.h"
#include "gui/core/pixels.h"
#include "gui/core/wgui.h"
#include "gui/core/window_registry.h"
#include "gui/loop/extra_process.h"
#include "gui/loop/idle_notifier.h"
#include "gui/x11/damage.h"
#include "gui/x11/display.h"
#include "gui/x11/xdisplay.h"

namespace {

using Clock = std::chrono::steady_clock;

std::string fetchName(Display* d, Window w) {
  char* name = nullptr;
  std::string out = XFetchName(d, w, &name) && name ? name : "(none)";
  if (name) XFree(name);
  return out;
}

// Events a window or item saw, in order.
std::vector<xinLibSt> seen;
std::vector<std::string> seenChars;

int recordEvent(xinLibSt* e, ColWind*) {
  seen.push_back(*e);
  seenChars.push_back(e->chars ? std::string(e->chars, e->nchars) : "");
  return 0;
}

int countOf(int type) {
  int n = 0;
  for (const xinLibSt& e : seen) n += e.type == type;
  return n;
}

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
  bool handleHelp(xinLibSt* e) override { return keep(e); }
  bool handleMouseEnter(xinLibSt* e) override { return keep(e); }
  bool handleMouseLeave(xinLibSt* e) override { return keep(e); }
  bool handleExpose(int x, int y, int w, int h) override {
    DrawTarget* t = draw_begin(getWindow(), DrawRect{x, y, w, h});
    draw_fillRect(t, x, y, w, h, bg_pixel);
    draw_fillRect(t, 0, 0, getWidth(), 10, paint);  // a band along the top
    draw_text(t, draw_defaultFont(), fg_pixel, 2, 20 + font_ascent, "MMMM", -1);
    draw_end(t);
    painted = true;
    return true;
  }
  bool keep(xinLibSt* e) {
    events.push_back(*e);
    return true;
  }
};

unsigned long pixelAt(Window w, int x, int y) {
  XSync(xstate().display, False);
  XImage* img = XGetImage(XSession::otherDisplay(), w, x, y, 1, 1, AllPlanes, ZPixmap);
  if (!img) return ~0ul;
  unsigned long p = XGetPixel(img, 0, 0);
  XDestroyImage(img);
  return p;
}

void sendClientMessage(Window w, Atom type, long value) {
  Display* d = XSession::otherDisplay();
  XEvent e{};
  e.xclient.type = ClientMessage;
  e.xclient.window = w;
  e.xclient.message_type = type;
  e.xclient.format = 32;
  e.xclient.data.l[0] = static_cast<long>(value);
  e.xclient.data.l[1] = CurrentTime;
  XSendEvent(d, w, False, NoEventMask, &e);
  XFlush(d);
}

void sendDeleteWindow(Window w) {
  Display* d = XSession::otherDisplay();
  sendClientMessage(w, XInternAtom(d, "WM_PROTOCOLS", False),
                    static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False)));
}

void sendKey(Window w, KeySym ks, unsigned state = 0) {
  Display* d = XSession::otherDisplay();
  XEvent e{};
  e.xkey.type = KeyPress;
  e.xkey.window = w;
  e.xkey.root = DefaultRootWindow(d);
  e.xkey.state = state;
  e.xkey.keycode = XKeysymToKeycode(d, ks);
  e.xkey.same_screen = True;
  XSendEvent(d, w, False, KeyPressMask, &e);
  XFlush(d);
}

using ToolkitStartUp = XSession;
using ToolkitWindows = XSession;
using ToolkitInput = XSession;
using ToolkitLoop = XSession;
using ToolkitPainting = XSession;

TEST_F(ToolkitStartUp, ResourceOptionsColoursAndArguments) {
  EXPECT_TRUE(XWindowsOn());
  EXPECT_EQ(keptArgs, std::vector<std::string>{"left"});
  unsigned r, g, b;
  draw_pixelRGB(fg_pixel, &r, &g, &b);
  EXPECT_EQ((std::vector<unsigned>{r, g, b}), (std::vector<unsigned>{0x10, 0x20, 0x30}));
  draw_pixelRGB(bg_pixel, &r, &g, &b);
  EXPECT_EQ((std::vector<unsigned>{r, g, b}), (std::vector<unsigned>{255, 255, 255}));
  draw_pixelRGB(comment_fg, &r, &g, &b);  // from -xrm
  EXPECT_EQ((std::vector<unsigned>{r, g, b}), (std::vector<unsigned>{0, 255, 0}));
  draw_pixelRGB(keyword_fg, &r, &g, &b);  // built in
  EXPECT_EQ((std::vector<unsigned>{r, g, b}), (std::vector<unsigned>{0, 0, 255}));
  draw_pixelRGB(red_pixel, &r, &g, &b);
  EXPECT_EQ((std::vector<unsigned>{r, g, b}), (std::vector<unsigned>{255, 0, 0}));
  EXPECT_NE(controlshadow_pixel, control_pixel);
  EXPECT_EQ(selectreverse_pixel, white_pixel);  // text on the dark selection
}

TEST_F(ToolkitStartUp, ConfigurationDrivesColoursAndTheFont) {
  // X resources reach the options as their defaults.
  ASSERT_NE(cfg_GetColorText("comment"), nullptr);
  EXPECT_STREQ(cfg_GetColorText("comment"), "#00ff00");
  ASSERT_NE(cfg_font, nullptr);
  EXPECT_STREQ(cfg_font, "DejaVu Sans Mono:size=10");
  // A changed colour option recomputes the named pixels.
  ASSERT_EQ(cfg_ScanLine("background #ff0000", 0, 1), 1);
  unsigned r, g, b;
  draw_pixelRGB(bg_pixel, &r, &g, &b);
  EXPECT_EQ((std::vector<unsigned>{r, g, b}), (std::vector<unsigned>{255, 0, 0}));
  ASSERT_EQ(cfg_ScanLine("background #ffffff", 0, 1), 1);
  draw_pixelRGB(bg_pixel, &r, &g, &b);
  EXPECT_EQ((std::vector<unsigned>{r, g, b}), (std::vector<unsigned>{255, 255, 255}));
  // A changed font reopens the default font with its metrics.
  int before = font_h;
  ASSERT_EQ(cfg_ScanLine("font \"DejaVu Sans Mono:size=20\"", 0, 1), 1);
  EXPECT_GT(font_h, before);
  // A font that cannot be loaded falls back to the default, with a warning.
  ASSERT_EQ(cfg_ScanLine("font \"No Such Family Anywhere\"", 0, 1), 1);
  EXPECT_EQ(font_h, before);
  ASSERT_NE(draw_defaultFont(), nullptr);
  ASSERT_EQ(cfg_ScanLine("font \"DejaVu Sans Mono:size=10\"", 0, 1), 1);
  EXPECT_EQ(font_h, before);
}

int routerTimeout, servicesTimeout;

// Starts the toolkit again, as a program that wants the service router.
int restartWithRouter() {
  WDrawExit();
  WGUIDestroy();
  static char a0[] = "diffview";
  char* argv[] = {a0, nullptr};
  int argc = 1;
  debugFlag[DBG_ServiceRouter] = 1;
  return WGUIInit(&argc, argv, nullptr, true, false, WGUI_KIND_APPLICATION);
}

TEST_F(ToolkitStartUp, RouterIsStartedWhenWantedAndItsServicesOpened) {
  routerTimeout = servicesTimeout = 0;
  guiHooks.startRouter = [](int ms) {
    routerTimeout = ms;
    return true;
  };
  guiHooks.routerServices = [](int ms) { servicesTimeout = ms; };
  EXPECT_EQ(restartWithRouter(), 1);
  guiHooks.startRouter = nullptr;
  guiHooks.routerServices = nullptr;
  EXPECT_EQ(routerTimeout, 15000);
  EXPECT_EQ(servicesTimeout, 60000);
  EXPECT_EQ(debugFlag[DBG_ServiceRouter], 1);
}

// In a child: the child leaves the parent's connection alone and opens its
// own, wanting a router that will not start.
void startWithDeadRouter() {
  guiHooks.startRouter = [](int) { return false; };
  debugFlag[DBG_ServiceRouter] = 1;
  static char a0[] = "diffview";
  char* argv[] = {a0, nullptr};
  int argc = 1;
  WGUIInit(&argc, argv, nullptr, true, false, WGUI_KIND_APPLICATION);
}

TEST_F(ToolkitStartUp, RouterThatCannotStartEndsTheProgram) {
  EXPECT_EXIT(startWithDeadRouter(), ::testing::ExitedWithCode(1),
              "Warning: Unable to start IDE framework \\(svc_router\\)\\.  Exiting\\.");
}

TEST_F(ToolkitStartUp, DefaultFontAndMetrics) {
  DrawFont* f = draw_defaultFont();
  ASSERT_NE(f, nullptr);
  EXPECT_GT(font_h, 8);
  EXPECT_GT(font_ascent, 0);
  EXPECT_LT(font_ascent, font_h);
  EXPECT_GT(font_n, 3);
  EXPECT_EQ(draw_textWidth(f, "MMMM", -1), 4 * font_n);  // a monospaced font
  EXPECT_EQ(draw_textWidth(f, "iiii", 4), 4 * font_n);
  EXPECT_EQ(draw_textWidth(f, "", 0), 0);
  // Beyond the 16 bits Xft reports, and with a character across a piece's
  // end: the whole width still counts.
  std::string line(100000, 'M');
  EXPECT_EQ(draw_textWidth(f, line.c_str(), -1), 100000 * font_n);
  std::string accents;
  for (int i = 0; i < 3000; i++) accents += "a\xc3\xa9";  // "a" and "e" with an acute accent
  EXPECT_EQ(draw_textWidth(f, accents.c_str(), -1), 6000 * font_n);
  DrawFont* big = draw_openFont("DejaVu Sans Mono:size=20");
  ASSERT_NE(big, nullptr);
  EXPECT_GT(draw_fontMetrics(big).height, font_h);
  draw_closeFont(big);
  EXPECT_EQ(draw_openFont("No Such Font Family At All"), nullptr);
  EXPECT_EQ(draw_openFont(""), nullptr);
  Pixel p = 12345;
  EXPECT_FALSE(draw_parseColor("no-such-colour", &p));
  EXPECT_EQ(p, 12345u);
  EXPECT_TRUE(draw_parseColor("#ff8000", &p));
}

TEST_F(ToolkitWindows, TitlesAndStatusMessages) {
  ColWind* w = openWindow("first");
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->kind, COLWIND_KIND_TOPLEVEL);
  EXPECT_EQ(fetchName(other, w->getWindow()), "first");
  cwSetName(w, "name", "The Title", nullptr);
  XSync(xstate().display, False);
  EXPECT_EQ(fetchName(other, w->getWindow()), "The Title");
  cwSetMsg(w, "Busy\nsecond line", 0);
  XSync(xstate().display, False);
  EXPECT_EQ(w->message, "Busy");
  EXPECT_EQ(fetchName(other, w->getWindow()), "The Title  -  Busy");
  cwSetPermanentMsg(w, "Ready");
  cwSetMsg(w, "", 0);
  EXPECT_EQ(w->message, "Ready");
  cwSetVersionControlView("release");
  XSync(xstate().display, False);
  EXPECT_EQ(fetchName(other, w->getWindow()), "The Title     (VIEW: release)  -  Ready");
  cwSetVersionControlView(nullptr);

  struct Box : WStatusItem {
    std::vector<std::string> texts;
    void setStatusText(const char* t) override { texts.push_back(t); }
  } box;
  cwSetStatusBox(w, &box);
  cwSetMsg(w, "Comparing\r...", 0);
  cwSetMsg(w, "Comparing", 0);  // the same again: nothing
  XSync(xstate().display, False);
  EXPECT_EQ(box.texts, (std::vector<std::string>{"Ready", "Comparing"}));
  EXPECT_EQ(fetchName(other, w->getWindow()), "The Title");
  cwSetStatusBox(w, nullptr);
}

TEST_F(ToolkitWindows, MasterListAndNoMoreWindows) {
  EXPECT_TRUE(NoMoreWindows());
  ColWind* a = openWindow("a");
  ColWind* b = openWindow("b");
  ASSERT_TRUE(a && b);
  EXPECT_EQ(cwCount(), 2);
  EXPECT_LT(a->sequence, b->sequence);
  EXPECT_EQ(cwFromWindow(b->getWindow()), b);
  std::vector<std::string> names;
  cwCallProcOnAll([](ColWind* w, void* d) { static_cast<std::vector<std::string>*>(d)->push_back(w->name); },
                  &names);
  EXPECT_EQ(names, (std::vector<std::string>{"a", "b"}));
  EXPECT_FALSE(NoMoreWindows());
  EXPECT_EQ(cwDestroy(a), 1);
  EXPECT_EQ(cwDestroy(b), 1);
  EXPECT_TRUE(NoMoreWindows());
  EXPECT_EQ(cwDestroy(nullptr), 0);
}

int vetoAnswer;
int vetoCalls;
int closeVeto(ColWind*) {
  vetoCalls++;
  return vetoAnswer;
}

TEST_F(ToolkitWindows, CloseButtonAsksTheCloseCallbackWhichMayRefuse) {
  ColWind* w = openWindow("veto");
  ASSERT_NE(w, nullptr);
  Window id = w->getWindow();
  w->closeCallback = closeVeto;
  vetoAnswer = 0, vetoCalls = 0;
  sendDeleteWindow(id);
  ASSERT_TRUE(waitFor([] { return vetoCalls == 1; }));
  settle(50);
  ASSERT_EQ(cwFromWindow(id), w);  // still open and usable
  EXPECT_FALSE(w->closing);
  cwSetName(w, "still here", nullptr, nullptr);
  XSync(xstate().display, False);
  EXPECT_EQ(fetchName(other, id), "still here");
  vetoAnswer = 1;
  sendDeleteWindow(id);
  ASSERT_TRUE(waitFor([id] { return cwFromWindow(id) == nullptr; }));
  EXPECT_EQ(vetoCalls, 2);
  EXPECT_TRUE(NoMoreWindows());
}

TEST_F(ToolkitWindows, CwDestroyReportsTheVeto) {
  ColWind* w = openWindow("direct");
  ASSERT_NE(w, nullptr);
  w->closeCallback = closeVeto;
  vetoAnswer = 0, vetoCalls = 0;
  EXPECT_EQ(cwDestroy(w), 0);
  EXPECT_EQ(cwCount(), 1);
  // A close callback that closes its own window: the close happened.
  w->closeCallback = [](ColWind* self) { return cwDestroy(self) * 0; };
  EXPECT_EQ(cwDestroy(w), 1);
  EXPECT_EQ(cwCount(), 0);
}

TEST_F(ToolkitInput, KeysReachTheWindowWithKeyCodes) {
  ColWind* w = openWindow("keys");
  ASSERT_NE(w, nullptr);
  seen.clear(), seenChars.clear();
  w->eventCallback = recordEvent;
  ASSERT_EQ(xdotool({"windowfocus", "--sync", std::to_string(w->getWindow())}), 0);
  ASSERT_EQ(xdotool({"key", "a"}), 0);
  ASSERT_TRUE(waitFor([] { return countOf(WEV_KEY) >= 1; }));
  ASSERT_EQ(xdotool({"key", "Escape", "Up", "Alt_L", "shift+b"}), 0);
  ASSERT_TRUE(waitFor([] { return countOf(WEV_KEY) >= 6; }));
  settle(100);
  std::vector<int> codes;
  for (const xinLibSt& e : seen)
    if (e.type == WEV_KEY) codes.push_back(e.code);
  // Alt alone arrives once, on its release; no other release shows.  The
  // press of Shift is a function keysym like any other (0x100 | 0xE1).
  EXPECT_EQ(codes, (std::vector<int>{'a', 283, 338, WKEY_ALT_L, 0x1E1, 'B'}));
  ASSERT_GE(countOf(WEV_FOCUS), 1);  // windowfocus gave the window the focus
  for (const xinLibSt& e : seen) {
    if (e.type == WEV_FOCUS) {
      EXPECT_EQ(e.x, 1);
    }
  }
  for (size_t i = 0; i < seen.size(); i++) {
    if (seen[i].type != WEV_KEY) continue;
    EXPECT_EQ(seenChars[i], "a");  // the first key's decoded characters
    break;
  }
}

// Waits until the toolkit's connection holds n events unread by it.
void waitQueued(int n) {
  Display* d = xstate().display;
  auto deadline = Clock::now() + std::chrono::seconds(3);
  while (XEventsQueued(d, QueuedAfterReading) < n && Clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

TEST_F(ToolkitInput, TypedAheadKeysArriveTogether) {
  ColWind* w = openWindow("typeahead");
  ASSERT_NE(w, nullptr);
  seen.clear(), seenChars.clear();
  w->eventCallback = recordEvent;
  for (KeySym k : {XK_a, XK_b, XK_c}) sendKey(w->getWindow(), k);
  sendKey(w->getWindow(), XK_d, ControlMask);  // with Control: a delivery of its own
  XSync(other, False);
  waitQueued(4);
  WEventAll(0);
  ASSERT_EQ(countOf(WEV_KEY), 2);
  EXPECT_EQ(seen[0].code, 'a');
  EXPECT_EQ(seenChars[0], "abc");
  EXPECT_EQ(seen[0].nchars, 3);
  EXPECT_EQ(seen[1].code, 'd');
  EXPECT_EQ(seenChars[1], "\x04");
}

TEST_F(ToolkitInput, TheHelpKeyIsItsOwnType) {
  ColWind* w = openWindow("help");
  ASSERT_NE(w, nullptr);
  Pane* pane = new Pane(w, DrawRect{0, 0, 50, 50});
  pane->activateMe();
  if (XKeysymToKeycode(other, XK_Help) == 0) {
    // Give the key map a Help key; the toolkit learns of the change.
    KeySym help = XK_Help;
    XChangeKeyboardMapping(other, 200, 1, &help, 1);
    XSync(other, False);
    settle(100);
  }
  ASSERT_NE(XKeysymToKeycode(other, XK_Help), 0);
  sendKey(w->getWindow(), XK_Help);
  ASSERT_TRUE(waitFor([pane] { return !pane->events.empty(); }));
  EXPECT_EQ(pane->events[0].type, WEV_HELP);
  EXPECT_EQ(pane->events[0].code, WKEY_HELP);
}

TEST_F(ToolkitInput, PointerCrossingsReachTheItem) {
  ColWind* w = openWindow("crossing");
  ASSERT_NE(w, nullptr);
  Pane* pane = new Pane(w, DrawRect{50, 50, 60, 60});
  settle(30);
  ASSERT_EQ(xdotool({"mousemove", "--window", std::to_string(w->getWindow()), "5", "5"}), 0);
  ASSERT_EQ(xdotool({"mousemove", "--window", std::to_string(w->getWindow()), "70", "70"}), 0);
  ASSERT_TRUE(waitFor([pane] { return !pane->events.empty(); }));
  EXPECT_EQ(pane->events[0].type, WEV_CROSSING);
  EXPECT_EQ(pane->events[0].x, 1);
  ASSERT_EQ(xdotool({"mousemove", "--window", std::to_string(w->getWindow()), "5", "5"}), 0);
  ASSERT_TRUE(waitFor([pane] { return pane->events.size() >= 2; }));
  EXPECT_EQ(pane->events[1].type, WEV_CROSSING);
  EXPECT_EQ(pane->events[1].x, 0);
}

TEST_F(ToolkitInput, ControlQClosesTheWindowUnlessVetoed) {
  ColWind* w = openWindow("ctrlq");
  ASSERT_NE(w, nullptr);
  Window id = w->getWindow();
  w->closeCallback = closeVeto;
  vetoAnswer = 0, vetoCalls = 0;
  sendKey(id, XK_q, ControlMask);
  ASSERT_TRUE(waitFor([] { return vetoCalls == 1; }));
  EXPECT_EQ(cwFromWindow(id), w);
  vetoAnswer = 1;
  sendKey(id, XK_q, ControlMask);
  ASSERT_TRUE(waitFor([id] { return cwFromWindow(id) == nullptr; }));
}

TEST_F(ToolkitInput, ActiveItemGetsTheWindowsKeys) {
  ColWind* w = openWindow("active");
  ASSERT_NE(w, nullptr);
  seen.clear();
  w->eventCallback = recordEvent;
  Pane* pane = new Pane(w, DrawRect{10, 10, 100, 50});
  pane->activateMe();
  EXPECT_TRUE(pane->isActive());
  sendKey(w->getWindow(), XK_x);
  ASSERT_TRUE(waitFor([pane] { return !pane->events.empty(); }));
  EXPECT_EQ(pane->events[0].type, WEV_KEY);
  EXPECT_EQ(pane->events[0].code, 'x');
  EXPECT_EQ(countOf(WEV_KEY), 0);
  delete pane;  // the window forgets its active item
  EXPECT_EQ(w->getActiveItem(), nullptr);
  sendKey(w->getWindow(), XK_y);
  ASSERT_TRUE(waitFor([] { return countOf(WEV_KEY) == 1; }));
}

TEST_F(ToolkitInput, ClicksOnAnItemCarryButtonAndClickCount) {
  ColWind* w = openWindow("clicks");
  ASSERT_NE(w, nullptr);
  Pane* pane = new Pane(w, DrawRect{20, 30, 120, 60});
  settle(50);
  std::string id = std::to_string(pane->getWindow());
  ASSERT_EQ(xdotool({"mousemove", "--window", id, "7", "9"}), 0);
  ASSERT_EQ(xdotool({"click", "--repeat", "2", "--delay", "60", "1"}), 0);
  auto presses = [pane] {
    std::vector<xinLibSt> p;
    for (auto& e : pane->events)
      if (e.code == WMOUSE_PRESS) p.push_back(e);
    return p;
  };
  ASSERT_TRUE(waitFor([&] { return presses().size() == 2 && pane->events.back().code == WMOUSE_RELEASE; }));
  auto p = presses();
  EXPECT_EQ(p[0].button, 1);
  EXPECT_EQ(p[0].clicks, 1);
  EXPECT_EQ(p[1].clicks, 2);
  EXPECT_EQ(p[0].x, 7);
  EXPECT_EQ(p[0].y, 9);
  EXPECT_EQ(p[0].type, WEV_MOUSE);
  EXPECT_EQ(pane->events.back().clicks, 2);
}

TEST_F(ToolkitInput, QueuedMotionIsDeliveredOnceWithTheLaterPosition) {
  ColWind* w = openWindow("motion");
  ASSERT_NE(w, nullptr);
  Pane* pane = new Pane(w, DrawRect{0, 0, 200, 100});
  pane->selectPointerMotion(true);
  settle(50);
  pane->events.clear();
  for (int x : {10, 42}) {
    XEvent e{};
    e.xmotion.type = MotionNotify;
    e.xmotion.window = pane->getWindow();
    e.xmotion.x = x, e.xmotion.y = 5;
    e.xmotion.same_screen = True;
    XSendEvent(other, pane->getWindow(), False, PointerMotionMask, &e);
  }
  XSync(other, False);
  waitQueued(2);
  WEventAll(0);
  ASSERT_EQ(pane->events.size(), 1u);
  EXPECT_EQ(pane->events[0].code, WMOUSE_MOTION);
  EXPECT_EQ(pane->events[0].button, 0);
  EXPECT_EQ(pane->events[0].x, 42);
}

TEST_F(ToolkitInput, ModalWindowRefusesInputElsewhere) {
  ColWind* main = openWindow("main");
  ColWind* dialog = openWindow("dialog");
  ASSERT_TRUE(main && dialog);
  seen.clear();
  main->eventCallback = recordEvent;
  dialog->eventCallback = recordEvent;
  gui_setModalWindow(dialog);
  sendKey(main->getWindow(), XK_a);
  sendKey(dialog->getWindow(), XK_b);
  ASSERT_TRUE(waitFor([] { return countOf(WEV_KEY) == 1; }));
  settle(50);
  ASSERT_EQ(countOf(WEV_KEY), 1);
  EXPECT_EQ(seen.back().window, dialog->getWindow());
  cwDestroy(dialog);
  EXPECT_EQ(gui_getModalWindow(), nullptr);
}

int aborts;
TEST_F(ToolkitLoop, AbortKeyGoesToTheTopHandler) {
  ColWind* w = openWindow("abort");
  ASSERT_NE(w, nullptr);
  seen.clear();
  w->eventCallback = recordEvent;
  aborts = 0;
  WEventPushAbortHandler([] { aborts += 10; });
  WEventPushAbortHandler([] { aborts += 1; });
  EXPECT_NE(WEventGetAbortHandler(), nullptr);
  sendKey(w->getWindow(), XK_Escape);
  XSync(other, False);
  auto deadline = Clock::now() + std::chrono::seconds(3);
  while (aborts == 0 && Clock::now() < deadline) {
    WEventAll(1);
    WYield(10, false);
  }
  EXPECT_EQ(aborts, 1);
  EXPECT_EQ(countOf(WEV_KEY), 0);  // the abort key is not delivered
  WEventPopAbortHandler();
  WEventPopAbortHandler();
  EXPECT_EQ(WEventGetAbortHandler(), nullptr);
  WEventPopAbortHandler();  // popping an empty stack is harmless
}

TEST_F(ToolkitLoop, SafePassTakesExposuresButLeavesKeys) {
  ColWind* w = openWindow("safe");
  ASSERT_NE(w, nullptr);
  Pane* pane = new Pane(w, DrawRect{0, 0, 100, 60});
  pane->paint = red_pixel;
  ASSERT_TRUE(waitFor([pane] { return pane->painted; }));
  pane->activateMe();
  pane->painted = false;
  pane->events.clear();
  sendKey(w->getWindow(), XK_k);
  XClearArea(other, pane->getWindow(), 0, 0, 10, 10, True);  // an exposure
  XSync(other, False);
  waitQueued(2);
  auto keys = [pane] {
    std::vector<int> codes;
    for (const xinLibSt& e : pane->events)
      if (e.type == WEV_KEY) codes.push_back(e.code);
    return codes;
  };
  EXPECT_EQ(WEventProcessSafeEvents(1), 1);
  EXPECT_TRUE(pane->painted);
  EXPECT_TRUE(pane->events.empty());  // not even a crossing: only safe events
  ASSERT_TRUE(waitFor([&] { return !keys().empty(); }));
  EXPECT_EQ(keys(), std::vector<int>{'k'});
}

TEST_F(ToolkitLoop, AbortKeyInTheSafePassDropsQueuedInput) {
  ColWind* w = openWindow("safe-abort");
  ASSERT_NE(w, nullptr);
  settle(30);
  seen.clear();
  w->eventCallback = recordEvent;
  aborts = 0;
  WEventPushAbortHandler([] { aborts++; });
  sendKey(w->getWindow(), XK_k);
  sendKey(w->getWindow(), XK_Escape);
  XSync(other, False);
  waitQueued(2);
  EXPECT_EQ(WEventProcessSafeEvents(1), 1);
  WEventPopAbortHandler();
  EXPECT_EQ(aborts, 1);
  settle(50);
  EXPECT_EQ(countOf(WEV_KEY), 0);  // the key typed before the abort is gone
}

TEST_F(ToolkitLoop, YieldWakesOnXInputAndOtherwiseSleeps) {
  ColWind* w = openWindow("yield");
  ASSERT_NE(w, nullptr);
  settle(30);
  auto t0 = Clock::now();
  WYield(150, false);
  auto slept = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - t0).count();
  EXPECT_GE(slept, 140);
  EXPECT_LT(slept, 1000);
  Window id = w->getWindow();
  std::thread sender([id] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    sendClientMessage(id, XA_STRING, 1);
  });
  t0 = Clock::now();
  WYield(4000, false);
  slept = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - t0).count();
  sender.join();
  EXPECT_GE(slept, 50);
  EXPECT_LT(slept, 2000);
}

TEST_F(ToolkitLoop, WithoutTheRegistryTheSleepIsCappedAndStillWakes) {
  ColWind* w = openWindow("plain-select");
  ASSERT_NE(w, nullptr);
  settle(30);
  debugFlag[DBG_UseFDRegistry] = 0;
  auto t0 = Clock::now();
  long used = WYield(3000, false);
  auto slept = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - t0).count();
  EXPECT_EQ(used, 500);
  EXPECT_GE(slept, 450);
  EXPECT_LT(slept, 1500);
  Window id = w->getWindow();
  std::thread sender([id] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    sendClientMessage(id, XA_STRING, 1);
  });
  t0 = Clock::now();
  WYield(3000, false);
  slept = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - t0).count();
  sender.join();
  debugFlag[DBG_UseFDRegistry] = 1;
  EXPECT_LT(slept, 400);
}

TEST_F(ToolkitLoop, XConnectionIsASocketListenerUntilShutDown) {
  EXPECT_EQ(getIdleNotifier()->getNumSocketListeners(), 1);
  ColWind* w = openWindow("doomed");
  ASSERT_NE(w, nullptr);
  WDrawExit();
  EXPECT_FALSE(XWindowsOn());
  EXPECT_EQ(getIdleNotifier()->getNumSocketListeners(), 0);
  EXPECT_TRUE(NoMoreWindows());  // the windows went with the display
  EXPECT_EQ(cwCount(), 0);
  EXPECT_EQ(cwxCreatexy(0, 0, "late", nullptr, nullptr, nullptr, nullptr, 10, 10, nullptr),
            nullptr);
  EXPECT_EQ(WEventProcessSafeEvents(1), 1);
  EXPECT_EQ(WEventAll(0), 1);
  WGUIDestroy();
  EXPECT_EQ(WGetApplication(), nullptr);
  static int versionControl;
  versionControl = 0;
  guiHooks.versionControlCleanup = [] { versionControl++; };
  ExtraProcess_Create(EP_DORMANT, 0, nullptr, nullptr, nullptr);
  cleanup_after_gui();
  guiHooks.versionControlCleanup = nullptr;
  EXPECT_EQ(versionControl, 1);
  EXPECT_TRUE(W_windowBindings().empty());
  EXPECT_EQ(ExtraProcess_NumberPending(), 0);
  // Start again for the tests that follow in this process.
  static char a0[] = "diffview";
  char* argv[] = {a0, nullptr};
  int argc = 1;
  ASSERT_EQ(WGUIInit(&argc, argv, nullptr, false, false, WGUI_KIND_APPLICATION), 1);
  EXPECT_TRUE(XWindowsOn());
  EXPECT_EQ(getIdleNotifier()->getNumSocketListeners(), 1);
}

TEST_F(ToolkitLoop, MainLoopTurnsSleepUntilTheNextTimeOut) {
  static Clock::time_point ranAt;
  static int runs;
  runs = 0;
  auto t0 = Clock::now();
  ExtraProcessHandle h = ExtraProcess_Create(
      EP_TIMEOUT, 150,
      [](void*, int) {
        ranAt = Clock::now();
        return ++runs;
      },
      nullptr, nullptr);
  // A second time-out bounds the sleep of the turn that runs the first.
  ExtraProcess_Create(EP_TIMEOUT, 400, [](void*, int) { return 1; }, nullptr, nullptr);
  int turns = 0;
  while (runs == 0 && Clock::now() - t0 < std::chrono::seconds(3)) {
    WMainLoopTurn();
    turns++;
  }
  EXPECT_EQ(runs, 1);
  EXPECT_TRUE(h.expired());
  auto ran = std::chrono::duration_cast<std::chrono::milliseconds>(ranAt - t0).count();
  EXPECT_GE(ran, 149);  // deadlines are kept in whole milliseconds
  EXPECT_LT(ran, 300);
  EXPECT_LE(turns, 8);  // slept between turns instead of spinning
  ExtraProcess_Clear();
}

TEST_F(ToolkitLoop, DrainingStopsEveryElevenEventsWhenATimeOutIsDue) {
  ColWind* w = openWindow("flood");
  ASSERT_NE(w, nullptr);
  settle(30);
  seen.clear();
  w->eventCallback = recordEvent;
  for (int i = 0; i < 30; i++) sendClientMessage(w->getWindow(), XA_STRING, i);
  XSync(other, False);
  waitQueued(30);
  ExtraProcessHandle due =
      ExtraProcess_Create(EP_TIMEOUT, 0, [](void*, int) { return 1; }, nullptr, nullptr);
  WEventAll(0);
  EXPECT_EQ(countOf(WEV_CLIENT), 11);
  ExtraProcess_Kill(due);
  WEventAll(0);
  EXPECT_EQ(countOf(WEV_CLIENT), 30);  // nothing due: drained to the end
  EXPECT_EQ(seen.back().data[0], 29);
}

TEST_F(ToolkitLoop, PeriodicFunctionRunsAfterPassesAndIsReplaced) {
  static int calls, stops;
  calls = stops = 0;
  WEventSetPeriodic([](void*) { calls++; }, [](void*) { stops++; }, nullptr, 0);
  WEventAll(0);
  WEventAll(0);
  EXPECT_EQ(calls, 2);
  WEventSetPeriodic([](void*) {}, nullptr, nullptr, 0);
  EXPECT_EQ(stops, 1);
  WEventSetPeriodic(nullptr, nullptr, nullptr, 0);
}

TEST_F(ToolkitPainting, ItemsPaintThroughTheSeamAndScrollPans) {
  ColWind* w = openWindow("paint", 240, 120);
  ASSERT_NE(w, nullptr);
  Pane* pane = new Pane(w, DrawRect{10, 10, 200, 80});
  pane->paint = red_pixel;
  ASSERT_TRUE(waitFor([pane] { return pane->painted; }));
  EXPECT_EQ(pixelAt(pane->getWindow(), 50, 5), red_pixel);
  EXPECT_EQ(pixelAt(pane->getWindow(), 50, 15), bg_pixel);
  // The text run leaves ink in its cell.
  bool ink = false;
  for (int x = 2; x < 2 + 4 * font_n && !ink; x++)
    for (int y = 20; y < 20 + font_h && !ink; y++)
      ink = pixelAt(pane->getWindow(), x, y) != bg_pixel;
  EXPECT_TRUE(ink);
  // Panning down by 10 moves the band to rows 10..19; the top is repainted.
  pane->painted = false;
  gui_scrollWindow(pane->getWindow(), DrawRect{0, 0, 200, 80}, 0, 10);
  ASSERT_TRUE(waitFor([pane] { return pane->painted; }));
  EXPECT_EQ(pixelAt(pane->getWindow(), 50, 15), red_pixel);
  EXPECT_EQ(pixelAt(pane->getWindow(), 50, 5), red_pixel);
  EXPECT_EQ(pixelAt(pane->getWindow(), 50, 25), bg_pixel);
}

}  // namespace
