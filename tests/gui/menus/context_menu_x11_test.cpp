// Context menus against a real X server: the menu pops up at the pointer
// with the labels, dimming and check marks the commands give for a typed
// context, the neutral answers for a context of another kind, and choosing
// by click, by keys and by press-drag-release from a right press; Escape
// and dimmed items choose nothing.  show() waits in the loop, so the user's
// part is played by a timer that runs while the menu is up.
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "gui/core/colwind.h"
#include "gui/core/pixels.h"
#include "gui/loop/wtimer.h"
#include "gui/menus/context_menu.h"
#include "gui/menus/menu_popup.h"
#include "menu_test_util.h"

namespace {

std::vector<std::string> actionsRun;

struct FileContext : MenuContext {
  bool underVC = false;
};
struct ListContext : MenuContext {};

class EditItem : public MenuCommandHelper<FileContext> {
 public:
  static EditItem me;
  std::string label(FileContext& c) override {
    return c.underVC ? "Edit File on Disk" : "Edit File";
  }
  void action(FileContext&) override { actionsRun.push_back("edit"); }
};
EditItem EditItem::me;

class HistoryItem : public MenuCommandHelper<FileContext> {
 public:
  static HistoryItem me;
  bool enabled(FileContext& c) override { return c.underVC; }
  void action(FileContext&) override { actionsRun.push_back("history"); }
};
HistoryItem HistoryItem::me;

class HiddenItem : public MenuCommandHelper<FileContext> {
 public:
  static HiddenItem me;
  bool visible(FileContext&) override { return false; }
  void action(FileContext&) override { actionsRun.push_back("hidden"); }
};
HiddenItem HiddenItem::me;

class CheckedItem : public MenuCommandHelper<FileContext> {
 public:
  static CheckedItem me;
  bool checked(FileContext&) override { return true; }
  void action(FileContext&) override { actionsRun.push_back("checked"); }
};
CheckedItem CheckedItem::me;

// What the menu showed, seen from inside the wait.
struct Seen {
  std::vector<std::string> labels;
  std::vector<bool> dimmed, checked;
  std::string title;
  int x = -1, y = -1;
};

bool isViewable(WindowId w) {
  XWindowAttributes a;
  return w && XGetWindowAttributes(XSession::otherDisplay(), w, &a) && a.map_state == IsViewable;
}

// Plays the user while show() waits: once the menu is up, records it and
// runs the script; presses Escape if the menu is still up after a while,
// so a failing test cannot hang.
class Player : public WTimerHandler {
 public:
  Player(ContextMenuManager& m, std::function<void(WMenuPopup*)> script)
      : manager_(m), script_(std::move(script)), timer_(this, 20) {}
  void handleTimer(WTimer*) override {
    WMenuPopup* p = manager_.openPopup();
    if (!p || !isViewable(p->getWindow())) return;
    if (!played) {
      played = true;
      record(p);
      script_(p);
      started_ = std::chrono::steady_clock::now();
    } else if (std::chrono::steady_clock::now() - started_ > std::chrono::seconds(3)) {
      runProgram({"xdotool", "key", "Escape"});
    }
  }
  void record(WMenuPopup* p) {
    for (const WMenuEntry& e : p->entries()) {
      seen.labels.push_back(W_menuLabelText(e.label));
      seen.dimmed.push_back(e.dimmed);
      seen.checked.push_back(e.checked);
    }
    seen.title = p->title();
    seen.x = p->getX(), seen.y = p->getY();
  }
  bool played = false;
  Seen seen;

 private:
  ContextMenuManager& manager_;
  std::function<void(WMenuPopup*)> script_;
  WTimer timer_;
  std::chrono::steady_clock::time_point started_;
};

int click(WMenuPopup* p, int row) {
  DrawRect r = p->entryRect(row);
  std::string w = std::to_string(p->getWindow());
  runProgram({"xdotool", "mousemove", "--window", w, std::to_string(r.x + 20),
              std::to_string(r.y + r.height / 2)});
  return runProgram({"xdotool", "click", "1"});
}

class ContextMenuTest : public MenuSession {
 protected:
  void SetUp() override {
    MenuSession::SetUp();
    actionsRun.clear();
    manager.append(&EditItem::me, "Edit File");
    manager.appendSeparator();
    manager.append(&HistoryItem::me, "Show History");
    manager.append(&HiddenItem::me, "Hidden");
    manager.append(&CheckedItem::me, "Checked");
    window = openWindow("context menu test", 400, 300);
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(xdotool({"mousemove", "300", "200"}), 0);
  }
  ContextMenuManager manager;
  ColWind* window = nullptr;
};

TEST_F(ContextMenuTest, TypedContextGivesLabelsChecksAndTheChosenAction) {
  FileContext ctx;
  ctx.underVC = true;
  Player player(manager, [](WMenuPopup* p) { click(p, 2); });
  int chosen = manager.show("Diff View Commands", ctx);
  ASSERT_TRUE(player.played);
  EXPECT_EQ(chosen, 2);
  EXPECT_EQ(actionsRun, std::vector<std::string>{"history"});
  EXPECT_EQ(player.seen.title, "Diff View Commands");
  EXPECT_EQ(player.seen.labels,
            (std::vector<std::string>{"Edit File on Disk", "-", "Show History", "Checked"}));
  EXPECT_EQ(player.seen.checked, (std::vector<bool>{false, false, false, true}));
  EXPECT_EQ(player.seen.dimmed, (std::vector<bool>{false, false, false, false}));
  // At the pointer.
  EXPECT_EQ(player.seen.x, 300);
  EXPECT_EQ(player.seen.y, 200);
  EXPECT_EQ(manager.openPopup(), nullptr);
  EXPECT_EQ(ContextMenuManager::active(), nullptr);
}

TEST_F(ContextMenuTest, AnotherKindOfContextGetsNeutralAnswersAndNoAction) {
  ListContext other;
  Player player(manager, [](WMenuPopup* p) { click(p, 0); });
  int chosen = manager.show("Diff View List Commands", other);
  ASSERT_TRUE(player.played);
  EXPECT_EQ(chosen, 0);
  EXPECT_TRUE(actionsRun.empty());
  EXPECT_EQ(player.seen.labels, (std::vector<std::string>{"Edit File", "-", "Show History",
                                                          "Hidden", "Checked"}));
  EXPECT_EQ(player.seen.checked, std::vector<bool>(5, false));
  EXPECT_EQ(player.seen.dimmed, std::vector<bool>(5, false));
}

TEST_F(ContextMenuTest, DimmedCommandsCannotBeChosenAndEscapeChoosesNothing) {
  FileContext ctx;  // outside version control: history dimmed
  Player player(manager, [](WMenuPopup* p) {
    click(p, 2);
    runProgram({"xdotool", "key", "Escape"});
  });
  int chosen = manager.show("Diff View Commands", ctx);
  ASSERT_TRUE(player.played);
  EXPECT_EQ(chosen, -1);
  EXPECT_TRUE(actionsRun.empty());
  EXPECT_EQ(player.seen.labels,
            (std::vector<std::string>{"Edit File", "-", "Show History", "Checked"}));
  EXPECT_EQ(player.seen.dimmed, (std::vector<bool>{false, false, true, false}));
}

TEST_F(ContextMenuTest, KeysChooseAndSkipTheSeparator) {
  FileContext ctx;
  ctx.underVC = true;
  Player player(manager, [](WMenuPopup*) {
    runProgram({"xdotool", "key", "Down", "Down", "Down", "Return"});
  });
  int chosen = manager.show("Diff View Commands", ctx);
  EXPECT_EQ(chosen, 4);  // edit, history, checked: the hidden one is not shown
  EXPECT_EQ(actionsRun, std::vector<std::string>{"checked"});
}

TEST_F(ContextMenuTest, NothingVisibleShowsNothing) {
  ContextMenuManager hiddenOnly;
  hiddenOnly.append(&HiddenItem::me, "Hidden");
  hiddenOnly.appendSeparator();
  hiddenOnly.append(nullptr, "Ignored");
  FileContext ctx;
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(hiddenOnly.show("Nothing", ctx), -1);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(200));
  EXPECT_EQ(hiddenOnly.size(), 2);
}

// A pane that opens the menu from its right press, as a text view does.
class RightClickPane : public WWindowedItem {
 public:
  RightClickPane(WWindowedItem* parent, ContextMenuManager& m)
      : WWindowedItem(parent, DrawRect{0, 0, 400, 300}, bg_pixel), manager_(m) {}
  bool handleMousePress(xinLibSt* e) override {
    if (e->button != 3) return false;
    FileContext ctx;
    ctx.underVC = true;
    result = manager_.show("Diff View Commands", ctx);
    shown = true;
    return true;
  }
  int result = -2;
  bool shown = false;

 private:
  ContextMenuManager& manager_;
};

TEST_F(ContextMenuTest, RightPressDragReleaseChoosesFromInsideAnEventHandler) {
  auto* pane = new RightClickPane(window, manager);
  settle(50);
  Player player(manager, [](WMenuPopup* p) {
    DrawRect r = p->entryRect(0);
    runProgram({"xdotool", "mousemove", "--window", std::to_string(p->getWindow()),
                std::to_string(r.x + 20), std::to_string(r.y + r.height / 2)});
    runProgram({"xdotool", "mouseup", "3"});
  });
  ASSERT_EQ(moveTo(pane->getWindow(), 100, 100), 0);
  ASSERT_EQ(xdotool({"mousedown", "3"}), 0);
  ASSERT_TRUE(pump([&] { return pane->shown; }, 5000));
  EXPECT_EQ(pane->result, 0);
  EXPECT_EQ(actionsRun, std::vector<std::string>{"edit"});
}

TEST_F(ContextMenuTest, RightPressAndReleaseInPlaceKeepsTheMenuOpen) {
  auto* pane = new RightClickPane(window, manager);
  settle(50);
  bool stillUp = false;
  Player player(manager, [&](WMenuPopup*) {
    runProgram({"xdotool", "mouseup", "3"});
    // The release lands on the title row: nothing is chosen, the menu stays.
    pump([] { return false; }, 100);
    stillUp = manager.openPopup() != nullptr;
    runProgram({"xdotool", "key", "Escape"});
  });
  ASSERT_EQ(moveTo(pane->getWindow(), 100, 100), 0);
  ASSERT_EQ(xdotool({"mousedown", "3"}), 0);
  ASSERT_TRUE(pump([&] { return pane->shown; }, 5000));
  EXPECT_TRUE(stillUp);
  EXPECT_EQ(pane->result, -1);
  EXPECT_TRUE(actionsRun.empty());
}

}  // namespace
