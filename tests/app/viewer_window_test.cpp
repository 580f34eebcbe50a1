// The viewer window as a user meets it: the real program on the test
// program's Xvfb, driven with keys and clicks, observed through its title,
// the state it publishes and the colours of its rows.  Where something
// must not happen, a later key with a visible effect shows it did not.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "viewer_session.h"

namespace fs = std::filesystem;

namespace {

constexpr unsigned long kHighlight = 0xe0ffd0;  // the default "diffHighlight"
constexpr unsigned long kWhite = 0xffffff;

class ViewerWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(xtest::display(), nullptr) << "no Xvfb";
    dir = fs::temp_directory_path() /
          ("viewer-" + std::to_string(getpid()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir / "config");
    // Four differences: a change, an insertion on the right, a deletion on
    // the right, and a line added at the end.
    write("l.txt", "a\nb\nc\nd\ne\nf\ng\n");
    write("r.txt", "a\nB\nc\nd\nx\ny\nz\ne\ng\nh\n");
  }
  void TearDown() override { fs::remove_all(dir); }

  void write(const std::string& name, const std::string& text) {
    std::ofstream(dir / name, std::ios::binary) << text;
  }
  std::string p(const std::string& name) { return (dir / name).string(); }
  bool start(ViewerSession& v, const std::vector<std::string>& args) {
    return v.start(args, (dir / "config").string());
  }
  // Opens a window on the pair and waits until it has painted.
  bool open(ViewerSession& v, std::vector<std::string> args, const std::string& title) {
    return start(v, args) && v.waitForWindow(title) &&
           v.waitFor([](const ViewerState& s) { return s.get("painted") == "1"; })
                   .get("painted") == "1";
  }
  bool open(ViewerSession& v) { return open(v, {p("l.txt"), p("r.txt")}, "l.txt"); }

  fs::path dir;
};

std::vector<Band> ofColour(const std::vector<Band>& bands, unsigned long pixel) {
  std::vector<Band> out;
  for (const Band& b : bands)
    if (b.pixel == pixel) out.push_back(b);
  return out;
}

// The runs of unchanged rows of a view, once it shows n of them (the
// window reports itself painted after its left view).
std::vector<Band> plainRuns(const ViewerSession& v, const char* view, size_t n) {
  std::vector<Band> runs;
  xtest::poll([&] { return (runs = ofColour(v.rowBands(view), kWhite)).size() >= n; });
  return runs;
}

// Menus up: popups taller than a one-line tool tip.
std::vector<unsigned long> menus() {
  std::vector<unsigned long> out;
  for (unsigned long w : xtest::popups())
    if (xtest::geometry(w).height > 40) out.push_back(w);
  return out;
}

// The menu up; 0 when none comes.
unsigned long menuUp() {
  std::vector<unsigned long> up;
  xtest::poll([&] { return (up = menus()).size() == 1; });
  return up.size() == 1 ? up[0] : 0;
}

// Keys for the menu up.  They go to its window: a menu shows before it
// takes the keyboard, and keys typed in between would reach the window.
void menuKeys(const std::vector<std::string>& names) {
  std::vector<std::string> args{"key", "--window", std::to_string(menuUp())};
  args.insert(args.end(), names.begin(), names.end());
  xtest::xdotool(args);
}

TEST_F(ViewerWindow, OpensPairWithTitleAndFirstDifferenceAndClosesOnControlQ) {
  ViewerSession v;
  ASSERT_TRUE(open(v));
  EXPECT_EQ(xtest::title(v.window()),
            "l.txt (Current Version) vs. r.txt (Current Version) - VORNE Diff Viewer");
  ViewerState s = v.state();
  EXPECT_EQ(s.get("count"), "4");
  EXPECT_EQ(s.number("current"), 1);
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
  std::vector<Band> leftPlain = plainRuns(v, "view_left", 5), rightPlain = plainRuns(v, "view_right", 5);
  std::vector<Band> left = v.rowBands("view_left"), right = v.rowBands("view_right");
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

TEST_F(ViewerWindow, KeysStepWithoutWrapping) {
  ViewerSession v;
  ASSERT_TRUE(open(v));
  v.key("plus");
  EXPECT_EQ(v.waitForCurrent(2), 2);
  v.key("equal");
  v.key("ctrl+plus");
  ViewerState s = v.waitFor([](const ViewerState& s) { return s.number("current") == 4; });
  EXPECT_EQ(s.number("current"), 4);
  EXPECT_EQ(s.get("next"), "dimmed");
  EXPECT_EQ(s.get("previous"), "active");
  v.key("plus");  // no wrap to the first, or "minus" would not give 3
  v.key("minus");
  EXPECT_EQ(v.waitForCurrent(3), 3);
  v.key("underscore");
  v.key("ctrl+minus");
  s = v.waitFor([](const ViewerState& s) { return s.number("current") == 1; });
  EXPECT_EQ(s.get("message"), "Diff # 1 / 4");
  EXPECT_EQ(s.get("previous"), "dimmed");
  v.key("minus");  // no wrap to the last
  v.key("asterisk");
  v.key("plus");
  EXPECT_EQ(v.waitForCurrent(2), 2);
}

// A left click on a row of a difference, filler rows included, makes it
// current; a click on an unchanged row changes nothing.
TEST_F(ViewerWindow, ClickSelectsTheDifferenceUnderThePointer) {
  ViewerSession v;
  ASSERT_TRUE(open(v));
  Rect left = v.state().rect("view_left"), right = v.state().rect("view_right");
  std::vector<Band> plain = plainRuns(v, "view_left", 5);
  ASSERT_GE(plain.size(), 5u);
  v.click(left.x + 30, (plain[1].bottom + plain[2].top) / 2);  // the left's filler rows
  EXPECT_EQ(v.waitForCurrent(2), 2);
  v.click(right.x + 30, (plain[3].bottom + plain[4].top) / 2);  // "h" on the right
  EXPECT_EQ(v.waitForCurrent(4), 4);
  v.click(left.x + 30, (plain[0].top + plain[0].bottom) / 2);  // "a": nothing
  v.key("minus");
  EXPECT_EQ(v.waitForCurrent(3), 3);
}

TEST_F(ViewerWindow, ReloadPicksUpChangesAndSurvivesAVanishedFile) {
  ViewerSession v;
  ASSERT_TRUE(open(v));
  v.key("plus");
  v.key("plus");
  v.waitForCurrent(3);
  write("r.txt", "a\nB\nc\nd\ne\ng\n");  // the insertion and the added line are gone
  v.key("F5");
  ViewerState s = v.waitFor([](const ViewerState& s) { return s.get("count") == "2"; });
  EXPECT_EQ(s.get("count"), "2");
  EXPECT_EQ(s.number("current"), 1);  // difference 3 no longer exists
  v.key("plus");
  v.waitForCurrent(2);
  write("r.txt", "a\nb\nc\nd\ne\ng\n");
  v.key("F5");
  EXPECT_EQ(v.waitFor([](const ViewerState& s) { return s.get("count") == "1"; }).get("count"),
            "1");
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
      EXPECT_TRUE(ofColour(v.rowBands("view_left"), kHighlight).empty());
    }
    v.key("ctrl+q");
    EXPECT_EQ(v.wait(), 0) << pair.right;
  }
}

// Opens the View menu; with `key`, chooses that item.
void viewMenu(ViewerSession& v, const char* key = nullptr) {
  xtest::poll([] { return menus().empty(); });
  v.key("alt+v");
  if (key) menuKeys({key});
}

// The check marks of the open View menu: runs of ink in its mark column.
std::vector<Band> viewMenuMarks(size_t expected) {
  std::vector<Band> marks;
  xtest::poll([&] {
    std::vector<unsigned long> up = menus();
    marks = up.size() == 1 ? xtest::inkRows(up[0], 7, 22) : std::vector<Band>{};
    return marks.size() == expected;
  });
  return marks;
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
  viewMenu(v);  // the first item, and "Changes Within Lines" (on by default)
  std::vector<Band> marks = viewMenuMarks(2);
  ASSERT_EQ(marks.size(), 2u);
  int firstMark = marks[0].top;
  menuKeys({"i"});  // Case Insensitive: now identical
  s = v.waitFor([](const ViewerState& s) { return s.get("options") == "10"; });
  EXPECT_EQ(s.get("options"), "10");
  EXPECT_EQ(s.get("message"), "Files are identical.");
  viewMenu(v, "w");  // Ignore All Whitespace replaces Ignore Whitespace Amount
  EXPECT_EQ(v.waitFor([](const ViewerState& s) { return s.get("options") == "9"; })
                .get("options"), "9");
  // Marks now on "Ignore All Whitespace" (third item), "Case Insensitive"
  // (fifth) and "Changes Within Lines", all below the first item's mark.
  viewMenu(v);
  marks = viewMenuMarks(3);
  ASSERT_EQ(marks.size(), 3u);
  EXPECT_GT(marks[0].top, firstMark + (marks[1].top - marks[0].top) / 3);
  menuKeys({"Escape"});
  viewMenu(v, "w");  // chosen again: cleared
  viewMenu(v, "i");
  s = v.waitFor([](const ViewerState& s) { return s.get("options") == "0"; });
  EXPECT_EQ(s.get("options"), "0");
  EXPECT_EQ(s.get("count"), "2");
}

// Inserted, deleted and changed lines each have their colour; within the
// changed lines the words that differ are shaded more strongly, until the
// View menu turns that off.
TEST_F(ViewerWindow, DifferencesAreColouredByKindAndChangedWordsStandOut) {
  std::ofstream(dir / "config" / "qen.cfg") << "diffInserted #a0ffa0\ndiffDeleted #ffa0a0\n"
                                               "diffChanged #a0a0ff\ndiffChangedText #ff00ff\n";
  // The first difference is current (highlighted); the others show their kinds.
  write("k1", "x\nsame\nint alpha = 1;\nsame2\nonly left\nsame3\n");
  write("k2", "y\nsame\nint beta = 1;\nsame2\nsame3\nonly right\n");
  ViewerSession v;
  ASSERT_TRUE(open(v, {p("k1"), p("k2")}, "k1"));
  auto seen = [&](const char* view) {
    Rect r = v.state().rect(view);
    return xtest::colours(v.window(), {r.x, r.y, std::min(r.width, 300), 200});
  };
  std::map<unsigned long, int> left = seen("view_left"), right = seen("view_right");
  EXPECT_GT(left[0xa0a0ff], 0) << "changed";
  EXPECT_GT(right[0xa0a0ff], 0) << "changed";
  EXPECT_GT(left[0xffa0a0], 0) << "deleted";
  EXPECT_EQ(right[0xffa0a0], 0);
  EXPECT_GT(right[0xa0ffa0], 0) << "inserted";
  EXPECT_EQ(left[0xa0ffa0], 0);
  // "alpha" and "beta" alone: far less than the changed line's colour.
  EXPECT_GT(left[0xff00ff], 0);
  EXPECT_GT(right[0xff00ff], 0);
  EXPECT_LT(left[0xff00ff] * 3, left[0xa0a0ff]);
  viewMenu(v, "l");
  v.waitFor([](const ViewerState& s) { return s.get("linechanges") == "0"; });
  EXPECT_TRUE(xtest::poll([&] { return seen("view_left")[0xff00ff] == 0; }));
  EXPECT_EQ(seen("view_right")[0xff00ff], 0);
  EXPECT_GT(seen("view_left")[0xa0a0ff], 0);
}

// The overview strip marks every difference at its height in proportion
// to the rows; a click on a mark makes that difference current.
TEST_F(ViewerWindow, OverviewStripMarksEveryDifferenceAndJumpsToIt) {
  std::string a, b;
  for (int i = 1; i <= 2000; i++) {
    std::string line = std::to_string(i) + "\n";
    a += line;
    if (i == 700) continue;  // deleted
    b += i == 100 || i == 1800 ? "changed " + line : line;
    if (i == 1500) b += "inserted\n";
  }
  write("o1", a);
  write("o2", b);
  ViewerSession v;
  ASSERT_TRUE(open(v, {p("o1"), p("o2")}, "o1"));
  Rect strip = v.state().rect("overview");
  ASSERT_GT(strip.height, 100);
  int rows = 2000 + 1 + 4 * 2;  // the taller side's lines, one filler, two rules each
  auto markNear = [&](int line) {
    int y = strip.y + (line - 1) * strip.height / rows;
    for (int dy = -4; dy <= 4; dy++)
      if (xtest::pixelAt(v.window(), strip.x + strip.width / 2, y + dy) != 0xffffff) return y + dy;
    return -1;
  };
  for (int line : {700, 1500, 1800}) EXPECT_GE(markNear(line), 0) << line;
  EXPECT_EQ(markNear(1200), -1) << "no difference there";
  int y = markNear(1500);
  v.click(strip.x + strip.width / 2, y + 1);
  EXPECT_EQ(v.waitForCurrent(3), 3);
}

// Control+O opens the chooser filled with the shown pair; a new pair joins
// the list and is shown; the first pair comes back where it was left.
TEST_F(ViewerWindow, ComparisonListQueuesSwitchesAndRemoves) {
  write("m.txt", "a\nb\nc\nd\ne\nf\n");
  ViewerSession v;
  ASSERT_TRUE(open(v));
  v.key("plus");
  v.key("plus");
  v.waitForCurrent(3);
  v.key("ctrl+o");
  ASSERT_NE(focusWindow("Choose two files"), 0u);
  keys({"End", "BackSpace", "BackSpace", "BackSpace", "BackSpace", "BackSpace"});
  type("m.txt");
  keys({"Return"});
  ViewerState s = v.waitFor([](const ViewerState& s) { return s.get("listrows") == "2"; });
  EXPECT_EQ(s.get("listrows"), "2");
  EXPECT_EQ(s.get("shownrow"), "2");
  EXPECT_EQ(s.number("current"), 1);
  EXPECT_NE(xtest::title(v.window()).find("m.txt"), std::string::npos);
  EXPECT_TRUE(xtest::poll([] { return xtest::topWindows("Choose two files").empty(); }));

  // The toggle cell of the first row shows the first pair again, at its
  // third difference.
  Rect list = s.rect("filelist");
  std::istringstream extra(s.get("filelist"));
  int skip, rowHeight = 0, header = 0;
  extra >> skip >> skip >> skip >> skip >> rowHeight >> header;
  v.click(list.x + 8, list.y + header + rowHeight / 2);
  s = v.waitFor([](const ViewerState& s) { return s.get("shownrow") == "1"; });
  EXPECT_EQ(s.get("shownrow"), "1");
  EXPECT_EQ(s.number("current"), 3);
  EXPECT_EQ(xtest::title(v.window()).find("m.txt"), std::string::npos);

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
  EXPECT_EQ(s.get("shownrow"), "1");
  EXPECT_NE(xtest::title(v.window()).find("m.txt"), std::string::npos);
  // The last row stays: the list had Delete before the View menu's change.
  v.key("Delete");
  viewMenu(v, "i");
  s = v.waitFor([](const ViewerState& s) { return s.get("options") == "8"; });
  EXPECT_EQ(s.get("options"), "8");
  EXPECT_EQ(s.get("listrows"), "1");
}

TEST_F(ViewerWindow, ChooserRefusesAMissingFileWithAnAlert) {
  ViewerSession v;
  ASSERT_TRUE(open(v));
  v.key("ctrl+shift+o");
  unsigned long chooser = focusWindow("Choose two files");
  ASSERT_NE(chooser, 0u);
  type("_gone");
  keys({"Return"});
  unsigned long alert = 0;
  xtest::poll([&] {
    for (unsigned long w : xtest::topWindows(""))
      if (w != chooser && w != v.window() && xtest::viewable(w)) alert = w;
    return alert != 0;
  });
  ASSERT_NE(alert, 0u);
  EXPECT_EQ(xtest::topWindows("Choose two files").size(), 1u);
  // Escape dismisses the alert, then cancels the chooser.
  xtest::xdotool({"windowfocus", "--sync", std::to_string(alert), "key", "Escape"});
  EXPECT_TRUE(xtest::poll([&] { return !xtest::viewable(alert); }));
  ASSERT_EQ(focusWindow("Choose two files"), chooser);
  keys({"Escape"});
  EXPECT_TRUE(xtest::poll([] { return xtest::topWindows("Choose two files").empty(); }));
  EXPECT_TRUE(v.running());
}

TEST_F(ViewerWindow, GeometryIsRestoredOnTheNextStart) {
  {
    ViewerSession v;
    ASSERT_TRUE(open(v));
    int width = v.state().rect("view_left").width;
    std::string id = std::to_string(v.window());
    xtest::xdotool({"windowsize", "--sync", id, "900", "640", "windowmove", "--sync", id, "33",
                    "44"});
    // The views follow the new size once the program has seen it.
    v.waitFor([&](const ViewerState& s) { return s.rect("view_left").width != width; });
    v.key("ctrl+q");
    ASSERT_EQ(v.wait(), 0);
  }
  ViewerSession again;
  ASSERT_TRUE(open(again));
  Rect restored = xtest::geometry(again.window());
  EXPECT_EQ(restored.x, 33);
  EXPECT_EQ(restored.y, 44);
  EXPECT_EQ(restored.width, 900);
  EXPECT_EQ(restored.height, 640);
}

// Sizes that make no window (a negative width in characters, a saved
// geometry of one pixel) still give one large enough to use.
TEST_F(ViewerWindow, NonsensicalSizesComeBackUsable) {
  std::ofstream(dir / "config" / "qen.cfg") << "EditWidth -5\n";
  {
    ViewerSession v;
    ASSERT_TRUE(open(v));
    EXPECT_GE(xtest::geometry(v.window()).width, 400);  // the tool bar fits
    v.key("ctrl+q");
    ASSERT_EQ(v.wait(), 0);
  }
  std::ofstream(dir / "config" / "windows.geom") << "DiffViewer 10 10 1 1\n";
  ViewerSession again;
  ASSERT_TRUE(open(again));
  Rect r = xtest::geometry(again.window());
  EXPECT_GE(r.width, 320);
  EXPECT_GE(r.height, 200);
}

// Both sides are coloured by language in the configured colours.
TEST_F(ViewerWindow, SidesAreColouredByLanguageInTheConfiguredColours) {
  std::ofstream(dir / "config" / "qen.cfg")
      << "comment #00a000\nkeyword #0000c0\nstring #b00000\n";
  write("one.c", "/* first */\nint main(void)\n{\n  return puts(\"one\");\n}\n");
  write("two.c", "/* second */\nint main(void)\n{\n  return puts(\"two\");\n}\n");
  ViewerSession v;
  ASSERT_TRUE(open(v, {p("one.c"), p("two.c")}, "one.c"));
  for (const char* view : {"view_left", "view_right"}) {
    Rect r = v.state().rect(view);
    std::map<unsigned long, int> seen =
        xtest::colours(v.window(), {r.x, r.y, std::min(r.width, 300), 120});
    EXPECT_GT(seen[0x00a000], 0) << view << ": comment";
    EXPECT_GT(seen[0x0000c0], 0) << view << ": keyword";
    EXPECT_GT(seen[0xb00000], 0) << view << ": string";
  }
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
  std::vector<Band> plain = plainRuns(v, "view_right", 3);
  ASSERT_GE(plain.size(), 3u);
  // The middle of the rows holding "x y z" (right lines 5 to 7).
  int middle = (plain[1].bottom + plain[2].top) / 2;
  v.click(right.x + 30, middle, 3);
  ASSERT_TRUE(menuUp());
  menuKeys({"Down", "Return"});  // the first item: Edit File
  std::string edited;
  xtest::poll([&] {
    std::ifstream in(record);
    return std::getline(in, edited) && !edited.empty();
  });
  EXPECT_EQ(edited, "6 " + p("r.txt"));
  EXPECT_TRUE(xtest::poll([] { return menus().empty(); }));

  v.click(right.x + 30, middle, 3);
  ASSERT_TRUE(menuUp());
  menuKeys({"Up", "Return"});  // the last item
  EXPECT_EQ(v.waitForCurrent(2), 2);
}

// One name opens the chooser with it on the left; Tab reaches the right
// name, Enter opens the viewer, and the process lasts as long as a window.
TEST_F(ViewerWindow, OneNameAsksForTheOtherSide) {
  ViewerSession v;
  ASSERT_TRUE(start(v, {p("l.txt")}));
  ASSERT_NE(focusWindow("Choose two files"), 0u);
  keys({"Tab", "Tab"});
  type(p("r.txt"));
  keys({"Return"});
  ASSERT_NE(v.waitForWindow("l.txt (Current Version) vs. r.txt"), 0u);
  EXPECT_TRUE(xtest::poll([] { return xtest::topWindows("Choose two files").empty(); }));
  EXPECT_EQ(v.state().get("count"), "4");
  v.key("ctrl+q");
  EXPECT_EQ(v.wait(), 0);
}

TEST_F(ViewerWindow, UnreadableRequestOpensNoWindow) {
  ViewerSession v;
  ASSERT_TRUE(start(v, {p("l.txt"), p("missing")}));
  EXPECT_EQ(v.wait(), 2);  // refused: no window opened
  EXPECT_EQ(v.errors(), "diffview: error: Cannot open file for reading: " + p("missing") + "\n");
  EXPECT_TRUE(xtest::topWindows("missing").empty());
}

}  // namespace
