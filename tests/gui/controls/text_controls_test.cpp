// The message line and static texts on a real X server: window messages
// routed into the line, painting, hiding, and texts of any length.
#include "controls_util.h"
#include "gui/core/pixels.h"
#include "gui/widgets/message_line.h"
#include "gui/widgets/static_text.h"

namespace {

using MessageLines = ControlsTest;
using StaticTexts = ControlsTest;

std::string titleOf(ColWind* w) {
  XSync(xstate().display, False);
  char* name = nullptr;
  std::string out = XFetchName(XSession::otherDisplay(), w->getWindow(), &name) && name ? name : "";
  if (name) XFree(name);
  return out;
}

TEST_F(MessageLines, WindowMessagesShowInTheLineNotTheTitle) {
  ColWind* w = openWindow("viewer", 300, 100);
  auto* line = new WMessageLine(w, DrawRect{0, 80, 300, 20});
  line->attach();
  EXPECT_EQ(w->statusBox, line);
  settle(50);
  EXPECT_EQ(controls::pixelsOtherThan(line->getWindow(), 0, 0, 300, 20, control_pixel), 0);
  cwSetMsg(w, "Diff # 1 / 3\nsecond line", 0);
  EXPECT_EQ(line->getStatusText(), "Diff # 1 / 3");
  EXPECT_EQ(titleOf(w), "viewer");
  ASSERT_TRUE(waitFor([&] {
    return controls::pixelsOtherThan(line->getWindow(), 0, 0, 300, 20, control_pixel) > 20;
  }));
  cwSetPermanentMsg(w, "Files are identical.");
  cwSetMsg(w, "", 0);
  EXPECT_EQ(line->getStatusText(), "Files are identical.");
  // A very long message with stray bytes is painted without trouble.
  std::string huge(100000, 'x');
  huge[5] = '\xff';
  cwSetMsg(w, huge.c_str(), 0);
  EXPECT_EQ(line->getStatusText().size(), huge.size());
  settle(50);
}

TEST_F(MessageLines, ADeletedLineIsNoLongerTheStatusBox) {
  ColWind* w = openWindow("viewer", 300, 100);
  auto* line = new WMessageLine(w, DrawRect{0, 80, 300, 20});
  line->attach();
  delete line;
  EXPECT_EQ(w->statusBox, nullptr);
  cwSetMsg(w, "back in the title", 0);
  EXPECT_NE(titleOf(w).find("back in the title"), std::string::npos);
}

TEST_F(StaticTexts, TextIsPaintedChangedHiddenAndShown) {
  ColWind* w = openWindow("labels", 300, 100);
  auto* label = new WStaticText(w, DrawRect{10, 10, 120, WStaticText::preferredHeight()}, "");
  auto* right = new WStaticText(w, DrawRect{10, 40, 120, WStaticText::preferredHeight()},
                                "Version", WStaticText::kRight);
  settle(50);
  int h = label->getHeight();
  EXPECT_EQ(controls::pixelsOtherThan(label->getWindow(), 0, 0, 120, h, bg_pixel), 0);
  label->setText("File on disk");
  EXPECT_EQ(label->getText(), "File on disk");
  ASSERT_TRUE(waitFor([&] {
    return controls::pixelsOtherThan(label->getWindow(), 0, 0, 60, h, bg_pixel) > 10;
  }));
  // Right alignment: the left part is empty, the right part painted.
  EXPECT_EQ(controls::pixelsOtherThan(right->getWindow(), 0, 0, 40, h, bg_pixel), 0);
  EXPECT_GT(controls::pixelsOtherThan(right->getWindow(), 80, 0, 40, h, bg_pixel), 10);
  EXPECT_LT(right->preferredWidth(), 120);

  label->hide();
  XSync(xstate().display, False);
  XWindowAttributes a;
  ASSERT_TRUE(XGetWindowAttributes(otherDisplay(), label->getWindow(), &a));
  EXPECT_EQ(a.map_state, IsUnmapped);
  EXPECT_FALSE(label->isShown());
  label->show();
  XSync(xstate().display, False);
  ASSERT_TRUE(XGetWindowAttributes(otherDisplay(), label->getWindow(), &a));
  EXPECT_EQ(a.map_state, IsViewable);
}

TEST_F(StaticTexts, LongTextsMeasureWithoutOverflow) {
  std::string text(50000, 'W');
  int one = st_textWidth("W");
  ASSERT_GT(one, 0);
  EXPECT_EQ(st_textWidth(text), one * 50000);  // beyond what 16 bits can hold
  EXPECT_EQ(st_textWidth(""), 0);
  EXPECT_EQ(st_textWidth("\xff"), st_textWidth("\xEF\xBF\xBD"));
  ColWind* w = openWindow("long", 300, 100);
  auto* label = new WStaticText(w, DrawRect{10, 10, 120, 20}, text.c_str(), WStaticText::kRight);
  settle(50);
  // Too wide for its place: shown from its start, not pushed out of sight.
  EXPECT_GT(controls::pixelsOtherThan(label->getWindow(), 0, 0, 30, 20, bg_pixel), 10);
}

}  // namespace
