// Menus and tool tips: accelerator texts; on the program's Xvfb the menu
// bar by clicks, press-drag-release and keys, dimmed items, accelerators
// and bad descriptions; context menus for typed contexts, played from a
// timer while they wait; tool tips and their long texts as messages.
#include "widget_util.h"  // gtest before Xlib

#include <algorithm>
#include <chrono>

#include "gui/core/pixels.h"
#include "gui/core/tooltip.h"
#include "gui/menus/context_menu.h"
#include "gui/menus/menu_accel.h"
#include "gui/menus/menu_bar.h"
#include "gui/menus/menu_popup.h"

namespace {

TEST(MenuTexts, AcceleratorsAreReadAndMatched) {
  WAccel a, open, star;
  ASSERT_TRUE(W_parseAccel("Control+Del", &a));
  EXPECT_EQ(a.code, WKEY_DELETE);
  ASSERT_TRUE(W_parseAccel("F5", &a));
  EXPECT_EQ(a.code, 0x1C2);  // F5's keysym is 0xFFC2
  for (const char* bad : {"", "Ctrl+", "Ctrl+Banana", "Hyper+X", "F13", "F0", "Ctrl+Shift", "Ctrl+\x01"})
    EXPECT_FALSE(W_parseAccel(bad, &a)) << '"' << bad << '"';
  EXPECT_EQ(a.code, 0x1C2);  // untouched by the refusals
  W_parseAccel("Ctrl+O", &open);
  W_parseAccel("Ctrl+*", &star);
  EXPECT_TRUE(W_accelMatches(open, 'o', WMOD_CONTROL | WMOD_LOCK));
  EXPECT_FALSE(W_accelMatches(open, 'O', WMOD_CONTROL | WMOD_SHIFT));  // Shift counts for letters
  EXPECT_TRUE(W_accelMatches(star, '*', WMOD_CONTROL | WMOD_SHIFT));   // not for '*'
  EXPECT_TRUE(W_accelMatches(star, 0x1AA, WMOD_CONTROL));               // the keypad's '*'
  EXPECT_FALSE(W_accelMatches(star, '8', WMOD_CONTROL | WMOD_SHIFT));
  EXPECT_EQ(W_menuLabelText("Fish && &Chips", nullptr), "Fish & Chips");
}

std::vector<std::pair<int, int>> chosen;  // (menu, item) in dispatch order
std::vector<int> dimsAsked;
void fileChosen(WMenuBar*, int item) { chosen.emplace_back(0, item); }
void viewChosen(WMenuBar*, int item) { chosen.emplace_back(1, item); }
std::vector<std::pair<int, int>> dimNext;  // applied when asked

class MenuBars : public GuiSession {
 protected:
  // An item that takes every key and press it is given, as a text view does.
  struct Pane : WWindowedItem {
    Pane(WWindowedItem* parent) : WWindowedItem(parent, DrawRect{0, 40, 500, 260}, bg_pixel) {}
    bool handleKey(xinLibSt* e) override { return keys.push_back(e->code), true; }
    bool handleMousePress(xinLibSt*) override { return ++presses; }
    std::vector<int> keys;
    int presses = 0;
    std::vector<int> characters() const {  // without the modifier keys
      std::vector<int> out;
      std::copy_if(keys.begin(), keys.end(), std::back_inserter(out), [](int k) { return k < 0x100; });
      return out;
    }
  };
  void SetUp() override {
    GuiSession::SetUp();
    chosen.clear(), dimsAsked.clear(), dimNext.clear();
    W_registerMenuBar("TestViewerMenu",
                      {{"&File",
                        {{"&Open Diff...", "Ctrl+O"}, {"Open &New Diff...", "Ctrl+Shift+O"},
                         {"&Show Current Diff", "Ctrl+*"}, {"&Close", "Ctrl+Q"}},
                        fileChosen},
                       {"&View",
                        {{"Ignore Whitespace &Amount", ""}, {"Ignore Whitespace for &C", ""},
                         {"Ignore All &Whitespace", ""}, {"-", ""}, {"Case &Insensitive", ""}},
                        viewChosen}});
    window = openWindow("menu bar test", 500, 300);
    bar = new WMenuBar(window, DrawRect{0, 0, 500, WMenuBar::preferredHeight()}, "TestViewerMenu");
    bar->setDimsHandler([](WMenuBar* b, int menu) {
      dimsAsked.push_back(menu);
      for (auto [m, i] : dimNext) b->setDimmed(m, i, true);
    });
    pane = new Pane(window);
    pane->activateMe();
    xdotool({"mousemove", "1200", "1000"});  // away from where windows open
  }
  bool opened(int menu) {
    return waitFor([&] {
      return bar->openMenuIndex() == menu && bar->openPopup() &&
             xtest::viewable(bar->openPopup()->getWindow());
    });
  }
  bool highlighted(int item) {
    return waitFor([&] { return bar->openPopup() && bar->openPopup()->highlighted() == item; });
  }
  void clickTitle(int menu) {
    DrawRect t = bar->titleRect(menu);
    ASSERT_EQ(click(bar, t.x + t.width / 2, t.y + t.height / 2), 0);
  }
  void clickItem(int item) {
    ASSERT_TRUE(bar->openPopup());
    DrawRect r = bar->openPopup()->entryRect(item);
    ASSERT_EQ(xdotool({"mousemove", "--window", std::to_string(bar->openPopup()->getWindow()),
                       std::to_string(r.x + 20), std::to_string(r.y + r.height / 2), "click", "1"}), 0);
  }
  int menuKeys(const std::vector<std::string>& names) { return keys(window, names); }
  using Chosen = std::vector<std::pair<int, int>>;

  ColWind* window = nullptr;
  WMenuBar* bar = nullptr;
  Pane* pane = nullptr;
};

TEST_F(MenuBars, ClicksOpenSwitchCloseAndChooseCountingTheSeparator) {
  EXPECT_EQ(bar->itemCount(1), 5);
  ASSERT_TRUE(waitFor([&] { return xtest::inkIn(bar->getWindow(), area(bar->titleRect(0)), control_pixel) > 0; }));
  clickTitle(0);
  ASSERT_TRUE(opened(0));
  clickTitle(1);  // another title switches
  ASSERT_TRUE(opened(1));
  EXPECT_EQ(dimsAsked, (std::vector<int>{0, 1}));  // asked before opening
  clickItem(4);
  ASSERT_TRUE(waitFor([] { return !chosen.empty(); }));
  EXPECT_EQ(chosen, (Chosen{{1, 4}}));
  EXPECT_EQ(bar->openPopup(), nullptr);
  // Press on a title, drag to an item, release: chosen.
  DrawRect t = bar->titleRect(0);
  ASSERT_EQ(xdotool({"mousemove", "--window", id(bar), std::to_string(t.x + 5), "5", "mousedown", "1"}), 0);
  ASSERT_TRUE(opened(0));
  DrawRect r = bar->openPopup()->entryRect(2);
  ASSERT_EQ(xdotool({"mousemove", "--window", std::to_string(bar->openPopup()->getWindow()), "20",
                     std::to_string(r.y + r.height / 2)}), 0);
  ASSERT_TRUE(highlighted(2));
  ASSERT_EQ(xdotool({"mouseup", "1"}), 0);
  ASSERT_TRUE(waitFor([] { return chosen.size() == 2; }));
  EXPECT_EQ(chosen.back(), std::make_pair(0, 2));
  // A click outside closes without choosing, and goes nowhere.
  clickTitle(0);
  ASSERT_TRUE(opened(0));
  ASSERT_EQ(click(pane, 400, 200), 0);
  ASSERT_TRUE(waitFor([&] { return bar->openMenuIndex() < 0; }));
  ASSERT_EQ(click(pane, 400, 200), 0);  // with the menu gone, clicks reach the pane
  ASSERT_TRUE(waitFor([&] { return pane->presses == 1; }));
  EXPECT_EQ(chosen.size(), 2u);
}

TEST_F(MenuBars, KeysOpenStepAndChooseAndNeverReachTheActiveItem) {
  ASSERT_EQ(menuKeys({"alt+v"}), 0);  // the title's mnemonic
  ASSERT_TRUE(opened(1));
  ASSERT_TRUE(highlighted(0));
  ASSERT_EQ(menuKeys({"Down", "Down", "Down"}), 0);  // over the separator
  ASSERT_TRUE(highlighted(4));
  ASSERT_EQ(menuKeys({"Up", "Return"}), 0);
  ASSERT_TRUE(waitFor([] { return !chosen.empty(); }));
  EXPECT_EQ(chosen, (Chosen{{1, 2}}));
  ASSERT_EQ(menuKeys({"alt"}), 0);  // Alt alone: the first menu
  ASSERT_TRUE(opened(0));
  ASSERT_EQ(menuKeys({"Right"}), 0);
  ASSERT_TRUE(opened(1));
  ASSERT_EQ(menuKeys({"Right"}), 0);  // round to the first
  ASSERT_TRUE(opened(0));
  ASSERT_EQ(menuKeys({"Escape"}), 0);  // nothing chosen
  ASSERT_TRUE(waitFor([&] { return bar->openMenuIndex() < 0; }));
  ASSERT_EQ(menuKeys({"x"}), 0);
  ASSERT_TRUE(waitFor([&] { return pane->characters() == std::vector<int>{'x'}; }))
      << "menu keys leaked to the active item, or the keyboard did not come back";
  EXPECT_EQ(chosen.size(), 1u);
}

// (The viewer's tests read the View menu's check marks back as pixels.)
TEST_F(MenuBars, DimmedItemsCannotBeChosen) {
  dimNext = {{1, 0}, {1, 4}};
  clickTitle(1);
  ASSERT_TRUE(opened(1));
  clickItem(0);  // dimmed: closes nothing
  ASSERT_EQ(menuKeys({"Up", "a"}), 0);  // passes over dimmed items; their mnemonics do nothing
  ASSERT_TRUE(highlighted(2));
  EXPECT_EQ(bar->openMenuIndex(), 1);
  ASSERT_EQ(menuKeys({"Return"}), 0);
  ASSERT_TRUE(waitFor([] { return !chosen.empty(); }));
  EXPECT_EQ(chosen, (Chosen{{1, 2}}));
  EXPECT_FALSE(bar->setChecked(1, 3, true));  // a separator carries no mark
  EXPECT_FALSE(bar->setDimmed(7, 7, true));
}

TEST_F(MenuBars, AcceleratorsDispatchWhileAnotherItemHasTheKeys) {
  dimNext = {{0, 0}};
  ASSERT_EQ(menuKeys({"ctrl+o", "ctrl+shift+o", "ctrl+asterisk", "ctrl+p", "z"}), 0);
  drain();
  EXPECT_EQ(chosen, (Chosen{{0, 1}, {0, 2}}));  // Ctrl+O is dimmed
  EXPECT_EQ(dimsAsked, (std::vector<int>{0, 0, 0}));
  EXPECT_EQ(pane->characters(), (std::vector<int>{'p', 'z'})) << "only what is no accelerator";
  // Control+Q goes to the menu, not to the window's own Close binding; the
  // dispatcher may close the window.
  bar->setDispatcher(0, [](WMenuBar* b, int item) {
    chosen.emplace_back(0, item);
    cwDestroy(b->getTopLevel());
  });
  WindowId w = window->getWindow();
  ASSERT_EQ(menuKeys({"ctrl+q"}), 0);
  ASSERT_TRUE(waitFor([&] { return cwFromWindow(w) == nullptr; }));
  EXPECT_EQ(chosen.back(), std::make_pair(0, 3));
}

TEST_F(MenuBars, EmptyMenusAndUnknownDescriptionsAreWarnedAbout) {
  testing::internal::CaptureStderr();
  W_registerMenuBar("EmptyMenus", {{"&Empty", {}}, {"&Other", {{"&Go", "Ctrl+Nothing"}}}, {}});
  auto* empty = new WMenuBar(window, DrawRect{0, 0, 500, WMenuBar::preferredHeight()}, "EmptyMenus");
  auto* unknown = new WMenuBar(window, DrawRect{0, 270, 500, WMenuBar::preferredHeight()}, "NoSuchMenu");
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("Unknown accelerator \"Ctrl+Nothing\" for menu item \"&Go\""), std::string::npos) << err;
  EXPECT_NE(err.find("No menu bar is described as \"NoSuchMenu\""), std::string::npos) << err;
  EXPECT_EQ(unknown->menuCount() * 10 + empty->menuCount(), 3);
  EXPECT_FALSE(empty->openMenu(0, true));  // nothing to open
}


std::vector<std::string> actions;
struct FileContext : MenuContext {
  bool underVC = false;
};
struct ListContext : MenuContext {};

struct EditItem : MenuCommandHelper<FileContext> {
  std::string label(FileContext& c) override { return c.underVC ? "Edit File on Disk" : "Edit File"; }
  void action(FileContext&) override { actions.push_back("edit"); }
} editItem;
struct HistoryItem : MenuCommandHelper<FileContext> {
  bool enabled(FileContext& c) override { return c.underVC; }
  void action(FileContext&) override { actions.push_back("history"); }
} historyItem;
struct HiddenItem : MenuCommandHelper<FileContext> {
  bool visible(FileContext&) override { return false; }
} hiddenItem;
struct CheckedItem : MenuCommandHelper<FileContext> {
  bool checked(FileContext&) override { return true; }
} checkedItem;

class ContextMenus : public GuiSession {
 protected:
  void SetUp() override {
    GuiSession::SetUp();
    actions.clear();
    manager.append(&editItem, "Edit File");
    manager.appendSeparator();
    manager.append(&historyItem, "Show History");
    manager.append(&hiddenItem, "Hidden");
    manager.append(&checkedItem, "Checked");
    window = openWindow("context menu test", 400, 300);
    ASSERT_EQ(xdotool({"mousemove", "300", "200"}), 0);
  }
  // A step that waits for the menu, notes what it shows, and plays `then`.
  Script::Step whenUp(std::function<bool(WMenuPopup*)> then) {
    return [this, then] {
      WMenuPopup* p = manager.openPopup();
      if (!p || !xtest::viewable(p->getWindow())) return false;
      labels.clear(), dimmed.clear(), checked.clear();
      for (const WMenuEntry& e : p->entries())
        labels.push_back(W_menuLabelText(e.label)), dimmed.push_back(e.dimmed), checked.push_back(e.checked);
      title = p->title(), x = p->getX(), y = p->getY();
      return then(p);
    };
  }
  static bool choose(WMenuPopup* p, int row) {
    DrawRect r = p->entryRect(row);
    return xtest::xdotool({"mousemove", "--window", std::to_string(p->getWindow()),
                           std::to_string(r.x + 20), std::to_string(r.y + r.height / 2), "click", "1"}) == 0;
  }
  ContextMenuManager manager;
  ColWind* window = nullptr;
  std::vector<std::string> labels;
  std::vector<bool> dimmed, checked;
  std::string title;
  int x = -1, y = -1;
};

TEST_F(ContextMenus, ATypedContextGetsItsLabelsChecksAndTheChosenAction) {
  FileContext vc;
  vc.underVC = true;
  Script script({whenUp([](WMenuPopup* p) { return choose(p, 2); })});
  EXPECT_EQ(manager.show("Diff View Commands", vc), 2);
  EXPECT_EQ(actions, std::vector<std::string>{"history"});
  EXPECT_EQ(title, "Diff View Commands");
  EXPECT_EQ(labels, (std::vector<std::string>{"Edit File on Disk", "-", "Show History", "Checked"}));
  EXPECT_EQ(checked, (std::vector<bool>{false, false, false, true}));
  EXPECT_EQ(x * 1000 + y, 300200);  // at the pointer
  EXPECT_EQ(manager.openPopup(), nullptr);
  EXPECT_EQ(ContextMenuManager::active(), nullptr);
  // Outside version control history is dimmed: a click on it chooses
  // nothing, nor does Escape.
  FileContext plain;
  Script dim({whenUp([](WMenuPopup* p) { return choose(p, 2) && xtest::xdotool({"key", "Escape"}) == 0; })});
  EXPECT_EQ(manager.show("Diff View Commands", plain), -1);
  EXPECT_EQ(dimmed, (std::vector<bool>{false, false, true, false}));
  EXPECT_EQ(actions, std::vector<std::string>{"history"});
}

TEST_F(ContextMenus, OtherContextsGetNeutralAnswersAndNothingVisibleShowsNothing) {
  ListContext other;
  Script script({whenUp([](WMenuPopup* p) { return choose(p, 0); })});
  EXPECT_EQ(manager.show("Diff View List Commands", other), 0);
  EXPECT_TRUE(actions.empty());
  EXPECT_EQ(labels, (std::vector<std::string>{"Edit File", "-", "Show History", "Hidden", "Checked"}));
  EXPECT_EQ(checked, std::vector<bool>(5, false));
  EXPECT_EQ(dimmed, std::vector<bool>(5, false));
  ContextMenuManager hiddenOnly;
  hiddenOnly.append(&hiddenItem, "Hidden");
  hiddenOnly.appendSeparator();
  FileContext ctx;
  EXPECT_EQ(hiddenOnly.show("Nothing", ctx), -1);
}

// A right press opens the menu from inside the press's handler, as in a
// text view; dragging to an item and releasing there chooses it.  (The
// viewer's tests right-click and choose by keys.)
TEST_F(ContextMenus, ARightPressDragReleaseChooses) {
  struct Pane : WWindowedItem {
    Pane(WWindowedItem* parent, ContextMenuManager& m) : WWindowedItem(parent, DrawRect{0, 0, 400, 300}, bg_pixel), manager(m) {}
    bool handleMousePress(xinLibSt* e) override {
      FileContext ctx;
      return e->button == 3 && (result = manager.show("Diff View Commands", ctx), true);
    }
    ContextMenuManager& manager;
    int result = -2;
  }* pane = new Pane(window, manager);
  Script drag({whenUp([](WMenuPopup* p) {
    DrawRect r = p->entryRect(0);
    return xtest::xdotool({"mousemove", "--window", std::to_string(p->getWindow()), "20",
                           std::to_string(r.y + r.height / 2), "mouseup", "3"}) == 0;
  })});
  ASSERT_EQ(xdotool({"mousemove", "--window", id(pane), "100", "100", "mousedown", "3"}), 0);
  ASSERT_TRUE(waitFor([&] { return pane->result != -2; }));
  EXPECT_EQ(pane->result, 0);
  EXPECT_EQ(actions, std::vector<std::string>{"edit"});
}


class ToolTips : public GuiSession {
 protected:
  struct Pane : WWindowedItem {
    Pane(WWindowedItem* parent, DrawRect r) : WWindowedItem(parent, r, bg_pixel) {}
    bool handleMousePress(xinLibSt*) override { return ++presses; }
    int presses = 0;
  };
  void SetUp() override {
    GuiSession::SetUp();
    W_toolTipSetDelay(100);
    window = openWindow("tool tip test", 400, 300);
    tipped = new Pane(window, DrawRect{50, 50, 100, 40});
    tipped->setToolTip("Go to the next difference@@Show Next Difference (Ctrl++)");
    plain = new Pane(window, DrawRect{200, 50, 100, 40});
    drain();
  }
  void TearDown() override {
    W_toolTipSetDelay(600);
    GuiSession::TearDown();
  }
  static bool tipShown() {
    return W_toolTipShownText() == "Go to the next difference" && xtest::viewable(W_toolTipWindow());
  }
  bool messageIs(const std::string& m) { return waitFor([&] { return window->message == m; }); }
  // Rests on an item for twice the delay: long enough for any tip to show.
  void rest(Pane* p) {
    ASSERT_EQ(move(p, 10, 10), 0);
    waitFor([] { return false; }, 2 * W_toolTipDelay());
  }
  ColWind* window = nullptr;
  Pane *tipped = nullptr, *plain = nullptr;
};

TEST_F(ToolTips, TheShortTextPopsUpAfterTheRestAndTheLongOneFillsTheMessageUntilLeaving) {
  W_toolTipSetDelay(300);
  cwSetMsg(window, "Diff # 1 / 3", 0);
  auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(move(tipped, 10, 10), 0);
  ASSERT_TRUE(messageIs("Show Next Difference (Ctrl++)"));
  EXPECT_EQ(W_toolTipShownText(), "") << "popped up before the pointer rested";
  ASSERT_TRUE(waitFor(tipShown));
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(290));
  // Beside the pointer, below it, with the text painted inside its frame.
  int ox, oy;
  W_itemRootOrigin(tipped, &ox, &oy);
  xtest::Rect tip = xtest::geometry(W_toolTipWindow());
  EXPECT_TRUE(tip.x > ox + 10 && tip.x < ox + 40 && tip.y > oy + 10 && tip.y < oy + 60);
  EXPECT_TRUE(waitFor([&] {
    unsigned long inside = xtest::pixelAt(W_toolTipWindow(), 2, 2);
    return xtest::pixelAt(W_toolTipWindow(), 0, 0) != inside &&  // the frame
           xtest::inkIn(W_toolTipWindow(), {1, 1, tip.width - 2, tip.height - 2}, inside) > 20;
  }));
  WindowId shown = W_toolTipWindow();
  ASSERT_EQ(move(plain, 10, 10), 0);
  ASSERT_TRUE(waitFor([&] { return W_toolTipShownText().empty() && !xtest::viewable(shown); }));
  EXPECT_EQ(window->message, "Diff # 1 / 3");
}

TEST_F(ToolTips, PressesMessagesSetMeanwhileAndGoneItemsOrWindowsTakeTheTipAlong) {
  ASSERT_EQ(move(tipped, 20, 20), 0);
  ASSERT_TRUE(waitFor(tipShown));
  ASSERT_EQ(xdotool({"click", "1"}), 0);
  ASSERT_TRUE(waitFor([&] { return tipped->presses == 1 && W_toolTipShownText().empty(); }));
  EXPECT_EQ(window->message, "Show Next Difference (Ctrl++)");  // kept
  cwSetMsg(window, "Files are identical.", 0);
  rest(plain);  // no tip of its own; the message set meanwhile stays
  EXPECT_EQ(W_toolTipShownText(), "");
  EXPECT_EQ(window->message, "Files are identical.");
  plain->setToolTip("@@Only the long text");
  ASSERT_EQ(move(tipped, 10, 10), 0);
  ASSERT_TRUE(messageIs("Show Next Difference (Ctrl++)"));
  delete tipped;  // while waiting for the rest: nothing shows, the message is back
  waitFor([] { return false; }, 2 * W_toolTipDelay());
  EXPECT_EQ(W_toolTipShownText(), "");
  EXPECT_EQ(window->message, "Files are identical.");
  rest(plain);
  EXPECT_EQ(window->message, "Only the long text");
  EXPECT_EQ(W_toolTipShownText(), "");
  plain->setToolTip("Short@@Long");
  ASSERT_EQ(move(window, 5, 5), 0);
  ASSERT_EQ(move(plain, 10, 10), 0);
  ASSERT_TRUE(waitFor([] { return W_toolTipShownText() == "Short"; }));
  WindowId tip = W_toolTipWindow();
  window->closeCallback = nullptr;
  ASSERT_EQ(cwDestroy(window), 1);
  EXPECT_EQ(W_toolTipShownText(), "");
  EXPECT_FALSE(xtest::viewable(tip));
}

}  // namespace
