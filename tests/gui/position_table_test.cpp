// The position table over stores of known shapes: line heights and tops,
// the zone and its limit, tabs and spanners, finding lines by y and
// elements by x, and keeping the layout right as the store changes.
#include "gui/text/position_table.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "gui/text/store_array.h"
#include "gui/text/store_simple.h"
#include "gui/text/text_elements.h"

namespace {

template <typename Store>
class TableTest : public ::testing::Test {
 protected:
  Store store;
  PositionTable table{&store, nullptr};
  // A line of text of the given font, ended by a line end.
  void line(const char* text, int font = 0) {
    store.insertText(new ColorText(1, 2, font, text, static_cast<int>(strlen(text))), nullptr);
    store.insertBreak(nullptr);
  }
};

using StoreTypes = ::testing::Types<SimpleTextStore, ArrayStore>;
TYPED_TEST_SUITE(TableTest, StoreTypes);

TYPED_TEST(TableTest, EmptyStoreHasNoLines) {
  EXPECT_EQ(this->table.getLineCount(), 0);
  EXPECT_EQ(this->table.getContentHeight(), 0);
  EXPECT_EQ(this->table.getLine(1), nullptr);
  EXPECT_EQ(this->table.getLineAt(0), 1) << "below the (empty) text";
  EXPECT_EQ(this->table.getLineAt(-1), 0);
}

TYPED_TEST(TableTest, LineHeightsAndTops) {
  this->line("a");
  this->line("big", 1);   // 16 high
  this->store.insertBreak(nullptr);  // an empty line: the minimum height
  this->line("c");
  EXPECT_EQ(this->table.getLineCount(), 4);
  EXPECT_EQ(this->table.getLineTop(1), 0);
  EXPECT_EQ(this->table.getLineTop(2), 13);
  EXPECT_EQ(this->table.getLineTop(3), 29);
  EXPECT_EQ(this->table.getLineTop(4), 39);
  EXPECT_EQ(this->table.getLineTop(5), 52) << "one past the end is the content height";
  EXPECT_EQ(this->table.getLineTop(6), -1);
  EXPECT_EQ(this->table.getContentHeight(), 52);
  this->table.setMinLineHeight(20);
  EXPECT_EQ(this->table.getContentHeight(), 80);
}

TYPED_TEST(TableTest, LastLineWithoutLineEndCounts) {
  this->line("a");
  this->store.insertText(new ColorText(1, 2, 0, "tail", 4), nullptr);
  EXPECT_EQ(this->table.getLineCount(), 2);
  const PositionTable::LinePos* last = this->table.getLine(2);
  ASSERT_NE(last, nullptr);
  EXPECT_EQ(last->end, nullptr);
  EXPECT_EQ(last->width, 28);
  EXPECT_EQ(this->table.getPartialLineWidth(), 28);
}

TYPED_TEST(TableTest, LineAtYFindsTheLineUnderIt) {
  for (int i = 0; i < 300; i++) this->line(i % 7 == 0 ? "big" : "x", i % 7 == 0 ? 1 : 0);
  for (int l : {1, 2, 7, 8, 64, 65, 66, 200, 300}) {
    long top = this->table.getLineTop(l);
    const PositionTable::LinePos* lp = this->table.getLine(l);
    ASSERT_NE(lp, nullptr);
    EXPECT_EQ(this->table.getLineAt(top), l);
    EXPECT_EQ(this->table.getLineAt(top + lp->height - 1), l);
  }
  EXPECT_EQ(this->table.getLineAt(this->table.getContentHeight()), 301);
}

TYPED_TEST(TableTest, ElementsAreLaidOutLeftToRightWithTabStops) {
  this->store.insertText(new ColorText(1, 2, 0, "ab", 2), nullptr);   // 0..14
  this->store.insertText(new ColorTab(2, 13), nullptr);               // 14..40
  this->store.insertText(new ColorText(1, 2, 0, "c", 1), nullptr);    // 40..47
  this->store.insertText(new ColorTab(2, 13), nullptr);               // 47..80
  this->store.insertText(new ColorLine(3, 13), nullptr);              // spanner at 80
  this->store.insertBreak(nullptr);
  const PositionTable::LinePos* lp = this->table.getLine(1);
  ASSERT_NE(lp, nullptr);
  ASSERT_EQ(lp->elements.size(), 5u);
  EXPECT_EQ(lp->elements[1].x, 14);
  EXPECT_EQ(lp->elements[1].width, 26);
  EXPECT_EQ(lp->elements[2].x, 40);
  EXPECT_EQ(lp->elements[3].width, 33);
  EXPECT_EQ(lp->firstSpanner, 4);
  EXPECT_EQ(PositionTable::elementAt(*lp, 0), 0);
  EXPECT_EQ(PositionTable::elementAt(*lp, 20), 1);
  EXPECT_EQ(PositionTable::elementAt(*lp, 46), 2);
  EXPECT_EQ(PositionTable::elementAt(*lp, 5000), 4) << "the spanner reaches the right edge";
  this->table.setTabWidth(10);
  lp = this->table.getLine(1);
  EXPECT_EQ(lp->elements[1].width, 6);
}

TYPED_TEST(TableTest, ElementAtPastTheEndOfAPlainLine) {
  this->line("abc");
  const PositionTable::LinePos* lp = this->table.getLine(1);
  EXPECT_EQ(PositionTable::elementAt(*lp, 20), 0);
  EXPECT_EQ(PositionTable::elementAt(*lp, 21), -1);
}

TYPED_TEST(TableTest, ZoneIsLimitedAndMovesWithTheWantedLine) {
  for (int i = 0; i < 500; i++) this->line("x");
  this->table.setZoneLimit(10);
  for (int l = 1; l <= 30; l++) ASSERT_NE(this->table.getLine(l), nullptr);
  EXPECT_EQ(this->table.getZoneSize(), 10);
  EXPECT_EQ(this->table.getZoneFirst(), 21);
  const PositionTable::LinePos* far = this->table.getLine(400);
  ASSERT_NE(far, nullptr);
  EXPECT_EQ(far->top, 399 * 13);
  EXPECT_EQ(this->table.getZoneFirst(), 400);
  EXPECT_EQ(this->table.getZoneSize(), 1);
  // Walking upwards extends the zone at its front.
  const PositionTable::LinePos* up = this->table.getLine(399);
  EXPECT_EQ(up->top, 398 * 13);
  EXPECT_EQ(this->table.getZoneFirst(), 399);
  this->table.setZoneLimit(3);
  EXPECT_EQ(this->table.getZoneFirst(), 399) << "refilled at the same first line";
  EXPECT_EQ(this->table.getLine(501), nullptr);
}

TYPED_TEST(TableTest, AppendingKeepsTheLayoutOfEarlierLines) {
  for (int i = 0; i < 200; i++) this->line("x");
  EXPECT_EQ(this->table.getLineCount(), 200);
  TextReference last = this->store.insertText(new ColorText(1, 2, 1, "big", 3), nullptr);
  this->table.handleAdded(last);
  EXPECT_EQ(this->table.getLineCount(), 201);
  EXPECT_EQ(this->table.getContentHeight(), 200 * 13 + 16);
  TextReference more = this->store.insertText(new ColorText(1, 2, 0, "y", 1), nullptr);
  this->table.handleAdded(more);
  EXPECT_EQ(this->table.getLineCount(), 201) << "appended to the unfinished last line";
  EXPECT_EQ(this->table.getLine(201)->elements.size(), 2u);
}

TYPED_TEST(TableTest, InsertingInsideTheZoneRelaysThatLine) {
  for (int i = 0; i < 5; i++) this->line("x");
  const PositionTable::LinePos* lp = this->table.getLine(3);
  ASSERT_NE(lp, nullptr);
  TextReference at = lp->elements[0].ref;
  TextReference added = this->store.insertText(new ColorText(1, 2, 1, "BIG", 3), at);
  this->table.handleAdded(added);
  EXPECT_EQ(this->table.getLine(3)->height, 16);
  EXPECT_EQ(this->table.getLine(3)->elements.size(), 2u);
  EXPECT_EQ(this->table.getLineTop(4), 2 * 13 + 16);
  EXPECT_EQ(this->table.getContentHeight(), 4 * 13 + 16);
}

TYPED_TEST(TableTest, RemovingALineEndMergesLines) {
  for (int i = 0; i < 4; i++) this->line("ab");
  const PositionTable::LinePos* lp = this->table.getLine(2);
  TextReference end = lp->end;
  TextReference previous = this->store.getPrevElement(end);
  this->store.removeText(end);
  this->table.handleRemoved(previous);
  EXPECT_EQ(this->table.getLineCount(), 3);
  EXPECT_EQ(this->table.getLine(2)->width, 28);
}

TYPED_TEST(TableTest, FindsReferencesOutsideTheZone) {
  for (int i = 0; i < 100; i++) this->line("ab");
  TextReference target = this->store.getPrevElement(this->store.getLastElement());
  this->table.getLine(1);
  int line = 0, x = -1;
  ASSERT_TRUE(this->table.findRef(target, &line, &x));
  EXPECT_EQ(line, 100);
  EXPECT_EQ(x, 0);
}

TEST(PositionTableScale, MillionLinesNeedOnlyTheirHeights) {
  ArrayStore store;
  for (int i = 0; i < 1000000; i++) {
    store.insertText(new ColorText(1, 2, 0, "line", 4), nullptr);
    store.insertBreak(nullptr);
  }
  PositionTable table(&store, nullptr);
  table.setZoneLimit(1000);
  EXPECT_EQ(table.getLineCount(), 1000000);
  const PositionTable::LinePos* last = table.getLine(1000000);
  ASSERT_NE(last, nullptr);
  EXPECT_EQ(last->top, 999999L * 13);
  EXPECT_EQ(table.getZoneSize(), 1) << "jumping lays out only the wanted line";
  EXPECT_EQ(table.getLineAt(999999L * 13 + 5), 1000000);
}

}  // namespace
