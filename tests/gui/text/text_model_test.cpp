// The text model without a display: both stores (positions, insertion,
// listeners, batches, who deletes a removed element), the elements
// (measuring, splitting, the text under a slice, what they paint), the
// position table over stores of known shapes, and the on-demand row store.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "gui/core/pixels.h"
#include "gui/text/position_table.h"
#include "gui/text/row_store.h"
#include "gui/text/store_array.h"
#include "gui/text/store_simple.h"
#include "gui/text/text_elements.h"
#include "text_test_util.h"

namespace {

template <typename Store>
class Stores : public ::testing::Test {
 protected:
  RecordingListener listener;  // outlives the store, which says goodbye
  int deaths = 0;
  Store store;
  TextReference add(TextReference before = nullptr) {
    return store.insertText(new CountedElement(&deaths), before);
  }
};

using StoreTypes = ::testing::Types<SimpleTextStore, ArrayStore>;
TYPED_TEST_SUITE(Stores, StoreTypes);

TYPED_TEST(Stores, InsertBeforeAReferenceAndWalkBothWays) {
  EXPECT_EQ(this->store.getElement(nullptr), nullptr);
  this->add();
  TextReference br = this->store.insertBreak(nullptr);
  EXPECT_TRUE(this->store.isLineEnd(br));
  EXPECT_EQ(this->store.getElement(br), nullptr);
  TextReference c = this->add();
  EXPECT_NE(this->store.getElement(c), nullptr);
  this->store.insertBreak(c);  // before c
  this->add(this->store.getFirstElement());
  EXPECT_EQ(shapeOf(this->store), "ee||e");
  EXPECT_EQ(shapeBackwards(this->store), "ee||e");
}

TYPED_TEST(Stores, ListenersHearEachChangeOnceAndABatchAsOne) {
  RecordingListener second;
  this->store.addTextChangeListener(&this->listener);
  this->store.addTextChangeListener(&this->listener);  // a set: still once
  this->store.addTextChangeListener(&second);
  this->store.changeText(this->add());
  EXPECT_EQ(this->listener.heard, (std::vector<std::string>{"added", "changed"}));
  EXPECT_EQ(second.heard, this->listener.heard);
  this->store.removeTextChangeListener(&second);
  this->listener.heard.clear();
  this->store.suppressNotification();
  this->store.allowNotification();  // a batch without changes says nothing
  this->store.suppressNotification();
  this->store.suppressNotification();
  for (int i = 0; i < 5; i++) this->add();
  this->store.allowNotification();
  EXPECT_TRUE(this->listener.heard.empty()) << "still inside the outer batch";
  this->store.allowNotification();
  this->add();
  EXPECT_EQ(this->listener.heard, (std::vector<std::string>{"change", "added"}));
  EXPECT_EQ(second.heard.size(), 2u);
  auto gone = std::make_unique<TypeParam>();
  gone->addTextChangeListener(&second);
  gone.reset();
  EXPECT_EQ(second.heard.back(), "disconnect");
}

// The simple store leaves a removed element to the caller; the array
// store deletes it.  Clearing deletes them all.
TYPED_TEST(Stores, RemovalAndClearing) {
  TextReference a = this->add();
  auto* el = new CountedElement(&this->deaths);
  TextReference b = this->store.insertText(el, nullptr);
  this->store.insertBreak(nullptr);
  this->store.addTextChangeListener(&this->listener);
  this->store.removeText(b);
  bool simple = std::is_same_v<TypeParam, SimpleTextStore>;
  EXPECT_EQ(this->deaths, simple ? 0 : 1);
  if (simple) delete el;
  EXPECT_EQ(shapeOf(this->store), "e|");
  ASSERT_EQ(this->listener.previous.size(), 1u);
  EXPECT_EQ(this->listener.previous[0], a);
  this->listener.heard.clear();
  this->store.clearText();
  EXPECT_EQ(this->deaths, 2);
  EXPECT_EQ(this->store.getFirstElement(), nullptr);
  EXPECT_EQ(this->listener.heard, simple ? std::vector<std::string>(2, "removed")
                                         : std::vector<std::string>{"change"});
}

std::string raw(TextElement& e, int first, int width) {
  const char* t;
  int n;
  e.getRawText(nullptr, first, width, &t, &n);
  return std::string(t, n);
}

TEST(Elements, TextIsMeasuredAndSplitByCharacterAndWord) {
  ColorText t(1, 2, 0, "hello", 5), big(1, 2, 1, "ab", 2), empty(1, 2, 0, "", 0);
  EXPECT_EQ(t.getWidth(nullptr), 35);
  EXPECT_EQ(big.getWidth(nullptr), 18);
  EXPECT_EQ(empty.getHeight(nullptr), 13);  // an empty text keeps the line's height
  EXPECT_EQ(t.findCharacterSplit(nullptr, 13), 7);
  EXPECT_EQ(t.findCharacterSplit(nullptr, 14), 14);
  EXPECT_EQ(t.findCharacterSplit(nullptr, 500), 28);
  EXPECT_EQ(t.findCharPosition(nullptr, 99), 35);
  EXPECT_EQ(raw(t, 8, 14), "ll") << "'e' starts before the slice";
  EXPECT_EQ(raw(t, 0, TextElement::kWholeWidth), "hello");
  ColorText accent(1, 2, 0, "a\xc3\xa9z", 4);  // three cells, never split inside
  EXPECT_EQ(accent.getWidth(nullptr), 21);
  EXPECT_EQ(raw(accent, 7, 7), "\xc3\xa9");
  ColorText words(1, 2, 0, "foo_1 + bar", 11);
  EXPECT_EQ(words.findWordSplit(nullptr, 10, true), 0);
  EXPECT_EQ(words.findWordSplit(nullptr, 10, false), 35);
  EXPECT_EQ(words.findWordSplit(nullptr, 43, true), 42);  // '+' is a run of its own
  EXPECT_EQ(words.findWordSplit(nullptr, 43, false), 49);
}

TEST(Elements, EachKindPaintsItsSliceInItsColours) {
  select_pixel = 50, selectreverse_pixel = 51;
  ColorText t(1, 2, 0, "hello", 5);
  RecordingPainter p, sel;
  t.paintPortion(nullptr, &p, 100, 20, 7, 14, false);
  EXPECT_EQ(p.calls, (std::vector<std::string>{"rect 100 20 14 13 #2", "text 100 30 f0 'el' #1"}));
  t.paintPortion(nullptr, &sel, 100, 20, 10, 10, true);
  EXPECT_EQ(sel.calls, (std::vector<std::string>{"rect 100 20 10 13 #50", "text 97 30 f0 'el' #51"}));
  ASSERT_EQ(sel.clips.size(), 1u);
  EXPECT_EQ(sel.clips[0].width, 10);
  HyperLink link(4, 2, 0, "link", 4, nullptr, nullptr);
  RecordingPainter l, box, bar;
  link.paintPortion(nullptr, &l, 0, 0, 0, 28, false);
  EXPECT_EQ(l.only("line"), (std::vector<std::string>{"line 0 11 27 11 #4"}));  // underlined
  ColorBox b(7, 12, 5);
  b.changeColor(nullptr, 3, true);  // a box has no foreground
  b.paintPortion(nullptr, &box, 1, 2, 0, 12, false);
  EXPECT_EQ(box.calls, (std::vector<std::string>{"rect 1 2 12 5 #7"}));
  ColorLine spanner(6, 1);  // ignores the selection
  spanner.paintPortion(nullptr, &bar, 0, 4, 0, 300, true);
  EXPECT_EQ(bar.calls, (std::vector<std::string>{"rect 0 4 300 1 #6"}));
  EXPECT_EQ(raw(*std::make_unique<FakeBreak>(), 0, 0), "\n");
}

template <typename Store>
class Table : public ::testing::Test {
 protected:
  Store store;
  PositionTable table{&store, nullptr};
  void line(const char* text, int font = 0) {
    store.insertText(new ColorText(1, 2, font, text, static_cast<int>(strlen(text))), nullptr);
    store.insertBreak(nullptr);
  }
};
TYPED_TEST_SUITE(Table, StoreTypes);

TYPED_TEST(Table, LinesStackByTheirHeightsAndAreFoundByY) {
  TypeParam none;
  PositionTable empty(&none, nullptr);
  EXPECT_EQ(empty.getLine(1), nullptr);
  EXPECT_EQ(empty.getLineAt(-1), 0);
  this->line("a");
  this->line("big", 1);              // 16 high
  this->store.insertBreak(nullptr);  // an empty line: the minimum height
  this->store.insertText(new ColorText(1, 2, 0, "tail", 4), nullptr);  // no line end
  std::vector<long> tops;
  for (int l = 1; l <= 6; l++) tops.push_back(this->table.getLineTop(l));
  EXPECT_EQ(tops, (std::vector<long>{0, 13, 29, 39, 52, -1}));
  EXPECT_EQ(this->table.getPartialLineWidth(), 28);
  this->table.setMinLineHeight(20);
  EXPECT_EQ(this->table.getContentHeight(), 80);
  for (int i = 0; i < 300; i++) this->line(i % 7 ? "x" : "big", i % 7 ? 0 : 1);
  PositionTable longer(&this->store, nullptr);
  for (int l : {2, 7, 64, 65, 200, 303}) {
    const PositionTable::LinePos* lp = longer.getLine(l);
    ASSERT_NE(lp, nullptr);
    EXPECT_EQ(longer.getLineAt(lp->top), l);
    EXPECT_EQ(longer.getLineAt(lp->top + lp->height - 1), l);
  }
  EXPECT_EQ(longer.getLineAt(longer.getContentHeight()), 304);
}

TYPED_TEST(Table, ElementsAreLaidOutWithTabStopsAndFoundByX) {
  this->store.insertText(new ColorText(1, 2, 0, "ab", 2), nullptr);  // 0..14
  this->store.insertText(new ColorTab(2, 13), nullptr);              // 14..40
  this->store.insertText(new ColorText(1, 2, 0, "c", 1), nullptr);   // 40..47
  this->store.insertText(new ColorLine(3, 13), nullptr);             // spanner at 47
  this->store.insertBreak(nullptr);
  const PositionTable::LinePos* lp = this->table.getLine(1);
  ASSERT_NE(lp, nullptr);
  EXPECT_EQ(lp->elements[1].width, 26);
  EXPECT_EQ(lp->elements[2].x, 40);
  EXPECT_EQ(lp->firstSpanner, 3);
  EXPECT_EQ(PositionTable::elementAt(*lp, 20), 1);
  EXPECT_EQ(PositionTable::elementAt(*lp, 5000), 3) << "the spanner reaches the right edge";
  this->table.setTabWidth(10);
  EXPECT_EQ(this->table.getLine(1)->elements[1].width, 6);
  this->line("abc");
  EXPECT_EQ(PositionTable::elementAt(*this->table.getLine(2), 21), -1);  // past a plain line
}

TYPED_TEST(Table, TheZoneIsLimitedAndAnInsertionRelaysItsLine) {
  for (int i = 0; i < 500; i++) this->line("ab");
  this->table.setZoneLimit(10);
  for (int l = 1; l <= 30; l++) ASSERT_NE(this->table.getLine(l), nullptr);
  EXPECT_EQ(this->table.getZoneSize(), 10);
  EXPECT_EQ(this->table.getLine(400)->top, 399 * 13);
  EXPECT_EQ(this->table.getZoneFirst(), 400);
  EXPECT_EQ(this->table.getLine(399)->top, 398 * 13);  // upwards: the zone grows at its front
  EXPECT_EQ(this->table.getZoneFirst(), 399);
  EXPECT_EQ(this->table.getLine(501), nullptr);
  int line = 0, x = -1;  // found outside the zone too
  ASSERT_TRUE(this->table.findRef(this->store.getFirstElement(), &line, &x));
  EXPECT_EQ(line * 1000 + x, 1000);
  // A bigger text inserted inside a line relays it and moves those below.
  TextReference at = this->table.getLine(3)->elements[0].ref;
  this->table.handleAdded(this->store.insertText(new ColorText(1, 2, 1, "BIG", 3), at));
  EXPECT_EQ(this->table.getLine(3)->height, 16);
  EXPECT_EQ(this->table.getLineTop(4), 2 * 13 + 16);
  EXPECT_EQ(this->table.getContentHeight(), 499 * 13 + 16);
}

// Row n has n % 3 + 1 elements and is 10 pixels high, 3 for every tenth.
struct CountingSource : RowSource {
  int rows = 1000000, built = 0, deaths = 0, generation = 0;
  int rowCount() override { return rows; }
  int rowHeight(int row) override { return row % 10 == 0 ? 3 : 10; }
  void buildRow(int row, RowContents& out) override {
    built++;
    out.text = std::to_string(generation);
    for (int i = 0; i <= row % 3; i++)
      out.elements.push_back(std::make_unique<CountedElement>(&deaths, rowHeight(row)));
  }
};

long heightOfRows(long rows) { return rows / 10 * 93 + rows % 10 * 10; }

TEST(RowStore, AMillionRowsAreMeasuredWithoutBuildingAny) {
  CountingSource source;
  RowStore store(&source);
  PositionTable table(&store, nullptr);
  table.setMinLineHeight(1);
  EXPECT_EQ(table.getLineCount(), source.rows);
  EXPECT_EQ(table.getContentHeight(), heightOfRows(source.rows));
  EXPECT_EQ(table.getLineTop(500001), heightOfRows(500000));
  EXPECT_EQ(table.getLineAt(heightOfRows(777776) + 1), 777777);
  EXPECT_EQ(source.built, 0);
  const PositionTable::LinePos* line = table.getLine(654321);  // builds that row alone
  ASSERT_NE(line, nullptr);
  EXPECT_EQ(line->elements.size(), 654321u % 3 + 1);
  EXPECT_LE(source.built, 2);
  // A restyled row drops only laid-out rows; the measure stands.
  int zone = table.getZoneSize();
  table.handleChanged(store.getFirstElement());
  EXPECT_EQ(table.getZoneSize(), zone);
  table.handleChanged(line->first);
  EXPECT_LT(table.getZoneSize(), zone);
  EXPECT_TRUE(table.isComplete());
  EXPECT_EQ(table.getContentHeight(), heightOfRows(source.rows));
}

TEST(RowStore, RowsAreCachedBoundedRebuiltWhenChangedAndReadOnly) {
  CountingSource source;
  source.rows = 5000;
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
  EXPECT_EQ(source.built, built);
  store.rowsChanged(1, 3);
  EXPECT_EQ(listener.heard.back(), "changed");
  EXPECT_EQ(listener.refs.back(), store.getFirstElement());
  store.getElement(store.getFirstElement());
  EXPECT_EQ(source.built, built + 1);
  store.reset();
  EXPECT_EQ(listener.heard.back(), "change");
  EXPECT_EQ(store.builtRows(), 0);
  store.removeTextChangeListener(&listener);
  source.rows = 4;
  EXPECT_EQ(shapeOf(store), "ee|eee|e|ee|");
  EXPECT_EQ(shapeBackwards(store), shapeOf(store));
  int deaths = source.deaths;
  EXPECT_EQ(store.insertText(new CountedElement(&source.deaths), nullptr), nullptr);
  EXPECT_EQ(source.deaths, deaths + 1);  // refused and deleted
}

}  // namespace
