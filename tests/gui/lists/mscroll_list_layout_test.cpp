// The column list's arithmetic without a display: hit-testing of columns
// and rows, selection moves at the ends and on empty lists, and keeping a
// row in view.
#include <gtest/gtest.h>

#include "gui/lists/mscroll_list_layout.h"
#include "gui/x11/event.h"

TEST(ListLayout, ColumnsByX) {
  std::vector<int> w{20, 100, 50};
  EXPECT_EQ(mslColumnAt(w, 0), 0);
  EXPECT_EQ(mslColumnAt(w, 19), 0);
  EXPECT_EQ(mslColumnAt(w, 20), 1);
  EXPECT_EQ(mslColumnAt(w, 169), 2);
  EXPECT_EQ(mslColumnAt(w, 5000), 2);  // beyond the last: the last
  EXPECT_EQ(mslColumnAt(w, -1), -1);
  EXPECT_EQ(mslColumnAt({}, 10), -1);
  EXPECT_EQ(mslColumnAt({0, -5, 10}, 3), 2);  // empty and bad widths take no room
  EXPECT_EQ(mslColumnLeft(w, 2), 120);
  EXPECT_EQ(mslColumnLeft(w, 9), 170);
}

TEST(ListLayout, RowsByY) {
  // Header of 18, rows of 18, scrolled down by two rows.
  EXPECT_EQ(mslRowAt(17, 18, 36, 18, 10), -1);  // on the header
  EXPECT_EQ(mslRowAt(18, 18, 36, 18, 10), 2);
  EXPECT_EQ(mslRowAt(35, 18, 36, 18, 10), 2);
  EXPECT_EQ(mslRowAt(36, 18, 36, 18, 10), 3);
  EXPECT_EQ(mslRowAt(18 + 8 * 18, 18, 36, 18, 10), -1);  // below the last row
  EXPECT_EQ(mslRowAt(5, 0, 0, 0, 10), -1);
  EXPECT_EQ(mslRowAt(5, 0, 0, 18, 0), -1);
}

TEST(ListLayout, SelectionMovesStayWithinTheRows) {
  EXPECT_EQ(mslMoveSelection(3, WKEY_UP, 10, 4), 2);
  EXPECT_EQ(mslMoveSelection(0, WKEY_UP, 10, 4), 0);
  EXPECT_EQ(mslMoveSelection(9, WKEY_DOWN, 10, 4), 9);
  EXPECT_EQ(mslMoveSelection(8, WKEY_PAGEDOWN, 10, 4), 9);
  EXPECT_EQ(mslMoveSelection(5, WKEY_PAGEUP, 10, 4), 1);
  EXPECT_EQ(mslMoveSelection(5, WKEY_PAGEUP, 10, 0), 4);  // a page is at least a row
  EXPECT_EQ(mslMoveSelection(5, WKEY_HOME, 10, 4), 0);
  EXPECT_EQ(mslMoveSelection(5, WKEY_END, 10, 4), 9);
  EXPECT_EQ(mslMoveSelection(-1, WKEY_DOWN, 10, 4), 0);
  EXPECT_EQ(mslMoveSelection(-1, WKEY_END, 10, 4), 9);
  EXPECT_EQ(mslMoveSelection(42, WKEY_UP, 10, 4), 0);  // a stale selection restarts
  EXPECT_EQ(mslMoveSelection(-1, WKEY_DOWN, 0, 4), -1);
  EXPECT_EQ(mslMoveSelection(5, 'x', 10, 4), 5);
  EXPECT_FALSE(mslIsMoveKey(WKEY_LEFT));
  EXPECT_TRUE(mslIsMoveKey(WKEY_PAGEDOWN));
}

TEST(ListLayout, TheTopMovesOnlyAsFarAsNeeded) {
  // Rows of 10 in a body of 45: four whole rows show.
  EXPECT_EQ(mslTopShowing(0, 2, 10, 45), 0);
  EXPECT_EQ(mslTopShowing(0, 4, 10, 45), 10);
  EXPECT_EQ(mslTopShowing(50, 3, 10, 45), 30);
  EXPECT_EQ(mslTopShowing(50, 7, 10, 45), 50);
  EXPECT_EQ(mslTopShowing(50, 9, 10, 45), 60);
  EXPECT_EQ(mslTopShowing(50, -1, 10, 45), 50);
  EXPECT_EQ(mslTopShowing(0, 5, 10, 3), 50);  // a body smaller than a row
}
