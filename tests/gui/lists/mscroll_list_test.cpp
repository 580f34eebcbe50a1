// The column list on a real X server: clicks, double and right clicks with
// their rows, columns and counts, keyboard selection reported with key
// events, toggle columns painted and clicked, compiled key commands, user
// data clean-up, a long list scrolled by bar and keys, and rows out of range.
#include <memory>
#include <set>

#include "gui/core/colwind.h"
#include "gui/core/pixels.h"
#include "gui/lists/mscroll_list.h"
#include "gui/text/scroll_bar.h"
#include "lists_test_util.h"

using namespace lists_test;

namespace {

struct Call {
  std::string what;
  int row, column, clicks, type;
};
std::vector<Call> calls;
std::vector<int> selections;

void onSingle(MScrollList*, int row, int column, int clicks, xinLibSt* e) {
  calls.push_back({"single", row, column, clicks, e ? e->type : -1});
}
void onDouble(MScrollList*, int row, int column, int clicks, xinLibSt* e) {
  calls.push_back({"double", row, column, clicks, e ? e->type : -1});
}
void onRight(MScrollList*, int row, int column, xinLibSt* e) {
  calls.push_back({"right", row, column, 0, e ? e->type : -1});
}
void onSelect(MScrollList*, int row) { selections.push_back(row); }

class ListX11 : public XSession {
 protected:
  ColWind* window = nullptr;
  MScrollList* list = nullptr;

  // A window with a list of three columns (30, 100, 100 pixels) and rows
  // "r<n>c<m>".
  void makeList(int rows, bool header = true, int height = 200) {
    calls.clear(), selections.clear();
    window = openWindow("list", 300, height);
    ASSERT_NE(window, nullptr);
    list = new MScrollList(window, DrawRect{0, 0, 300, height}, 3);
    list->showHeader(header);
    int widths[] = {30, 100, 100};
    for (int c = 0; c < 3; c++) list->setColumnWidth(c, widths[c]);
    for (int r = 0; r < rows; r++) {
      std::string cells[3];
      const char* texts[3];
      for (int c = 0; c < 3; c++) {
        cells[c] = "r" + std::to_string(r) + "c" + std::to_string(c);
        texts[c] = cells[c].c_str();
      }
      list->appendRow(texts, 3);
    }
    list->setSingleClickCallback(onSingle);
    list->setDoubleClickCallback(onDouble);
    list->setRightClickCallback(onRight);
    list->setSelectionCallback(onSelect);
    settle(30);
  }

  // The middle of a cell, in the list's window.
  std::pair<int, int> middle(int row, int column) {
    DrawRect r = list->cellRect(row, column);
    return {r.x + r.width / 2, r.y + r.height / 2};
  }

  void click(int row, int column, int button = 1, int repeat = 1) {
    auto [x, y] = middle(row, column);
    std::vector<std::string> args{"mousemove", "--window", id(list), std::to_string(x),
                                  std::to_string(y), "click"};
    if (repeat > 1) args.insert(args.end(), {"--repeat", std::to_string(repeat), "--delay", "40"});
    args.push_back(std::to_string(button));
    ASSERT_EQ(xdotool(args), 0);
  }

  void keys(const std::vector<std::string>& names) {
    list->activateMe();
    ASSERT_EQ(xdotool({"windowfocus", "--sync", id(window)}), 0);
    std::vector<std::string> args{"key"};
    args.insert(args.end(), names.begin(), names.end());
    ASSERT_EQ(xdotool(args), 0);
  }

  static bool callsReach(size_t n) {
    return waitFor([n] { return calls.size() >= n; });
  }
};

using ListClicks = ListX11;
using ListKeys = ListX11;
using ListToggles = ListX11;
using ListCommands = ListX11;
using ListRows = ListX11;
using ListScrolling = ListX11;
using ListPainting = ListX11;

TEST_F(ListClicks, SingleDoubleAndRightClicksReportRowColumnAndCount) {
  makeList(5);
  click(2, 1);
  ASSERT_TRUE(callsReach(1));
  EXPECT_EQ(calls[0].what, "single");
  EXPECT_EQ(calls[0].row, 2);
  EXPECT_EQ(calls[0].column, 1);
  EXPECT_EQ(calls[0].clicks, 1);
  EXPECT_EQ(calls[0].type, WEV_MOUSE);
  EXPECT_EQ(list->getSelectedRow(), 2);
  EXPECT_EQ(selections, std::vector<int>{2});

  // A double click: the first press is a single click, the second the
  // double click, both on the same cell.
  click(3, 2, 1, 2);
  ASSERT_TRUE(callsReach(3));
  EXPECT_EQ(calls[1].what, "single");
  EXPECT_EQ(calls[1].row, 3);
  EXPECT_EQ(calls[2].what, "double");
  EXPECT_EQ(calls[2].row, 3);
  EXPECT_EQ(calls[2].column, 2);
  EXPECT_EQ(calls[2].clicks, 2);

  // A right click reports its cell and leaves the selection alone.
  click(1, 0, 3);
  ASSERT_TRUE(callsReach(4));
  EXPECT_EQ(calls[3].what, "right");
  EXPECT_EQ(calls[3].row, 1);
  EXPECT_EQ(calls[3].column, 0);
  EXPECT_EQ(list->getSelectedRow(), 3);
  EXPECT_EQ(selections, (std::vector<int>{2, 3}));
}

TEST_F(ListClicks, ClicksOnTheHeaderOrBelowTheRowsDoNothing) {
  makeList(2);
  ASSERT_EQ(xdotool({"mousemove", "--window", id(list), "60", "3", "click", "1"}), 0);
  ASSERT_EQ(xdotool({"mousemove", "--window", id(list), "80", "180", "click", "1"}), 0);
  ASSERT_EQ(xdotool({"mousemove", "--window", id(list), "120", "170", "click", "3"}), 0);
  settle(150);
  EXPECT_TRUE(calls.empty());
  EXPECT_EQ(list->getSelectedRow(), -1);
  // Right of the last column's width still counts as the last column.
  ASSERT_EQ(xdotool({"mousemove", "--window", id(list), "270",
                     std::to_string(middle(1, 2).second), "click", "1"}),
            0);
  ASSERT_TRUE(callsReach(1));
  EXPECT_EQ(calls[0].row, 1);
  EXPECT_EQ(calls[0].column, 2);
}

TEST_F(ListClicks, SelectingByProgramCallsTheClickPathOnlyWhenAsked) {
  makeList(4);
  list->setSelectedRow(1);
  settle(30);
  EXPECT_TRUE(calls.empty());
  EXPECT_TRUE(selections.empty());
  EXPECT_EQ(list->getSelectedRow(), 1);
  list->setSelectedRow(3, true);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].row, 3);
  EXPECT_EQ(calls[0].column, 0);
  EXPECT_EQ(calls[0].clicks, 1);
  EXPECT_EQ(calls[0].type, WEV_MOUSE);
  list->setSelectedRow(9);  // out of range: ignored
  list->setSelectedRow(-7);
  EXPECT_EQ(list->getSelectedRow(), 3);
  list->setSelectedRow(-1);
  EXPECT_EQ(list->getSelectedRow(), -1);
}

TEST_F(ListKeys, MoveKeysSelectAndReportKeyEvents) {
  makeList(30, true, 120);
  int page = (120 - list->getHeaderHeight()) / list->getRowHeight();
  keys({"Down"});  // nothing selected: the first row
  ASSERT_TRUE(callsReach(1));
  EXPECT_EQ(list->getSelectedRow(), 0);
  keys({"Down", "Down"});
  ASSERT_TRUE(callsReach(3));
  EXPECT_EQ(list->getSelectedRow(), 2);
  keys({"End"});
  ASSERT_TRUE(callsReach(4));
  EXPECT_EQ(list->getSelectedRow(), 29);
  keys({"Home", "Next"});
  ASSERT_TRUE(callsReach(6));
  EXPECT_EQ(list->getSelectedRow(), page);
  keys({"Prior", "Up"});  // Up at the top row changes nothing
  ASSERT_TRUE(callsReach(7));
  settle(60);
  EXPECT_EQ(calls.size(), 7u);
  EXPECT_EQ(list->getSelectedRow(), 0);
  std::vector<int> rows;
  for (const Call& c : calls) {
    EXPECT_EQ(c.what, "single");
    EXPECT_EQ(c.type, WEV_KEY);
    EXPECT_EQ(c.column, 0);
    EXPECT_EQ(c.clicks, 1);
    rows.push_back(c.row);
  }
  EXPECT_EQ(rows, (std::vector<int>{0, 1, 2, 29, 0, page, 0}));
  EXPECT_EQ(selections, rows);
}

TEST_F(ListKeys, KeysPassedOnFromAnotherItemAreTakenWhenUseful) {
  makeList(3);
  xinLibSt key;
  key.type = WEV_KEY;
  key.code = WKEY_DOWN;
  EXPECT_TRUE(list->takeKey(&key));
  EXPECT_EQ(list->getSelectedRow(), 0);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].type, WEV_KEY);
  key.code = 'x';
  EXPECT_FALSE(list->takeKey(&key));
  key.code = WKEY_DOWN;
  key.state = WMOD_CONTROL;  // Control+Down is not a move
  EXPECT_FALSE(list->takeKey(&key));
  xinLibSt mouse;
  mouse.type = WEV_MOUSE;
  EXPECT_FALSE(list->takeKey(&mouse));
  EXPECT_FALSE(list->takeKey(nullptr));
  EXPECT_EQ(list->getSelectedRow(), 0);
}

// ---- toggle column ---------------------------------------------------------------

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

TEST_F(ListToggles, ToggleCellsPaintOnAndOffAndClicksReachTheHandler) {
  makeList(4);
  Toggles handler;
  handler.on = {0};
  MScrollListAutoToggler toggler(list, {0}, &handler);
  EXPECT_TRUE(toggler.isToggleColumn(0));
  EXPECT_FALSE(toggler.isToggleColumn(1));
  auto [x0, y0] = middle(0, 0);
  auto [x1, y1] = middle(1, 0);
  ASSERT_TRUE(waitFor([&] { return pixelAt(list->getWindow(), x0, y0) == fg_pixel; }));
  EXPECT_EQ(pixelAt(list->getWindow(), x1, y1), bg_pixel);

  click(1, 0);  // on a toggle cell: handleToggle, which turns it on
  ASSERT_TRUE(waitFor([&] { return handler.seen.size() >= 1; }));
  EXPECT_EQ(handler.seen[0].what, "toggle");
  EXPECT_EQ(handler.seen[0].row, 1);
  EXPECT_EQ(handler.seen[0].column, 0);
  ASSERT_TRUE(waitFor([&] { return pixelAt(list->getWindow(), x1, y1) == fg_pixel; }));

  click(2, 1);  // elsewhere: handleMSLClicks, not the single-click callback
  ASSERT_TRUE(waitFor([&] { return handler.seen.size() >= 2; }));
  EXPECT_EQ(handler.seen[1].what, "clicks");
  EXPECT_EQ(handler.seen[1].row, 2);
  EXPECT_EQ(handler.seen[1].column, 1);
  EXPECT_EQ(handler.seen[1].clicks, 1);
  keys({"Up"});
  ASSERT_TRUE(waitFor([&] { return handler.seen.size() >= 3; }));
  EXPECT_EQ(handler.seen[2].what, "clicks");
  EXPECT_EQ(handler.seen[2].row, 1);
  EXPECT_EQ(handler.seen[2].type, WEV_KEY);
  for (const Call& c : calls) EXPECT_NE(c.what, "single");
}

TEST_F(ListToggles, TheListMayGoBeforeItsToggler) {
  makeList(2);
  Toggles handler;
  auto toggler = std::make_unique<MScrollListAutoToggler>(list, std::vector<int>{0}, &handler);
  cwDestroy(window);
  EXPECT_EQ(toggler->getList(), nullptr);
  toggler.reset();  // no access to the gone list
}

// ---- commands ---------------------------------------------------------------------

std::vector<std::string> commandsSeen;
int commandAnswer;
int recordCommand(MScrollList*, CmdInfo* info) {
  commandsSeen.push_back(std::string(info->kind) + " " + info->command + " @" +
                         std::to_string(info->row));
  return commandAnswer;
}

TEST_F(ListCommands, ControlDAndDeleteReachTheHandlerAsRemove) {
  makeList(3);
  const char* lines[] = {"d|Control=Cli Remove", "\"Delete\"=Cli Remove"};
  EXPECT_EQ(mslCompileCommands(list, lines, 2), 2);
  list->setCommandHandler(recordCommand);
  commandsSeen.clear();
  commandAnswer = MSL_CMD_HANDLED;
  list->setSelectedRow(1);
  keys({"ctrl+d", "Delete", "d"});  // a plain d is no command
  ASSERT_TRUE(waitFor([] { return commandsSeen.size() >= 2; }));
  settle(60);
  EXPECT_EQ(commandsSeen, (std::vector<std::string>{"Cli Remove @1", "Cli Remove @1"}));
}

TEST_F(ListCommands, CommandsTheHandlerLeavesMayBeTheListsOwn) {
  makeList(5);
  const char* lines[] = {"j=Cli Down", "k|Shift=Cli Up", "z=Cli Nothing"};
  ASSERT_EQ(list->compileCommands(lines, 3), 3);
  list->setCommandHandler(recordCommand);
  commandsSeen.clear();
  commandAnswer = 0;
  keys({"j", "j", "j", "shift+k", "z"});
  ASSERT_TRUE(waitFor([] { return commandsSeen.size() >= 5; }));
  EXPECT_EQ(list->getSelectedRow(), 1);
  ASSERT_EQ(calls.size(), 4u);  // the moves go through the click path
  EXPECT_EQ(calls.back().type, WEV_KEY);
  EXPECT_EQ(commandsSeen.back(), "Cli Nothing @1");
  xinLibSt key;
  key.type = WEV_KEY;
  key.code = 'z';
  EXPECT_FALSE(list->takeKey(&key));  // nobody handled "Nothing"
}

TEST_F(ListCommands, GarbageLinesAreWarnedAboutAndSkipped) {
  makeList(2);
  const char* lines[] = {"",
                         nullptr,
                         "garbage",
                         "=Cli Remove",
                         "d|Control=",
                         "Mouse1*Press1@Row=Cli Remove",
                         "\"NoSuchKeyName\"=Cli Remove",
                         "x=Shell Remove",
                         "x=Cli",
                         "x|Hyper=Cli Remove",
                         "\"\"=Cli Remove",
                         "q=Cli Quit"};
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(mslCompileCommands(list, lines, 12), 1);
  std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("warning: Ignoring list command \"garbage\""), std::string::npos) << err;
  EXPECT_NE(err.find("\"NoSuchKeyName\"=Cli Remove\": unknown key"), std::string::npos) << err;
  EXPECT_EQ(mslCompileCommands(list, nullptr, 3), 0);
  EXPECT_EQ(mslCompileCommands(nullptr, lines, 1), 0);
  list->setCommandHandler(recordCommand);
  commandsSeen.clear();
  commandAnswer = MSL_CMD_HANDLED;
  keys({"x", "q"});
  ASSERT_TRUE(waitFor([] { return !commandsSeen.empty(); }));
  settle(50);
  EXPECT_EQ(commandsSeen, std::vector<std::string>{"Cli Quit @-1"});
}

// ---- rows, user data ------------------------------------------------------------------

std::vector<int> freed;
void freeNumber(void* data) {
  int* n = static_cast<int*>(data);
  freed.push_back(*n);
  delete n;
}

TEST_F(ListRows, UserDataIsCleanedUpOnDeleteAndDestruction) {
  makeList(0);
  freed.clear();
  list->setUserDataCleanup(freeNumber);
  for (int i = 0; i < 5; i++) list->appendRow(nullptr, 0, new int(i));
  list->appendRow();  // no data: nothing to clean up
  EXPECT_EQ(*static_cast<int*>(list->getUserData(3)), 3);
  EXPECT_EQ(list->findUserData(list->getUserData(4)), 4);
  EXPECT_TRUE(list->deleteRow(1));
  EXPECT_EQ(freed, std::vector<int>{1});
  EXPECT_EQ(*static_cast<int*>(list->getUserData(1)), 2);
  EXPECT_EQ(list->getRowCount(), 5);
  cwDestroy(window);  // the list goes with its window
  EXPECT_EQ(freed, (std::vector<int>{1, 0, 2, 3, 4}));

  makeList(0);
  freed.clear();
  list->setUserDataCleanup(freeNumber);
  for (int i = 0; i < 3; i++) list->appendRow(nullptr, 0, new int(10 + i));
  list->deleteAllRows();
  EXPECT_EQ(freed, (std::vector<int>{10, 11, 12}));
  EXPECT_EQ(list->getRowCount(), 0);
  EXPECT_EQ(list->getSelectedRow(), -1);
}

TEST_F(ListRows, DeletingKeepsAValidSelection) {
  makeList(4);
  list->setSelectedRow(3);
  EXPECT_TRUE(list->deleteRow(3));  // the last row: the new last one
  EXPECT_EQ(list->getSelectedRow(), 2);
  EXPECT_STREQ(list->getCellText(2, 1), "r2c1");
  list->setSelectedRow(1);
  EXPECT_TRUE(list->deleteRow(1));  // a middle row: the one now in its place
  EXPECT_EQ(list->getSelectedRow(), 1);
  EXPECT_STREQ(list->getCellText(1, 1), "r2c1");
  EXPECT_TRUE(list->deleteRow(0));  // a row above: the selection follows its row
  EXPECT_EQ(list->getSelectedRow(), 0);
  EXPECT_STREQ(list->getCellText(0, 0), "r2c0");
  EXPECT_EQ(list->insertRow(0), 0);  // a row inserted above pushes it down
  EXPECT_EQ(list->getSelectedRow(), 1);
  EXPECT_TRUE(list->deleteRow(1));
  EXPECT_TRUE(list->deleteRow(0));
  EXPECT_EQ(list->getSelectedRow(), -1);
  EXPECT_EQ(list->getRowCount(), 0);
}

TEST_F(ListRows, RowsAndColumnsOutOfRangeAreRefused) {
  makeList(2);
  EXPECT_FALSE(list->deleteRow(-1));
  EXPECT_FALSE(list->deleteRow(2));
  EXPECT_EQ(list->insertRow(3), -1);
  EXPECT_EQ(list->insertRow(-1), -1);
  EXPECT_FALSE(list->setCellText(2, 0, "x"));
  EXPECT_FALSE(list->setCellText(0, 3, "x"));
  EXPECT_FALSE(list->setCellColours(-1, 0, red_pixel, red_pixel));
  EXPECT_FALSE(list->setUserData(5, nullptr));
  EXPECT_EQ(list->getUserData(-3), nullptr);
  EXPECT_STREQ(list->getCellText(7, 7), "");
  EXPECT_EQ(list->getColumnWidth(9), 0);
  list->setColumnWidth(-1, 50);
  list->setColumnLabel(5, "x");
  list->redrawCell(100, 100);
  list->redrawRow(-2);
  EXPECT_TRUE(list->setCellText(1, 2, nullptr));
  EXPECT_STREQ(list->getCellText(1, 2), "");
  const char* tooMany[] = {"a", "b", "c", "d", "e"};
  EXPECT_EQ(list->appendRow(tooMany, 5), 2);  // extra texts are dropped
  EXPECT_STREQ(list->getCellText(2, 2), "c");
  settle(30);
  EXPECT_EQ(list->getRowCount(), 3);
}

TEST_F(ListRows, AutoWidthColumnsFitTheirWidestText) {
  makeList(2);
  list->setColumnLabel(1, "A much longer label");
  list->setColumnAutoWidth(1, true);
  list->setCellText(0, 2, "a very very long cell text");
  list->setColumnAutoWidth(2, true);
  list->recomputeColumnWidths();
  const DrawFont* f = draw_defaultFont();
  int pad = 2 * MScrollList::kCellPadding;
  EXPECT_EQ(list->getColumnWidth(1), draw_textWidth(f, "A much longer label", -1) + pad);
  EXPECT_EQ(list->getColumnWidth(2), draw_textWidth(f, "a very very long cell text", -1) + pad);
  EXPECT_EQ(list->getColumnWidth(0), 30);  // not auto: kept
  list->showHeader(false);  // labels count only when shown
  list->recomputeColumnWidths();
  EXPECT_EQ(list->getColumnWidth(1), draw_textWidth(f, "r0c1", -1) + pad);
}

// ---- scrolling --------------------------------------------------------------------------

TEST_F(ListScrolling, AThousandRowsByTheBarAndByKeys) {
  makeList(1000, true, 200);
  WScrollBar* bar = list->getScrollBar();
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->getMaximum(), 1000L * list->getRowHeight());
  // The bar stands at the right edge, below the header.
  EXPECT_EQ(bar->getX(), 300 - MScrollList::kScrollBarWidth);
  EXPECT_EQ(bar->getY(), list->getHeaderHeight());
  EXPECT_EQ(bar->getHeight(), 200 - list->getHeaderHeight());
  int visible = (200 - list->getHeaderHeight()) / list->getRowHeight();
  // Drag the thumb to the bottom of the trough.
  ThumbGeometry t = bar->thumb();
  ASSERT_EQ(xdotool({"mousemove", "--window", id(bar), "7", std::to_string(t.offset + 3),
                     "mousedown", "1", "mousemove", "--window", id(bar), "7",
                     std::to_string(bar->getHeight() + 50), "mouseup", "1"}),
            0);
  ASSERT_TRUE(waitFor([&] { return list->firstVisibleRow() == 1000 - visible; }));
  // The last row is painted: its text leaves ink in its label column.
  DrawRect last = list->cellRect(999, 1);
  ASSERT_TRUE(waitFor([&] {
    return inkIn(list->getWindow(), last.x, last.y, last.width, last.height, bg_pixel) > 0;
  }));
  // A press in the trough above the thumb pages up by whole rows.
  ASSERT_EQ(xdotool({"mousemove", "--window", id(bar), "7", "3", "click", "1"}), 0);
  ASSERT_TRUE(waitFor([&] { return list->firstVisibleRow() == 1000 - 2 * visible; }));

  keys({"Home"});
  ASSERT_TRUE(waitFor([&] { return list->getSelectedRow() == 0; }));
  EXPECT_EQ(list->firstVisibleRow(), 0);
  keys({"End"});
  ASSERT_TRUE(waitFor([&] { return list->getSelectedRow() == 999; }));
  EXPECT_EQ(list->firstVisibleRow(), 1000 - visible);
  keys({"Prior", "Prior"});
  ASSERT_TRUE(waitFor([&] { return list->getSelectedRow() == 999 - 2 * visible; }));
  // The selection stays in view: it is now the first visible row.
  EXPECT_EQ(list->firstVisibleRow(), 999 - 2 * visible);
  // The wheel scrolls without moving the selection.
  ASSERT_EQ(xdotool({"mousemove", "--window", id(list), "100", "100", "click", "5"}), 0);
  ASSERT_TRUE(waitFor([&] { return list->firstVisibleRow() == 999 - 2 * visible + 3; }));
  EXPECT_EQ(list->getSelectedRow(), 999 - 2 * visible);
  // Deleting rows at the end pulls the view back within the rows.
  for (int i = 0; i < 990; i++) list->deleteRow(list->getRowCount() - 1);
  EXPECT_EQ(list->getSelectedRow(), 9);
  EXPECT_LE(list->firstVisibleRow(), std::max(0, 10 - visible));
}

// ---- painting ------------------------------------------------------------------------------

bool paintOwnCell(MScrollList*, DrawTarget* t, DrawRect cell, int row, int column) {
  if (row != 1 || column != 2) return false;
  draw_fillRect(t, cell.x, cell.y, cell.width, cell.height, red_pixel);
  return true;
}

TEST_F(ListPainting, OwnerDrawnAndOwnerColouredCellsAndTheSelection) {
  makeList(3);
  list->setCellDrawer(paintOwnCell);
  Pixel blue = draw_allocRGB(0, 0, 255);
  list->setCellColours(0, 1, white_pixel, blue);
  list->invalidate();
  DrawRect own = list->cellRect(1, 2);
  DrawRect coloured = list->cellRect(0, 1);
  WindowId w = list->getWindow();
  ASSERT_TRUE(waitFor([&] { return pixelAt(w, own.x + 5, own.y + 2) == red_pixel; }));
  // The right end of a cell lies beyond its text.
  EXPECT_EQ(pixelAt(w, coloured.x + coloured.width - 3, coloured.y + 2), blue);
  EXPECT_EQ(pixelAt(w, own.x + 5, own.y + own.height + 2), bg_pixel);  // row 2 is plain
  // A selected row shows the selection colour, over the owner's colour too.
  list->setSelectedRow(0);
  ASSERT_TRUE(waitFor(
      [&] { return pixelAt(w, coloured.x + coloured.width - 3, coloured.y + 2) == select_pixel; }));
  list->clearCellColours(0, 1);
  list->setSelectedRow(-1);
  ASSERT_TRUE(waitFor(
      [&] { return pixelAt(w, coloured.x + coloured.width - 3, coloured.y + 2) == bg_pixel; }));
  // The header is painted in the control colour.
  EXPECT_EQ(pixelAt(w, 200, 1), control_pixel);
}

}  // namespace
