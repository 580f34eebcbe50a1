// Window life: a window's size and place saved when it goes and given back
// to the next window of its class, read from where the server (or another
// client) really put it; other classes' lines kept, damaged files survived,
// places clamped to the screen, a window manager's frame accounted for; and
// the busy cursor's nesting over open windows.
#include "controls_util.h"

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "config/config_dirs.h"
#include "gui/core/busy_cursor.h"
#include "gui/core/window_config.h"

// Beside DrawRect (global) so that the assertions find them.
static bool operator==(const DrawRect& a, const DrawRect& b) {
  return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}
static std::ostream& operator<<(std::ostream& os, const DrawRect& r) {
  return os << r.x << "," << r.y << " " << r.width << "x" << r.height;
}

namespace {

class WindowLife : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    char tmpl[] = "/tmp/wlifeXXXXXX";
    dir = mkdtemp(tmpl);
    cfg_SetUserConfigDir(dir.c_str());
  }
  void TearDown() override {
    ControlsTest::TearDown();
    cfg_SetUserConfigDir(nullptr);
    std::filesystem::remove_all(dir);
  }

  std::string file() const { return dir + "/windows.geom"; }
  void writeFile(const std::string& text) const { std::ofstream(file()) << text; }
  std::string readFile() const {
    std::stringstream s;
    s << std::ifstream(file()).rdbuf();
    return s.str();
  }
  long filesInDir() const {
    return std::distance(std::filesystem::directory_iterator(dir), {});
  }

  // Where the server has the window (root coordinates without a window
  // manager), seen through the test's own connection.
  static DrawRect onServer(WWindowedItem* w) {
    XSync(xstate().display, False);
    XWindowAttributes a{};
    XGetWindowAttributes(otherDisplay(), w->getWindow(), &a);
    return DrawRect{a.x, a.y, a.width, a.height};
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

TEST_F(WindowLife, PlaceAndSizeSavedOnCloseComeBackWithTheNextWindowOfTheClass) {
  EXPECT_EQ(WindowConfig_File(), file());
  ColWind* w = openWindow("viewer");
  // The user moves and resizes it (another client does): the window's own
  // idea of its place is stale, the server's is what counts.
  ASSERT_EQ(xdotool({"windowmove", "--sync", controls::id(w), "140", "90"}), 0);
  ASSERT_EQ(xdotool({"windowsize", "--sync", controls::id(w), "520", "410"}), 0);
  ASSERT_EQ(onServer(w), (DrawRect{140, 90, 520, 410}));
  saveAndClose("DiffViewer", w);
  DrawRect saved{};
  ASSERT_TRUE(WindowConfig_Lookup("DiffViewer", &saved));
  EXPECT_EQ(saved, (DrawRect{140, 90, 520, 410}));
  EXPECT_EQ(readFile(), "DiffViewer 140 90 520 410\n");
  EXPECT_EQ(filesInDir(), 1);  // the temporary file was renamed, not left

  ColWind* again = reopen("DiffViewer");
  EXPECT_EQ(onServer(again), (DrawRect{140, 90, 520, 410}));
  EXPECT_TRUE(waitFor([&] { return again->getWidth() == 520 && again->getHeight() == 410; }));
  // A class never saved keeps the place it was made with.
  EXPECT_FALSE(WindowConfig_Lookup("Compare", nullptr));
  EXPECT_EQ(onServer(reopen("Compare")), (DrawRect{20, 20, 300, 200}));
}

TEST_F(WindowLife, OtherClassesLinesAreKeptAndEachClassHasOneLine) {
  writeFile("Compare 10 20 600 500\nHistory -5 7 200 100\n");
  ColWind* w = openWindow("viewer");
  cwSetGeometry(w, DrawRect{60, 70, 400, 300});
  saveAndClose("DiffViewer", w);
  w = openWindow("viewer");
  cwSetGeometry(w, DrawRect{61, 71, 401, 301});
  saveAndClose("DiffViewer", w);
  EXPECT_EQ(readFile(), "Compare 10 20 600 500\nHistory -5 7 200 100\nDiffViewer 61 71 401 301\n");
  DrawRect r{};
  ASSERT_TRUE(WindowConfig_Lookup("History", &r));
  EXPECT_EQ(r, (DrawRect{-5, 7, 200, 100}));
  EXPECT_EQ(filesInDir(), 1);
  // While configuration files are off nothing is read or written.
  cfg_SetNoConfigFiles(true);
  EXPECT_FALSE(WindowConfig_Lookup("DiffViewer", nullptr));
  saveAndClose("Other", openWindow("viewer"));
  cfg_SetNoConfigFiles(false);
  EXPECT_FALSE(WindowConfig_Lookup("Other", nullptr));
}

TEST_F(WindowLife, DamagedOrUnreadableFilesAreIgnored) {
  std::string junk("\x7f" "ELF\x01\x02\0\0garbage\xff\xfe", 17);
  writeFile(junk + "\nDiffViewer 1 2 three 4\nDiffViewer 1 2 0 4\nDiffViewer 1 2 3\n"
            "DiffViewer 1 2 3 4 5\nDiffViewer 1 2 99999 4\n" + std::string(5000, 'x') +
            "\nCompare 10 20 600 500\n");
  EXPECT_FALSE(WindowConfig_Lookup("DiffViewer", nullptr));
  ColWind* w = reopen("DiffViewer");
  EXPECT_EQ(onServer(w), (DrawRect{20, 20, 300, 200}));
  EXPECT_TRUE(WindowConfig_Lookup("Compare", nullptr));
  // The rewrite keeps what was sound and drops the rest.
  saveAndClose("DiffViewer", w);
  EXPECT_EQ(readFile(), "Compare 10 20 600 500\nDiffViewer 20 20 300 200\n");

  // A directory where the file should be: nothing read, nothing written,
  // nothing left behind.
  std::remove(file().c_str());
  ASSERT_EQ(mkdir(file().c_str(), 0755), 0);
  EXPECT_FALSE(WindowConfig_Lookup("DiffViewer", nullptr));
  saveAndClose("DiffViewer", reopen("DiffViewer"));
  EXPECT_EQ(filesInDir(), 1);
  rmdir(file().c_str());

  // A class that cannot be one field of a line is never saved.
  saveAndClose("Diff Viewer", openWindow("viewer"));
  EXPECT_EQ(filesInDir(), 0);
}

TEST_F(WindowLife, RestoredWindowsAreClampedToTheScreen) {
  // Xvfb's screen is 1280x1024.
  writeFile("Big 2400 1800 1600 1200\nRight 1100 -50 400 300\n");
  EXPECT_EQ(onServer(reopen("Big")), (DrawRect{0, 0, 1280, 1024}));
  EXPECT_EQ(onServer(reopen("Right")), (DrawRect{880, 0, 400, 300}));
  DrawRect stored{};
  ASSERT_TRUE(WindowConfig_Lookup("Big", &stored));  // the file keeps what was saved
  EXPECT_EQ(stored, (DrawRect{2400, 1800, 1600, 1200}));
}

TEST_F(WindowLife, UnderAReparentingWindowManagerTheFramesCornerIsSaved) {
  ColWind* w = openWindow("viewer");
  // Play the window manager: a frame at 200,150 with the client 4,22 inside.
  Display* d = otherDisplay();
  Window frame = XCreateSimpleWindow(d, DefaultRootWindow(d), 200, 150, 308, 226, 0, 0, 0);
  XReparentWindow(d, w->getWindow(), frame, 4, 22);
  XMapWindow(d, frame);
  XSync(d, False);
  saveAndClose("DiffViewer", w);
  DrawRect saved{};
  ASSERT_TRUE(WindowConfig_Lookup("DiffViewer", &saved));
  EXPECT_EQ(saved, (DrawRect{200, 150, 300, 200}));
  XDestroyWindow(d, frame);
  XSync(d, False);
}

TEST_F(WindowLife, BusyCursorCallsNestAndUnmatchedEndsAreIgnored) {
  ColWind* first = openWindow("one");
  gui_BusyCursorOn();
  {
    WBusyCursor inner;
    ColWind* second = openWindow("two");  // opened during the work
    { WBusyCursor innermost; EXPECT_EQ(gui_BusyCursorDepth(), 3); }
    cwDestroy(second);
    EXPECT_EQ(gui_BusyCursorDepth(), 2);
  }
  EXPECT_EQ(gui_BusyCursorDepth(), 1);
  gui_BusyCursorOff();
  gui_BusyCursorOff();  // unmatched
  EXPECT_EQ(gui_BusyCursorDepth(), 0);
  { WBusyCursor again; EXPECT_EQ(gui_BusyCursorDepth(), 1); }
  EXPECT_EQ(gui_BusyCursorDepth(), 0);
  EXPECT_EQ(onServer(first), (DrawRect{20, 20, 300, 200}));  // no X error took it
}

}  // namespace
