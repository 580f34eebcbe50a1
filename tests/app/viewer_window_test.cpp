// The viewer window as a user meets it: the real program on a private X
// server, driven with keys and clicks, observed through its title, the
// state it publishes and the colours of its rows.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <algorithm>
#include <map>
#include <sstream>
#include <string>

#include "viewer_session.h"
#include "xvfb_server.h"

namespace fs = std::filesystem;

namespace {

constexpr unsigned long kHighlight = 0xe0ffd0;  // the default "diffHighlight"
constexpr unsigned long kWhite = 0xffffff;

class ViewerWindow : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    server = new XvfbServer;
    if (!server->start()) {
      delete server;
      server = nullptr;
    }
  }
  static void TearDownTestSuite() {
    delete server;
    server = nullptr;
  }

  void SetUp() override {
    if (!server) GTEST_SKIP() << "no Xvfb";
    dir = fs::temp_directory_path() /
          ("viewer-" + std::to_string(getpid()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir / "config");
    // Four differences: a change, an insertion on the right, a deletion on
    // the right, and a line added at the end.
    write("l.txt", "a\nb\nc\nd\ne\nf\ng\n");
    write("r.txt", "a\nB\nc\nd\nx\ny\nz\ne\ng\nh\n");
  }
  void TearDown() override {
    if (!dir.empty()) fs::remove_all(dir);
  }

  void write(const std::string& name, const std::string& text) {
    std::ofstream(dir / name, std::ios::binary) << text;
  }
  std::string p(const std::string& name) { return (dir / name).string(); }

  // Opens a window on the pair and waits until it has painted.
  bool open(ViewerSession& v, std::vector<std::string> args, const std::string& title) {
    if (!v.start(args, (dir / "config").string())) return false;
    if (!v.waitForWindow(title)) return false;
    v.waitFor([](const ViewerState& s) { return s.get("painted") == "1"; });
    return true;
  }
  bool open(ViewerSession& v) { return open(v, {p("l.txt"), p("r.txt")}, "l.txt"); }

  static int current(const ViewerState& s) { return s.number("current"); }

  // The chooser dialog, focused for typing into its left name field.
  static unsigned long waitForChooser() {
    for (int i = 0; i < 100; i++) {
      std::vector<unsigned long> found = findWindows("Choose two files");
      if (found.size() == 1) {
        usleep(100000);
        runProgram({"xdotool", "windowfocus", "--sync", std::to_string(found[0])});
        return found[0];
      }
      usleep(20000);
    }
    return 0;
  }

  fs::path dir;
  static XvfbServer* server;
};

XvfbServer* ViewerWindow::server = nullptr;

// The bands down the right edge of a text view, where short lines leave
// only row backgrounds.
std::vector<Band> rowBands(const ViewerSession& v, const std::string& view) {
  Rect r = v.state().rect(view);
  return v.bands(r.x + r.width - 6, r.y, r.y + r.height);
}

std::vector<Band> ofColour(const std::vector<Band>& bands, unsigned long pixel) {
  std::vector<Band> out;
  for (const Band& b : bands)
    if (b.pixel == pixel) out.push_back(b);
  return out;
}

TEST_F(ViewerWindow, OpensPairWithTitleAndFirstDifferenceAndClosesOnControlQ) {
  ViewerSession v;
  ASSERT_TRUE(open(v));
  EXPECT_EQ(v.title(), "l.txt (Current Version) vs. r.txt (Current Version) - VORNE Diff Viewer");
  ViewerState s = v.state();
  EXPECT_EQ(s.get("count"), "4");
  EXPECT_EQ(current(s), 1);
  EXPECT_EQ(s.get("message"), "Diff # 1 / 4");
  EXPECT_EQ(s.get("previous"), "dimmed");
  EXPECT_EQ(s.get("next"), "active");
  EXPECT_EQ(s.get("listrows"), "1");
  EXPECT_EQ(s.get("shownrow"), "1");
  v.key("ctrl+q");
  EXPECT_EQ(v.wait(), 0);
  EXPECT_EQ(v.errors(), "");
}

// Unchanged lines face each other: every run of unchanged rows starts and
// ends on the same pixel row on both sides, the current difference is
// highlighted on both, and the left side pads the three inserted lines.
TEST_F(ViewerWindow, RowsOfBothSidesStayAligned) {
  ViewerSession v;
  ASSERT_TRUE(open(v));
  std::vector<Band> left = rowBands(v, "view_left"), right = rowBands(v, "view_right");
  std::vector<Band> leftPlain = ofColour(left, kWhite), rightPlain = ofColour(right, kWhite);
  ASSERT_EQ(leftPlain.size(), 5u);  // a, c-d, e, g, and the space below the text
  ASSERT_EQ(rightPlain.size(), leftPlain.size());
  for (size_t i = 0; i < leftPlain.size(); i++) {
    EXPECT_EQ(leftPlain[i].top, rightPlain[i].top) << "run " << i;
    if (i + 1 < leftPlain.size()) {
      EXPECT_EQ(leftPlain[i].bottom, rightPlain[i].bottom) << "run " << i;
    }
  }
  std::vector<Band> leftLit = ofColour(left, kHighlight), rightLit = ofColour(right, kHighlight);
  ASSERT_EQ(leftLit.size(), 1u);
  ASSERT_EQ(rightLit.size(), 1u);
  EXPECT_EQ(leftLit[0].top, rightLit[0].top);
  int row = leftLit[0].bottom - leftLit[0].top;  // one text row
  // Between "d" and "e": two rules and three filler rows on the left, the
  // same height as the right's three inserted lines between rules.
  int gap = leftPlain[2].top - leftPlain[1].bottom;
  EXPECT_GE(gap, 3 * row);
  EXPECT_LT(gap, 4 * row);
}

TEST_F(ViewerWindow, KeysAndButtonsStepWithoutWrapping) {
  ViewerSession v;
  ASSERT_TRUE(open(v));
  v.key("plus");
  EXPECT_EQ(current(v.waitFor([](const ViewerState& s) { return current(s) == 2; })), 2);
  v.key("equal");
  v.key("ctrl+plus");
  ViewerState s = v.waitFor([](const ViewerState& s) { return current(s) == 4; });
  EXPECT_EQ(current(s), 4);
  EXPECT_EQ(s.get("next"), "dimmed");
  v.key("plus");  // no wrap to the first
  EXPECT_EQ(current(v.waitFor([](const ViewerState& s) { return current(s) != 4; }, 300)), 4);
  v.key("minus");
  v.key("underscore");
  v.key("ctrl+minus");
  s = v.waitFor([](const ViewerState& s) { return current(s) == 1; });
  EXPECT_EQ(current(s), 1);
  EXPECT_EQ(s.get("message"), "Diff # 1 / 4");
  v.key("minus");
  v.key("asterisk");
  EXPECT_EQ(current(v.waitFor([](const ViewerState& s) { return current(s) != 1; }, 300)), 1);
}

// A left click on a row of a difference, filler rows included, makes it
// current; a click on an unchanged row changes nothing.
TEST_F(ViewerWindow, ClickSelectsTheDifferenceUnderThePointer) {
  ViewerSession v;
  ASSERT_TRUE(open(v));
  Rect left = v.state().rect("view_left"), right = v.state().rect("view_right");
  std::vector<Band> plain = ofColour(rowBands(v, "view_left"), kWhite);
  ASSERT_GE(plain.size(), 4u);
  int fillerY = (plain[1].bottom + plain[2].top) / 2;  // the left's filler rows
  v.click(left.x + 30, left.y + fillerY - left.y);
  EXPECT_EQ(current(v.waitFor([](const ViewerState& s) { return current(s) == 2; })), 2);
  int lastBlockY = (plain[3].bottom + plain[4].top) / 2;  // "h" on the right
  v.click(right.x + 30, lastBlockY);
  EXPECT_EQ(current(v.waitFor([](const ViewerState& s) { return current(s) == 4; })), 4);
  v.click(left.x + 30, (plain[0].top + plain[0].bottom) / 2);
  EXPECT_EQ(current(v.waitFor([](const ViewerState& s) { return current(s) != 4; }, 300)), 4);
}

TEST_F(ViewerWindow, ReloadPicksUpChangesAndSurvivesAVanishedFile) {
  ViewerSession v;
  ASSERT_TRUE(open(v));
  v.key("plus");
  v.key("plus");
  v.waitFor([](const ViewerState& s) { return current(s) == 3; });
  write("r.txt", "a\nB\nc\nd\ne\ng\n");  // the insertion and the added line are gone
  v.key("F5");
  ViewerState s = v.waitFor([](const ViewerState& s) { return s.get("count") == "2"; });
  EXPECT_EQ(s.get("count"), "2");
  EXPECT_EQ(current(s), 1);  // difference 3 no longer exists
  v.key("plus");
  v.waitFor([](const ViewerState& s) { return current(s) == 2; });
  write("r.txt", "a\nb\nc\nd\ne\ng\n");
  v.key("F5");
  s = v.waitFor([](const ViewerState& s) { return s.get("count") == "1"; });
  EXPECT_EQ(s.get("count"), "1");
  fs::remove(dir / "r.txt");
  v.key("F5");
  s = v.waitFor([](const ViewerState& s) { return s.get("message").find("Cannot") == 0; });
  EXPECT_EQ(s.get("message"), "Cannot open file for reading: " + p("r.txt"));
  EXPECT_EQ(s.get("count"), "1");
  EXPECT_TRUE(v.running());
}

TEST_F(ViewerWindow, IdenticalEmptyAndAwkwardFilesAllOpen) {
  struct Pair {
    std::string left, right, count, message;
  };
  std::string longLine(100000, 'x');
  const Pair pairs[] = {
      {"same\n", "same\n", "0", "Files are identical."},
      {"", "one\ntwo\n", "1", "Diff # 1 / 1"},
      {"one\r\ntwo\r\n", "one\r\nTWO\r\n", "1", "Diff # 1 / 1"},
      {longLine + "\nend\n", longLine + "y\nend\n", "1", "Diff # 1 / 1"},
      {std::string("bin\0\x01\x02\xff\n", 8), "bin\n", "1", "Diff # 1 / 1  (binary file: x1)"},
      {"no newline at the end", "no newline at the end\n", "0", "Files are identical."},
  };
  for (const Pair& pair : pairs) {
    write("x1", pair.left);
    write("x2", pair.right);
    ViewerSession v;
    ASSERT_TRUE(open(v, {p("x1"), p("x2")}, "x1")) << pair.right;
    ViewerState s = v.state();
    EXPECT_EQ(s.get("count"), pair.count) << pair.right;
    EXPECT_EQ(s.get("message"), pair.message) << pair.right;
    if (pair.count == "0") {
      EXPECT_EQ(s.get("previous"), "dimmed");
      EXPECT_EQ(s.get("next"), "dimmed");
      EXPECT_TRUE(ofColour(rowBands(v, "view_left"), kHighlight).empty());
    }
    v.key("ctrl+q");
    EXPECT_EQ(v.wait(), 0) << pair.right;
  }
}

// The whitespace items of the View menu exclude each other and recompute
// at once; an option given at start-up counts as chosen.
TEST_F(ViewerWindow, ViewMenuChangesTheComparisonOptions) {
  write("w1", "int  a = 1;\nsame\nB\n");
  write("w2", "int a = 1;\nsame\nb\n");
  ViewerSession v;
  ASSERT_TRUE(open(v, {"-b", p("w1"), p("w2")}, "w1"));
  ViewerState s = v.state();
  EXPECT_EQ(s.get("options"), "2");
  EXPECT_EQ(s.get("count"), "1");
  // The menu shows one check mark, on its first item.
  v.key("alt+v");
  std::vector<unsigned long> popups = openPopups();
  ASSERT_EQ(popups.size(), 1u);
  std::vector<Band> marks = inkRuns(popups[0], 7, 22);
  ASSERT_EQ(marks.size(), 1u);
  int firstMark = marks[0].top;
  v.key("i");  // Case Insensitive: now identical
  s = v.waitFor([](const ViewerState& s) { return s.get("options") == "10"; });
  EXPECT_EQ(s.get("options"), "10");
  EXPECT_EQ(s.get("message"), "Files are identical.");
  v.key("alt+v");
  v.key("w");  // Ignore All Whitespace replaces Ignore Whitespace Amount
  s = v.waitFor([](const ViewerState& s) { return s.get("options") == "9"; });
  EXPECT_EQ(s.get("options"), "9");
  // Two marks now: "Ignore All Whitespace" (third item) and "Case
  // Insensitive" (fifth), both below where the first item's mark was.
  v.key("alt+v");
  popups = openPopups();
  ASSERT_EQ(popups.size(), 1u);
  marks = inkRuns(popups[0], 7, 22);
  ASSERT_EQ(marks.size(), 2u);
  EXPECT_GT(marks[0].top, firstMark + (marks[1].top - marks[0].top) / 3);
  v.key("Escape");
  v.key("alt+v");
  v.key("w");  // chosen again: cleared
  v.key("alt+v");
  v.key("i");
  s = v.waitFor([](const ViewerState& s) { return s.get("options") == "0"; });
  EXPECT_EQ(s.get("options"), "0");
  EXPECT_EQ(s.get("count"), "2");
}

// Control+O opens the chooser filled with the shown pair; a new pair joins
// the list and is shown; the first pair comes back where it was left.
TEST_F(ViewerWindow, ComparisonListQueuesSwitchesAndRemoves) {
  write("m.txt", "a\nb\nc\nd\ne\nf\n");
  ViewerSession v;
  ASSERT_TRUE(open(v));
  v.key("plus");
  v.key("plus");
  v.waitFor([](const ViewerState& s) { return current(s) == 3; });
  v.key("ctrl+o");
  unsigned long chooser = waitForChooser();
  ASSERT_NE(chooser, 0u);
  runProgram({"xdotool", "key", "End"});
  for (int i = 0; i < 5; i++) runProgram({"xdotool", "key", "BackSpace"});
  v.type("m.txt");
  runProgram({"xdotool", "key", "Return"});
  ViewerState s = v.waitFor([](const ViewerState& s) { return s.get("listrows") == "2"; });
  EXPECT_EQ(s.get("listrows"), "2");
  EXPECT_EQ(s.get("shownrow"), "2");
  EXPECT_EQ(current(s), 1);
  EXPECT_NE(v.title().find("m.txt"), std::string::npos);
  EXPECT_TRUE(findWindows("Choose two files").empty());

  // The toggle cell of the first row shows the first pair again, at its
  // third difference.
  Rect list = s.rect("filelist");
  std::istringstream extra(s.get("filelist"));
  int skip, rowHeight = 0, header = 0;
  extra >> skip >> skip >> skip >> skip >> rowHeight >> header;
  v.click(list.x + 8, list.y + header + rowHeight / 2);
  s = v.waitFor([](const ViewerState& s) { return s.get("shownrow") == "1"; });
  EXPECT_EQ(s.get("shownrow"), "1");
  EXPECT_EQ(current(s), 3);
  EXPECT_EQ(v.title().find("m.txt"), std::string::npos);

  // A pair that cannot be loaded any more is not shown: the list keeps
  // marking the pair on display.
  fs::remove(dir / "m.txt");
  v.click(list.x + 8, list.y + header + rowHeight + rowHeight / 2);
  s = v.waitFor([](const ViewerState& s) { return s.get("message").find("Cannot") == 0; });
  EXPECT_EQ(s.get("message"), "Cannot open file for reading: " + p("m.txt"));
  EXPECT_EQ(s.get("shownrow"), "1");
  write("m.txt", "a\nb\nc\nd\ne\nf\n");

  // Control+D removes the selected row; when it is the shown one, the pair
  // that takes its place is shown.
  v.click(list.x + 60, list.y + header + rowHeight / 2);  // selects row 1 only
  v.key("ctrl+d");
  s = v.waitFor([](const ViewerState& s) { return s.get("listrows") == "1"; });
  EXPECT_EQ(s.get("listrows"), "1");
  EXPECT_EQ(s.get("shownrow"), "1");
  EXPECT_NE(v.title().find("m.txt"), std::string::npos);
  v.key("Delete");  // the last row stays
  EXPECT_EQ(v.waitFor([](const ViewerState& s) { return s.get("listrows") != "1"; }, 300)
                .get("listrows"),
            "1");
}

TEST_F(ViewerWindow, ChooserRefusesAMissingFile) {
  ViewerSession v;
  ASSERT_TRUE(open(v));
  v.key("ctrl+shift+o");
  unsigned long chooser = waitForChooser();
  ASSERT_NE(chooser, 0u);
  v.type("_gone");
  runProgram({"xdotool", "key", "Return"});
  std::vector<unsigned long> alerts;
  for (int i = 0; i < 100 && alerts.empty(); i++) {
    for (unsigned long w : findWindows("")) {
      if (w != chooser && w != v.window() && !windowTitle(w).empty() &&
          windowTitle(w).find("vs.") == std::string::npos)
        alerts.push_back(w);
    }
    usleep(20000);
  }
  EXPECT_FALSE(alerts.empty());
  EXPECT_EQ(findWindows("Choose two files").size(), 1u);
  EXPECT_TRUE(v.running());
  // Escape dismisses the alert, then cancels the chooser.
  ASSERT_FALSE(alerts.empty());
  runProgram({"xdotool", "windowfocus", "--sync", std::to_string(alerts[0])});
  runProgram({"xdotool", "key", "Escape"});
  usleep(200000);
  runProgram({"xdotool", "windowfocus", "--sync", std::to_string(chooser)});
  runProgram({"xdotool", "key", "Escape"});
  for (int i = 0; i < 50 && !findWindows("Choose two files").empty(); i++) usleep(20000);
  EXPECT_TRUE(findWindows("Choose two files").empty());
  EXPECT_TRUE(v.running());
}

TEST_F(ViewerWindow, GeometryIsRestoredOnTheNextStart) {
  Rect placed;
  {
    ViewerSession v;
    ASSERT_TRUE(open(v));
    runProgram({"xdotool", "windowsize", std::to_string(v.window()), "900", "640"});
    runProgram({"xdotool", "windowmove", std::to_string(v.window()), "33", "44"});
    v.waitFor([](const ViewerState& s) { return s.rect("view_left").width > 0; }, 300);
    placed = v.geometry();
    EXPECT_EQ(placed.width, 900);
    v.key("ctrl+q");
    ASSERT_EQ(v.wait(), 0);
  }
  ViewerSession again;
  ASSERT_TRUE(open(again));
  Rect restored = again.geometry();
  EXPECT_EQ(restored.x, placed.x);
  EXPECT_EQ(restored.y, placed.y);
  EXPECT_EQ(restored.width, 900);
  EXPECT_EQ(restored.height, 640);
}

// Both sides are coloured by language in the configured colours; the
// window is saved as a picture under the build folder for a person to see.
TEST_F(ViewerWindow, SidesAreColouredByLanguageInTheConfiguredColours) {
  std::ofstream(dir / "config" / "qen.cfg")
      << "comment #00a000\nkeyword #0000c0\nstring #b00000\n";
  write("one.c", "/* first */\nint main(void)\n{\n  return puts(\"one\");\n}\n");
  write("two.c", "/* second */\nint main(void)\n{\n  return puts(\"two\");\n}\n");
  ViewerSession v;
  ASSERT_TRUE(open(v, {p("one.c"), p("two.c")}, "one.c"));
  for (const char* view : {"view_left", "view_right"}) {
    Rect r = v.state().rect(view);
    std::map<unsigned long, int> seen = v.colours({r.x, r.y, std::min(r.width, 300), 120});
    EXPECT_GT(seen[0x00a000], 0) << view << ": comment";
    EXPECT_GT(seen[0x0000c0], 0) << view << ": keyword";
    EXPECT_GT(seen[0xb00000], 0) << view << ": string";
  }
  std::string shot = std::string(DIFFVIEW_BIN) + "/../viewer_window.png";
  EXPECT_EQ(runProgram({"import", "-window", std::to_string(v.window()), shot}), 0);
  EXPECT_EQ(access(shot.c_str(), R_OK), 0) << shot;
}

// The text views' context menu: "Edit File" hands the file and the file
// line of the clicked row to the configured editor command, and "Set To
// Current Diff" makes the clicked difference current.
TEST_F(ViewerWindow, ContextMenuEditsFileAndSetsCurrentDiff) {
  std::string record = p("edited");
  setenv("DIFFVIEW_EDITOR", ("echo %l %f > " + record).c_str(), 1);
  ViewerSession v;
  bool opened = open(v);
  unsetenv("DIFFVIEW_EDITOR");
  ASSERT_TRUE(opened);
  Rect right = v.state().rect("view_right");
  std::vector<Band> plain = ofColour(rowBands(v, "view_right"), kWhite);
  ASSERT_GE(plain.size(), 3u);
  // The middle of the rows holding "x y z" (right lines 5 to 7).
  int middle = (plain[1].bottom + plain[2].top) / 2;
  v.click(right.x + 30, middle, 3);
  ASSERT_EQ(openPopups().size(), 1u);
  // The open menu holds the keyboard: keys go to it as typed.
  runProgram({"xdotool", "key", "Down", "Return"});  // the first item: Edit File
  std::string edited;
  for (int i = 0; i < 100 && edited.empty(); i++) {
    usleep(20000);
    std::ifstream in(record);
    std::getline(in, edited);
  }
  EXPECT_EQ(edited, "6 " + p("r.txt"));
  EXPECT_TRUE(openPopups().empty());

  v.click(right.x + 30, middle, 3);
  ASSERT_EQ(openPopups().size(), 1u);
  runProgram({"xdotool", "key", "Up", "Return"});  // the last item
  EXPECT_EQ(current(v.waitFor([](const ViewerState& s) { return current(s) == 2; })), 2);
}

// One name opens the chooser with it on the left; Tab reaches the right
// name, Enter opens the viewer, and the process lasts as long as a window.
TEST_F(ViewerWindow, OneNameAsksForTheOtherSide) {
  ViewerSession v;
  ASSERT_TRUE(v.start({p("l.txt")}, (dir / "config").string()));
  unsigned long chooser = waitForChooser();
  ASSERT_NE(chooser, 0u);
  runProgram({"xdotool", "key", "Tab", "Tab"});
  v.type(p("r.txt"));
  runProgram({"xdotool", "key", "Return"});
  ASSERT_NE(v.waitForWindow("l.txt (Current Version) vs. r.txt"), 0u);
  EXPECT_TRUE(findWindows("Choose two files").empty());
  EXPECT_EQ(v.state().get("count"), "4");
  v.key("ctrl+q");
  EXPECT_EQ(v.wait(), 0);
}

TEST_F(ViewerWindow, UnreadableRequestOpensNoWindow) {
  ViewerSession v;
  ASSERT_TRUE(v.start({p("l.txt"), p("missing")}, (dir / "config").string()));
  EXPECT_EQ(v.wait(), 2);
  EXPECT_EQ(v.errors(), "diffview: error: Cannot open file for reading: " + p("missing") + "\n");
  EXPECT_TRUE(findWindows("missing").empty());
}

}  // namespace
