// The browser, the text view, its scrollers and the scroll bar without a
// display (7 x 13 cells): how strings become elements and lines; line
// queries, keys and listeners, selections, the drag timer, painting; the
// scroll bar.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "base/gen.h"
#include "gui/core/pixels.h"
#include "gui/loop/extra_process.h"
#include "gui/text/browser.h"
#include "gui/text/scroll_bar.h"
#include "gui/text/textview_impl.h"
#include "text_test_util.h"
#include "x_session.h"

namespace {

class Browser : public ::testing::Test {
 protected:
  std::unique_ptr<WTextView> view{WTextView::makeWTextView(nullptr, DrawRect{0, 0, 300, 130}, "b")};
  SimpleBrowser browser{view.get(), true};
  TextStore* store() { return browser.getStore(); }
  // T'text' for text, t for a tab, B<w> for a box, | for a line end.
  std::string shape() {
    std::string s;
    for (TextReference r = store()->getFirstElement(); r; r = store()->getNextElement(r)) {
      TextElement* e = store()->getElement(r);
      if (store()->isLineEnd(r)) s += "|";
      else if (auto* t = dynamic_cast<ColorText*>(e)) s += "T'" + std::string(t->getText(), t->getLength()) + "'";
      else if (e->isTab()) s += "t";
      else s += "B" + std::to_string(e->getWidth(view.get()));
    }
    return s;
  }
  std::string text() {
    char* t = browser.getText();
    std::string s = t;
    gen_free(t);
    return s;
  }
};

TEST_F(Browser, TextBecomesMarginBoxRunsTabsAndLines) {
  browser.setMargin(3);
  browser.setMargin(-5);  // ignored
  browser.addText("a\tb\n\nc");
  browser.addText("xyz", 0);
  browser.addText("def", 2);
  EXPECT_EQ(shape(), "B3T'a'tT'b'|B3T''|B3T'c'T'de'");
  EXPECT_FALSE(browser.isAtLineStart());
  EXPECT_EQ(view->getContentHeight(), 39) << "an empty line is as high as the font";
  EXPECT_EQ(text(), "a\tb\n\ncde");
  int interned = browser.getInternedCount();
  browser.addText("same\n");
  browser.addText("same\n");
  EXPECT_EQ(browser.getInternedCount(), interned + 1) << "identical texts share one buffer";
  browser.clear();
  EXPECT_EQ(shape(), "");
  EXPECT_EQ(browser.getInternedCount(), 0);
#ifndef NDEBUG
  EXPECT_DEATH(browser.addText(nullptr), "buf != \\(0L\\)");
#endif
}

constexpr int kLines = 40;

class View : public ::testing::Test {
 protected:
  void SetUp() override {
    fg_pixel = 1, bg_pixel = 9, select_pixel = 50, selectreverse_pixel = 51;
    view->setMinLineHeight(1);
    view->setScrollLineHeight(13);
    browser.startBatch();
    for (int i = 1; i <= kLines; i++) browser.addText(("line" + std::to_string(i) + "\n").c_str());
    browser.endBatch();
    view->setVScroller(&vscroll);
    view->setHScroller(&hscroll);
  }
  std::string selection() {
    char* s = view->getSelection();
    std::string out = s ? s : "<none>";
    gen_free(s);
    return out;
  }
  bool key(int code, unsigned state = 0) { return view->processKey(code, state, nullptr, 0); }
  void mouse(int action, int x, int y, int button = 1, int clicks = 1, unsigned state = 0) {
    view->processMouse(action, x, y, button, clicks, state);
  }

  Scroller vscroll{SCROLL_VERTICAL}, hscroll{SCROLL_HORIZONTAL};
  std::unique_ptr<WTextView_Impl> view{static_cast<WTextView_Impl*>(
      WTextView::makeWTextView(nullptr, DrawRect{0, 0, 140, 65}, "view"))};
  SimpleBrowser browser{view.get(), true};
};

TEST_F(View, LinesUnderScrollingAndScrollingToALine) {
  vscroll.setPosition(130);
  EXPECT_EQ(view->getFirstLine() * 100 + view->getLastLine(), 1115);
  EXPECT_EQ(view->getLineAt(0), 11);
  EXPECT_EQ(view->getLinePosition(12), 13);
  EXPECT_EQ(view->getRefAt(100, 5), nullptr) << "right of the text";
  view->scrollToLine(20, true);
  EXPECT_EQ(vscroll.getPosition(), 19 * 13 - 32);  // centred
  view->scrollToLine(kLines + 1, false);
  EXPECT_EQ(vscroll.getPosition(), 19 * 13 - 32) << "lines outside the text are ignored";
  view->scrollToLine(kLines, false);
  EXPECT_EQ(vscroll.getPosition(), kLines * 13 - 65) << "clamped to the last page";
}

TEST_F(View, KeysDriveTheScrollersAndListenersHearTheRest) {
  const struct {
    int code;
    unsigned state;
    long position;
  } steps[] = {{WKEY_DOWN, 0, 13},
               {WKEY_PAGEDOWN, 0, 78},
               {WKEY_UP, 0, 65},
               {WKEY_END, WMOD_CONTROL, kLines * 13 - 65},
               {WKEY_PAGEUP, 0, kLines * 13 - 130},
               {WKEY_HOME, WMOD_CONTROL, 0}};
  for (auto& s : steps) {
    EXPECT_TRUE(key(s.code, s.state));
    EXPECT_EQ(vscroll.getPosition(), s.position) << s.code;
  }
  struct Keys : WTextView::KeyListener {
    std::vector<int> got;
    bool consume = false;
    bool handleKey(WTextView*, int code, unsigned, const char*, int) override {
      got.push_back(code);
      return consume;
    }
  } first, second;
  view->addKeyListener(&first);
  view->addKeyListener(&second);
  EXPECT_FALSE(key('x'));
  first.consume = true;
  EXPECT_TRUE(key('y'));
  key(WKEY_DOWN, WMOD_ALT);  // Alt keys go straight to the listeners
  EXPECT_EQ(vscroll.getPosition(), 0);
  EXPECT_EQ(first.got, (std::vector<int>{'x', 'y', WKEY_DOWN}));
  EXPECT_EQ(second.got, std::vector<int>{'x'});
  view->removeKeyListener(&first);
  // The toolkit's item key listener hands keys to another item.
  struct Target : WWindowedItem {
    Target() : WWindowedItem(nullptr, DrawRect{0, 0, 1, 1}, 0) {}
    bool handleKey(xinLibSt* e) override { return e->code == 'q'; }
  } target;
  std::unique_ptr<WTextView::KeyListener> l(WTextView::KeyListener::makeKeyListener(&target));
  view->removeKeyListener(&second);
  view->addKeyListener(l.get());
  EXPECT_TRUE(key('q'));
  EXPECT_FALSE(key('w'));
}

TEST_F(View, SelectionsByLineAndWordAreCancelledByChanges) {
  struct Changes : WTextView::SelectionChangedListener {
    int count = 0;
    void handleSelectionChanged(WTextView*) override { count++; }
  } changes;
  view->addSelectionChangedListener(&changes);
  view->selectLines(2, 2);
  EXPECT_EQ(selection(), "line2\nline3\n");
  EXPECT_EQ(view->offeredPrimary(), "line2\nline3\n");
  EXPECT_EQ(view->getLastSelectedLine(), 4);
  view->selectLines(kLines, 5);
  EXPECT_EQ(selection(), "line40\n") << "to the end of the text";
  view->selectLines(0, 1);
  view->selectLines(1, -1);
  EXPECT_EQ(changes.count, 2) << "bad arguments are ignored";
  browser.startBatch();  // a change of the text cancels the selection
  browser.addText("more\n");
  browser.endBatch();
  EXPECT_EQ(selection(), "<none>");
  browser.clear();
  browser.addText("foo bar_baz qux\n");
  mouse(WMOUSE_PRESS, 7 * 6, 5, 1, 2);  // a double click inside "bar_baz"
  EXPECT_EQ(selection(), "bar_baz");
  mouse(WMOUSE_RELEASE, 7 * 6, 5, 1, 2);
  mouse(WMOUSE_PRESS, 0, 0, 3);
  EXPECT_EQ(selection(), "bar_baz") << "the third button keeps the selection";
  mouse(WMOUSE_PRESS, 3, 5);
  EXPECT_EQ(selection(), "<none>") << "a single click cancels";
  view->disableSelection();
  view->selectLines(1, 1);
  EXPECT_EQ(selection(), "<none>");
}

TEST_F(View, DraggingBelowTheViewScrollsOnTheTimerUntilTheRelease) {
  mouse(WMOUSE_PRESS, 5, 5);
  mouse(WMOUSE_MOTION, 5, 100, 1, 0, WMOD_BUTTON1);  // below the view
  auto tick = [] {
    long t;
    ExtraProcess_Wait(&t);
  };
  ASSERT_TRUE(xtest::poll([&] { return vscroll.getPosition() >= 3 * 13; }, 3000, tick));
  EXPECT_EQ(view->getFirstSelectedLine(), 1);
  EXPECT_GE(view->getLastSelectedLine(), 8) << "the selection follows the scrolled text";
  mouse(WMOUSE_RELEASE, 5, 100);
  EXPECT_TRUE(ExtraProcess_NumberPending() == 0) << "the release stops the timer";
}

TEST_F(View, ClicksCountUpToTheLimit) {
  view->setMaxMouseClicks(2);  // as the viewer has it
  mouse(WMOUSE_PRESS, 3, 4, 1, 3);
  EXPECT_EQ(view->getClicks(), 1) << "a third click counts as a first again";
}

TEST_F(View, PaintsVisibleLinesTheSelectionAndBars) {
  vscroll.setPosition(13 * 3);
  RecordingPainter p, strip;
  view->paintArea(&p, DrawRect{0, 0, 140, 65});
  std::vector<std::string> texts = p.only("text");
  ASSERT_EQ(texts.size(), 5u);
  EXPECT_EQ(texts[0], "text 0 10 f0 'line4' #1");
  EXPECT_EQ(texts[4], "text 0 62 f0 'line8' #1");
  view->paintArea(&strip, DrawRect{0, 14, 140, 10});
  EXPECT_EQ(strip.only("text"), (std::vector<std::string>{"text 0 23 f0 'line5' #1"}));
  vscroll.setPosition(0);
  browser.addText("x");
  browser.addLineBreak(77);
  view->selectLines(1, 1);
  RecordingPainter sel;
  view->paintArea(&sel, DrawRect{0, 0, 140, 13});
  EXPECT_EQ(sel.only("text"), (std::vector<std::string>{"text 0 10 f0 'line1' #51"}));
  EXPECT_EQ(sel.only("rect").back(), "rect 35 0 105 13 #50") << "the selected line end reaches the edge";
  view->scrollToLine(kLines + 1, false);
  RecordingPainter bar;
  int y = view->getLinePosition(kLines + 1);
  view->paintArea(&bar, DrawRect{0, y, 140, 13});
  EXPECT_EQ(bar.calls.back(), "rect 10 " + std::to_string(y) + " 130 13 #77");
}

// (Three views under one bar, moved by keys, wheel and thumb, are tested
// on the server.)
TEST_F(View, TheScrollBarPagesJumpsAndStepsWithTheWheel) {
  WScrollBar bar(nullptr, DrawRect{0, 0, 14, 200}, SCROLL_VERTICAL);
  view->setVScroller(&bar);  // 520 pixels of text in a 65-pixel view
  bar.pressAt(150, 1);
  bar.release();
  EXPECT_EQ(bar.getPosition(), 65);
  bar.pressAt(0, 1);
  bar.release();
  EXPECT_EQ(bar.getPosition(), 0);
  bar.pressAt(100, 2);  // the middle button jumps there
  bar.release();
  long p = bar.getPosition();
  EXPECT_NEAR(bar.thumb().offset + bar.thumb().length / 2, 100, 2);
  bar.pressAt(0, 5);
  EXPECT_EQ(bar.getPosition(), p + 39);  // three lines
  bar.pressAt(0, 4);
  EXPECT_EQ(bar.getPosition(), p);
  view->setVScroller(nullptr);
  EXPECT_EQ(thumbGeometry(200, 30, 0, 1000000, 100, 0).length, 30) << "never below the minimum";
  EXPECT_EQ(thumbGeometry(200, 10, 0, 50, 100, 0).length, 200) << "all visible";
  EXPECT_EQ(positionForThumb(200, 10, 0, 50, 100, 30), 0);
}

}  // namespace
