// Scrollers without a display: combining several scrollees, clamping and
// rounding positions, steps, and the thumb arithmetic of the scroll bar.
#include "gui/text/scroller.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A scrollee with fixed answers that records the positions it was given.
struct FakeScrollee : Scrollee {
  long max = 1000, page = 100, line = 10, pix = 1, min = 0;
  bool visible = true;
  Scroller* h = nullptr;
  Scroller* v = nullptr;
  std::vector<long> got;
  void setHScroller(Scroller* s) override { h = s; }
  void setVScroller(Scroller* s) override { v = s; }
  Scroller* getHScroller() override { return h; }
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

TEST(ScrollerTest, CombinesScrollees) {
  Scroller s(SCROLL_VERTICAL);
  FakeScrollee a, b;
  a.max = 500, a.page = 80, a.line = 13, a.visible = false;
  b.max = 900, b.page = 120, b.line = 10;
  s.addScrollee(&a);
  s.addScrollee(&b);
  EXPECT_TRUE(s.isVisible());
  EXPECT_EQ(s.getMaximum(), 900);
  EXPECT_EQ(s.getPageStep(), 80);
  EXPECT_EQ(s.getLineStep(), 10);
  EXPECT_EQ(s.getMinimum(), 0);
  s.removeScrollee(&b);
  EXPECT_FALSE(s.isVisible());
  EXPECT_EQ(s.getMaximum(), 500);
}

TEST(ScrollerTest, EveryScrolleeGetsTheSamePosition) {
  Scroller s(SCROLL_VERTICAL);
  FakeScrollee a, b, c;
  for (FakeScrollee* f : {&a, &b, &c}) s.addScrollee(f);
  a.got.clear(), b.got.clear(), c.got.clear();
  s.setPosition(321);
  s.scrollByLines(2);
  s.scrollByPages(-1);
  s.scrollByPixes(5);
  std::vector<long> expected{321, 341, 241, 246};
  EXPECT_EQ(a.got, expected);
  EXPECT_EQ(b.got, expected);
  EXPECT_EQ(c.got, expected);
}

TEST(ScrollerTest, ClampsToTheLastPageAndTheMinimum) {
  Scroller s(SCROLL_HORIZONTAL);
  FakeScrollee a;
  s.addScrollee(&a);
  s.setPosition(5000);
  EXPECT_EQ(s.getPosition(), 900) << "maximum minus page";
  s.setPosition(-40);
  EXPECT_EQ(s.getPosition(), 0);
  a.max = 50;  // content smaller than a page
  s.reconfigure();
  s.setPosition(30);
  EXPECT_EQ(s.getPosition(), 0);
}

TEST(ScrollerTest, RoundsDownToWholePixelSteps) {
  Scroller s(SCROLL_VERTICAL);
  FakeScrollee a;
  a.pix = 7, a.min = 3;
  s.addScrollee(&a);
  s.setPosition(20);
  EXPECT_EQ(s.getPosition(), 17);
  EXPECT_EQ(s.clampPosition(23), 17);
  EXPECT_EQ(s.clampPosition(24), 24);
}

TEST(ScrollerTest, ScrollToSkipsTheCurrentPosition) {
  Scroller s(SCROLL_VERTICAL);
  FakeScrollee a;
  s.addScrollee(&a);
  s.setPosition(100);
  a.got.clear();
  s.scrollTo(100);
  EXPECT_TRUE(a.got.empty());
  s.scrollTo(110);
  EXPECT_EQ(a.got, (std::vector<long>{110}));
}

TEST(ScrollerTest, ShrinkingContentPullsThePositionBack) {
  Scroller s(SCROLL_VERTICAL);
  FakeScrollee a;
  s.addScrollee(&a);
  s.setPosition(900);
  a.max = 400;
  s.reconfigure();
  EXPECT_EQ(s.getPosition(), 300);
  EXPECT_EQ(a.got.back(), 300);
}

TEST(ScrollerTest, DestroyingTheScrollerDetachesScrollees) {
  FakeScrollee a;
  {
    Scroller s(SCROLL_VERTICAL);
    a.setVScroller(&s);
    s.addScrollee(&a);
  }
  EXPECT_EQ(a.v, nullptr);
}

TEST(ThumbTest, SizeAndPositionFollowTheRange) {
  ThumbGeometry t = thumbGeometry(200, 10, 0, 1000, 100, 0);
  EXPECT_EQ(t.offset, 0);
  EXPECT_EQ(t.length, 20);
  t = thumbGeometry(200, 10, 0, 1000, 100, 900);
  EXPECT_EQ(t.offset, 180);
  t = thumbGeometry(200, 10, 0, 1000, 100, 450);
  EXPECT_EQ(t.offset, 90);
  EXPECT_EQ(thumbGeometry(200, 30, 0, 1000000, 100, 0).length, 30) << "never below the minimum";
  EXPECT_EQ(thumbGeometry(200, 10, 0, 50, 100, 0).length, 200) << "all visible";
  EXPECT_EQ(thumbGeometry(0, 10, 0, 1000, 100, 0).length, 0);
}

TEST(ThumbTest, DraggingTheThumbInvertsItsPlacement) {
  for (long p : {0L, 120L, 450L, 900L}) {
    ThumbGeometry t = thumbGeometry(200, 10, 0, 1000, 100, p);
    long back = positionForThumb(200, 10, 0, 1000, 100, t.offset);
    EXPECT_NEAR(back, p, 5) << p;
  }
  EXPECT_EQ(positionForThumb(200, 10, 0, 1000, 100, -50), 0);
  EXPECT_EQ(positionForThumb(200, 10, 0, 1000, 100, 5000), 900);
  EXPECT_EQ(positionForThumb(200, 10, 0, 50, 100, 30), 0);
}

}  // namespace
