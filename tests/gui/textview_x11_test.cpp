// Text views on a real X server: what they paint, two panes and a gutter
// kept aligned under one scroll bar while keys, the wheel and the bar's
// thumb scroll them, selections made with the mouse and keys that another
// X client can paste (PRIMARY and CLIPBOARD), and the demonstration
// program, screenshot included.
#include "old_x_session.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/Xlib.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <memory>
#include <string>
#include <thread>

#include "gui/core/colwind.h"
#include "gui/core/event_loop.h"
#include "gui/core/fonts.h"
#include "gui/core/pixels.h"
#include "gui/text/browser.h"
#include "gui/text/scroll_bar.h"
#include "gui/text/selection_margin.h"
#include "gui/text/textview.h"
#include "gui/x11/xdisplay.h"

namespace {

constexpr int kLines = 120;

// Rows of a window image: for each y, whether some pixel in [x0, x1) is
// neither of the two background pixels given.
std::vector<bool> inkRows(XImage* img, int x0, int x1, unsigned long bg1, unsigned long bg2) {
  std::vector<bool> rows(img->height, false);
  for (int y = 0; y < img->height; y++)
    for (int x = x0; x < x1 && !rows[y]; x++) {
      unsigned long p = XGetPixel(img, x, y);
      rows[y] = p != bg1 && p != bg2;
    }
  return rows;
}

XImage* grab(Window w, int width, int height) {
  XSync(xstate().display, False);
  return XGetImage(XSession::otherDisplay(), w, 0, 0, width, height, AllPlanes, ZPixmap);
}

// The y of the first row whose pixel at column x is `colour`, or -1.
int firstRowOf(Window w, int x, int height, unsigned long colour) {
  XImage* img = grab(w, x + 1, height);
  if (!img) return -2;
  int found = -1;
  for (int y = 0; y < height && found < 0; y++)
    if (XGetPixel(img, x, y) == colour) found = y;
  XDestroyImage(img);
  return found;
}

// Asks for a selection as UTF8_STRING from the test's own client, running
// the toolkit's loop meanwhile so that the owner can answer.
std::string readSelection(const char* selectionName) {
  Display* d = XSession::otherDisplay();
  static Window requestor = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 1, 1, 0, 0, 0);
  Atom selection = XInternAtom(d, selectionName, False);
  Atom utf8 = XInternAtom(d, "UTF8_STRING", False);
  Atom property = XInternAtom(d, "DIFFVIEW_TEST_PASTE", False);
  XConvertSelection(d, selection, utf8, property, requestor, CurrentTime);
  XFlush(d);
  XEvent ev;
  bool got = false;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
  while (!got && std::chrono::steady_clock::now() < deadline) {
    WEventAll(0);
    got = XCheckTypedWindowEvent(d, requestor, SelectionNotify, &ev);
    if (!got) WYield(5, false);
  }
  if (!got) return "<no answer>";
  if (ev.xselection.property == None) return "<refused>";
  Atom type;
  int format;
  unsigned long count, after;
  unsigned char* data = nullptr;
  XGetWindowProperty(d, requestor, property, 0, 1 << 20, True, AnyPropertyType, &type, &format,
                     &count, &after, &data);
  std::string out = data ? std::string(reinterpret_cast<char*>(data), count) : "";
  if (data) XFree(data);
  return out;
}

class TextViewX11 : public XSession {
 protected:
  void SetUp() override {
    XSession::SetUp();
    window = openWindow("textview test", 420, 200);
    ASSERT_NE(window, nullptr);
    bar = new WScrollBar(window, DrawRect{406, 0, 14, 200}, SCROLL_VERTICAL);
    gutter = WTextView::makeWTextView(window, DrawRect{0, 0, 40, 200}, "gutter");
    left = WTextView::makeWTextView(window, DrawRect{40, 0, 180, 200}, "left");
    right = WTextView::makeWTextView(window, DrawRect{224, 0, 180, 200}, "right");
    fill(gutterBrowser, gutter, "");
    fill(leftBrowser, left, "left ");
    fill(rightBrowser, right, "right side ");
    gutter->disableSelection();
    margin = std::make_unique<SelectionMargin>(left, gutter);
    left->activateMe();
    ASSERT_TRUE(waitFor([&] { return left->getPaintCount() > 0 && right->getPaintCount() > 0; }));
  }
  void TearDown() override {
    margin.reset();
    leftBrowser.reset();
    rightBrowser.reset();
    gutterBrowser.reset();
    XSession::TearDown();
  }
  void fill(std::unique_ptr<SimpleBrowser>& b, WTextView* view, const std::string& prefix) {
    b = std::make_unique<SimpleBrowser>(view, true);
    view->setMinLineHeight(1);
    view->setScrollLineHeight(font_h);
    view->setZoneLimit(50);
    view->setNewlinesInSelection(false);
    b->setMargin(1);
    b->startBatch();
    for (int i = 1; i <= kLines; i++) {
      b->addText((prefix + std::to_string(i)).c_str());
      b->addElement(new FakeBreak);
      b->addLineBreak(i == bandLine() ? static_cast<long>(red_pixel) : -1);
    }
    b->endBatch();
    view->setVScroller(bar);
  }
  // Runs the loop until all three panes follow the bar and have repainted.
  bool settled(long position) {
    return waitFor([&] {
      return left->getScrollY() == position && right->getScrollY() == position &&
             gutter->getScrollY() == position;
    }) && (settle(60), true);
  }
  // Where the red band shows in each pane (window rows).
  void expectBandsAligned(int expectedY) {
    int l = firstRowOf(left->getWindow(), 170, 200, red_pixel);
    int r = firstRowOf(right->getWindow(), 170, 200, red_pixel);
    EXPECT_EQ(l, expectedY);
    EXPECT_EQ(r, l) << "the two panes are not aligned";
  }
  // The line that ends with a red bar across the pane: about 150 pixels
  // below the window's top after a page down.
  int bandLine() const { return 1 + (200 + 150) / font_h; }
  std::string id(WWindowedItem* item) { return std::to_string(item->getWindow()); }

  ColWind* window = nullptr;
  WScrollBar* bar = nullptr;
  WTextView *gutter = nullptr, *left = nullptr, *right = nullptr;
  std::unique_ptr<SimpleBrowser> gutterBrowser, leftBrowser, rightBrowser;
  std::unique_ptr<SelectionMargin> margin;
};

TEST_F(TextViewX11, PaintsTextAndBars) {
  XImage* img = grab(left->getWindow(), 180, 200);
  ASSERT_NE(img, nullptr);
  std::vector<bool> ink = inkRows(img, 0, 170, bg_pixel, bg_pixel);
  XDestroyImage(img);
  int rows = 0;
  for (bool b : ink) rows += b;
  EXPECT_GT(rows, 100) << "text should cover most rows";
  EXPECT_EQ(firstRowOf(left->getWindow(), 170, 200, red_pixel), -1) << "band not yet visible";
}

TEST_F(TextViewX11, PanesStayAlignedUnderOneBar) {
  ASSERT_EQ(xdotool({"windowfocus", "--sync", std::to_string(window->getWindow())}), 0);
  ASSERT_EQ(xdotool({"key", "Page_Down"}), 0);
  ASSERT_TRUE(settled(200));
  expectBandsAligned(static_cast<int>((bandLine() - 1) * font_h - 200));
  ASSERT_EQ(xdotool({"key", "Down", "Down"}), 0);
  ASSERT_TRUE(settled(200 + 2 * font_h));
  expectBandsAligned(static_cast<int>((bandLine() - 1) * font_h - 200 - 2 * font_h));
  // The wheel over the right pane moves all of them.
  ASSERT_EQ(xdotool({"mousemove", "--window", id(right), "50", "50"}), 0);
  ASSERT_EQ(xdotool({"click", "5"}), 0);
  ASSERT_TRUE(settled(200 + 5 * font_h));
  expectBandsAligned(static_cast<int>((bandLine() - 1) * font_h - 200 - 5 * font_h));
  EXPECT_EQ(gutter->getFirstLine(), left->getFirstLine());
}

TEST_F(TextViewX11, DraggingTheThumbScrollsEverything) {
  ThumbGeometry t = bar->thumb();
  ASSERT_EQ(xdotool({"mousemove", "--window", id(bar), "7", std::to_string(t.offset + 2)}), 0);
  ASSERT_EQ(xdotool({"mousedown", "1"}), 0);
  ASSERT_EQ(xdotool({"mousemove", "--window", id(bar), "7", "199"}), 0);
  ASSERT_EQ(xdotool({"mouseup", "1"}), 0);
  long last = left->getContentHeight() - left->getHeight();
  ASSERT_TRUE(settled(last));
  EXPECT_EQ(left->getLastLine(), kLines);
  EXPECT_EQ(right->getLastLine(), kLines);
}

TEST_F(TextViewX11, GutterClickOffersTheLineAsPrimary) {
  ASSERT_EQ(xdotool({"mousemove", "--window", id(gutter), "10",
                     std::to_string(2 * font_h + font_h / 2)}), 0);
  ASSERT_EQ(xdotool({"click", "1"}), 0);
  ASSERT_TRUE(waitFor([&] { return left->getFirstSelectedLine() == 3; }));
  EXPECT_EQ(readSelection("PRIMARY"), "left 3\n");
}

TEST_F(TextViewX11, LosingPrimaryClearsTheHighlight) {
  left->selectLines(2, 1);
  ASSERT_EQ(readSelection("PRIMARY"), "left 2\n");
  right->selectLines(5, 2);
  EXPECT_TRUE(waitFor([&] { return left->getFirstSelectedLine() == 0; }))
      << "one of our own views took the selection over";
  EXPECT_EQ(readSelection("PRIMARY"), "right side 5\nright side 6\n");
  Display* d = otherDisplay();
  Window mine = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 1, 1, 0, 0, 0);
  XSetSelectionOwner(d, XA_PRIMARY, mine, CurrentTime);
  XFlush(d);
  EXPECT_TRUE(waitFor([&] { return right->getFirstSelectedLine() == 0; }))
      << "another client took the selection";
  XDestroyWindow(d, mine);
  XFlush(d);
}

TEST_F(TextViewX11, DragSelectsAndControlCCopies) {
  int y1 = font_h / 2, y2 = font_h + font_h / 2;
  ASSERT_EQ(xdotool({"mousemove", "--window", id(left), "1", std::to_string(y1)}), 0);
  ASSERT_EQ(xdotool({"mousedown", "1"}), 0);
  ASSERT_EQ(xdotool({"mousemove", "--window", id(left), std::to_string(1 + 4 * font_n),
                     std::to_string(y2)}), 0);
  ASSERT_EQ(xdotool({"mouseup", "1"}), 0);
  ASSERT_TRUE(waitFor([&] { return left->getLastSelectedLine() == 2; }));
  EXPECT_EQ(readSelection("PRIMARY"), "left 1\nleft");
  ASSERT_EQ(xdotool({"windowfocus", "--sync", std::to_string(window->getWindow())}), 0);
  ASSERT_EQ(xdotool({"key", "ctrl+c"}), 0);
  settle(50);
  EXPECT_EQ(readSelection("CLIPBOARD"), "left 1\nleft");
}

TEST_F(TextViewX11, ControlASelectsAllAndEscapeCancels) {
  ASSERT_EQ(xdotool({"windowfocus", "--sync", std::to_string(window->getWindow())}), 0);
  ASSERT_EQ(xdotool({"key", "ctrl+a"}), 0);
  ASSERT_TRUE(waitFor([&] { return left->getLastSelectedLine() == kLines + 1; }));
  std::string expected;
  for (int i = 1; i <= kLines; i++) expected += "left " + std::to_string(i) + "\n";
  EXPECT_EQ(readSelection("PRIMARY"), expected);
  ASSERT_EQ(xdotool({"key", "Escape"}), 0);
  EXPECT_TRUE(waitFor([&] { return left->getFirstSelectedLine() == 0; }));
}

// ---- the demonstration program ---------------------------------------------

class DemoX11 : public XSession {
 protected:
  void TearDown() override {
    if (pid > 0) {
      kill(pid, SIGTERM);
      waitpid(pid, nullptr, 0);
    }
    XSession::TearDown();
  }
  pid_t pid = 0;
};

std::string writeFile(const std::string& name, const std::string& prefix, int lines) {
  std::string path = std::string(DIFFVIEW_BIN) + "/../tmp/" + name;
  std::ofstream out(path);
  for (int i = 1; i <= lines; i++) out << prefix << i << (i % 9 == 0 ? "\twith a tab" : "") << "\n";
  return path;
}

TEST_F(DemoX11, BadArgumentsGetAStatus) {
  std::string program = std::string(DIFFVIEW_BIN) + "/textview_demo";
  EXPECT_EQ(runProgram({program}), 2) << "usage";
  EXPECT_EQ(runProgram({program, "/nonexistent/a", "/nonexistent/b"}), 1);
  EXPECT_EQ(runProgram({program, "-bench", "/nonexistent/a"}), 1);
}

TEST_F(DemoX11, ShowsTwoAlignedScrolledPanes) {
  // The same vertical extent of ink on every line of both files.
  std::string a = writeFile("demo_left.txt", "left line ", 300);
  std::string b = writeFile("demo_right.txt", "other line ", 300);
  std::string program = std::string(DIFFVIEW_BIN) + "/textview_demo";
  pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    execl(program.c_str(), program.c_str(), a.c_str(), b.c_str(), nullptr);
    _exit(127);
  }
  std::string found;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (found.empty() && std::chrono::steady_clock::now() < deadline) {
    runProgram({"xdotool", "search", "--onlyvisible", "--name", "^textview_demo$"}, &found);
    if (found.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  ASSERT_FALSE(found.empty()) << "the demo window did not appear";
  Window w = std::stoul(found);
  XWindowAttributes attrs;
  ASSERT_TRUE(XGetWindowAttributes(otherDisplay(), w, &attrs));
  auto grabDemo = [&] {
    XSync(otherDisplay(), False);
    return XGetImage(otherDisplay(), w, 0, 0, attrs.width, attrs.height, AllPlanes, ZPixmap);
  };
  XImage* before = grabDemo();
  ASSERT_NE(before, nullptr);
  unsigned long white = XGetPixel(before, attrs.width / 2 - 30, attrs.height - 30);
  ASSERT_EQ(xdotool({"windowfocus", "--sync", found}), 0);
  ASSERT_EQ(xdotool({"key", "Page_Down", "Page_Down", "Down"}), 0);
  // Bounded polling until the panes show other lines than at first.
  XImage* after = nullptr;
  for (int tries = 0; tries < 100; tries++) {
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    if (after) XDestroyImage(after);
    after = grabDemo();
    int changed = 0;
    for (int y = 0; y < attrs.height; y += 3)
      changed += XGetPixel(after, 10, y) != XGetPixel(before, 10, y);
    if (changed > 5) break;
  }
  ASSERT_NE(after, nullptr);
  std::string shot = std::string(DIFFVIEW_BIN) + "/../textview_demo.png";
  EXPECT_EQ(runProgram({"import", "-window", found, shot}), 0);
  EXPECT_EQ(access(shot.c_str(), R_OK), 0) << shot;
  // Text rows of the two panes fall on the same lines of pixels.
  int half = (attrs.width - 14) / 2;
  unsigned long grey = XGetPixel(after, 6 * font_n, attrs.height - 30);
  std::vector<bool> leftRows = inkRows(after, 60, half - 10, white, grey);
  std::vector<bool> rightRows = inkRows(after, half + 60, 2 * half - 10, white, grey);
  leftRows.resize(attrs.height - 14);
  rightRows.resize(attrs.height - 14);
  int inked = 0;
  for (bool r : leftRows) inked += r;
  EXPECT_GT(inked, attrs.height / 4);
  EXPECT_EQ(leftRows, rightRows);
  bool gutterChanged = false;
  for (int y = 0; y < attrs.height - 20 && !gutterChanged; y++)
    for (int x = 0; x < 40 && !gutterChanged; x++)
      gutterChanged = XGetPixel(after, x, y) != XGetPixel(before, x, y);
  EXPECT_TRUE(gutterChanged) << "the panes did not scroll";
  XDestroyImage(before);
  XDestroyImage(after);
  // Control+Q closes the window and the program ends.
  ASSERT_EQ(xdotool({"windowfocus", "--sync", found}), 0);
  ASSERT_EQ(xdotool({"key", "ctrl+q"}), 0);
  int status = -1;
  bool ended = false;
  for (int tries = 0; tries < 150 && !ended; tries++) {
    ended = waitpid(pid, &status, WNOHANG) == pid;
    if (!ended) std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  ASSERT_TRUE(ended);
  pid = 0;
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
}

}  // namespace
