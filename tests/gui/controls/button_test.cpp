// Buttons and button sets on a real X server: clicks, the pressed look,
// Space and Enter on the active button, dimming, the tool bar's command
// words and layout, hiding, and a window closed from a button's callback.
#include <string>
#include <vector>

#include "controls_util.h"
#include "gui/core/event_loop.h"
#include "gui/core/pixels.h"
#include "gui/widgets/bitmap.h"
#include "gui/widgets/button.h"

namespace {

using controls::id;

std::vector<std::string> commands;
int clicks;

void recordCommand(WButton*, const char* command) { commands.push_back(command); }
void countClick(WButton* b) {
  // The owner's object is reached through the window.
  (*static_cast<int*>(b->getTopLevel()->returnData))++;
}

struct Row {
  ColWind* window;
  WButtonSet* set;
};

class Buttons : public ControlsTest {
 protected:
  static Row dialogRow() {
    ColWind* w = openWindow("buttons", 300, 120);
    auto* set = new WButtonSet(w, DrawRect{10, 10, 200, 40}, WButtonSet::kHorizontal);
    set->addButton("Diff");
    set->addButton("Cancel");
    set->setCommandHandler(recordCommand);
    commands.clear();
    return {w, set};
  }
};

TEST_F(Buttons, ClickCallsBackAndDimmedButtonsDoNot) {
  Row r = dialogRow();
  ASSERT_NE(r.window, nullptr);
  clicks = 0;
  r.window->returnData = &clicks;
  WButton* diff = r.set->findByLabel("Diff");
  ASSERT_NE(diff, nullptr);
  diff->setCallback(countClick);
  settle(50);
  click(diff);
  ASSERT_TRUE(waitFor([] { return commands.size() == 1; }));
  EXPECT_EQ(commands[0], "Diff");  // the label serves as command word
  EXPECT_EQ(clicks, 1);            // the button's own callback ran first

  EXPECT_TRUE(r.set->setDimmed("Cancel", true));
  EXPECT_TRUE(r.set->isDimmed("Cancel"));
  click(r.set->findByLabel("Cancel"));
  settle(150);
  EXPECT_EQ(commands.size(), 1u);
  r.set->setDimmed("Cancel", false);
  click(r.set->findByLabel("Cancel"));
  ASSERT_TRUE(waitFor([] { return commands.size() == 2; }));
  EXPECT_EQ(commands[1], "Cancel");
  EXPECT_FALSE(r.set->setDimmed("No such button", true));
}

TEST_F(Buttons, PressedLookFollowsThePointerAndReleaseOutsideCancels) {
  Row r = dialogRow();
  WButton* diff = r.set->findByLabel("Diff");
  settle(50);
  unsigned long raised = controls::pixelAt(diff->getWindow(), 0, 0);
  ASSERT_EQ(xdotool({"mousemove", "--window", id(diff), "5", "5", "mousedown", "1"}), 0);
  ASSERT_TRUE(waitFor([&] { return diff->looksPressed(); }));
  // The bevel turns round: the top left edge darkens.
  ASSERT_TRUE(waitFor([&] { return controls::pixelAt(diff->getWindow(), 0, 0) != raised; }));
  EXPECT_EQ(controls::pixelAt(diff->getWindow(), 0, 0), controlshadow_pixel);
  ASSERT_EQ(xdotool({"mousemove", "--window", id(r.window), "250", "100"}), 0);
  ASSERT_TRUE(waitFor([&] { return !diff->looksPressed(); }));
  ASSERT_EQ(xdotool({"mouseup", "1"}), 0);
  settle(150);
  EXPECT_TRUE(commands.empty());
}

TEST_F(Buttons, SpaceAndEnterActivateTheActiveButtonOnly) {
  Row r = dialogRow();
  WButton* cancel = r.set->findByLabel("Cancel");
  ASSERT_EQ(xdotool({"windowfocus", "--sync", id(r.window)}), 0);
  ASSERT_EQ(xdotool({"key", "space"}), 0);  // no button is active yet
  settle(100);
  EXPECT_TRUE(commands.empty());
  cancel->activateMe();
  ASSERT_EQ(xdotool({"key", "space", "Return", "KP_Enter"}), 0);
  ASSERT_TRUE(waitFor([] { return commands.size() == 3; }));
  EXPECT_EQ(commands, (std::vector<std::string>{"Cancel", "Cancel", "Cancel"}));
  cancel->setDimmed(true);
  ASSERT_EQ(xdotool({"key", "space", "a"}), 0);
  settle(100);
  EXPECT_EQ(commands.size(), 3u);
}

TEST_F(Buttons, ToolBarLaysOutFixedButtonsAndSeparatorsAndReportsCommands) {
  ColWind* w = openWindow("toolbar", 500, 100);
  auto* bar = new WButtonSet(w, DrawRect{0, 0, 500, 28}, WButtonSet::kHorizontal);
  bar->setButtonSize(92, 28);
  bar->addButton("Previous", "arrowup20", "prev",
                 "Go to the previous difference@@Show Previous Difference (Ctrl+-)");
  bar->addButton("Next", "arrowdown20", "next",
                 "Go to the next difference@@Show Next Difference (Ctrl++)");
  EXPECT_EQ(bar->addButton("-"), nullptr);
  bar->addButton("Reload", "reload", "reload",
                 "Reload both files, recomputing the differences@@Reload Files (F5)");
  bar->setCommandHandler(recordCommand);
  commands.clear();

  ASSERT_EQ(bar->count(), 3);
  WButton* reload = bar->findByCommand("reload");
  ASSERT_NE(reload, nullptr);
  EXPECT_EQ(reload->getLabel(), "Reload");
  EXPECT_EQ(bar->findByLabel("Next")->getCommand(), "next");
  EXPECT_EQ(bar->findByLabel("Next")->getToolTip(),
            "Go to the next difference@@Show Next Difference (Ctrl++)");
  EXPECT_EQ(bar->findByCommand("quit"), nullptr);
  EXPECT_EQ(bar->buttonAt(3), nullptr);
  // 92 + gap + 92 + gap + separator + gap: Reload starts at 206.
  EXPECT_EQ(reload->getX(), 92 + 4 + 92 + 4 + WButtonSet::kSeparatorSpace + 4);
  EXPECT_EQ(reload->getWidth(), 92);
  EXPECT_EQ(reload->getHeight(), 28);
  EXPECT_EQ(bar->preferredWidth(), reload->getX() + 92);

  settle(50);
  click(reload, 46, 14);
  click(bar->buttonAt(0), 46, 14);
  ASSERT_TRUE(waitFor([] { return commands.size() == 2; }));
  EXPECT_EQ(commands, (std::vector<std::string>{"reload", "prev"}));

  // A hidden button takes no room; the rest close up, and come back.
  EXPECT_TRUE(bar->setButtonShown("Next", false));
  EXPECT_EQ(reload->getX(), 92 + 4 + WButtonSet::kSeparatorSpace + 4);
  EXPECT_TRUE(bar->setButtonShown("next", true));
  EXPECT_EQ(reload->getX(), 206);
}

TEST_F(Buttons, SpinPairShowsArrowsOnlyAndSizesToThem) {
  ColWind* w = openWindow("spin", 200, 100);
  auto* spin = new WButtonSet(w, DrawRect{10, 10, 20, 40}, WButtonSet::kVertical);
  spin->setShowLabels(false);
  spin->setGap(0);
  WButton* next = spin->addButton("Next", "arrowup", nullptr, "@@Show Next Version");
  WButton* prev = spin->addButton("Previous", "arrowdown", nullptr, "@@Show Previous Version");
  EXPECT_EQ(next->getWidth(), bitmap_width(bitmap_find("arrowup")) + 6);
  EXPECT_EQ(prev->getY(), next->getHeight());
  EXPECT_EQ(spin->preferredHeight(), next->getHeight() + prev->getHeight());
  EXPECT_LT(spin->preferredHeight(), 40);  // fits beside a text field
  // The picture is painted: the arrow's tip row has dark pixels in the
  // middle, the corners keep the face colour.
  settle(50);
  int cx = next->getWidth() / 2, cy = next->getHeight() / 2;
  EXPECT_GT(controls::pixelsOtherThan(next->getWindow(), cx - 4, cy - 4, 9, 9, control_pixel), 10);
  EXPECT_EQ(controls::pixelAt(next->getWindow(), 3, 3), control_pixel);
}

TEST_F(Buttons, PicturesArePaintedAndGreyedWhenDimmed) {
  ColWind* w = openWindow("picture", 200, 100);
  auto* b = new WButton(w, DrawRect{10, 10, 40, 40}, "", "arrowup20");
  settle(50);
  // The shaft of the up arrow, in its blue, at the picture's centre.
  int px = 10 + 10, py = 10 + 14;
  unsigned r, g, bl;
  draw_pixelRGB(controls::pixelAt(b->getWindow(), px, py), &r, &g, &bl);
  EXPECT_EQ(bitmap_pixelRGB(bitmap_find("arrowup20"), 10, 14), 0x2850b0);
  EXPECT_EQ((r << 16 | g << 8 | bl), 0x2850b0u);
  b->setDimmed(true);
  ASSERT_TRUE(waitFor([&] { return controls::pixelAt(b->getWindow(), px, py) == controlshadow_pixel; }));
}

TEST_F(Buttons, UnknownPictureWarnsOnceAndLeavesTheLabel) {
  ColWind* w = openWindow("unknown", 200, 100);
  testing::internal::CaptureStderr();
  EXPECT_EQ(bitmap_find("no-such-picture"), nullptr);
  EXPECT_EQ(bitmap_find("no-such-picture"), nullptr);
  auto* b = new WButton(w, DrawRect{10, 10, 80, 30}, "Label", "no-such-picture");
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("no-such-picture"), std::string::npos);
  EXPECT_EQ(err.find("no-such-picture"), err.rfind("no-such-picture"));
  WButton plain(w, DrawRect{10, 50, 80, 30}, "Label");
  EXPECT_EQ(b->preferredWidth(), plain.preferredWidth());
  EXPECT_EQ(bitmap_find(nullptr), nullptr);
  EXPECT_EQ(bitmap_width(nullptr), 0);
  bitmap_draw(nullptr, bitmap_find("quit"), 0, 0, false);  // no target: nothing
  settle(50);  // and painting the button does not fall over
}

TEST_F(Buttons, WindowClosedFromACallbackStopsTheCommand) {
  Row r = dialogRow();
  r.set->findByLabel("Diff")->setCallback([](WButton* b) { cwDestroy(b->getTopLevel()); });
  int before = cwCount();
  settle(50);
  click(r.set->findByLabel("Diff"));
  ASSERT_TRUE(waitFor([&] { return cwCount() == before - 1; }));
  settle(50);
  EXPECT_TRUE(commands.empty());  // the set was gone: no command handler
}

TEST_F(Buttons, LongLabelsAreClippedToTheFace) {
  ColWind* w = openWindow("long", 200, 100);
  std::string label(5000, 'W');
  auto* b = new WButton(w, DrawRect{10, 10, 60, 24}, label.c_str());
  EXPECT_GT(b->preferredWidth(), 60);
  settle(50);
  // The bevel's right edge survives the text running past it.
  EXPECT_EQ(controls::pixelAt(b->getWindow(), 59, 12), controlshadow_pixel);
}

}  // namespace
