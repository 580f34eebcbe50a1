// Buttons, splitters, the message line, static texts, the window icon and
// the saved window places, on the program's Xvfb: clicks and keys through
// xdotool, the pressed and dimmed looks read back as pixels, callbacks that
// close their own window, and the geometry file under damage.
#include "widget_util.h"  // gtest before Xlib

#include <X11/Xutil.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "config/config_dirs.h"
#include "gui/core/pixels.h"
#include "gui/core/window_config.h"
#include "gui/widgets/bitmap.h"
#include "gui/widgets/button.h"
#include "gui/widgets/message_line.h"
#include "gui/widgets/splitter.h"
#include "gui/widgets/static_text.h"

namespace {

using Controls = GuiSession;

std::vector<std::string> commands;
void recordCommand(WButton*, const char* command) { commands.push_back(command); }

TEST_F(Controls, ButtonsCallBackOnClicksSpaceAndEnterButNotWhenDimmed) {
  ColWind* w = openWindow("buttons", 300, 120);
  auto* set = new WButtonSet(w, DrawRect{10, 10, 200, 40}, WButtonSet::kHorizontal);
  WButton* diff = set->addButton("Diff");
  WButton* cancel = set->addButton("Cancel");
  set->setCommandHandler(recordCommand);
  commands.clear();
  static int clicks = 0;
  diff->setCallback([](WButton*) { clicks++; });  // runs before the command handler
  ASSERT_TRUE(set->setDimmed("Cancel", true));
  EXPECT_FALSE(set->setDimmed("No such button", true));
  ASSERT_EQ(click(cancel, 5, 5), 0);
  ASSERT_EQ(click(diff, 5, 5), 0);
  drain();
  EXPECT_EQ(commands, std::vector<std::string>{"Diff"});  // the label is the command word
  EXPECT_EQ(clicks, 1);
  set->setDimmed("Cancel", false);
  ASSERT_EQ(keys(w, {"space"}), 0);  // no button is active yet
  drain();
  cancel->activateMe();
  ASSERT_EQ(keys(w, {"space", "Return", "KP_Enter"}), 0);
  drain();
  cancel->setDimmed(true);
  ASSERT_EQ(keys(w, {"space"}), 0);
  drain();
  EXPECT_EQ(commands, (std::vector<std::string>{"Diff", "Cancel", "Cancel", "Cancel"}));
  // The pressed look follows the pointer; a release outside does nothing.
  unsigned long raised = xtest::pixelAt(diff->getWindow(), 0, 0);
  ASSERT_EQ(xdotool({"mousemove", "--window", id(diff), "5", "5", "mousedown", "1"}), 0);
  ASSERT_TRUE(waitFor([&] { return diff->looksPressed(); }));
  ASSERT_TRUE(waitFor([&] { return xtest::pixelAt(diff->getWindow(), 0, 0) != raised; }));
  EXPECT_EQ(xtest::pixelAt(diff->getWindow(), 0, 0), controlshadow_pixel);  // the bevel turns
  ASSERT_EQ(xdotool({"mousemove", "--window", id(w), "250", "100", "mouseup", "1"}), 0);
  drain();
  EXPECT_FALSE(diff->looksPressed());
  EXPECT_EQ(commands.size(), 4u);
  // A callback that closes the window stops the command.
  diff->setCallback([](WButton* b) { cwDestroy(b->getTopLevel()); });
  ASSERT_EQ(click(diff, 5, 5), 0);
  ASSERT_TRUE(waitFor([] { return cwCount() == 0; }));
  EXPECT_EQ(commands.size(), 4u);
}

TEST_F(Controls, ToolBarsLayOutFixedButtonsAndFindThemByCommand) {
  ColWind* w = openWindow("toolbar", 500, 100);
  auto* bar = new WButtonSet(w, DrawRect{0, 0, 500, 28}, WButtonSet::kHorizontal);
  bar->setButtonSize(92, 28);
  bar->addButton("Previous", "arrowup20", "prev", "Go to the previous difference");
  bar->addButton("Next", "arrowdown20", "next", "Go to the next difference");
  EXPECT_EQ(bar->addButton("-"), nullptr);  // a separator
  WButton* reload = bar->addButton("Reload", "reload", "reload", "Reload both files");
  bar->setCommandHandler(recordCommand);
  commands.clear();
  EXPECT_EQ(bar->findByCommand("reload"), reload);
  EXPECT_EQ(bar->findByCommand("quit"), nullptr);
  int x = reload->getX();
  EXPECT_EQ(bar->preferredWidth(), x + 92);
  ASSERT_EQ(click(reload, 46, 14), 0);
  drain();
  EXPECT_EQ(commands, std::vector<std::string>{"reload"});  // the command word, not the label
}

TEST_F(Controls, PicturesArePaintedGreyedWhenDimmedAndUnknownOnesWarnOnce) {
  ColWind* w = openWindow("picture", 200, 100);
  auto* b = new WButton(w, DrawRect{10, 10, 40, 40}, "", "arrowup20");
  // The shaft of the up arrow, in its blue, at the picture's centre.
  ASSERT_TRUE(waitFor([&] { return xtest::pixelAt(b->getWindow(), 20, 24) != bg_pixel; }));
  EXPECT_EQ(xtest::pixelAt(b->getWindow(), 20, 24), draw_allocRGB(0x28, 0x50, 0xb0));
  b->setDimmed(true);
  EXPECT_TRUE(waitFor([&] { return xtest::pixelAt(b->getWindow(), 20, 24) == controlshadow_pixel; }));
  testing::internal::CaptureStderr();
  EXPECT_EQ(bitmap_find("no-such-picture"), nullptr);
  auto* unknown = new WButton(w, DrawRect{10, 50, 80, 30}, "Label", "no-such-picture");
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("no-such-picture"), std::string::npos);
  EXPECT_EQ(err.find("no-such-picture"), err.rfind("no-such-picture"));
  WButton plain(w, DrawRect{10, 50, 80, 30}, "Label");
  EXPECT_EQ(unknown->preferredWidth(), plain.preferredWidth());
}

TEST_F(Controls, TheWindowIconReachesTheWindowManagerHints) {
  ColWind* w = openWindow("icon", 200, 100);
  EXPECT_FALSE(bitmap_setWindowIcon(w, "no-such-icon"));
  EXPECT_FALSE(bitmap_setWindowIcon(nullptr, "VORNEPIC"));
  ASSERT_TRUE(bitmap_setWindowIcon(w, "VORNEPIC"));
  xtest::flush();
  XWMHints* hints = XGetWMHints(other(), w->getWindow());
  ASSERT_NE(hints, nullptr);
  EXPECT_EQ(hints->flags & (IconPixmapHint | IconMaskHint | InputHint),
            IconPixmapHint | IconMaskHint | InputHint);  // the window's own hints kept
  Pixmap icon = hints->icon_pixmap;
  XFree(hints);
  EXPECT_GT(xtest::inkIn(icon, {0, 0, 32, 32}, bg_pixel), 200);  // dark page edges
  EXPECT_EQ(xtest::property(w->getWindow(), "_NET_WM_ICON").size(), (2 + 32 * 32) * sizeof(long));
}

int moves, lastPosition;
void recordMove(WSplitter* s) { moves++, lastPosition = s->position(); }

TEST_F(Controls, SplittersDragBetweenTheirLimitsUnlessDimmed) {
  // Area [0, 400), bar 6 wide, 100 pixels kept on each side: 100..294; no
  // room for both minimums gives the even split.
  EXPECT_EQ(splitter_clamp(20, 0, 400, 6, 100, 100), 100);
  EXPECT_EQ(splitter_clamp(390, 0, 400, 6, 100, 100), 294);
  EXPECT_EQ(splitter_clamp(10, 0, 100, 6, 100, 100), 47);
  ColWind* w = openWindow("split", 400, 200);
  auto* s = new WSplitter(w, DrawRect{150, 0, WSplitter::kThickness, 200}, WSplitter::kVerticalBar);
  s->setArea(0, 400);
  s->setMinimums(100, 100);
  s->setCallback(recordMove);
  moves = 0;
  ASSERT_EQ(xdotool({"mousemove", "--window", id(s), "3", "100", "mousedown", "1", "mousemove",
                     "--window", id(w), "250", "100"}), 0);
  ASSERT_TRUE(waitFor([&] { return s->position() == 247; }));  // grabbed 3 pixels in
  EXPECT_EQ(lastPosition, 247);
  ASSERT_EQ(xdotool({"mousemove", "--window", id(w), "390", "100"}), 0);
  ASSERT_TRUE(waitFor([&] { return s->position() == 294; }));
  ASSERT_EQ(xdotool({"mousemove", "--window", id(w), "5", "100", "mouseup", "1"}), 0);
  ASSERT_TRUE(waitFor([&] { return !s->isDragging(); }));
  EXPECT_EQ(s->position(), 100);
  EXPECT_EQ(xtest::geometry(s->getWindow()).x, 100);  // the window really moved
  // Moves by the program call nothing back.
  int before = moves;
  s->setMinimums(100, 200);  // now 100..194: the bar is pulled in
  s->splitEvenly();
  EXPECT_EQ(s->position(), 194);
  s->centre();
  EXPECT_EQ(s->position(), 147);
  EXPECT_EQ(moves, before);
  s->setDimmed(true);
  ASSERT_EQ(xdotool({"mousemove", "--window", id(s), "3", "100", "mousedown", "1", "mousemove",
                     "--window", id(w), "250", "100", "mouseup", "1"}), 0);
  drain();
  EXPECT_EQ(s->position(), 147);
  s->setDimmed(false);
  s->setCallback([](WSplitter* bar) { delete bar; });  // a callback may delete the bar
  ASSERT_EQ(xdotool({"mousemove", "--window", id(s), "3", "100", "mousedown", "1", "mousemove",
                     "--window", id(w), "250", "100", "mouseup", "1"}), 0);
  EXPECT_TRUE(waitFor([&] { return w->getChildren().empty(); }));
}

TEST_F(Controls, MessagesShowInTheMessageLineAndStaticTextsPaintAndHide) {
  ColWind* w = openWindow("viewer", 300, 100);
  auto* line = new WMessageLine(w, DrawRect{0, 80, 300, 20});
  line->attach();
  auto* label = new WStaticText(w, DrawRect{10, 10, 120, WStaticText::preferredHeight()}, "");
  auto* right = new WStaticText(w, DrawRect{10, 40, 120, WStaticText::preferredHeight()},
                                "Version", WStaticText::kRight);
  drain();
  int h = label->getHeight();
  EXPECT_EQ(xtest::inkIn(line->getWindow(), {0, 0, 300, 20}, control_pixel), 0);
  EXPECT_EQ(xtest::inkIn(label->getWindow(), {0, 0, 120, h}, bg_pixel), 0);
  cwSetMsg(w, "Diff # 1 / 3\nsecond line", 0);
  label->setText("File on disk");
  EXPECT_EQ(line->getStatusText(), "Diff # 1 / 3");
  EXPECT_EQ(xtest::title(w->getWindow()), "viewer");
  EXPECT_TRUE(waitFor([&] { return xtest::inkIn(line->getWindow(), {0, 0, 300, 20}, control_pixel) > 20; }));
  EXPECT_GT(xtest::inkIn(label->getWindow(), {0, 0, 60, h}, bg_pixel), 10);
  // Right alignment: the left part is empty, the right part painted.
  EXPECT_EQ(xtest::inkIn(right->getWindow(), {0, 0, 40, h}, bg_pixel), 0);
  EXPECT_GT(xtest::inkIn(right->getWindow(), {80, 0, 40, h}, bg_pixel), 10);
  label->hide();
  EXPECT_FALSE(xtest::viewable(label->getWindow()));
  // Texts too wide for their place show from their start; widths beyond
  // 16 bits and stray bytes are measured right.
  std::string huge(50000, 'W');
  EXPECT_EQ(st_textWidth(huge), st_textWidth("W") * 50000);
  EXPECT_EQ(st_textWidth("\xff"), st_textWidth("\xEF\xBF\xBD"));
  right->setText(huge.c_str());
  EXPECT_TRUE(waitFor([&] { return xtest::inkIn(right->getWindow(), {0, 0, 30, h}, bg_pixel) > 10; }));
  cwSetMsg(w, (huge + "\xff").c_str(), 0);
  EXPECT_EQ(line->getStatusText().size(), huge.size() + 1);
  delete line;  // the title takes the messages again
  EXPECT_EQ(w->statusBox, nullptr);
  cwSetMsg(w, "back in the title", 0);
  EXPECT_NE(xtest::title(w->getWindow()).find("back in the title"), std::string::npos);
}


class WindowPlaces : public GuiSession {
 protected:
  void SetUp() override {
    GuiSession::SetUp();
    char tmpl[] = "/tmp/wlifeXXXXXX";
    dir = mkdtemp(tmpl);
    cfg_SetUserConfigDir(dir.c_str());
  }
  void TearDown() override {
    GuiSession::TearDown();
    cfg_SetUserConfigDir(nullptr);
    std::filesystem::remove_all(dir);
  }
  std::string file() const { return dir + "/windows.geom"; }
  std::string read() const {
    std::stringstream s;
    s << std::ifstream(file()).rdbuf();
    return s.str();
  }
  long files() const { return std::distance(std::filesystem::directory_iterator(dir), {}); }
  static std::string place(ColWind* w) {
    xtest::Rect r = xtest::geometry(w->getWindow());
    return (std::ostringstream() << r.x << " " << r.y << " " << r.width << " " << r.height).str();
  }
  static void saveAndClose(const char* windowClass, ColWind* w) {
    WindowConfig_DestroyWindow(windowClass, w);
    cwDestroy(w);
  }
  // A new window (made at 20,20 300x200) given its class's saved place.
  static ColWind* reopen(const char* windowClass) {
    ColWind* w = openWindow("again");
    WindowConfig_CreateWindow(windowClass, w);
    return w;
  }
  std::string dir;
};

// (The viewer's tests see a moved window come back at the next start.)
TEST_F(WindowPlaces, EachClassHasOneLineAndOtherClassesLinesAreKept) {
  std::ofstream(file()) << "Compare 10 20 600 500\n";
  ColWind* w = openWindow("viewer");
  cwSetGeometry(w, DrawRect{61, 71, 401, 301});
  saveAndClose("DiffViewer", w);
  w = openWindow("viewer");  // saved again: still one line
  cwSetGeometry(w, DrawRect{61, 71, 401, 301});
  saveAndClose("DiffViewer", w);
  EXPECT_EQ(read(), "Compare 10 20 600 500\nDiffViewer 61 71 401 301\n");
  EXPECT_EQ(files(), 1);  // the temporary file was renamed, not left
  EXPECT_EQ(place(reopen("Compare")), "10 20 600 500");
  EXPECT_EQ(place(reopen("Never")), "20 20 300 200");
  // Under a reparenting window manager the frame's corner is saved.
  w = openWindow("framed");
  Window frame = XCreateSimpleWindow(other(), DefaultRootWindow(other()), 200, 150, 308, 226, 0, 0, 0);
  XReparentWindow(other(), w->getWindow(), frame, 4, 22);
  XMapWindow(other(), frame);
  XSync(other(), False);
  saveAndClose("Framed", w);
  DrawRect saved{};
  ASSERT_TRUE(WindowConfig_Lookup("Framed", &saved));
  EXPECT_EQ(std::vector<int>({saved.x, saved.y, saved.width, saved.height}),
            (std::vector<int>{200, 150, 300, 200}));
  XDestroyWindow(other(), frame);
}

TEST_F(WindowPlaces, DamagedFilesAreSurvivedAndPlacesKeptOnTheScreen) {
  std::string junk("\x7f" "ELF\x01\x02\0\0garbage\xff\xfe", 17);
  std::ofstream(file()) << junk << "\nDiffViewer 1 2 three 4\nDiffViewer 1 2 0 4\n"
                        << "DiffViewer 1 2 3\nDiffViewer 1 2 3 4 5\nDiffViewer 1 2 99999 4\n"
                        << std::string(5000, 'x') << "\nBig 2400 1800 1600 1200\n"
                        << "Right 1100 -50 400 300\n";
  EXPECT_FALSE(WindowConfig_Lookup("DiffViewer", nullptr));
  EXPECT_EQ(place(reopen("Big")), "0 0 1280 1024");  // Xvfb's screen
  EXPECT_EQ(place(reopen("Right")), "880 0 400 300");
  saveAndClose("DiffViewer", reopen("DiffViewer"));  // the rewrite keeps what was sound
  EXPECT_EQ(read(), "Big 2400 1800 1600 1200\nRight 1100 -50 400 300\nDiffViewer 20 20 300 200\n");
  // A directory in the file's place, or a class with a space: nothing
  // written, nothing left behind; nothing is read without configuration files.
  std::filesystem::remove(file());
  ASSERT_EQ(mkdir(file().c_str(), 0755), 0);
  saveAndClose("DiffViewer", reopen("DiffViewer"));
  EXPECT_EQ(files(), 1);
  rmdir(file().c_str());
  saveAndClose("Diff Viewer", openWindow("viewer"));
  EXPECT_EQ(files(), 0);
  cfg_SetNoConfigFiles(true);
  saveAndClose("Other", openWindow("viewer"));
  cfg_SetNoConfigFiles(false);
  EXPECT_EQ(files(), 0);
}

}  // namespace
