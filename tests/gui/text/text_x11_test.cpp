// Text views on the program's Xvfb: two panes and a gutter aligned under one
// scroll bar as keys, wheel and thumb scroll them; selections by mouse and
// keys pasted by another client (PRIMARY and CLIPBOARD); and the
// demonstration program's bad arguments.
#include "gui_session.h"  // gtest before Xlib

#include <X11/Xatom.h>
#include <memory>

#include "gui/core/fonts.h"
#include "gui/core/pixels.h"
#include "gui/text/browser.h"
#include "gui/text/scroll_bar.h"
#include "gui/text/selection_margin.h"
#include "gui/text/textview.h"

namespace {

constexpr int kLines = 120;

// The y of the first row whose pixel at column x is `colour`, or -1.
int firstRowOf(Window w, int x, unsigned long colour) {
  for (const xtest::Band& b : xtest::bands(w, x, 0, 200))
    if (b.pixel == colour) return b.top;
  return -1;
}

class TextViews : public GuiSession {
 protected:
  void SetUp() override {
    GuiSession::SetUp();
    window = openWindow("textview test", 420, 200);
    ASSERT_NE(window, nullptr);
    bar = new WScrollBar(window, DrawRect{406, 0, 14, 200}, SCROLL_VERTICAL);
    gutter = fill(DrawRect{0, 0, 40, 200}, "");
    left = fill(DrawRect{40, 0, 180, 200}, "left ");
    right = fill(DrawRect{224, 0, 180, 200}, "right side ");
    gutter->disableSelection();
    margin = std::make_unique<SelectionMargin>(left, gutter);
    left->activateMe();
    ASSERT_TRUE(waitFor([&] { return left->getPaintCount() > 0 && right->getPaintCount() > 0; }));
  }
  void TearDown() override {
    margin.reset();
    browsers.clear();
    GuiSession::TearDown();
  }
  // A view of lines "<prefix><n>", the one at bandLine() ending in a red bar.
  WTextView* fill(DrawRect r, const std::string& prefix) {
    WTextView* view = WTextView::makeWTextView(window, r, "pane");
    auto& b = browsers.emplace_back(std::make_unique<SimpleBrowser>(view, true));
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
    return view;
  }
  // About 150 pixels below the window's top after a page down.
  int bandLine() const { return 1 + (200 + 150) / font_h; }
  // Runs the loop until all three panes follow the bar and have painted;
  // then the red band shows on the same row of both panes.
  void expectAlignedAt(long position) {
    ASSERT_TRUE(waitFor([&] {
      return left->getScrollY() == position && right->getScrollY() == position &&
             gutter->getScrollY() == position;
    }));
    drain();
    int expected = static_cast<int>((bandLine() - 1) * font_h - position);
    int l = firstRowOf(left->getWindow(), 170, red_pixel);
    EXPECT_EQ(l, expected);
    EXPECT_EQ(firstRowOf(right->getWindow(), 170, red_pixel), l) << "the panes are not aligned";
    EXPECT_EQ(gutter->getFirstLine(), left->getFirstLine());
  }
  // What another client pastes (as UTF8_STRING), once the input sent so far
  // has been handled; the loop runs meanwhile so that the owner can answer.
  static std::string paste(const char* selection) {
    drain();
    Display* d = xtest::display();
    static Window requestor = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 1, 1, 0, 0, 0);
    Atom property = XInternAtom(d, "DIFFVIEW_TEST_PASTE", False);
    XConvertSelection(d, XInternAtom(d, selection, False), XInternAtom(d, "UTF8_STRING", False),
                      property, requestor, CurrentTime);
    XEvent ev;
    if (!waitFor([&] { return XCheckTypedWindowEvent(d, requestor, SelectionNotify, &ev); }))
      return "<no answer>";
    std::string out = ev.xselection.property == None ? "<refused>" : xtest::property(requestor, "DIFFVIEW_TEST_PASTE");
    XDeleteProperty(d, requestor, property);
    return out;
  }

  ColWind* window = nullptr;
  WScrollBar* bar = nullptr;
  WTextView *gutter = nullptr, *left = nullptr, *right = nullptr;
  std::vector<std::unique_ptr<SimpleBrowser>> browsers;
  std::unique_ptr<SelectionMargin> margin;
};

TEST_F(TextViews, PanesPaintTheirTextAndStayAlignedUnderOneBar) {
  int inked = 0;
  for (const xtest::Band& b : xtest::inkRows(left->getWindow(), 0, 170)) inked += b.bottom - b.top;
  EXPECT_GT(inked, 100) << "text should cover most rows";
  EXPECT_EQ(firstRowOf(left->getWindow(), 170, red_pixel), -1) << "band not yet visible";
  ASSERT_EQ(keys(window, {"Page_Down"}), 0);
  expectAlignedAt(200);
  ASSERT_EQ(keys(window, {"Down", "Down"}), 0);
  expectAlignedAt(200 + 2 * font_h);
  ASSERT_EQ(click(right, 50, 50, 5), 0);  // the wheel over the right pane moves all
  expectAlignedAt(200 + 5 * font_h);
  ThumbGeometry t = bar->thumb();
  ASSERT_EQ(xdotool({"mousemove", "--window", id(bar), "7", std::to_string(t.offset + 2),
                     "mousedown", "1", "mousemove", "--window", id(bar), "7", "199", "mouseup",
                     "1"}), 0);
  ASSERT_TRUE(waitFor([&] { return right->getLastLine() == kLines; }));
  EXPECT_EQ(left->getLastLine(), kLines);
  EXPECT_EQ(gutter->getLastLine(), kLines);
}

TEST_F(TextViews, GutterDragsSelectWholeLinesOfferedAsPrimaryUntilAnotherOwnerComes) {
  ASSERT_EQ(xdotool({"mousemove", "--window", id(gutter), "10", std::to_string(font_h + 2),
                     "mousedown", "1", "mousemove", "--window", id(gutter), "10",
                     std::to_string(2 * font_h + 5), "mouseup", "1"}), 0);
  ASSERT_TRUE(waitFor([&] { return left->getLastSelectedLine() == 4; }));
  EXPECT_EQ(left->getFirstSelectedLine(), 2);
  EXPECT_EQ(paste("PRIMARY"), "left 2\nleft 3\n");
  right->selectLines(5, 2);  // one of our own views takes it over
  EXPECT_TRUE(waitFor([&] { return left->getFirstSelectedLine() == 0; }));
  EXPECT_EQ(paste("PRIMARY"), "right side 5\nright side 6\n");
  Display* d = xtest::display();
  Window mine = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 1, 1, 0, 0, 0);
  XSetSelectionOwner(d, XA_PRIMARY, mine, CurrentTime);
  XFlush(d);
  EXPECT_TRUE(waitFor([&] { return right->getFirstSelectedLine() == 0; }));
  XDestroyWindow(d, mine);
}

TEST_F(TextViews, DragSelectsControlCCopiesControlASelectsAllAndEscapeCancels) {
  int y1 = font_h / 2, y2 = font_h + font_h / 2;
  ASSERT_EQ(xdotool({"mousemove", "--window", id(left), "1", std::to_string(y1), "mousedown",
                     "1", "mousemove", "--window", id(left), std::to_string(1 + 4 * font_n),
                     std::to_string(y2), "mouseup", "1"}), 0);
  ASSERT_TRUE(waitFor([&] { return left->getLastSelectedLine() == 2; }));
  EXPECT_EQ(paste("PRIMARY"), "left 1\nleft");
  ASSERT_EQ(keys(window, {"ctrl+c"}), 0);
  EXPECT_EQ(paste("CLIPBOARD"), "left 1\nleft");
  ASSERT_EQ(keys(window, {"ctrl+a"}), 0);
  ASSERT_TRUE(waitFor([&] { return left->getLastSelectedLine() == kLines + 1; }));
  std::string all;
  for (int i = 1; i <= kLines; i++) all += "left " + std::to_string(i) + "\n";
  EXPECT_EQ(paste("PRIMARY"), all);
  ASSERT_EQ(keys(window, {"Escape"}), 0);
  EXPECT_TRUE(waitFor([&] { return left->getFirstSelectedLine() == 0; }));
}

// The demonstration program shows these views in a window of its own; its
// bad arguments end it with a status.
using Demo = GuiSession;

TEST_F(Demo, BadArgumentsGetAStatus) {
  std::string program = std::string(DIFFVIEW_BIN) + "/textview_demo";
  EXPECT_EQ(xtest::run({program}), 2) << "usage";
  EXPECT_EQ(xtest::run({program, "/nonexistent/a", "/nonexistent/b"}), 1);
  EXPECT_EQ(xtest::run({program, "-bench", "/nonexistent/a"}), 1);
}

}  // namespace
