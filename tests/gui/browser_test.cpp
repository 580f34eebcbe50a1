// The browser on a view without a window (fixed 7 x 13 character cells):
// how strings become elements and lines, margins and line breaks, boxes
// and bars, wrapping, recolouring with revert, and the text going out.
#include "gui/text/browser.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "base/gen.h"
#include "gui/core/pixels.h"
#include "gui/text/store_array.h"
#include "gui/text/textview.h"

namespace {

class BrowserTest : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    fg_pixel = 1, red_pixel = 2, control_pixel = 3, keyword_fg = 4, controlshadow_pixel = 5;
    view.reset(WTextView::makeWTextView(nullptr, DrawRect{0, 0, 300, 130}, "test"));
    browser = std::make_unique<SimpleBrowser>(view.get(), GetParam());
  }
  void TearDown() override {
    browser.reset();
    view.reset();
  }
  TextStore* store() { return browser->getStore(); }
  // The store as a compact description: T'text' for text, t for a tab,
  // B<w> for a box, L for a spanning bar, F for a fake break, | for a line end.
  std::string shape() {
    std::string s;
    for (TextReference r = store()->getFirstElement(); r; r = store()->getNextElement(r)) {
      if (store()->isLineEnd(r)) {
        s += "|";
        continue;
      }
      TextElement* e = store()->getElement(r);
      if (auto* t = dynamic_cast<ColorText*>(e)) s += "T'" + std::string(t->getText(), t->getLength()) + "'";
      else if (e->isTab()) s += "t";
      else if (e->isSpanner()) s += "L";
      else if (dynamic_cast<FakeBreak*>(e)) s += "F";
      else s += "B" + std::to_string(e->getWidth(view.get()));
    }
    return s;
  }
  std::string text() {
    char* t = browser->getText();
    std::string s = t;
    gen_free(t);
    return s;
  }
  // The colours of the elements of a line, in order (-2 for none).
  std::vector<long> colours(int line, bool foreground) {
    std::vector<long> out;
    int at = 1;
    for (TextReference r = store()->getFirstElement(); r; r = store()->getNextElement(r)) {
      if (store()->isLineEnd(r)) {
        at++;
        continue;
      }
      if (at == line) out.push_back(store()->getElement(r)->getColor(view.get(), foreground));
    }
    return out;
  }

  std::unique_ptr<WTextView> view;
  std::unique_ptr<SimpleBrowser> browser;
};

TEST_P(BrowserTest, SetsEightCharacterTabStops) { EXPECT_EQ(view->getTabStop(), 56); }

TEST_P(BrowserTest, TextBecomesMarginBoxAndRun) {
  browser->addText("abc");
  EXPECT_EQ(shape(), "B0T'abc'");
  EXPECT_FALSE(browser->isAtLineStart());
}

TEST_P(BrowserTest, NewlinesEndLinesAndEmptyLinesKeepTheirHeight) {
  browser->addText("a\n\nb\n");
  EXPECT_EQ(shape(), "B0T'a'|B0T''|B0T'b'|");
  EXPECT_EQ(view->getLineCount(), 3);
  EXPECT_EQ(view->getContentHeight(), 39) << "an empty line is as high as the font";
  EXPECT_TRUE(browser->isAtLineStart());
}

TEST_P(BrowserTest, TabsSplitRunsAndNeedNoEmptyTextBeforeANewline) {
  browser->addText("a\tb\n\t\n");
  EXPECT_EQ(shape(), "B0T'a'tT'b'|t|");
  EXPECT_EQ(text(), "a\tb\n\t\n");
}

TEST_P(BrowserTest, ZeroLengthAddsNothingAndNegativeMeansWholeString) {
  browser->addText("abc", 0);
  EXPECT_EQ(shape(), "");
  browser->addText("abcdef", -1);
  browser->addText("xyz", 2);
  EXPECT_EQ(text(), "abcdefxy");
}

TEST_P(BrowserTest, NullTextIsRejected) {
#ifdef NDEBUG
  browser->addText(nullptr);
  EXPECT_EQ(shape(), "");
#else
  EXPECT_DEATH(browser->addText(nullptr), "buf != \\(0L\\)");
#endif
}

TEST_P(BrowserTest, IdenticalTextsShareOneBuffer) {
  browser->addText("same\n");
  browser->addText("same\n");
  browser->addText("other\n");
  EXPECT_EQ(browser->getInternedCount(), 2);
  TextReference r = store()->getFirstElement();
  r = store()->getNextElement(r);
  auto* first = dynamic_cast<ColorText*>(store()->getElement(r));
  for (int i = 0; i < 3; i++) r = store()->getNextElement(r);
  auto* second = dynamic_cast<ColorText*>(store()->getElement(r));
  ASSERT_TRUE(first && second);
  EXPECT_EQ(first->getText(), second->getText());
  browser->clear();
  EXPECT_EQ(browser->getInternedCount(), 0);
  EXPECT_EQ(shape(), "");
  EXPECT_TRUE(browser->isAtLineStart());
}

TEST_P(BrowserTest, MarginBoxOnlyAtLineStart) {
  browser->setMargin(3);
  browser->setMargin(-5);  // ignored
  browser->addText("ab");
  browser->addText("cd\n");
  EXPECT_EQ(shape(), "B3T'ab'T'cd'|");
}

TEST_P(BrowserTest, ColoursOfTheTextKinds) {
  browser->addText("a");
  browser->addRedText("b");
  browser->addColoredText("c", 9, -1);
  browser->addLink(nullptr, nullptr, "d");
  EXPECT_EQ(colours(1, true), (std::vector<long>{-2, 1, 2, 9, 4}));
  long bg = static_cast<long>(view->getBackgroundPixel());
  EXPECT_EQ(colours(1, false), (std::vector<long>{bg, bg, bg, bg, bg}));
}

TEST_P(BrowserTest, BigTextUsesTheBigFont) {
  browser->addBigText("ab\n");
  EXPECT_EQ(view->getContentHeight(), 16);
  EXPECT_EQ(view->getPartialLineWidth(), 0);
  browser->addBigRedText("ab");
  EXPECT_EQ(view->getPartialLineWidth(), 18);
}

TEST_P(BrowserTest, LineBreakWithoutColourAddsNoBar) {
  browser->addText("a");
  browser->addLineBreak(-1);
  EXPECT_EQ(shape(), "B0T'a'B3|");
  browser->addText("b");
  browser->addLineBreak(7);
  EXPECT_EQ(shape(), "B0T'a'B3|B0T'b'B3L|");
  EXPECT_EQ(colours(2, false).back(), 7);
}

TEST_P(BrowserTest, ColouredLinesBoxesAndSplits) {
  browser->addColoredLine(5, -1, 1, false, true);
  EXPECT_EQ(shape(), "L|") << "a one-pixel bar on a line of its own";
  EXPECT_EQ(view->getContentHeight(), 10) << "a line is at least the minimum height";
  browser->addColoredLine(6, 2, 1, true, false);
  EXPECT_EQ(shape(), "L|B14");
  EXPECT_FALSE(browser->isAtLineStart());
  browser->addJustLineBreak();
  browser->addSplit();
  browser->addRedBar();
  browser->addRedSplit();
  EXPECT_EQ(shape(), "L|B14|L|LL|");
}

TEST_P(BrowserTest, RecolouringTouchesOnlyTheNamedLines) {
  for (int i = 1; i <= 6; i++) browser->addText("line\n");
  browser->changeBackgroundColor(3, 5, 42, true);
  for (int line = 1; line <= 6; line++) {
    bool inside = line >= 3 && line <= 5;
    for (long c : colours(line, false)) EXPECT_EQ(c == 42, inside) << "line " << line;
  }
}

TEST_P(BrowserTest, RevertRestoresSavedColours) {
  for (int i = 1; i <= 3; i++) browser->addText("line\n");
  std::vector<long> before = colours(2, false);
  browser->changeBackgroundColor(2, 2, 42, true);
  EXPECT_NE(colours(2, false), before);
  browser->revertColor(2, 2, false);
  EXPECT_EQ(colours(2, false), before);
  EXPECT_EQ(colours(1, false), before) << "other lines untouched";
}

TEST_P(BrowserTest, UnsavedChangeForgetsTheSavedColour) {
  browser->addText("line\n");
  browser->changeBackgroundColor(1, 1, 42, true);
  browser->changeBackgroundColor(1, 1, 43, false);
  browser->revertColor(1, 1, false);
  for (long c : colours(1, false)) EXPECT_EQ(c, 43);
}

TEST_P(BrowserTest, ForegroundChangeLeavesBoxesAlone) {
  browser->addText("a");
  browser->addColoredLine(8, 5, 5, false, false);
  browser->addLineBreak(-1);
  browser->changeForegroundColor(1, 1, 77, true);
  EXPECT_EQ(colours(1, true), (std::vector<long>{-2, 77, -2, -2}));
  EXPECT_EQ(colours(1, false)[2], 8);
  browser->revertColor(1, 1, true);
  EXPECT_EQ(colours(1, true)[1], 1);
  browser->clearReversions();
  browser->changeForegroundColor(1, 1, 78, false);
  browser->revertColor(1, 1, true);
  EXPECT_EQ(colours(1, true)[1], 78) << "nothing saved, nothing reverted";
}

TEST_P(BrowserTest, ReadOnlyBackgroundRecoloursAndAppliesToNewText) {
  browser->addText("a\n");
  browser->setReadOnlyBackground(true);
  for (long c : colours(1, false)) EXPECT_EQ(c, 3);
  browser->addText("b\n");
  for (long c : colours(2, false)) EXPECT_EQ(c, 3);
  browser->setReadOnlyBackground(false);
  for (long c : colours(2, false)) EXPECT_EQ(c, static_cast<long>(view->getBackgroundPixel()));
}

TEST_P(BrowserTest, WrapsAtTheLastSpaceAndIndents) {
  // 10 characters of 7 pixels fit in 70.
  browser->setAutoWrap(70, 2, ">");
  browser->addText("aaaa bbbb cccc   dddd");
  EXPECT_EQ(text(), ">>aaaa\n>>bbbb\n>>cccc\n>>dddd");
}

TEST_P(BrowserTest, WrapsLongWordsWhereTheyAre) {
  browser->setAutoWrap(35, 0, nullptr);
  browser->addText("abcdefghij\nxy");
  EXPECT_EQ(text(), "abcde\nfghij\nxy");
  browser->setAutoWrap(0, 0, nullptr);
  browser->addText(" more than thirty-five pixels");
  EXPECT_EQ(text(), "abcde\nfghij\nxy more than thirty-five pixels");
}

TEST_P(BrowserTest, GetTextOmitsNewlinesWhenFakeBreaksSupplyThem) {
  browser->addText("one");
  browser->addElement(new FakeBreak);
  browser->addLineBreak(-1);
  browser->addText("two");
  browser->addElement(new FakeBreak);
  browser->addLineBreak(-1);
  view->setNewlinesInSelection(false);
  EXPECT_EQ(text(), "one\ntwo\n");
  view->setNewlinesInSelection(true);
  EXPECT_EQ(text(), "one\n\ntwo\n\n");
}

TEST_P(BrowserTest, SaveTextWritesHeaderAndText) {
  browser->addText("x\ty\nz\n");
  char* name = tmp1name(".txt");
  ASSERT_TRUE(browser->saveText(name, "header"));
  std::ifstream in(name);
  std::stringstream got;
  got << in.rdbuf();
  EXPECT_EQ(got.str(), "header\nx\ty\nz\n");
  ASSERT_TRUE(browser->saveText(name, nullptr));
  std::ifstream again(name);
  std::stringstream got2;
  got2 << again.rdbuf();
  EXPECT_EQ(got2.str(), "x\ty\nz\n");
  std::remove(name);
  gen_free(name);
  EXPECT_FALSE(browser->saveText("/nonexistent-dir/file", "h"));
  EXPECT_FALSE(browser->saveText(nullptr, "h"));
}

TEST_P(BrowserTest, PrintWithoutAPrintCommandFails) {
  browser->addText("x\n");
  std::string path = gen_getenv("PATH", "");
  setenv("PATH", "/nonexistent", 1);
  EXPECT_FALSE(browser->printText("h"));
  setenv("PATH", path.c_str(), 1);
}

TEST_P(BrowserTest, BatchLaysOutOnce) {
  EXPECT_EQ(view->getLineCount(), 0);
  browser->startBatch();
  browser->addText("a\nb\n");
  EXPECT_EQ(view->getLineCount(), 0) << "the view hears of the batch only at its end";
  browser->endBatch();
  EXPECT_EQ(view->getLineCount(), 2);
}

// A box whose height the test changes behind the store's back.
struct TallBox : ColorBox {
  TallBox() : ColorBox(0, 5, 13) {}
  void grow(int h) { height_ = h; }
};

TEST_P(BrowserTest, NotifyElementChangedRelaysOut) {
  auto* box = new TallBox;
  browser->addElement(box);
  browser->addJustLineBreak();
  browser->addText("b\n");
  EXPECT_EQ(view->getContentHeight(), 26);
  box->grow(30);
  EXPECT_EQ(view->getContentHeight(), 26) << "the layout is kept until told";
  browser->notifyElementChanged(box);
  EXPECT_EQ(view->getContentHeight(), 43);
}

INSTANTIATE_TEST_SUITE_P(Stores, BrowserTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Array" : "Simple"; });

TEST(BrowserStoreKind, FlagChoosesTheStore) {
  std::unique_ptr<WTextView> view(WTextView::makeWTextView(nullptr, DrawRect{0, 0, 10, 10}, "v"));
  {
    SimpleBrowser b(view.get(), true);
    EXPECT_NE(dynamic_cast<ArrayStore*>(b.getStore()), nullptr);
    EXPECT_EQ(view->getTextStore(), b.getStore());
  }
  EXPECT_EQ(view->getTextStore(), nullptr) << "the browser detaches its store";
}

}  // namespace
