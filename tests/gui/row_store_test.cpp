// The on-demand row store: a million rows are measured and found without
// building any, only the rows looked at are built, the cache stays
// bounded, positions walk across rows both ways, and changed rows are
// rebuilt and announced.
#include <gtest/gtest.h>

#include <memory>

#include "gui/text/position_table.h"
#include "gui/text/row_store.h"
#include "text_test_util.h"

namespace {

// Row n has n % 3 + 1 elements and is 10 pixels high, 3 for every tenth.
struct CountingSource : RowSource {
  int rows = 1000000;
  int built = 0;
  int deaths = 0;
  int generation = 0;  // bumped when the owner changes what rows show
  int rowCount() override { return rows; }
  int rowHeight(int row) override { return row % 10 == 0 ? 3 : 10; }
  void buildRow(int row, RowContents& out) override {
    built++;
    out.text = std::to_string(generation);
    for (int i = 0; i <= row % 3; i++)
      out.elements.push_back(std::make_unique<CountedElement>(&deaths, rowHeight(row)));
  }
};

long heightOfRows(int rows) {
  long h = 0;
  for (int r = 1; r <= rows; r++) h += r % 10 == 0 ? 3 : 10;
  return h;
}

TEST(RowStore, MeasuringAMillionRowsBuildsNone) {
  CountingSource source;
  RowStore store(&source);
  PositionTable table(&store, nullptr);
  table.setMinLineHeight(1);
  EXPECT_EQ(table.getLineCount(), source.rows);
  EXPECT_EQ(table.getContentHeight(), heightOfRows(source.rows));
  EXPECT_EQ(table.getLineTop(500001), heightOfRows(500000));
  EXPECT_EQ(table.getLineAt(heightOfRows(777776) + 1), 777777);
  EXPECT_EQ(source.built, 0);
  // Laying out one row builds that row alone.
  const PositionTable::LinePos* line = table.getLine(654321);
  ASSERT_NE(line, nullptr);
  EXPECT_EQ(line->elements.size(), static_cast<size_t>(654321 % 3 + 1));
  EXPECT_EQ(line->height, 10);
  EXPECT_LE(source.built, 2);

  // A restyled row keeps every height: only laid-out rows are dropped, and
  // the measure of the whole text stands.
  TextReference shown = line->first;
  int zone = table.getZoneSize();
  ASSERT_GT(zone, 0);
  table.handleChanged(store.getFirstElement());
  EXPECT_TRUE(table.isComplete());
  EXPECT_EQ(table.getZoneSize(), zone);
  table.handleChanged(shown);
  EXPECT_TRUE(table.isComplete());
  EXPECT_LT(table.getZoneSize(), zone);
  EXPECT_EQ(table.getContentHeight(), heightOfRows(source.rows));
}

TEST(RowStore, PositionsWalkAcrossRowsBothWays) {
  CountingSource source;
  source.rows = 4;
  RowStore store(&source);
  std::string shape, back;
  for (TextReference r = store.getFirstElement(); r; r = store.getNextElement(r))
    shape += store.isLineEnd(r) ? "|" : "e";
  for (TextReference r = store.getLastElement(); r; r = store.getPrevElement(r))
    back += store.isLineEnd(r) ? "|" : "e";
  EXPECT_EQ(shape, "ee|eee|e|ee|");
  EXPECT_EQ(back, std::string(shape.rbegin(), shape.rend()));
  // The store is read-only: inserted elements are refused and deleted.
  EXPECT_EQ(store.insertText(new CountedElement(&source.deaths), nullptr), nullptr);
  EXPECT_EQ(source.deaths, 1);
}

TEST(RowStore, CacheStaysBoundedAndChangedRowsAreRebuiltAndAnnounced) {
  CountingSource source;
  RowStore store(&source, 100);
  RecordingListener listener;
  store.addTextChangeListener(&listener);
  PositionTable table(&store, nullptr);
  for (int row = 1; row <= 5000; row += 7) ASSERT_NE(table.getLine(row), nullptr);
  EXPECT_LE(store.builtRows(), 100);
  EXPECT_GT(source.deaths, 0);  // rows that left the cache were let go

  store.getElement(store.getFirstElement());
  int built = source.built;
  store.getElement(store.getFirstElement());
  EXPECT_EQ(source.built, built);  // cached
  source.generation++;
  store.rowsChanged(1, 3);
  ASSERT_FALSE(listener.heard.empty());
  EXPECT_EQ(listener.heard.back(), "changed");
  EXPECT_EQ(listener.refs.back(), store.getFirstElement());
  store.getElement(store.getFirstElement());
  EXPECT_EQ(source.built, built + 1);
  store.reset();
  EXPECT_EQ(listener.heard.back(), "change");
  EXPECT_EQ(store.builtRows(), 0);
  store.removeTextChangeListener(&listener);
}

}  // namespace
