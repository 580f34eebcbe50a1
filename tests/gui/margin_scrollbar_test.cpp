// The selection margin and the scroll bar without a display: margin clicks
// and drags select whole lines of the text view; presses on the bar page,
// drag the thumb, jump and step with the wheel.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "base/gen.h"
#include "gui/text/browser.h"
#include "gui/text/scroll_bar.h"
#include "gui/text/selection_margin.h"
#include "gui/text/textview.h"

namespace {

class MarginTest : public ::testing::Test {
 protected:
  void SetUp() override {
    text.reset(WTextView::makeWTextView(nullptr, DrawRect{0, 0, 200, 130}, "text"));
    numbers.reset(WTextView::makeWTextView(nullptr, DrawRect{0, 0, 40, 130}, "numbers"));
    textBrowser = std::make_unique<SimpleBrowser>(text.get(), true);
    numberBrowser = std::make_unique<SimpleBrowser>(numbers.get(), true);
    for (int i = 1; i <= 6; i++) {
      textBrowser->addText(("text" + std::to_string(i) + "\n").c_str());
      numberBrowser->addText((std::to_string(i) + "\n").c_str());
    }
    numbers->disableSelection();
    margin = std::make_unique<SelectionMargin>(text.get(), numbers.get());
  }
  void TearDown() override {
    margin.reset();
    textBrowser.reset();
    numberBrowser.reset();
    text.reset();
    numbers.reset();
  }
  void mouse(int action, int y, int button) {
    xinLibSt e;
    e.type = WEV_MOUSE;
    e.code = action;
    e.x = 20, e.y = y, e.button = button, e.clicks = 1;
    numbers->EventParse(&e);
  }
  std::string selection() {
    char* s = text->getSelection();
    std::string out = s ? s : "<none>";
    gen_free(s);
    return out;
  }
  std::unique_ptr<WTextView> text, numbers;
  std::unique_ptr<SimpleBrowser> textBrowser, numberBrowser;
  std::unique_ptr<SelectionMargin> margin;
};

TEST_F(MarginTest, ClickSelectsTheLineBeside) {
  mouse(WMOUSE_PRESS, 13 * 2 + 4, 1);
  EXPECT_EQ(selection(), "text3\n");
  mouse(WMOUSE_RELEASE, 13 * 2 + 4, 1);
  EXPECT_EQ(selection(), "text3\n");
}

TEST_F(MarginTest, DraggingExtendsByWholeLines) {
  mouse(WMOUSE_PRESS, 13 * 1 + 2, 1);
  mouse(WMOUSE_MOTION, 13 * 3 + 5, 0);
  mouse(WMOUSE_RELEASE, 13 * 3 + 5, 1);
  EXPECT_EQ(selection(), "text2\ntext3\ntext4\n");
}

TEST_F(MarginTest, ClickBelowTheTextSelectsNothing) {
  mouse(WMOUSE_PRESS, 13 * 8, 1);
  EXPECT_EQ(selection(), "<none>");
}

TEST_F(MarginTest, OtherEventsStayWithTheMargin) {
  xinLibSt key;
  key.type = WEV_KEY;
  key.code = WKEY_ESCAPE;
  EXPECT_FALSE(SelectionMargin::stealEventHandler(&key, numbers.get()));
  SelectionMargin self(text.get(), text.get());
  EXPECT_FALSE(self.handleStolenEvent(&key));
}

class ScrollBarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    view.reset(WTextView::makeWTextView(nullptr, DrawRect{0, 0, 100, 100}, "v"));
    browser = std::make_unique<SimpleBrowser>(view.get(), true);
    view->setMinLineHeight(1);
    view->setScrollLineHeight(10);
    for (int i = 0; i < 100; i++) browser->addText("x\n");  // 1300 pixels
    view->setVScroller(&bar);
  }
  void TearDown() override {
    view->setVScroller(nullptr);
    browser.reset();
    view.reset();
  }
  WScrollBar bar{nullptr, DrawRect{0, 0, 14, 200}, SCROLL_VERTICAL};
  std::unique_ptr<WTextView> view;
  std::unique_ptr<SimpleBrowser> browser;
};

TEST_F(ScrollBarTest, PressesBesideTheThumbPage) {
  EXPECT_EQ(bar.getMaximum(), 1300);
  ThumbGeometry t = bar.thumb();
  EXPECT_EQ(t.offset, 0);
  EXPECT_EQ(t.length, 15);
  bar.pressAt(150, 1);
  bar.release();
  EXPECT_EQ(bar.getPosition(), 100);
  EXPECT_EQ(view->getScrollY(), 100);
  bar.pressAt(0, 1);
  bar.release();
  EXPECT_EQ(bar.getPosition(), 0);
}

TEST_F(ScrollBarTest, DraggingTheThumbFollowsThePointer) {
  bar.pressAt(5, 1);  // on the thumb, 5 pixels into it
  bar.dragTo(5 + 185);
  EXPECT_EQ(bar.getPosition(), 1200) << "thumb at the end: the last page";
  bar.dragTo(5 + 92);
  EXPECT_NEAR(bar.getPosition(), 600, 10);
  bar.release();
  long p = bar.getPosition();
  bar.dragTo(0);
  EXPECT_EQ(bar.getPosition(), p) << "no drag after the release";
}

TEST_F(ScrollBarTest, MiddleButtonJumpsAndWheelSteps) {
  bar.pressAt(100, 2);
  bar.release();
  EXPECT_NEAR(bar.getPosition(), 600, 20);
  long p = bar.getPosition();
  bar.pressAt(0, 5);
  EXPECT_EQ(bar.getPosition(), p + 30);
  bar.pressAt(0, 4);
  EXPECT_EQ(bar.getPosition(), p);
}

}  // namespace
