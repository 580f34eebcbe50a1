// The browser, the text view, its scrollers and the scroll bar without a
// display (7 x 13 cells): how strings become elements and lines,
// recolouring and wrapping, the text going out; line queries, keys and
// listeners, selections, the drag timer, painting; scroller arithmetic.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
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
  void SetUp() override { fg_pixel = 1, red_pixel = 2, control_pixel = 3, keyword_fg = 4; }
  std::unique_ptr<WTextView> view{WTextView::makeWTextView(nullptr, DrawRect{0, 0, 300, 130}, "b")};
  SimpleBrowser browser{view.get(), true};
  TextStore* store() { return browser.getStore(); }
  // T'text' for text, t for a tab, B<w> for a box, L for a spanning bar,
  // F for a fake break, | for a line end.
  std::string shape() {
    std::string s;
    for (TextReference r = store()->getFirstElement(); r; r = store()->getNextElement(r)) {
      TextElement* e = store()->getElement(r);
      if (store()->isLineEnd(r)) s += "|";
      else if (auto* t = dynamic_cast<ColorText*>(e)) s += "T'" + std::string(t->getText(), t->getLength()) + "'";
      else if (e->isTab()) s += "t";
      else if (e->isSpanner()) s += "L";
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
  // The colours of the elements of a line, in order (-2 for none).
  std::vector<long> colours(int line, bool foreground) {
    std::vector<long> out;
    int at = 1;
    for (TextReference r = store()->getFirstElement(); r; r = store()->getNextElement(r)) {
      if (store()->isLineEnd(r)) at++;
      else if (at == line) out.push_back(store()->getElement(r)->getColor(view.get(), foreground));
    }
    return out;
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

TEST_F(Browser, KindsOfTextBoxesAndBarsHaveTheirColoursAndSizes) {
  browser.addText("a");
  browser.addRedText("b");
  browser.addColoredText("c", 9, -1);
  browser.addLink(nullptr, nullptr, "d");
  browser.addLineBreak(7);
  EXPECT_EQ(colours(1, true), (std::vector<long>{-2, 1, 2, 9, 4, -2, -2}));
  EXPECT_EQ(colours(1, false).back(), 7);
  browser.addColoredLine(5, -1, 1, false, true);  // a one-pixel bar on a line of its own
  browser.addColoredLine(6, 2, 1, true, false);   // a box two characters wide
  browser.addJustLineBreak();
  browser.addRedSplit();
  browser.addBigText("ab\n");
  EXPECT_EQ(shape(), "B0T'a'T'b'T'c'T'd'B3L|L|B14|L|B0T'ab'|");
  EXPECT_EQ(view->getContentHeight(), 13 + 10 + 13 + 10 + 16);
}

TEST_F(Browser, RecolouringTouchesTheNamedLinesAndRevertsWhatWasSaved) {
  for (int i = 1; i <= 4; i++) browser.addText("line\n");
  browser.addText("x");
  browser.addColoredLine(8, 5, 5, false, false);
  browser.addLineBreak(-1);
  std::vector<long> plain = colours(1, false);
  browser.changeBackgroundColor(2, 3, 42, true);
  for (int line = 1; line <= 4; line++)
    for (long c : colours(line, false)) EXPECT_EQ(c == 42, line == 2 || line == 3) << line;
  browser.changeBackgroundColor(3, 3, 43, false);  // unsaved: line 3 forgets its colour
  browser.revertColor(2, 3, false);
  EXPECT_EQ(colours(2, false), plain);
  EXPECT_EQ(colours(3, false)[1], 43);
  browser.changeForegroundColor(5, 5, 77, true);  // boxes have no foreground
  EXPECT_EQ(colours(5, true), (std::vector<long>{-2, 77, -2, -2}));
  browser.revertColor(5, 5, true);
  EXPECT_EQ(colours(5, true)[1], 1);
  browser.setReadOnlyBackground(true);
  browser.addText("new\n");
  for (long c : colours(6, false)) EXPECT_EQ(c, 3);
  EXPECT_EQ(colours(1, false)[1], 3);
}

TEST_F(Browser, WrapsAtTheLastSpaceOrInsideLongWords) {
  browser.setAutoWrap(70, 2, ">");  // 10 characters of 7 pixels
  browser.addText("aaaa bbbb cccc   dddd");
  EXPECT_EQ(text(), ">>aaaa\n>>bbbb\n>>cccc\n>>dddd");
  browser.clear();
  browser.setAutoWrap(35, 0, nullptr);
  browser.addText("abcdefghij\nxy");
  browser.setAutoWrap(0, 0, nullptr);
  browser.addText(" more than thirty-five pixels");
  EXPECT_EQ(text(), "abcde\nfghij\nxy more than thirty-five pixels");
}

TEST_F(Browser, TextGoesOutToFiles) {
  browser.addText("one");
  browser.addElement(new FakeBreak);
  browser.addLineBreak(-1);
  view->setNewlinesInSelection(false);
  EXPECT_EQ(text(), "one\n") << "the fake break supplies the newline";
  view->setNewlinesInSelection(true);
  browser.addText("x\ty\n");
  char* name = tmp1name(".txt");
  ASSERT_TRUE(browser.saveText(name, "header"));
  std::stringstream got;
  got << std::ifstream(name).rdbuf();
  EXPECT_EQ(got.str(), "header\none\n\nx\ty\n");
  std::remove(name);
  gen_free(name);
  EXPECT_FALSE(browser.saveText("/nonexistent-dir/file", "h"));
  EXPECT_FALSE(browser.saveText(nullptr, "h"));
}

// A box whose height the test changes behind the store's back.
struct TallBox : ColorBox {
  TallBox() : ColorBox(0, 5, 13) {}
  void grow(int h) { height_ = h; }
};

TEST_F(Browser, BatchesLayOutOnceAndChangedElementsOnRequest) {
  EXPECT_EQ(view->getLineCount(), 0);
  browser.startBatch();
  browser.addText("a\nb\n");
  EXPECT_EQ(view->getLineCount(), 0) << "the view hears of the batch only at its end";
  browser.endBatch();
  EXPECT_EQ(view->getLineCount(), 2);
  browser.clear();
  auto* box = new TallBox;
  browser.addElement(box);
  browser.addText("\nb\n");
  EXPECT_EQ(view->getContentHeight(), 26);
  box->grow(30);
  EXPECT_EQ(view->getContentHeight(), 26) << "the layout is kept until told";
  browser.notifyElementChanged(box);
  EXPECT_EQ(view->getContentHeight(), 43);
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
  EXPECT_EQ(view->getFirstLine(), 11);
  EXPECT_EQ(view->getLastLine(), 15);
  EXPECT_EQ(view->getLineAt(0), 11);
  EXPECT_EQ(view->getLinePosition(12), 13);
  EXPECT_EQ(view->getLinePosition(kLines + 2), -1);
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
  // Directions that want Shift are offered to the listeners without it.
  view->setDirectionsUseShift(true);
  key(WKEY_DOWN);
  EXPECT_EQ(vscroll.getPosition(), 0);
  EXPECT_EQ(second.got.back(), WKEY_DOWN);
  key(WKEY_DOWN, WMOD_SHIFT);
  EXPECT_EQ(vscroll.getPosition(), 13);
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

TEST_F(View, ClicksCountUpToTheLimitAndReachLinks) {
  view->setMaxMouseClicks(2);
  mouse(WMOUSE_PRESS, 3, 4, 1, 3);
  EXPECT_EQ(view->getClicks(), 1) << "a third click counts as a first again";
  std::string got;
  browser.clear();
  browser.addText("see ");
  browser.addLink([](void* d, const char* t, int n) { *static_cast<std::string*>(d) = std::string(t, n); },
                  &got, "here");
  mouse(WMOUSE_PRESS, 30, 5);
  mouse(WMOUSE_RELEASE, 30, 5);
  EXPECT_EQ(got, "here");
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
  view->selectLines(1, 1);
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

// ---- scrolling -----------------------------------------------------------------------

// A scrollee with fixed answers that records the positions it was given.
struct FakeScrollee : Scrollee {
  long max = 1000, page = 100, line = 10, pix = 1, min = 0;
  bool visible = true;
  Scroller* v = nullptr;
  std::vector<long> got;
  void setHScroller(Scroller*) override {}
  void setVScroller(Scroller* s) override { v = s; }
  Scroller* getHScroller() override { return nullptr; }
  Scroller* getVScroller() override { return v; }
  void handleHScroll(long p) override { got.push_back(p); }
  void handleVScroll(long p) override { got.push_back(p); }
  bool getVisible(int) override { return visible; }
  long getMinScroll(int) override { return min; }
  long getMaxScroll(int) override { return max; }
  long getPixStep(int) override { return pix; }
  long getLineStep(int) override { return line; }
  long getPageStep(int) override { return page; }
};

TEST(Scrollers, CombineScrolleesAndGiveThemAllTheSameClampedPosition) {
  FakeScrollee a, b;
  a.max = 500, a.page = 80, a.line = 13, a.visible = false;
  b.max = 900, b.page = 120;
  {
    Scroller s(SCROLL_VERTICAL);
    a.setVScroller(&s);
    s.addScrollee(&a);
    s.addScrollee(&b);
    a.got.clear(), b.got.clear();
    EXPECT_TRUE(s.isVisible());
    EXPECT_EQ(s.getMaximum() * 1000 + s.getPageStep() * 10 + s.getLineStep(), 900810);
    s.setPosition(321);
    s.scrollByLines(2);
    s.scrollByPages(-1);
    s.scrollByPixes(5);
    s.scrollTo(266);  // already there: nothing
    s.setPosition(5000);
    EXPECT_EQ(a.got, (std::vector<long>{321, 341, 261, 266, 820}));  // maximum minus page
    EXPECT_EQ(b.got, a.got);
    b.max = 400;  // shrinking content pulls the position back
    s.reconfigure();
    EXPECT_EQ(s.getPosition(), 420);
    s.setPosition(-40);
    EXPECT_EQ(s.getPosition(), 0);
    s.removeScrollee(&b);
    EXPECT_FALSE(s.isVisible());
    a.pix = 7, a.min = 3;  // whole pixel steps from the minimum
    s.reconfigure();
    s.setPosition(20);
    EXPECT_EQ(s.getPosition(), 17);
    EXPECT_EQ(s.clampPosition(24), 24);
  }
  EXPECT_EQ(a.v, nullptr) << "the scroller detaches its scrollees when it goes";
}

TEST(Scrollers, ThumbSizeAndPlaceFollowTheRangeAndDraggingInvertsThem) {
  EXPECT_EQ(thumbGeometry(200, 10, 0, 1000, 100, 0).length, 20);
  EXPECT_EQ(thumbGeometry(200, 10, 0, 1000, 100, 900).offset, 180);
  EXPECT_EQ(thumbGeometry(200, 30, 0, 1000000, 100, 0).length, 30) << "never below the minimum";
  EXPECT_EQ(thumbGeometry(200, 10, 0, 50, 100, 0).length, 200) << "all visible";
  EXPECT_EQ(thumbGeometry(0, 10, 0, 1000, 100, 0).length, 0);
  for (long p : {0L, 120L, 450L, 900L}) {
    ThumbGeometry t = thumbGeometry(200, 10, 0, 1000, 100, p);
    EXPECT_NEAR(positionForThumb(200, 10, 0, 1000, 100, t.offset), p, 5) << p;
  }
  EXPECT_EQ(positionForThumb(200, 10, 0, 1000, 100, -50), 0);
  EXPECT_EQ(positionForThumb(200, 10, 0, 1000, 100, 5000), 900);
  EXPECT_EQ(positionForThumb(200, 10, 0, 50, 100, 30), 0);
}

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
}

}  // namespace
