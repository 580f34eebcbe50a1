// Tool tips against a real X server: the short text pops up beside the
// pointer once it has rested for the delay, the long text fills the
// window's message while the pointer is over the item, and both go when it
// leaves; a press takes the popup down; items without tips show nothing.
#include <chrono>

#include "gui/core/colwind.h"
#include "gui/core/pixels.h"
#include "gui/core/popup.h"
#include "gui/core/tooltip.h"
#include "menu_test_util.h"

namespace {

constexpr const char* kTip = "Go to the next difference@@Show Next Difference (Ctrl++)";

class Pane : public WWindowedItem {
 public:
  Pane(WWindowedItem* parent, DrawRect r) : WWindowedItem(parent, r, bg_pixel) {}
  bool handleMousePress(xinLibSt*) override {
    presses++;
    return true;
  }
  int presses = 0;
};

class ToolTipTest : public MenuSession {
 protected:
  void SetUp() override {
    MenuSession::SetUp();
    W_toolTipSetDelay(200);
    window = openWindow("tool tip test", 400, 300);
    ASSERT_NE(window, nullptr);
    tipped = new Pane(window, DrawRect{50, 50, 100, 40});
    tipped->setToolTip(kTip);
    plain = new Pane(window, DrawRect{200, 50, 100, 40});
    settle(50);
  }
  void TearDown() override {
    W_toolTipSetDelay(600);
    MenuSession::TearDown();
  }

  static bool tipShown(const std::string& text) {
    return W_toolTipShownText() == text && viewable(W_toolTipWindow());
  }
  // Pixels inside the popup's frame that are not its background: the text.
  static int inkInTip() {
    WindowId w = W_toolTipWindow();
    XWindowAttributes a;
    if (!w || !XGetWindowAttributes(otherDisplay(), w, &a)) return -1;
    DrawRect inner{1, 1, a.width - 2, a.height - 2};
    XImage* img = XGetImage(otherDisplay(), w, 0, 0, 1, 1, AllPlanes, ZPixmap);
    unsigned long corner = img ? XGetPixel(img, 0, 0) : 0;  // the frame
    if (img) XDestroyImage(img);
    img = XGetImage(otherDisplay(), w, 2, 2, 1, 1, AllPlanes, ZPixmap);  // background
    unsigned long bg = img ? XGetPixel(img, 0, 0) : 0;
    if (img) XDestroyImage(img);
    int n = inner.width * inner.height - countPixels(w, inner, bg);
    return corner == bg ? -1 : n;
  }

  ColWind* window = nullptr;
  Pane* tipped = nullptr;
  Pane* plain = nullptr;
};

TEST_F(ToolTipTest, ShortTextPopsUpAfterTheRestAndLongTextFillsTheMessageUntilLeaving) {
  W_toolTipSetDelay(600);
  EXPECT_EQ(W_toolTipDelay(), 600);
  cwSetMsg(window, "Diff # 1 / 3", 0);
  auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(moveTo(tipped->getWindow(), 10, 10), 0);
  ASSERT_TRUE(pump([&] { return window->message == "Show Next Difference (Ctrl++)"; }));
  EXPECT_EQ(W_toolTipShownText(), "") << "popped up before the pointer rested";
  ASSERT_TRUE(pump([] { return tipShown("Go to the next difference"); }));
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(590));
  // Beside the pointer, below it, with the text painted.
  int ox, oy;
  W_itemRootOrigin(tipped, &ox, &oy);
  XWindowAttributes a;
  ASSERT_TRUE(XGetWindowAttributes(otherDisplay(), W_toolTipWindow(), &a));
  EXPECT_GT(a.x, ox + 10);
  EXPECT_LT(a.x, ox + 40);
  EXPECT_GT(a.y, oy + 10);
  EXPECT_LT(a.y, oy + 60);
  ASSERT_TRUE(pump([] { return inkInTip() > 20; }));

  WindowId tip = W_toolTipWindow();
  ASSERT_EQ(moveTo(plain->getWindow(), 10, 10), 0);
  ASSERT_TRUE(pump([&] { return W_toolTipShownText().empty() && !viewable(tip); }));
  EXPECT_EQ(window->message, "Diff # 1 / 3");
}

TEST_F(ToolTipTest, APressTakesThePopupDownButKeepsTheMessage) {
  ASSERT_EQ(moveTo(tipped->getWindow(), 20, 20), 0);
  ASSERT_TRUE(pump([] { return tipShown("Go to the next difference"); }));
  ASSERT_EQ(xdotool({"click", "1"}), 0);
  ASSERT_TRUE(pump([&] { return tipped->presses == 1 && W_toolTipShownText().empty(); }));
  EXPECT_EQ(window->message, "Show Next Difference (Ctrl++)");
  ASSERT_EQ(moveTo(plain->getWindow(), 10, 10), 0);
  ASSERT_TRUE(pump([&] { return window->message.empty(); }));
}

TEST_F(ToolTipTest, ItemsWithoutATipOrWithOnlyTheLongTextPopNothingUp) {
  ASSERT_EQ(moveTo(plain->getWindow(), 10, 10), 0);
  pump([] { return !W_toolTipShownText().empty(); }, 500);
  EXPECT_EQ(W_toolTipShownText(), "");
  EXPECT_EQ(window->message, "");

  plain->setToolTip("@@Only the long text");
  ASSERT_EQ(moveTo(tipped->getWindow(), 10, 10), 0);
  ASSERT_EQ(moveTo(plain->getWindow(), 10, 10), 0);
  ASSERT_TRUE(pump([&] { return window->message == "Only the long text"; }));
  pump([] { return !W_toolTipShownText().empty(); }, 500);
  EXPECT_EQ(W_toolTipShownText(), "");
}

TEST_F(ToolTipTest, AMessageSetWhileHoveringIsNotTakenAway) {
  ASSERT_EQ(moveTo(tipped->getWindow(), 10, 10), 0);
  ASSERT_TRUE(pump([&] { return window->message == "Show Next Difference (Ctrl++)"; }));
  cwSetMsg(window, "Files are identical.", 0);
  ASSERT_EQ(moveTo(plain->getWindow(), 10, 10), 0);
  ASSERT_TRUE(pump([] { return W_toolTipShownText().empty(); }));
  settle(50);
  EXPECT_EQ(window->message, "Files are identical.");
}

TEST_F(ToolTipTest, DeletingTheItemWhileWaitingShowsNothingAndRestoresTheMessage) {
  ASSERT_EQ(moveTo(tipped->getWindow(), 10, 10), 0);
  ASSERT_TRUE(pump([&] { return window->message == "Show Next Difference (Ctrl++)"; }));
  delete tipped;
  tipped = nullptr;
  pump([] { return !W_toolTipShownText().empty(); }, 600);
  EXPECT_EQ(W_toolTipShownText(), "");
  EXPECT_EQ(window->message, "");
}

TEST_F(ToolTipTest, ClosingTheWindowTakesTheTipDown) {
  ASSERT_EQ(moveTo(tipped->getWindow(), 10, 10), 0);
  ASSERT_TRUE(pump([] { return tipShown("Go to the next difference"); }));
  WindowId tip = W_toolTipWindow();
  window->closeCallback = nullptr;
  ASSERT_EQ(cwDestroy(window), 1);
  EXPECT_EQ(W_toolTipShownText(), "");
  EXPECT_FALSE(viewable(tip));
}

}  // namespace
