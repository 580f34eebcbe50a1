// The text view without a window (fixed 7 x 13 cells): line queries under
// scrolling, keys and the scrollers they drive, selections by line, word,
// drag and select-all, listeners, hot elements, and what gets painted.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "base/gen.h"
#include "gui/core/pixels.h"
#include "gui/loop/extra_process.h"
#include "gui/text/browser.h"
#include "gui/text/textview_impl.h"
#include "text_test_util.h"

namespace {

constexpr int kLines = 40;

class ViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fg_pixel = 1, bg_pixel = 9, select_pixel = 50, selectreverse_pixel = 51;
    view.reset(static_cast<WTextView_Impl*>(
        WTextView::makeWTextView(nullptr, DrawRect{0, 0, 140, 65}, "view")));
    browser = std::make_unique<SimpleBrowser>(view.get(), true);
    view->setMinLineHeight(1);
    view->setScrollLineHeight(13);
    browser->startBatch();
    for (int i = 1; i <= kLines; i++) browser->addText(("line" + std::to_string(i) + "\n").c_str());
    browser->endBatch();
    view->setVScroller(&vscroll);
    view->setHScroller(&hscroll);
  }
  void TearDown() override {
    browser.reset();
    view.reset();
  }
  std::string selection() {
    char* s = view->getSelection();
    std::string out = s ? s : "<none>";
    gen_free(s);
    return out;
  }
  bool key(int code, unsigned state = 0, const char* chars = nullptr) {
    return view->processKey(code, state, chars, chars ? 1 : 0);
  }

  Scroller vscroll{SCROLL_VERTICAL}, hscroll{SCROLL_HORIZONTAL};
  std::unique_ptr<WTextView_Impl> view;
  std::unique_ptr<SimpleBrowser> browser;
};

struct Keys : WTextView::KeyListener {
  std::vector<int> got;
  bool consume = false;
  bool handleKey(WTextView*, int code, unsigned, const char*, int) override {
    got.push_back(code);
    return consume;
  }
};

struct Mice : WTextView::MouseListener {
  std::vector<std::string> got;
  bool handleMouse(WTextView*, int action, int x, int y, int button, int clicks,
                   unsigned) override {
    got.push_back(std::to_string(action) + "@" + std::to_string(x) + "," + std::to_string(y) +
                  " b" + std::to_string(button) + " c" + std::to_string(clicks));
    return false;
  }
};

struct Changes : WTextView::SelectionChangedListener {
  int count = 0;
  void handleSelectionChanged(WTextView*) override { count++; }
};

TEST_F(ViewTest, LinesUnderScrolling) {
  EXPECT_EQ(view->getLineCount(), kLines);
  EXPECT_EQ(view->getContentHeight(), kLines * 13);
  EXPECT_EQ(view->getFirstLine(), 1);
  EXPECT_EQ(view->getLastLine(), 5);
  vscroll.setPosition(130);
  EXPECT_EQ(view->getScrollY(), 130);
  EXPECT_EQ(view->getFirstLine(), 11);
  EXPECT_EQ(view->getLastLine(), 15);
  EXPECT_EQ(view->getLineAt(0), 11);
  EXPECT_EQ(view->getLinePosition(12), 13);
  EXPECT_EQ(view->getLinePosition(kLines + 2), -1);
  EXPECT_NE(view->getRefAt(10, 5), nullptr);
  EXPECT_EQ(view->getRefAt(100, 5), nullptr) << "right of the text";
}

TEST_F(ViewTest, ScrollToLineAndItsLimits) {
  view->scrollToLine(20, false);
  EXPECT_EQ(vscroll.getPosition(), 19 * 13);
  view->scrollToLine(20, true);
  EXPECT_EQ(vscroll.getPosition(), 19 * 13 - 32);
  view->scrollToLine(0, false);
  view->scrollToLine(kLines + 1, false);
  EXPECT_EQ(vscroll.getPosition(), 19 * 13 - 32) << "lines outside the text are ignored";
  view->scrollToLine(kLines, false);
  EXPECT_EQ(vscroll.getPosition(), kLines * 13 - 65) << "clamped to the last page";
}

TEST_F(ViewTest, DirectionKeysDriveTheScrollers) {
  EXPECT_TRUE(key(WKEY_DOWN));
  EXPECT_EQ(vscroll.getPosition(), 13);
  key(WKEY_PAGEDOWN);
  EXPECT_EQ(vscroll.getPosition(), 78);
  key(WKEY_UP);
  EXPECT_EQ(vscroll.getPosition(), 65);
  key(WKEY_END, WMOD_CONTROL);
  EXPECT_EQ(vscroll.getPosition(), kLines * 13 - 65) << "Control+End: the last page";
  key(WKEY_PAGEUP);
  EXPECT_EQ(vscroll.getPosition(), kLines * 13 - 130);
  key(WKEY_HOME, WMOD_CONTROL);
  EXPECT_EQ(vscroll.getPosition(), 0);
}

TEST_F(ViewTest, HomeAndEndWithoutControlScrollSideways) {
  browser->addText("a very long line that is much wider than the view itself\n");
  view->getPositionTable()->getLine(kLines + 1);  // lay it out
  hscroll.reconfigure();
  key(WKEY_END);
  EXPECT_GT(hscroll.getPosition(), 0);
  EXPECT_EQ(view->getScrollX(), hscroll.getPosition());
  EXPECT_EQ(vscroll.getPosition(), 0);
  key(WKEY_LEFT);
  EXPECT_EQ(view->getScrollX(), hscroll.getMaximum() - 140 - 13);
  key(WKEY_HOME);
  EXPECT_EQ(view->getScrollX(), 0);
}

TEST_F(ViewTest, DirectionsCanRequireShift) {
  Keys keys;
  view->addKeyListener(&keys);
  view->setDirectionsUseShift(true);
  key(WKEY_DOWN);
  EXPECT_EQ(vscroll.getPosition(), 0);
  EXPECT_EQ(keys.got, (std::vector<int>{WKEY_DOWN})) << "offered to the listeners instead";
  key(WKEY_DOWN, WMOD_SHIFT);
  EXPECT_EQ(vscroll.getPosition(), 13);
  key(WKEY_DOWN, WMOD_SHIFT | WMOD_CONTROL);
  EXPECT_EQ(vscroll.getPosition(), 13);
}

TEST_F(ViewTest, KeyListenersInOrderUntilOneConsumes) {
  Keys first, second;
  view->addKeyListener(&first);
  view->addKeyListener(&second);
  EXPECT_FALSE(key('x'));
  EXPECT_EQ(first.got.size(), 1u);
  EXPECT_EQ(second.got.size(), 1u);
  first.consume = true;
  EXPECT_TRUE(key('y'));
  EXPECT_EQ(second.got.size(), 1u);
  first.got.clear();
  key(WKEY_DOWN, WMOD_ALT);
  EXPECT_EQ(first.got, (std::vector<int>{WKEY_DOWN})) << "Alt keys go straight to listeners";
  EXPECT_EQ(vscroll.getPosition(), 0);
  view->removeKeyListener(&first);
  key('z');
  EXPECT_EQ(second.got.back(), 'z');
}

TEST_F(ViewTest, ItemKeyListenerForwardsToAnotherItem) {
  struct Target : WWindowedItem {
    Target() : WWindowedItem(nullptr, DrawRect{0, 0, 1, 1}, 0) {}
    int code = 0;
    bool handleKey(xinLibSt* e) override {
      code = e->code;
      return e->code == 'q';
    }
  } target;
  std::unique_ptr<WTextView::KeyListener> l(WTextView::KeyListener::makeKeyListener(&target));
  view->addKeyListener(l.get());
  EXPECT_TRUE(key('q'));
  EXPECT_FALSE(key('w'));
  EXPECT_EQ(target.code, 'w');
}

TEST_F(ViewTest, SelectLinesTakesWholeLines) {
  Changes changes;
  view->addSelectionChangedListener(&changes);
  view->selectLines(2, 2);
  EXPECT_EQ(selection(), "line2\nline3\n");
  EXPECT_EQ(view->offeredPrimary(), "line2\nline3\n");
  EXPECT_EQ(view->getFirstSelectedLine(), 2);
  EXPECT_EQ(view->getLastSelectedLine(), 4);
  EXPECT_EQ(changes.count, 1);
  view->selectLines(kLines, 5);
  EXPECT_EQ(selection(), "line40\n") << "to the end of the text";
  view->selectLines(3, 0);
  EXPECT_EQ(selection(), "<none>");
  EXPECT_EQ(changes.count, 3);
  view->selectLines(0, 1);
  view->selectLines(1, -1);
  EXPECT_EQ(changes.count, 3) << "bad arguments are ignored";
  view->disableSelection();
  view->selectLines(1, 1);
  EXPECT_EQ(selection(), "<none>");
}

TEST_F(ViewTest, FakeBreaksSupplyTheNewlines) {
  browser->clear();
  for (const char* t : {"one", "two"}) {
    browser->addText(t);
    browser->addElement(new FakeBreak);
    browser->addLineBreak(-1);
  }
  view->setNewlinesInSelection(false);
  view->selectLines(1, 2);
  EXPECT_EQ(selection(), "one\ntwo\n");
}

TEST_F(ViewTest, ControlAAndControlC) {
  browser->clear();
  browser->addText("alpha\nbeta\n");
  key('a', WMOD_CONTROL, "\x01");
  EXPECT_EQ(selection(), "alpha\nbeta\n");
  EXPECT_EQ(view->offeredPrimary(), "alpha\nbeta\n");
  EXPECT_EQ(view->offeredClipboard(), "");
  key('c', WMOD_CONTROL, "\x03");
  EXPECT_EQ(view->offeredClipboard(), "alpha\nbeta\n");
  key(WKEY_ESCAPE);
  EXPECT_EQ(selection(), "<none>");
}

TEST_F(ViewTest, DoubleClickSelectsAWord) {
  browser->clear();
  browser->addText("foo bar_baz qux\n");
  view->processMouse(WMOUSE_PRESS, 7 * 6, 5, 1, 2, 0);  // inside "bar_baz"
  EXPECT_EQ(selection(), "bar_baz");
  EXPECT_EQ(view->offeredPrimary(), "bar_baz");
  view->processMouse(WMOUSE_RELEASE, 7 * 6, 5, 1, 2, 0);
  view->processMouse(WMOUSE_PRESS, 3, 5, 1, 1, 0);
  EXPECT_EQ(selection(), "<none>") << "a single click cancels";
}

TEST_F(ViewTest, DragSelectsFromPressToPointer) {
  Changes changes;
  view->addSelectionChangedListener(&changes);
  view->processMouse(WMOUSE_PRESS, 14, 5, 1, 1, 0);       // line 1, before 'n'
  view->processMouse(WMOUSE_MOTION, 21, 18, 1, 0, WMOD_BUTTON1);  // line 2, before 'e'
  view->processMouse(WMOUSE_RELEASE, 21, 18, 1, 1, 0);
  EXPECT_EQ(selection(), "ne1\nlin");
  EXPECT_EQ(view->offeredPrimary(), "ne1\nlin");
  EXPECT_GE(changes.count, 1);
  view->processMouse(WMOUSE_PRESS, 0, 0, 3, 1, 0);
  EXPECT_EQ(selection(), "ne1\nlin") << "the third button keeps the selection";
}

TEST_F(ViewTest, DraggingBelowTheViewKeepsScrolling) {
  view->processMouse(WMOUSE_PRESS, 5, 5, 1, 1, 0);
  view->processMouse(WMOUSE_MOTION, 5, 100, 1, 0, WMOD_BUTTON1);  // below the view
  long wait = 0;
  for (int i = 0; i < 4; i++) {
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    ExtraProcess_Wait(&wait);
  }
  EXPECT_GE(vscroll.getPosition(), 3 * 13) << "one line per tick of the drag timer";
  EXPECT_EQ(view->getFirstSelectedLine(), 1);
  EXPECT_GE(view->getLastSelectedLine(), 8) << "the selection follows the scrolled text";
  view->processMouse(WMOUSE_RELEASE, 5, 100, 1, 1, 0);
  long stopped = vscroll.getPosition();
  std::this_thread::sleep_for(std::chrono::milliseconds(60));
  ExtraProcess_Wait(&wait);
  EXPECT_EQ(vscroll.getPosition(), stopped) << "the release stops the scrolling";
}

TEST_F(ViewTest, TextChangeCancelsTheSelection) {
  view->selectLines(1, 1);
  browser->startBatch();
  browser->addText("more\n");
  browser->endBatch();
  EXPECT_EQ(selection(), "<none>");
  EXPECT_EQ(view->getLineCount(), kLines + 1);
}

TEST_F(ViewTest, WheelScrollsThreeLines) {
  view->processMouse(WMOUSE_PRESS, 5, 5, 5, 1, 0);
  EXPECT_EQ(vscroll.getPosition(), 39);
  view->processMouse(WMOUSE_PRESS, 5, 5, 4, 1, 0);
  EXPECT_EQ(vscroll.getPosition(), 0);
}

TEST_F(ViewTest, MouseListenersHearPressMotionAndRelease) {
  Mice mice;
  view->addMouseListener(&mice);
  view->processMouse(WMOUSE_PRESS, 3, 4, 1, 1, 0);
  view->processMouse(WMOUSE_MOTION, 5, 6, 0, 0, 0);
  view->processMouse(WMOUSE_RELEASE, 5, 6, 1, 1, 0);
  EXPECT_EQ(mice.got, (std::vector<std::string>{"1@3,4 b1 c1", "0@5,6 b0 c0", "-1@5,6 b1 c1"}));
  EXPECT_EQ(view->getClicks(), 1);
  view->setMaxMouseClicks(2);
  view->processMouse(WMOUSE_PRESS, 3, 4, 1, 3, 0);
  EXPECT_EQ(view->getClicks(), 1) << "a third click counts as a first again";
}

TEST_F(ViewTest, ClickOnALinkCallsIt) {
  std::string got;
  browser->clear();
  browser->addText("see ");
  browser->addLink([](void* d, const char* t, int n) { *static_cast<std::string*>(d) = std::string(t, n); },
                   &got, "here");
  view->processMouse(WMOUSE_PRESS, 30, 5, 1, 1, 0);
  view->processMouse(WMOUSE_RELEASE, 30, 5, 1, 1, 0);
  EXPECT_EQ(got, "here");
}

TEST_F(ViewTest, TwoViewsUnderOneBarStayAligned) {
  std::unique_ptr<WTextView_Impl> other(static_cast<WTextView_Impl*>(
      WTextView::makeWTextView(nullptr, DrawRect{0, 0, 60, 65}, "numbers")));
  SimpleBrowser numbers(other.get(), true);
  for (int i = 1; i <= kLines; i++) numbers.addText((std::to_string(i) + "\n").c_str());
  other->setMinLineHeight(1);
  other->setVScroller(&vscroll);
  for (int step : {WKEY_DOWN, WKEY_PAGEDOWN, WKEY_DOWN, WKEY_PAGEDOWN}) {
    key(step);
    EXPECT_EQ(other->getScrollY(), view->getScrollY());
    EXPECT_EQ(other->getFirstLine(), view->getFirstLine());
  }
  other->setVScroller(nullptr);
}

TEST_F(ViewTest, PaintsVisibleLinesAtTheirPlaces) {
  vscroll.setPosition(13 * 3);
  RecordingPainter p;
  view->paintArea(&p, DrawRect{0, 0, 140, 65});
  std::vector<std::string> texts = p.only("text");
  ASSERT_EQ(texts.size(), 5u);
  EXPECT_EQ(texts[0], "text 0 10 f0 'line4' #1");
  EXPECT_EQ(texts[4], "text 0 62 f0 'line8' #1");
  RecordingPainter strip;
  view->paintArea(&strip, DrawRect{0, 14, 140, 10});
  EXPECT_EQ(strip.only("text"), (std::vector<std::string>{"text 0 23 f0 'line5' #1"}));
}

TEST_F(ViewTest, PaintsTheSelectionInSelectionColours) {
  view->selectLines(1, 1);
  RecordingPainter p;
  view->paintArea(&p, DrawRect{0, 0, 140, 13});
  EXPECT_EQ(p.only("text"), (std::vector<std::string>{"text 0 10 f0 'line1' #51"}));
  bool filledToEdge = false;
  for (const std::string& c : p.only("rect"))
    if (c == "rect 35 0 105 13 #50") filledToEdge = true;
  EXPECT_TRUE(filledToEdge) << "the selected line end reaches the right edge";
}

TEST_F(ViewTest, SpannersFillToTheRightEdge) {
  browser->clear();
  browser->addText("x");
  browser->addLineBreak(77);
  RecordingPainter p;
  view->paintArea(&p, DrawRect{0, 0, 140, 13});
  EXPECT_EQ(p.calls.back(), "rect 10 0 130 13 #77");
}

TEST_F(ViewTest, ReadOnlyViewsPaintTheControlColourAroundText) {
  control_pixel = 33;
  browser->setReadOnlyBackground(true);
  RecordingPainter p;
  view->paintArea(&p, DrawRect{0, 0, 140, 13});
  EXPECT_EQ(p.calls.front(), "rect 0 0 140 13 #33");
  EXPECT_EQ(p.only("rect")[1], "rect 0 0 35 13 #33") << "the text background was recoloured";
}

TEST_F(ViewTest, ViewWithoutStoreAnswersZero) {
  std::unique_ptr<WTextView> empty(WTextView::makeWTextView(nullptr, DrawRect{0, 0, 10, 10}, "e"));
  EXPECT_EQ(empty->getLineCount(), 0);
  EXPECT_EQ(empty->getLineAt(5), 0);
  EXPECT_EQ(empty->getLinePosition(1), 0);
  EXPECT_EQ(empty->getFirstLine(), 0);
  EXPECT_EQ(empty->getSelection(), nullptr);
  char* t = empty->getText();
  EXPECT_STREQ(t, "");
  gen_free(t);
  empty->scrollToLine(1, false);
  empty->selectLines(1, 1);
}

}  // namespace
