// The column list: selection moves at the ends; on the program's Xvfb
// clicks of every kind with their cells, key moves, toggle cells, key
// commands and their warnings, rows and their data, a thousand rows
// scrolled by bar, keys and wheel, and the selection's colour.
#include "widget_util.h"  // gtest before Xlib

#include <set>

#include "gui/core/pixels.h"
#include "gui/lists/mscroll_list.h"
#include "gui/lists/mscroll_list_layout.h"
#include "gui/text/scroll_bar.h"

namespace {

TEST(ListLayout, SelectionMovesStayWithinTheRows) {
  const struct {
    int from, key, rows, page, want;
  } moves[] = {{0, WKEY_UP, 10, 4, 0},        {9, WKEY_DOWN, 10, 4, 9},
               {8, WKEY_PAGEDOWN, 10, 4, 9},  {5, WKEY_PAGEUP, 10, 0, 4},  // a page is a row at least
               {-1, WKEY_DOWN, 10, 4, 0},     {-1, WKEY_END, 10, 4, 9},
               {42, WKEY_UP, 10, 4, 0},       {-1, WKEY_DOWN, 0, 4, -1},  // stale; empty
               {5, 'x', 10, 4, 5}};
  for (const auto& m : moves)
    EXPECT_EQ(mslMoveSelection(m.from, m.key, m.rows, m.page), m.want) << m.from << " " << m.key;
  EXPECT_EQ(mslTopShowing(0, 5, 10, 3), 50);  // a body smaller than a row
  EXPECT_EQ(mslColumnAt({0, -5, 10}, 3), 2);  // empty and bad widths take no room
}

struct Call {
  std::string what;
  int row, column, clicks, type;
  bool operator==(const Call&) const = default;
};
std::ostream& operator<<(std::ostream& os, const Call& c) {
  return os << c.what << " " << c.row << "," << c.column << " x" << c.clicks << " t" << c.type;
}
std::vector<Call> calls;
std::vector<int> selections;

class Lists : public GuiSession {
 protected:
  // A window with a list of three columns (30, 100, 100 pixels) and rows
  // "r<n>c<m>".
  void makeList(int rows, int height = 200) {
    calls.clear(), selections.clear();
    window = openWindow("list", 300, height);
    list = new MScrollList(window, DrawRect{0, 0, 300, height}, 3);
    list->showHeader(true);
    list->setColumnWidth(0, 30), list->setColumnWidth(1, 100), list->setColumnWidth(2, 100);
    for (int r = 0; r < rows; r++) {
      std::string cells[3];
      const char* texts[3];
      for (int c = 0; c < 3; c++) texts[c] = (cells[c] = "r" + std::to_string(r) + "c" + std::to_string(c)).c_str();
      list->appendRow(texts, 3);
    }
    list->setSingleClickCallback([](MScrollList*, int row, int column, int clicks, xinLibSt* e) {
      calls.push_back({"single", row, column, clicks, e ? e->type : -1});
    });
    list->setDoubleClickCallback([](MScrollList*, int row, int column, int clicks, xinLibSt* e) {
      calls.push_back({"double", row, column, clicks, e ? e->type : -1});
    });
    list->setRightClickCallback([](MScrollList*, int row, int column, xinLibSt* e) {
      calls.push_back({"right", row, column, 0, e ? e->type : -1});
    });
    list->setSelectionCallback([](MScrollList*, int row) { selections.push_back(row); });
    list->activateMe();
  }
  std::pair<int, int> middle(int row, int column) {
    DrawRect r = list->cellRect(row, column);
    return {r.x + r.width / 2, r.y + r.height / 2};
  }
  int clickCell(int row, int column, int button = 1) {
    auto [x, y] = middle(row, column);
    return click(list, x, y, button);
  }
  ColWind* window = nullptr;
  MScrollList* list = nullptr;
};

TEST_F(Lists, ClicksReportTheirCellAndCountAndMissesReportNothing) {
  makeList(5);
  ASSERT_EQ(click(list, 60, 3), 0);                  // the header
  ASSERT_EQ(click(list, 80, 180), 0);                // below the rows
  ASSERT_EQ(click(list, 120, 170, 3), 0);
  ASSERT_EQ(clickCell(2, 1), 0);
  auto [x, y] = middle(3, 2);
  ASSERT_EQ(xdotool({"mousemove", "--window", id(list), std::to_string(x), std::to_string(y),
                     "click", "--repeat", "2", "--delay", "40", "1"}), 0);
  ASSERT_EQ(clickCell(1, 0, 3), 0);  // a right click leaves the selection alone
  ASSERT_EQ(click(list, 270, middle(4, 2).second), 0);  // right of the last column: the last
  drain();
  const int M = WEV_MOUSE;
  EXPECT_EQ(calls, (std::vector<Call>{{"single", 2, 1, 1, M}, {"single", 3, 2, 1, M},
                                      {"double", 3, 2, 2, M}, {"right", 1, 0, 0, M},
                                      {"single", 4, 2, 1, M}}));
  EXPECT_EQ(selections, (std::vector<int>{2, 3, 4}));
  // Selecting by program takes the click path only when asked.
  list->setSelectedRow(1);
  list->setSelectedRow(0, true);
  list->setSelectedRow(9);  // out of range: ignored
  EXPECT_EQ(list->getSelectedRow(), 0);
  EXPECT_EQ(calls.back(), (Call{"single", 0, 0, 1, M}));
  DrawRect cell = list->cellRect(0, 1);  // painted selected, beyond its text; the header too
  EXPECT_TRUE(waitFor([&] { return xtest::pixelAt(list->getWindow(), cell.x + cell.width - 3, cell.y + 2) == select_pixel; }));
  EXPECT_EQ(xtest::pixelAt(list->getWindow(), 200, 1), control_pixel);
  EXPECT_EQ(selections.size(), 3u);  // nor the selection callback
}

TEST_F(Lists, KeysMoveTheSelectionAndOtherItemsMayPassThemOn) {
  makeList(30, 120);
  int page = (120 - list->getHeaderHeight()) / list->getRowHeight();
  ASSERT_EQ(keys(list, {"Down", "Down", "Down", "End", "Home", "Next", "Prior", "Up"}), 0);
  drain();  // Up at the top row changes nothing
  std::vector<int> rows;
  for (const Call& c : calls) {
    EXPECT_EQ(c, (Call{"single", c.row, 0, 1, WEV_KEY}));
    rows.push_back(c.row);
  }
  EXPECT_EQ(rows, (std::vector<int>{0, 1, 2, 29, 0, page, 0}));
  EXPECT_EQ(selections, rows);
  xinLibSt key;
  key.type = WEV_KEY, key.code = WKEY_DOWN;
  EXPECT_TRUE(list->takeKey(&key));
  EXPECT_EQ(list->getSelectedRow(), 1);
  key.code = 'x';
  EXPECT_FALSE(list->takeKey(&key));
  key.code = WKEY_DOWN, key.state = WMOD_CONTROL;  // Control+Down is no move
  EXPECT_FALSE(list->takeKey(&key));
  EXPECT_FALSE(list->takeKey(nullptr));
}

struct Toggles : MScrollListAutoToggleHandler {
  std::set<int> on;
  std::vector<Call> seen;
  void handleToggle(MScrollList* list, int row, int column) override {
    seen.push_back({"toggle", row, column, 0, 0});
    if (!on.erase(row)) on.insert(row);
    list->redrawCell(row, column);
  }
  bool isMSLCellOn(const MScrollList*, int row, int) override { return on.count(row) > 0; }
  void handleMSLClicks(MScrollList*, int row, int column, int clicks, xinLibSt* e) override {
    seen.push_back({"clicks", row, column, clicks, e ? e->type : -1});
  }
};

TEST_F(Lists, ToggleCellsPaintOnAndOffAndOtherClicksGoToTheHandler) {
  makeList(4);
  Toggles handler;
  handler.on = {0};
  auto toggler = std::make_unique<MScrollListAutoToggler>(list, std::vector<int>{0}, &handler);
  auto [x0, y0] = middle(0, 0);
  auto [x1, y1] = middle(1, 0);
  ASSERT_TRUE(waitFor([&] { return xtest::pixelAt(list->getWindow(), x0, y0) == fg_pixel; }));
  EXPECT_EQ(xtest::pixelAt(list->getWindow(), x1, y1), bg_pixel);
  ASSERT_EQ(clickCell(1, 0), 0);  // turns it on
  ASSERT_EQ(clickCell(2, 1), 0);  // elsewhere: not the single-click callback
  ASSERT_EQ(keys(list, {"Up"}), 0);
  drain();
  EXPECT_EQ(handler.seen, (std::vector<Call>{{"toggle", 1, 0, 0, 0}, {"clicks", 2, 1, 1, WEV_MOUSE},
                                             {"clicks", 1, 0, 1, WEV_KEY}}));
  EXPECT_TRUE(calls.empty());
  EXPECT_TRUE(waitFor([&] { return xtest::pixelAt(list->getWindow(), x1, y1) == fg_pixel; }));
  cwDestroy(window);  // the list may go before its toggler
  EXPECT_EQ(toggler->getList(), nullptr);
}

std::vector<std::string> commands;
int commandAnswer;
int recordCommand(MScrollList*, CmdInfo* info) {
  commands.push_back(std::string(info->kind) + " " + info->command + " @" + std::to_string(info->row));
  return commandAnswer;
}

TEST_F(Lists, KeyCommandsReachTheHandlerOrTheListAndGarbageIsWarnedAbout) {
  makeList(5);
  const char* lines[] = {"d|Control=Cli Remove", "\"Delete\"=Cli Remove", "j=Cli Down",
                         "", nullptr, "garbage", "=Cli Remove", "d|Control=",
                         "Mouse1*Press1@Row=Cli Remove", "\"NoSuchKeyName\"=Cli Remove",
                         "x=Shell Remove", "x=Cli", "x|Hyper=Cli Remove", "\"\"=Cli Remove"};
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(mslCompileCommands(list, lines, 14), 3);
  std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("warning: Ignoring list command \"garbage\""), std::string::npos) << err;
  EXPECT_NE(err.find("\"NoSuchKeyName\"=Cli Remove\": unknown key"), std::string::npos) << err;
  EXPECT_EQ(mslCompileCommands(list, nullptr, 3), 0);
  EXPECT_EQ(mslCompileCommands(nullptr, lines, 1), 0);
  list->setCommandHandler(recordCommand);
  commands.clear();
  commandAnswer = MSL_CMD_HANDLED;
  list->setSelectedRow(1);
  ASSERT_EQ(keys(list, {"ctrl+d", "Delete", "d", "x"}), 0);  // plain d and x are none
  drain();
  EXPECT_EQ(commands, (std::vector<std::string>{"Cli Remove @1", "Cli Remove @1"}));
  commandAnswer = 0;  // left to the list: its own move
  ASSERT_EQ(keys(list, {"j", "j"}), 0);
  drain();
  EXPECT_EQ(list->getSelectedRow(), 3);
  EXPECT_EQ(calls.back().type, WEV_KEY);  // the moves go through the click path
}

std::vector<int> freed;
void freeNumber(void* data) {
  freed.push_back(*static_cast<int*>(data));
  delete static_cast<int*>(data);
}

TEST_F(Lists, RowsKeepAValidSelectionAndTheirDataIsCleanedUp) {
  makeList(4);
  list->setSelectedRow(3);
  EXPECT_TRUE(list->deleteRow(3));  // the last row: the new last one
  EXPECT_EQ(list->getSelectedRow(), 2);
  list->setSelectedRow(1);
  EXPECT_TRUE(list->deleteRow(0));  // a row above: the selection follows its row
  EXPECT_EQ(list->getSelectedRow(), 0);
  EXPECT_STREQ(list->getCellText(0, 1), "r1c1");
  EXPECT_FALSE(list->deleteRow(2));
  EXPECT_FALSE(list->setCellText(0, 3, "x"));
  const char* tooMany[] = {"a", "b", "c", "d"};
  EXPECT_EQ(list->appendRow(tooMany, 4), 2);  // extra texts are dropped
  EXPECT_STREQ(list->getCellText(2, 2), "c");
  freed.clear();
  list->deleteAllRows();
  EXPECT_EQ(list->getSelectedRow(), -1);
  list->setUserDataCleanup(freeNumber);
  for (int i = 0; i < 4; i++) list->appendRow(nullptr, 0, new int(i));
  list->appendRow();  // no data: nothing to clean up
  EXPECT_EQ(*static_cast<int*>(list->getUserData(3)), 3);
  EXPECT_TRUE(list->deleteRow(1));
  cwDestroy(window);  // the list goes with its window
  EXPECT_EQ(freed, (std::vector<int>{1, 0, 2, 3}));
}

TEST_F(Lists, AThousandRowsScrollByTheBarKeysAndWheel) {
  makeList(1000);
  WScrollBar* bar = list->getScrollBar();
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->getMaximum(), 1000L * list->getRowHeight());
  EXPECT_EQ(bar->getY(), list->getHeaderHeight());  // at the right, below the header
  EXPECT_EQ(bar->getX() + bar->getWidth(), 300);
  int visible = (200 - list->getHeaderHeight()) / list->getRowHeight();
  ThumbGeometry t = bar->thumb();
  ASSERT_EQ(xdotool({"mousemove", "--window", id(bar), "7", std::to_string(t.offset + 3),
                     "mousedown", "1", "mousemove", "--window", id(bar), "7",
                     std::to_string(bar->getHeight() + 50), "mouseup", "1"}), 0);
  ASSERT_TRUE(waitFor([&] { return list->firstVisibleRow() == 1000 - visible; }));
  DrawRect last = list->cellRect(999, 1);  // the last row is painted
  EXPECT_TRUE(waitFor([&] { return xtest::inkIn(list->getWindow(), {last.x, last.y, last.width, last.height}, bg_pixel) > 0; }));
  ASSERT_EQ(click(bar, 7, 3), 0);  // above the thumb: a page of whole rows
  ASSERT_TRUE(waitFor([&] { return list->firstVisibleRow() == 1000 - 2 * visible; }));
  ASSERT_EQ(keys(list, {"End", "Prior", "Prior"}), 0);
  ASSERT_TRUE(waitFor([&] { return list->getSelectedRow() == 999 - 2 * visible; }));
  EXPECT_EQ(list->firstVisibleRow(), 999 - 2 * visible);  // the selection stays in view
  ASSERT_EQ(click(list, 100, 100, 5), 0);  // the wheel leaves the selection
  ASSERT_TRUE(waitFor([&] { return list->firstVisibleRow() == 999 - 2 * visible + 3; }));
  EXPECT_EQ(list->getSelectedRow(), 999 - 2 * visible);
  for (int i = 0; i < 990; i++) list->deleteRow(list->getRowCount() - 1);
  EXPECT_EQ(list->getSelectedRow(), 9);
  EXPECT_LE(list->firstVisibleRow(), std::max(0, 10 - visible));  // pulled back
}

}  // namespace
