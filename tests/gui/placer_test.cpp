// The placer: rules read as data, edges derived from the rules before
// them, units and named sizes, guides, widgets moved on every resize,
// hidden widgets closing up, and bad rules reported.
#include <gtest/gtest.h>

#include "gui/core/fonts.h"
#include "gui/core/item.h"
#include "gui/core/placer.h"

namespace {

// Character and line units follow the display's font; these tests run
// without a display, so they give the font a size of their own.
class Placer : public ::testing::Test {
 protected:
  void SetUp() override {
    savedH = font_h, savedN = font_n;
    font_h = 15, font_n = 8;
  }
  void TearDown() override { font_h = savedH, font_n = savedN; }
  int savedH = 0, savedN = 0;
};

// A two-pane window: a bar on top, a guide at a named split, two panes
// beside it down to a status line.
const char* const kRules = R"(
# the bar across the top
bar.left = window.left
bar.top = window.top
bar.right = window.right
bar.height = $bar
split.left = $split
status.left = window.left + 4
status.right = window.right - 4
status.bottom = window.bottom
status.height = 2l
one.left = window.left + 4
one.top = bar.bottom + 2
one.right = split.left - 3
one.bottom = status.top
two.left = split.left + 3
two.top = one.top
two.right = window.right - 4
two.bottom = one.bottom
)";

TEST_F(Placer, ArrangesWidgetsFromRulesAndFollowsTheWindowSize) {
  WWindowedItem root(nullptr, DrawRect{0, 0, 10, 10}, 0);
  auto* one = new WWindowedItem(&root, DrawRect{0, 0, 1, 1}, 0);
  auto* two = new WWindowedItem(&root, DrawRect{0, 0, 1, 1}, 0);
  WPlacer p;
  ASSERT_TRUE(p.addRules(kRules));
  p.addWidget("one", one);
  p.addWidget("two", two);
  p.setSize("bar", 20);
  p.setSize("split", 300);
  p.place(800, 600);
  EXPECT_TRUE(p.problems().empty());
  int lines = 2 * font_h;
  EXPECT_EQ(lines, 30);
  EXPECT_EQ(p.rectOf("status").y, 600 - lines);
  DrawRect r1{one->getX(), one->getY(), one->getWidth(), one->getHeight()};
  EXPECT_EQ(r1.x, 4);
  EXPECT_EQ(r1.y, 22);
  EXPECT_EQ(r1.width, 293);
  EXPECT_EQ(r1.height, 600 - lines - 22);
  EXPECT_EQ(two->getX(), 303);
  EXPECT_EQ(two->getWidth(), 800 - 4 - 303);

  p.setSize("split", 500);
  p.place(1000, 700);
  EXPECT_EQ(one->getWidth(), 493);
  EXPECT_EQ(two->getX(), 503);
  EXPECT_EQ(two->getX() + two->getWidth(), 996);
  EXPECT_EQ(two->getY() + two->getHeight(), 700 - lines);
}

// Right-to-left chains close up over a hidden widget: it keeps its
// anchored edge and has no size.
TEST_F(Placer, HiddenWidgetsTakeNoRoom) {
  WWindowedItem root(nullptr, DrawRect{0, 0, 10, 10}, 0);
  auto* spin = new WWindowedItem(&root, DrawRect{0, 0, 1, 1}, 0);
  auto* name = new WWindowedItem(&root, DrawRect{0, 0, 1, 1}, 0);
  WPlacer p;
  ASSERT_TRUE(p.addRules("spin.right = window.right - 10\nspin.width = 3c\n"
                         "spin.top = window.top\nspin.height = 20\n"
                         "name.left = window.left\nname.right = spin.left - 5\n"
                         "name.top = window.top\nname.height = 20\n"));
  p.addWidget("spin", spin);
  p.addWidget("name", name);
  p.place(400, 100);
  EXPECT_EQ(name->getWidth(), 400 - 10 - 24 - 5);
  spin->hide();
  p.place(400, 100);
  EXPECT_EQ(name->getWidth(), 400 - 10 - 5);
  EXPECT_EQ(p.rectOf("spin").width, 0);
}

TEST_F(Placer, BadRulesAreReported) {
  WPlacer p;
  std::string bad;
  EXPECT_FALSE(p.addRules("a.left = window.left\na.middle = 4\n", &bad));
  EXPECT_EQ(bad, "a.middle = 4");
  for (const char* rule : {"a.left =", "a.left = b.left + c.left", "a.left = 4x",
                           "a.left = - b.left", "left = 4", "a.left = 4 + + 2"}) {
    WPlacer q;
    EXPECT_FALSE(q.addRules(rule, &bad)) << rule;
  }
  // An edge that no rule before gave cannot be used, nor an unknown size.
  WPlacer q;
  ASSERT_TRUE(q.addRules("a.left = b.right + 2\nc.top = $nothing\nd.left = window.right - 7\n"));
  q.place(100, 100);
  EXPECT_EQ(q.problems().size(), 2u);
  EXPECT_EQ(q.edgeOf("d", WPlacer::kLeft), 93);
}

}  // namespace
