// Splitter bars: the clamping rules without a display, then dragging real
// bars with the mouse between their limits, the move callback, the even
// split and centring, the resize cursor and dimmed bars.
#include "controls_util.h"
#include "gui/widgets/splitter.h"

namespace {

using Splitters = ControlsTest;

TEST(SplitterRules, ClampKeepsTheMinimumsAndEvenSplitsHalve) {
  // Area [0, 400), bar 6 wide, 100 pixels kept on each side: 100..294.
  EXPECT_EQ(splitter_clamp(150, 0, 400, 6, 100, 100), 150);
  EXPECT_EQ(splitter_clamp(20, 0, 400, 6, 100, 100), 100);
  EXPECT_EQ(splitter_clamp(390, 0, 400, 6, 100, 100), 294);
  EXPECT_EQ(splitter_clamp(-5000, 50, 400, 6, 0, 0), 50);
  // No room for both minimums: the even split, inside the area.
  EXPECT_EQ(splitter_clamp(10, 0, 100, 6, 100, 100), 47);
  EXPECT_EQ(splitter_even(0, 400, 6), 197);
  EXPECT_EQ(splitter_even(30, 230, 6), 127);
}

int moves;
int lastPosition;

void recordMove(WSplitter* s) {
  moves++;
  lastPosition = s->position();
}

WSplitter* verticalBar(ColWind* w) {
  auto* s = new WSplitter(w, DrawRect{150, 0, WSplitter::kThickness, 200}, WSplitter::kVerticalBar);
  s->setArea(0, 400);
  s->setMinimums(100, 100);
  s->setCallback(recordMove);
  moves = 0, lastPosition = -1;
  return s;
}

TEST_F(Splitters, DraggingMovesTheBarWithinItsLimitsAndCallsBack) {
  ColWind* w = openWindow("split", 400, 200);
  WSplitter* s = verticalBar(w);
  EXPECT_EQ(s->position(), 150);
  XSync(xstate().display, False);
  std::string win = controls::id(w);
  ASSERT_EQ(xdotool({"mousemove", "--window", controls::id(s), "3", "100", "mousedown", "1"}), 0);
  ASSERT_TRUE(waitFor([&] { return s->isDragging(); }));
  ASSERT_EQ(xdotool({"mousemove", "--window", win, "250", "100"}), 0);
  ASSERT_TRUE(waitFor([&] { return s->position() == 247; }));  // grabbed 3 pixels in
  EXPECT_EQ(lastPosition, 247);
  ASSERT_EQ(xdotool({"mousemove", "--window", win, "390", "100"}), 0);
  ASSERT_TRUE(waitFor([&] { return s->position() == 294; }));  // 100 kept on the right
  ASSERT_EQ(xdotool({"mousemove", "--window", win, "5", "100", "mouseup", "1"}), 0);
  ASSERT_TRUE(waitFor([&] { return !s->isDragging(); }));
  EXPECT_EQ(s->position(), 100);  // and on the left
  EXPECT_EQ(lastPosition, 100);
  EXPECT_GE(moves, 3);
  // The window really moved.
  XWindowAttributes a;
  XSync(xstate().display, False);
  ASSERT_TRUE(XGetWindowAttributes(otherDisplay(), s->getWindow(), &a));
  EXPECT_EQ(a.x, 100);
}

TEST_F(Splitters, HorizontalBarDragsUpAndDown) {
  ColWind* w = openWindow("split", 300, 250);
  auto* s = new WSplitter(w, DrawRect{0, 120, 300, WSplitter::kThickness}, WSplitter::kHorizontalBar);
  s->setArea(30, 230);
  s->setMinimums(40, 50);
  s->setCallback(recordMove);
  moves = 0;
  EXPECT_EQ(s->minPosition(), 70);
  EXPECT_EQ(s->maxPosition(), 174);
  XSync(xstate().display, False);
  ASSERT_EQ(xdotool({"mousemove", "--window", controls::id(s), "150", "2", "mousedown", "1",
                     "mousemove", "--window", controls::id(w), "150", "10", "mouseup", "1"}),
            0);
  ASSERT_TRUE(waitFor([&] { return s->position() == 70 && !s->isDragging(); }));
  EXPECT_GT(moves, 0);
}

TEST_F(Splitters, EvenSplitCentreAndNoCallbackForProgramMoves) {
  ColWind* w = openWindow("split", 400, 200);
  WSplitter* s = verticalBar(w);
  s->splitEvenly();
  EXPECT_EQ(s->position(), 197);
  s->setMinimums(100, 200);  // now 100..194: the bar is pulled in
  EXPECT_EQ(s->position(), 194);
  s->centre();
  EXPECT_EQ(s->position(), 147);
  s->splitEvenly();  // 197 is beyond the limit
  EXPECT_EQ(s->position(), 194);
  s->setPosition(-50);
  EXPECT_EQ(s->position(), 100);
  EXPECT_EQ(moves, 0);
  s->setArea(0, 100);  // too small for both sides: even split
  EXPECT_EQ(s->position(), 47);
}

TEST_F(Splitters, DimmedBarsDoNotMove) {
  ColWind* w = openWindow("split", 400, 200);
  WSplitter* s = verticalBar(w);
  s->setDimmed(true);
  XSync(xstate().display, False);
  ASSERT_EQ(xdotool({"mousemove", "--window", controls::id(s), "3", "100", "mousedown", "1",
                     "mousemove", "--window", controls::id(w), "250", "100", "mouseup", "1"}),
            0);
  settle(150);
  EXPECT_EQ(s->position(), 150);
  EXPECT_EQ(moves, 0);
}

TEST_F(Splitters, ACallbackMayDeleteTheBar) {
  ColWind* w = openWindow("split", 400, 200);
  WSplitter* s = verticalBar(w);
  s->setCallback([](WSplitter* bar) { delete bar; });
  XSync(xstate().display, False);
  ASSERT_EQ(xdotool({"mousemove", "--window", controls::id(s), "3", "100", "mousedown", "1",
                     "mousemove", "--window", controls::id(w), "250", "100", "mouseup", "1"}),
            0);
  ASSERT_TRUE(waitFor([&] { return w->getChildren().empty(); }));
  settle(50);
}

}  // namespace
