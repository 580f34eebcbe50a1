// The menu bar against a real X server, driven with xdotool: opening by
// click and by Alt+mnemonic, choosing by keys, by click and by press-drag-
// release, Escape and outside clicks, dimmed items, check marks read back
// as pixels, accelerators while another item has the keys, and bad
// descriptions.
#include <utility>
#include <vector>

#include "gui/core/colwind.h"
#include "gui/core/pixels.h"
#include "gui/menus/menu_bar.h"
#include "menu_test_util.h"

namespace {

std::vector<std::pair<int, int>> chosen;  // (menu, index) in dispatch order
std::vector<int> dimsAsked;
std::vector<std::pair<int, int>> dimNext, checkNext;  // applied by the dims handler

void fileChosen(WMenuBar*, int index) { chosen.emplace_back(0, index); }
void viewChosen(WMenuBar*, int index) { chosen.emplace_back(1, index); }

void handleDims(WMenuBar* bar, int menu) {
  dimsAsked.push_back(menu);
  for (auto [m, i] : dimNext) bar->setDimmed(m, i, true);
  for (auto [m, i] : checkNext) bar->setChecked(m, i, true);
}

void registerViewerMenu() {
  W_registerMenuBar("TestViewerMenu",
                    {{"&File",
                      {{"&Open Diff...", "Ctrl+O"},
                       {"Open &New Diff...", "Ctrl+Shift+O"},
                       {"&Show Current Diff", "Ctrl+*"},
                       {"&Close", "Ctrl+Q"}},
                      fileChosen},
                     {"&View",
                      {{"Ignore Whitespace &Amount", ""},
                       {"Ignore Whitespace for &C", ""},
                       {"Ignore All &Whitespace", ""},
                       {"-", ""},
                       {"Case &Insensitive", ""}},
                      viewChosen}});
}

// An item that takes every key it is given, as a text view does.
class KeyEater : public WWindowedItem {
 public:
  KeyEater(WWindowedItem* parent, DrawRect r) : WWindowedItem(parent, r, bg_pixel) {}
  bool handleKey(xinLibSt* e) override {
    keys.push_back(e->code);
    return true;
  }
  bool handleMousePress(xinLibSt*) override {
    presses++;
    return true;
  }
  std::vector<int> keys;
  int presses = 0;
};

class MenuBarTest : public MenuSession {
 protected:
  void SetUp() override {
    MenuSession::SetUp();
    chosen.clear(), dimsAsked.clear(), dimNext.clear(), checkNext.clear();
    registerViewerMenu();
    window = openWindow("menu bar test", 500, 300);
    ASSERT_NE(window, nullptr);
    bar = new WMenuBar(window, DrawRect{0, 0, 500, WMenuBar::preferredHeight()},
                       "TestViewerMenu");
    bar->setDimsHandler(handleDims);
    pane = new KeyEater(window, DrawRect{0, 40, 500, 260});
    pane->activateMe();
    settle(50);
  }

  bool opened(int menu) {
    return pump([&] {
      return bar->openMenuIndex() == menu && bar->openPopup() &&
             viewable(bar->openPopup()->getWindow());
    });
  }
  bool closed() {
    return pump([&] { return bar->openMenuIndex() < 0; });
  }
  void focusWindow() {
    ASSERT_EQ(xdotool({"windowfocus", "--sync", id(window->getWindow())}), 0);
  }
  void clickItem(int item) {
    ASSERT_NE(bar->openPopup(), nullptr);
    WMenuPopup* p = bar->openPopup();
    ASSERT_EQ(clickCentre(p->getWindow(), p->entryRect(item)), 0);
  }

  ColWind* window = nullptr;
  WMenuBar* bar = nullptr;
  KeyEater* pane = nullptr;
};

TEST_F(MenuBarTest, DescriptionBuildsTitlesAndItems) {
  ASSERT_EQ(bar->menuCount(), 2);
  EXPECT_EQ(bar->menuTitle(1), "&View");
  EXPECT_EQ(bar->itemCount(0), 4);
  EXPECT_EQ(bar->itemCount(1), 5);
  EXPECT_EQ(bar->itemLabel(0, 1), "Open &New Diff...");
  EXPECT_EQ(bar->itemLabel(1, 3), "-");
  EXPECT_GT(bar->titleRect(1).x, bar->titleRect(0).x);
  // The titles are painted: ink of the text colour inside the first title.
  ASSERT_TRUE(pump([&] { return countPixels(bar->getWindow(), bar->titleRect(0), fg_pixel) > 0; }));
}

TEST_F(MenuBarTest, ClickOpensAndClickOnAnItemDispatchesItsIndexCountingTheSeparator) {
  ASSERT_EQ(clickCentre(bar->getWindow(), bar->titleRect(1)), 0);
  ASSERT_TRUE(opened(1));
  EXPECT_EQ(dimsAsked, std::vector<int>{1});  // asked before it opened
  EXPECT_EQ(bar->openPopup()->entries().size(), 5u);
  clickItem(4);
  ASSERT_TRUE(pump([] { return !chosen.empty(); }));
  EXPECT_EQ(chosen, (std::vector<std::pair<int, int>>{{1, 4}}));
  EXPECT_EQ(bar->openMenuIndex(), -1);
  EXPECT_EQ(bar->openPopup(), nullptr);
}

TEST_F(MenuBarTest, ClickOnAnotherTitleSwitchesAndOnTheSameTitleCloses) {
  ASSERT_EQ(clickCentre(bar->getWindow(), bar->titleRect(0)), 0);
  ASSERT_TRUE(opened(0));
  ASSERT_EQ(clickCentre(bar->getWindow(), bar->titleRect(1)), 0);
  ASSERT_TRUE(opened(1));
  ASSERT_EQ(clickCentre(bar->getWindow(), bar->titleRect(1)), 0);
  ASSERT_TRUE(closed());
  EXPECT_TRUE(chosen.empty());
}

TEST_F(MenuBarTest, PressDragReleaseChooses) {
  DrawRect t = bar->titleRect(0);
  ASSERT_EQ(moveTo(bar->getWindow(), t.x + t.width / 2, t.y + t.height / 2), 0);
  ASSERT_EQ(xdotool({"mousedown", "1"}), 0);
  ASSERT_TRUE(opened(0));
  WMenuPopup* p = bar->openPopup();
  DrawRect r = p->entryRect(2);
  ASSERT_EQ(moveTo(p->getWindow(), r.x + 20, r.y + r.height / 2), 0);
  ASSERT_TRUE(pump([&] { return bar->openPopup() && bar->openPopup()->highlighted() == 2; }));
  ASSERT_EQ(xdotool({"mouseup", "1"}), 0);
  ASSERT_TRUE(pump([] { return !chosen.empty(); }));
  EXPECT_EQ(chosen, (std::vector<std::pair<int, int>>{{0, 2}}));
}

TEST_F(MenuBarTest, ClickOutsideClosesWithoutChoosingAndTheClickGoesNowhere) {
  ASSERT_EQ(clickCentre(bar->getWindow(), bar->titleRect(0)), 0);
  ASSERT_TRUE(opened(0));
  ASSERT_EQ(clickAt(pane->getWindow(), 400, 200), 0);
  ASSERT_TRUE(closed());
  settle(50);
  EXPECT_TRUE(chosen.empty());
  EXPECT_EQ(pane->presses, 0);
  // With the menu gone, clicks reach the pane again.
  ASSERT_EQ(clickAt(pane->getWindow(), 400, 200), 0);
  EXPECT_TRUE(pump([&] { return pane->presses == 1; }));
}

TEST_F(MenuBarTest, AltMnemonicOpensAndKeysChooseSkippingTheSeparator) {
  focusWindow();
  ASSERT_EQ(xdotool({"key", "alt+v"}), 0);
  ASSERT_TRUE(opened(1));
  EXPECT_EQ(bar->openPopup()->highlighted(), 0);
  ASSERT_EQ(xdotool({"key", "Down", "Down", "Down"}), 0);
  ASSERT_TRUE(pump([&] { return bar->openPopup()->highlighted() == 4; }));
  ASSERT_EQ(xdotool({"key", "Up"}), 0);
  ASSERT_TRUE(pump([&] { return bar->openPopup()->highlighted() == 2; }));
  ASSERT_EQ(xdotool({"key", "Return"}), 0);
  ASSERT_TRUE(pump([] { return !chosen.empty(); }));
  EXPECT_EQ(chosen, (std::vector<std::pair<int, int>>{{1, 2}}));
  EXPECT_TRUE(pane->keys.empty()) << "menu keys leaked to the active item";
}

TEST_F(MenuBarTest, ALoneAltOpensTheFirstMenu) {
  focusWindow();
  ASSERT_EQ(xdotool({"key", "alt"}), 0);
  ASSERT_TRUE(opened(0));
  EXPECT_EQ(bar->openPopup()->highlighted(), 0);
  ASSERT_EQ(xdotool({"key", "Escape"}), 0);
  ASSERT_TRUE(closed());
}

TEST_F(MenuBarTest, ItemMnemonicChoosesAndLeftRightMoveBetweenMenus) {
  focusWindow();
  ASSERT_EQ(xdotool({"key", "alt+f"}), 0);
  ASSERT_TRUE(opened(0));
  ASSERT_EQ(xdotool({"key", "Right"}), 0);
  ASSERT_TRUE(opened(1));
  ASSERT_EQ(xdotool({"key", "Right"}), 0);  // wraps round to the first
  ASSERT_TRUE(opened(0));
  ASSERT_EQ(xdotool({"key", "Left"}), 0);
  ASSERT_TRUE(opened(1));
  ASSERT_EQ(xdotool({"key", "i"}), 0);
  ASSERT_TRUE(pump([] { return !chosen.empty(); }));
  EXPECT_EQ(chosen, (std::vector<std::pair<int, int>>{{1, 4}}));
}

TEST_F(MenuBarTest, EscapeClosesWithoutChoosing) {
  focusWindow();
  ASSERT_EQ(xdotool({"key", "alt+f"}), 0);
  ASSERT_TRUE(opened(0));
  ASSERT_EQ(xdotool({"key", "Escape"}), 0);
  ASSERT_TRUE(closed());
  settle(50);
  EXPECT_TRUE(chosen.empty());
  // The keyboard is back with the window: keys reach the active item.
  ASSERT_EQ(xdotool({"key", "x"}), 0);
  EXPECT_TRUE(pump([&] { return pane->keys == std::vector<int>{'x'}; }));
}

TEST_F(MenuBarTest, DimmedItemsCannotBeChosen) {
  dimNext = {{1, 0}, {1, 4}};
  ASSERT_EQ(clickCentre(bar->getWindow(), bar->titleRect(1)), 0);
  ASSERT_TRUE(opened(1));
  EXPECT_TRUE(bar->isDimmed(1, 0));
  clickItem(0);
  settle(100);
  EXPECT_TRUE(chosen.empty());
  EXPECT_EQ(bar->openMenuIndex(), 1) << "a click on a dimmed item closes nothing";
  // The keyboard passes over dimmed items and their mnemonics do nothing.
  ASSERT_EQ(xdotool({"key", "Up"}), 0);
  ASSERT_TRUE(pump([&] { return bar->openPopup()->highlighted() == 2; }));
  ASSERT_EQ(xdotool({"key", "a"}), 0);
  settle(50);
  EXPECT_TRUE(chosen.empty());
  ASSERT_EQ(xdotool({"key", "Return"}), 0);
  ASSERT_TRUE(pump([] { return !chosen.empty(); }));
  EXPECT_EQ(chosen, (std::vector<std::pair<int, int>>{{1, 2}}));
}

TEST_F(MenuBarTest, CheckMarksAreDrawnInTheGutterOfCheckedItemsOnly) {
  checkNext = {{1, 1}};
  ASSERT_EQ(clickCentre(bar->getWindow(), bar->titleRect(1)), 0);
  ASSERT_TRUE(opened(1));
  WMenuPopup* p = bar->openPopup();
  auto gutter = [&](int item) {
    DrawRect r = p->entryRect(item);
    return DrawRect{r.x, r.y, p->layout().labelX - r.x, r.height};
  };
  ASSERT_TRUE(pump([&] { return countPixels(p->getWindow(), gutter(1), fg_pixel) > 6; }));
  EXPECT_EQ(countPixels(p->getWindow(), gutter(0), fg_pixel), 0);
  EXPECT_EQ(countPixels(p->getWindow(), gutter(2), fg_pixel), 0);
  EXPECT_TRUE(bar->isChecked(1, 1));
  EXPECT_FALSE(bar->isChecked(1, 0));
}

TEST_F(MenuBarTest, AcceleratorsDispatchWhileAnotherItemHasTheKeys) {
  ASSERT_TRUE(pane->isActive());
  focusWindow();
  ASSERT_EQ(xdotool({"key", "ctrl+o"}), 0);
  ASSERT_EQ(xdotool({"key", "ctrl+shift+o"}), 0);
  ASSERT_EQ(xdotool({"key", "ctrl+asterisk"}), 0);
  ASSERT_EQ(xdotool({"key", "ctrl+q"}), 0);
  ASSERT_TRUE(pump([] { return chosen.size() == 4; }));
  EXPECT_EQ(chosen, (std::vector<std::pair<int, int>>{{0, 0}, {0, 1}, {0, 2}, {0, 3}}));
  EXPECT_EQ(dimsAsked, (std::vector<int>{0, 0, 0, 0}));
  // Control+Q went to the menu, not to the window's own Close binding.
  EXPECT_EQ(cwFromWindow(window->getWindow()), window);
  // Keys that are no accelerator still reach the active item (the modifier
  // keys themselves arrive too; only characters are looked at).
  auto characters = [&] {
    std::vector<int> out;
    for (int k : pane->keys)
      if (k < 0x100) out.push_back(k);
    return out;
  };
  EXPECT_TRUE(characters().empty()) << "an accelerator leaked to the active item";
  ASSERT_EQ(xdotool({"key", "ctrl+p", "z"}), 0);
  ASSERT_TRUE(pump([&] { return characters().size() == 2; }));
  EXPECT_EQ(characters(), (std::vector<int>{'p', 'z'}));
  EXPECT_EQ(chosen.size(), 4u);
}

TEST_F(MenuBarTest, AcceleratorOfADimmedItemDoesNothing) {
  dimNext = {{0, 3}};
  focusWindow();
  ASSERT_EQ(xdotool({"key", "ctrl+q"}), 0);
  ASSERT_TRUE(pump([] { return !dimsAsked.empty(); }));
  settle(50);
  EXPECT_TRUE(chosen.empty());
  EXPECT_EQ(cwFromWindow(window->getWindow()), window);
}

TEST_F(MenuBarTest, ADispatcherMayCloseTheWindow) {
  bar->setDispatcher(0, [](WMenuBar* b, int index) {
    chosen.emplace_back(0, index);
    cwDestroy(b->getTopLevel());
  });
  WindowId w = window->getWindow();
  focusWindow();
  ASSERT_EQ(xdotool({"key", "alt+f"}), 0);
  ASSERT_TRUE(opened(0));
  ASSERT_EQ(xdotool({"key", "c"}), 0);
  ASSERT_TRUE(pump([&] { return cwFromWindow(w) == nullptr; }));
  EXPECT_EQ(chosen, (std::vector<std::pair<int, int>>{{0, 3}}));
}

TEST_F(MenuBarTest, OutOfRangeIndicesAreRefused) {
  EXPECT_FALSE(bar->setChecked(1, 5, true));
  EXPECT_FALSE(bar->setChecked(1, -1, true));
  EXPECT_FALSE(bar->setChecked(2, 0, true));
  EXPECT_FALSE(bar->setChecked(-1, 0, true));
  EXPECT_FALSE(bar->setChecked(1, 3, true));  // a separator carries no mark
  EXPECT_FALSE(bar->setDimmed(7, 7, true));
  EXPECT_FALSE(bar->isChecked(9, 9));
  EXPECT_EQ(bar->itemCount(3), -1);
  EXPECT_EQ(bar->itemLabel(0, 4), "");
  EXPECT_FALSE(bar->openMenu(2, true));
  EXPECT_FALSE(bar->openMenu(-1, true));
  bar->setDispatcher(5, fileChosen);  // ignored
  EXPECT_TRUE(bar->setChecked(1, 4, true));
}

TEST_F(MenuBarTest, EmptyMenusAndUnknownDescriptionsGiveInertTitles) {
  testing::internal::CaptureStderr();
  W_registerMenuBar("EmptyMenus", {{"&Empty", {}}, {"&Other", {{"&Go", "Ctrl+Nothing"}}}, {}});
  WMenuBar* empty = new WMenuBar(window, DrawRect{0, 0, 500, WMenuBar::preferredHeight()},
                                 "EmptyMenus");
  WMenuBar* unknown =
      new WMenuBar(window, DrawRect{0, 270, 500, WMenuBar::preferredHeight()}, "NoSuchMenu");
  settle(50);
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("Unknown accelerator \"Ctrl+Nothing\""), std::string::npos) << err;
  EXPECT_NE(err.find("No menu bar is described as \"NoSuchMenu\""), std::string::npos) << err;
  EXPECT_EQ(unknown->menuCount(), 0);
  EXPECT_EQ(empty->menuCount(), 3);
  EXPECT_FALSE(empty->openMenu(0, true));
  EXPECT_FALSE(empty->openMenu(2, true));
  ASSERT_EQ(clickCentre(empty->getWindow(), empty->titleRect(0)), 0);
  ASSERT_EQ(clickAt(unknown->getWindow(), 10, 5), 0);
  settle(80);
  EXPECT_EQ(empty->openMenuIndex(), -1);
  // Left and Right pass over the empty menus.
  ASSERT_TRUE(empty->openMenu(1, true));
  ASSERT_EQ(xdotool({"key", "Right"}), 0);
  settle(50);
  EXPECT_EQ(empty->openMenuIndex(), 1);
  ASSERT_EQ(xdotool({"key", "Escape"}), 0);
  ASSERT_TRUE(pump([&] { return empty->openMenuIndex() < 0; }));
}

}  // namespace
