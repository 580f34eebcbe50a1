// Menus and tool tips: accelerator texts and mnemonics without a display;
// then on the program's Xvfb the menu bar opened and chosen from by
// clicks, press-drag-release and keys, with dimmed items, check marks read
// back as pixels, accelerators, and bad descriptions; context menus for
// typed contexts, played from a timer while they wait; tool tips after the
// pointer rests, with the long text in the window's message.
#include "widget_util.h"  // gtest before Xlib

#include <chrono>

#include "gui/core/pixels.h"
#include "gui/core/tooltip.h"
#include "gui/menus/context_menu.h"
#include "gui/menus/menu_accel.h"
#include "gui/menus/menu_bar.h"
#include "gui/menus/menu_popup.h"

namespace {

TEST(MenuTexts, AcceleratorsAreReadAndMatchedAndMnemonicsFound) {
  const struct {
    const char* text;
    int code;
    unsigned mods;
  } good[] = {{"Ctrl+O", 'o', WMOD_CONTROL},
              {"Ctrl+Shift+O", 'o', WMOD_CONTROL | WMOD_SHIFT},
              {"Ctrl++", '+', WMOD_CONTROL},
              {"F5", 0x1C2, 0},  // F5's keysym is 0xFFC2
              {"alt+f4", 0x1C1, WMOD_ALT},
              {"Control+Del", WKEY_DELETE, WMOD_CONTROL}};
  WAccel a;
  for (const auto& g : good) {
    ASSERT_TRUE(W_parseAccel(g.text, &a)) << g.text;
    EXPECT_EQ(a.code, g.code) << g.text;
    EXPECT_EQ(a.mods, g.mods) << g.text;
  }
  for (const char* bad : {"", "Ctrl+", "Ctrl+Banana", "Hyper+X", "F13", "F0", "Ctrl+Shift", "Ctrl+\x01"})
    EXPECT_FALSE(W_parseAccel(bad, &a)) << '"' << bad << '"';
  EXPECT_EQ(a.code, WKEY_DELETE);  // untouched by the refusals
  WAccel open, star;
  W_parseAccel("Ctrl+O", &open);
  W_parseAccel("Ctrl+*", &star);
  EXPECT_TRUE(W_accelMatches(open, 'o', WMOD_CONTROL | WMOD_LOCK));
  EXPECT_FALSE(W_accelMatches(open, 'O', WMOD_CONTROL | WMOD_SHIFT));  // Shift counts for letters
  EXPECT_FALSE(W_accelMatches(open, 'o', WMOD_CONTROL | WMOD_ALT));
  EXPECT_TRUE(W_accelMatches(star, '*', WMOD_CONTROL | WMOD_SHIFT));  // not for '*'
  EXPECT_TRUE(W_accelMatches(star, 0x1AA, WMOD_CONTROL));              // the keypad's '*'
  EXPECT_FALSE(W_accelMatches(star, '8', WMOD_CONTROL | WMOD_SHIFT));
  int at;
  EXPECT_EQ(W_menuLabelText("Fish && &Chips", &at), "Fish & Chips");
  EXPECT_EQ(at, 7);
  EXPECT_EQ(W_menuMnemonic("Open &New Diff..."), 'n');
  EXPECT_EQ(W_menuMnemonic("Trailing&"), 0);
}

std::vector<std::pair<int, int>> chosen;  // (menu, item) in dispatch order
std::vector<int> dimsAsked;
std::vector<std::pair<int, int>> dimNext, checkNext;  // applied when asked

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
      for (int k : keys)
        if (k < 0x100) out.push_back(k);
      return out;
    }
  };
  void SetUp() override {
    GuiSession::SetUp();
    chosen.clear(), dimsAsked.clear(), dimNext.clear(), checkNext.clear();
    auto record = [](int menu) {
      return [menu](WMenuBar*, int item) { chosen.emplace_back(menu, item); };
    };
    static auto file = record(0), view = record(1);
    W_registerMenuBar("TestViewerMenu",
                      {{"&File",
                        {{"&Open Diff...", "Ctrl+O"}, {"Open &New Diff...", "Ctrl+Shift+O"},
                         {"&Show Current Diff", "Ctrl+*"}, {"&Close", "Ctrl+Q"}},
                        [](WMenuBar* b, int i) { file(b, i); }},
                       {"&View",
                        {{"Ignore Whitespace &Amount", ""}, {"Ignore Whitespace for &C", ""},
                         {"Ignore All &Whitespace", ""}, {"-", ""}, {"Case &Insensitive", ""}},
                        [](WMenuBar* b, int i) { view(b, i); }}});
    window = openWindow("menu bar test", 500, 300);
    bar = new WMenuBar(window, DrawRect{0, 0, 500, WMenuBar::preferredHeight()}, "TestViewerMenu");
    bar->setDimsHandler([](WMenuBar* b, int menu) {
      dimsAsked.push_back(menu);
      for (auto [m, i] : dimNext) b->setDimmed(m, i, true);
      for (auto [m, i] : checkNext) b->setChecked(m, i, true);
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
  clickTitle(1);
  ASSERT_TRUE(opened(1));
  clickTitle(1);  // the same title closes
  ASSERT_TRUE(waitFor([&] { return bar->openMenuIndex() < 0; }));
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
  ASSERT_EQ(menuKeys({"Left"}), 0);
  ASSERT_TRUE(opened(1));
  ASSERT_EQ(menuKeys({"i"}), 0);  // an item's mnemonic chooses it
  ASSERT_TRUE(waitFor([] { return chosen.size() == 2; }));
  EXPECT_EQ(chosen.back(), std::make_pair(1, 4));
  ASSERT_EQ(menuKeys({"alt+f"}), 0);
  ASSERT_TRUE(opened(0));
  ASSERT_EQ(menuKeys({"Escape"}), 0);  // nothing chosen
  ASSERT_TRUE(waitFor([&] { return bar->openMenuIndex() < 0; }));
  ASSERT_EQ(menuKeys({"x"}), 0);
  ASSERT_TRUE(waitFor([&] { return pane->characters() == std::vector<int>{'x'}; }))
      << "menu keys leaked to the active item, or the keyboard did not come back";
  EXPECT_EQ(chosen.size(), 2u);
}

TEST_F(MenuBars, DimmedItemsCannotBeChosenAndCheckMarksAreDrawn) {
  dimNext = {{1, 0}, {1, 4}};
  checkNext = {{1, 1}};
  clickTitle(1);
  ASSERT_TRUE(opened(1));
  WMenuPopup* p = bar->openPopup();
  auto gutter = [&](int item) {
    DrawRect r = p->entryRect(item);
    return xtest::Rect{r.x, r.y, p->layout().labelX - r.x, r.height};
  };
  clickItem(0);  // dimmed: closes nothing
  ASSERT_EQ(menuKeys({"Up", "a"}), 0);  // passes over dimmed items; their mnemonics do nothing
  ASSERT_TRUE(highlighted(2));
  EXPECT_EQ(bar->openMenuIndex(), 1);
  EXPECT_GT(xtest::colours(p->getWindow(), gutter(1))[fg_pixel], 6);
  EXPECT_EQ(xtest::colours(p->getWindow(), gutter(2))[fg_pixel], 0);
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

TEST_F(MenuBars, EmptyMenusAndUnknownDescriptionsGiveInertTitlesAndWarnings) {
  testing::internal::CaptureStderr();
  W_registerMenuBar("EmptyMenus", {{"&Empty", {}}, {"&Other", {{"&Go", "Ctrl+Nothing"}}}, {}});
  auto* empty = new WMenuBar(window, DrawRect{0, 0, 500, WMenuBar::preferredHeight()}, "EmptyMenus");
  auto* unknown = new WMenuBar(window, DrawRect{0, 270, 500, WMenuBar::preferredHeight()}, "NoSuchMenu");
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("Unknown accelerator \"Ctrl+Nothing\" for menu item \"&Go\""), std::string::npos) << err;
  EXPECT_NE(err.find("No menu bar is described as \"NoSuchMenu\""), std::string::npos) << err;
  EXPECT_EQ(unknown->menuCount(), 0);
  EXPECT_EQ(empty->menuCount(), 3);
  EXPECT_FALSE(empty->openMenu(0, true));
  ASSERT_EQ(click(empty, empty->titleRect(0).x + 5, 5), 0);
  ASSERT_EQ(click(unknown, 10, 5), 0);
  drain();
  EXPECT_EQ(empty->openMenuIndex(), -1);
  ASSERT_TRUE(empty->openMenu(1, true));
  ASSERT_EQ(menuKeys({"Right"}), 0);  // passes over the empty menus
  drain();
  EXPECT_EQ(empty->openMenuIndex(), 1);
}

// ---- context menus -------------------------------------------------------------------

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
  void action(FileContext&) override { actions.push_back("hidden"); }
} hiddenItem;
struct CheckedItem : MenuCommandHelper<FileContext> {
  bool checked(FileContext&) override { return true; }
  void action(FileContext&) override { actions.push_back("checked"); }
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
  // Keys step over the separator; the hidden item is not shown.
  Script keys({whenUp([](WMenuPopup*) { return xtest::xdotool({"key", "Down", "Down", "Down", "Return"}) == 0; })});
  EXPECT_EQ(manager.show("Diff View Commands", vc), 4);
  EXPECT_EQ(actions, (std::vector<std::string>{"history", "checked"}));
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
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(hiddenOnly.show("Nothing", ctx), -1);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(200));
}

// A pane that opens the menu from its right press, as a text view does.
struct RightClickPane : WWindowedItem {
  RightClickPane(WWindowedItem* parent, ContextMenuManager& m)
      : WWindowedItem(parent, DrawRect{0, 0, 400, 300}, bg_pixel), manager(m) {}
  bool handleMousePress(xinLibSt* e) override {
    if (e->button != 3) return false;
    FileContext ctx;
    ctx.underVC = true;
    result = manager.show("Diff View Commands", ctx);
    return true;
  }
  ContextMenuManager& manager;
  int result = -2;
};

TEST_F(ContextMenus, ARightPressDragReleaseChoosesButAReleaseInPlaceKeepsTheMenu) {
  auto* pane = new RightClickPane(window, manager);
  bool stillUp = false;
  Script script({whenUp([](WMenuPopup*) { return xtest::xdotool({"mouseup", "3"}) == 0; }),
                 [&] {  // the release lands on the title row: nothing chosen
                   drain();
                   stillUp = manager.openPopup() != nullptr;
                   return xtest::xdotool({"key", "Escape"}) == 0;
                 }});
  ASSERT_EQ(xdotool({"mousemove", "--window", id(pane), "100", "100", "mousedown", "3"}), 0);
  ASSERT_TRUE(waitFor([&] { return pane->result != -2; }));
  EXPECT_TRUE(stillUp);
  EXPECT_EQ(pane->result, -1);
  pane->result = -2;
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

// ---- tool tips ---------------------------------------------------------------------------

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
  EXPECT_GT(tip.x, ox + 10);
  EXPECT_LT(tip.x, ox + 40);
  EXPECT_GT(tip.y, oy + 10);
  EXPECT_LT(tip.y, oy + 60);
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

TEST_F(ToolTips, APressTakesThePopupDownAndItemsWithoutShortTextsPopNothingUp) {
  ASSERT_EQ(move(tipped, 20, 20), 0);
  ASSERT_TRUE(waitFor(tipShown));
  ASSERT_EQ(xdotool({"click", "1"}), 0);
  ASSERT_TRUE(waitFor([&] { return tipped->presses == 1 && W_toolTipShownText().empty(); }));
  EXPECT_EQ(window->message, "Show Next Difference (Ctrl++)");  // kept
  rest(plain);
  EXPECT_EQ(W_toolTipShownText(), "");
  EXPECT_EQ(window->message, "");
  plain->setToolTip("@@Only the long text");
  ASSERT_EQ(move(tipped, 10, 10), 0);
  rest(plain);
  EXPECT_EQ(window->message, "Only the long text");
  EXPECT_EQ(W_toolTipShownText(), "");
}

TEST_F(ToolTips, MessagesSetMeanwhileStayAndGoneItemsOrWindowsTakeTheTipAlong) {
  ASSERT_EQ(move(tipped, 10, 10), 0);
  ASSERT_TRUE(messageIs("Show Next Difference (Ctrl++)"));
  cwSetMsg(window, "Files are identical.", 0);
  rest(plain);
  EXPECT_EQ(window->message, "Files are identical.");
  ASSERT_EQ(move(tipped, 10, 10), 0);
  ASSERT_TRUE(messageIs("Show Next Difference (Ctrl++)"));
  delete tipped;  // while waiting for the rest: nothing shows, the message goes
  waitFor([] { return false; }, 2 * W_toolTipDelay());
  EXPECT_EQ(W_toolTipShownText(), "");
  EXPECT_EQ(window->message, "Files are identical.");
  plain->setToolTip("Short@@Long");
  ASSERT_EQ(move(plain, 10, 10), 0);
  ASSERT_TRUE(waitFor([] { return W_toolTipShownText() == "Short"; }));
  WindowId tip = W_toolTipWindow();
  window->closeCallback = nullptr;
  ASSERT_EQ(cwDestroy(window), 1);
  EXPECT_EQ(W_toolTipShownText(), "");
  EXPECT_FALSE(xtest::viewable(tip));
}

}  // namespace
