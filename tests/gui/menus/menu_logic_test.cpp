// Menu pieces that need no display: accelerator texts and their matching,
// mnemonics, keyboard stepping over separators and dimmed entries, layout
// and hit-testing, the description registry, and the neutral answers of
// typed context-menu commands.
#include <gtest/gtest.h>

#include "gui/core/tooltip.h"
#include "gui/menus/context_menu.h"
#include "gui/menus/menu.h"
#include "gui/menus/menu_accel.h"
#include "gui/menus/menu_layout.h"

namespace {

WAccel accel(const std::string& text) {
  WAccel a;
  EXPECT_TRUE(W_parseAccel(text, &a)) << text;
  return a;
}

TEST(MenuAccelerators, TextsAreReadIntoCodesAndModifiers) {
  EXPECT_EQ(accel("Ctrl+O").code, 'o');
  EXPECT_EQ(accel("Ctrl+O").mods, unsigned(WMOD_CONTROL));
  EXPECT_EQ(accel("Ctrl+Shift+O").mods, unsigned(WMOD_CONTROL | WMOD_SHIFT));
  EXPECT_EQ(accel("Ctrl+*").code, '*');
  EXPECT_EQ(accel("Ctrl++").code, '+');
  EXPECT_EQ(accel("Ctrl+-").code, '-');
  EXPECT_EQ(accel("F5").code, 0x1C2);  // F5 keysym 0xFFC2
  EXPECT_EQ(accel("alt+f4").mods, unsigned(WMOD_ALT));
  EXPECT_EQ(accel("Control+Del").code, WKEY_DELETE);
}

TEST(MenuAccelerators, UnreadableTextsAreRefused) {
  WAccel a{7, 9};
  for (const char* bad : {"", "Ctrl+", "Ctrl+Banana", "Hyper+X", "F13", "F0", "Ctrl+Shift",
                          "Ctrl+\x01"})
    EXPECT_FALSE(W_parseAccel(bad, &a)) << '"' << bad << '"';
  EXPECT_EQ(a.code, 7);  // untouched
}

TEST(MenuAccelerators, MatchingWantsTheModifiersButShiftOnlyForLetters) {
  WAccel open = accel("Ctrl+O"), openNew = accel("Ctrl+Shift+O"), star = accel("Ctrl+*");
  EXPECT_TRUE(W_accelMatches(open, 'o', WMOD_CONTROL));
  EXPECT_TRUE(W_accelMatches(open, 'o', WMOD_CONTROL | WMOD_LOCK));
  EXPECT_FALSE(W_accelMatches(open, 'o', 0));
  EXPECT_FALSE(W_accelMatches(open, 'O', WMOD_CONTROL | WMOD_SHIFT));
  EXPECT_FALSE(W_accelMatches(open, 'o', WMOD_CONTROL | WMOD_ALT));
  EXPECT_TRUE(W_accelMatches(openNew, 'O', WMOD_CONTROL | WMOD_SHIFT));
  EXPECT_FALSE(W_accelMatches(openNew, 'o', WMOD_CONTROL));
  // '*' needs Shift on most keyboards; the keypad's '*' is the same key.
  EXPECT_TRUE(W_accelMatches(star, '*', WMOD_CONTROL | WMOD_SHIFT));
  EXPECT_TRUE(W_accelMatches(star, '*', WMOD_CONTROL));
  EXPECT_TRUE(W_accelMatches(star, 0x1AA, WMOD_CONTROL));
  EXPECT_FALSE(W_accelMatches(star, '8', WMOD_CONTROL | WMOD_SHIFT));
  EXPECT_FALSE(W_accelMatches(WAccel{}, 0, 0));
}

TEST(MenuLabels, MnemonicsAndShownText) {
  int at;
  EXPECT_EQ(W_menuLabelText("Open &New Diff...", &at), "Open New Diff...");
  EXPECT_EQ(at, 5);
  EXPECT_EQ(W_menuMnemonic("Open &New Diff..."), 'n');
  EXPECT_EQ(W_menuLabelText("Fish && &Chips", &at), "Fish & Chips");
  EXPECT_EQ(at, 7);
  EXPECT_EQ(W_menuMnemonic("No mnemonic"), 0);
  EXPECT_EQ(W_menuMnemonic("Trailing&"), 0);
  EXPECT_EQ(W_menuLabelText("Trailing&", &at), "Trailing&");
  EXPECT_EQ(at, -1);
}

std::vector<WMenuEntry> viewEntries() {
  std::vector<WMenuEntry> e(5);
  const char* labels[] = {"Ignore Whitespace &Amount", "Ignore Whitespace for &C",
                          "Ignore All &Whitespace", "-", "Case &Insensitive"};
  for (int i = 0; i < 5; i++) e[i].label = labels[i], e[i].separator = i == 3;
  return e;
}

TEST(MenuLabels, SteppingSkipsSeparatorsAndDimmedEntriesAndWraps) {
  std::vector<WMenuEntry> e = viewEntries();
  EXPECT_EQ(W_menuNextSelectable(e, -1, 1), 0);
  EXPECT_EQ(W_menuNextSelectable(e, 2, 1), 4);
  EXPECT_EQ(W_menuNextSelectable(e, 4, 1), 0);
  EXPECT_EQ(W_menuNextSelectable(e, 0, -1), 4);
  EXPECT_EQ(W_menuNextSelectable(e, -1, -1), 4);
  e[0].dimmed = true;
  EXPECT_EQ(W_menuNextSelectable(e, -1, 1), 1);
  EXPECT_EQ(W_menuEntryForMnemonic(e, 'A'), -1);  // dimmed
  EXPECT_EQ(W_menuEntryForMnemonic(e, 'i'), 4);
  for (WMenuEntry& x : e) x.dimmed = true;
  EXPECT_EQ(W_menuNextSelectable(e, 1, 1), -1);
  EXPECT_EQ(W_menuNextSelectable({}, -1, 1), -1);
}

TEST(MenuLayout, RowsStackUnderTheTitleAndHitTestingFindsThem) {
  std::vector<WMenuEntry> e = viewEntries();
  WMenuMetrics m = W_menuMetrics(16);
  std::vector<int> labels{100, 120, 90, 0, 80}, accels{0, 0, 40, 0, 0};
  WMenuLayout plain = W_layoutMenu(e, labels, accels, -1, m);
  ASSERT_EQ(plain.rows.size(), 5u);
  EXPECT_EQ(plain.titleHeight, 0);
  EXPECT_EQ(plain.rows[3].height, m.separatorHeight);
  EXPECT_EQ(plain.rows[4].y, plain.rows[3].y + m.separatorHeight);
  EXPECT_EQ(plain.height, plain.rows[4].y + plain.rows[4].height + 1);
  // Wide enough for the widest label and the accelerator after a gap.
  EXPECT_GE(plain.accelRight - 40 - plain.labelX, 120);
  EXPECT_LE(plain.accelRight, plain.width);
  EXPECT_EQ(W_menuEntryAt(plain, 5, plain.rows[2].y), 2);
  EXPECT_EQ(W_menuEntryAt(plain, 5, plain.rows[3].y + 1), 3);
  EXPECT_EQ(W_menuEntryAt(plain, 5, plain.height + 3), -1);
  EXPECT_EQ(W_menuEntryAt(plain, -1, plain.rows[0].y), -1);

  WMenuLayout titled = W_layoutMenu(e, labels, accels, 400, m);
  EXPECT_GT(titled.titleHeight, 0);
  EXPECT_GE(titled.width, 400);
  EXPECT_EQ(W_menuEntryAt(titled, 5, 2), -1);  // the title row chooses nothing
  EXPECT_EQ(titled.rows[0].y, plain.rows[0].y + titled.titleHeight);
}

TEST(MenuLayout, BarTitlesSitSideBySide) {
  std::vector<DrawRect> t = W_layoutMenuBar({30, 40, 0}, 20, 8);
  ASSERT_EQ(t.size(), 3u);
  EXPECT_EQ(t[1].x, 46);
  EXPECT_EQ(t[2].width, 16);
  EXPECT_EQ(W_menuTitleAt(t, 50, 10), 1);
  EXPECT_EQ(W_menuTitleAt(t, 50, 25), -1);
  EXPECT_EQ(W_menuTitleAt(t, 500, 10), -1);
}

TEST(MenuRegistry, DescriptionsAreFoundByNameAndBadAcceleratorsDropped) {
  testing::internal::CaptureStderr();
  W_registerMenuBar("LogicTestMenu", {{"&File", {{"&Open", "Ctrl+Banana"}, {"&Quit", "Ctrl+Q"}}},
                                      {"&Empty", {}}});
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("Unknown accelerator \"Ctrl+Banana\" for menu item \"&Open\""),
            std::string::npos)
      << err;
  const std::vector<WMenuDesc>* d = W_findMenuBar("LogicTestMenu");
  ASSERT_NE(d, nullptr);
  ASSERT_EQ(d->size(), 2u);
  EXPECT_EQ((*d)[0].items[0].accelerator, "");
  EXPECT_EQ((*d)[0].items[1].accelerator, "Ctrl+Q");
  EXPECT_TRUE((*d)[1].items.empty());
  EXPECT_EQ(W_findMenuBar("NoSuchMenu"), nullptr);
}

TEST(ToolTipTexts, ShortAndLongParts) {
  EXPECT_EQ(W_toolTipShortText("Go to the next difference@@Show Next Difference (Ctrl++)"),
            "Go to the next difference");
  EXPECT_EQ(W_toolTipLongText("Go to the next difference@@Show Next Difference (Ctrl++)"),
            "Show Next Difference (Ctrl++)");
  EXPECT_EQ(W_toolTipShortText("Close window"), "Close window");
  EXPECT_EQ(W_toolTipLongText("Close window"), "");
  EXPECT_EQ(W_toolTipShortText("@@only long"), "");
  EXPECT_EQ(W_toolTipLongText("a@@b@@c"), "b@@c");
}

// ---- typed commands -------------------------------------------------------------------

struct FileContext : MenuContext {
  bool underVC = false;
  int edits = 0;
};
struct ListContext : MenuContext {};

class EditCommand : public MenuCommandHelper<FileContext> {
 public:
  std::string label(FileContext& c) override { return c.underVC ? "Edit File on Disk" : ""; }
  bool enabled(FileContext& c) override { return c.underVC; }
  bool visible(FileContext& c) override { return c.underVC; }
  bool checked(FileContext&) override { return true; }
  void action(FileContext& c) override { c.edits++; }
};

TEST(MenuCommands, TypedContextGetsTheCommandsAnswers) {
  EditCommand cmd;
  FileContext vc;
  vc.underVC = true;
  MenuContext& c = vc;
  EXPECT_EQ(cmd.menuLabel(c), "Edit File on Disk");
  EXPECT_TRUE(cmd.menuVisible(c));
  EXPECT_TRUE(cmd.menuChecked(c));
  cmd.menuAction(c);
  EXPECT_EQ(vc.edits, 1);
  FileContext plain;
  EXPECT_FALSE(cmd.menuEnabled(plain));
  EXPECT_FALSE(cmd.menuVisible(plain));
}

TEST(MenuCommands, OtherContextsGetTheNeutralAnswers) {
  EditCommand cmd;
  ListContext other;
  EXPECT_EQ(cmd.menuLabel(other), "");
  EXPECT_TRUE(cmd.menuVisible(other));
  EXPECT_TRUE(cmd.menuEnabled(other));
  EXPECT_FALSE(cmd.menuChecked(other));
  cmd.menuAction(other);  // nothing to do, nothing to break
}

}  // namespace
