// Versions in the real program: diffview fetches versions from real RCS
// and git repositories through the router and vc_service, steps a side
// through them with the spin buttons, shows each check-in's comment,
// opens a file's history, and finds the last edit of a line.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "test_support.h"
#include "viewer_session.h"
#include "x_session.h"

namespace fs = std::filesystem;

namespace {

class VersionsInTheViewer : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(xtest::display(), nullptr) << "no Xvfb";
    char name[] = "/tmp/vc-viewer-XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    home = name;
    f = home / "r/f.txt";
    fs::create_directories(home / "config");
    fs::create_directories(home / "r");
    setenv("HOME", home.c_str(), 1);
  }
  void TearDown() override { fs::remove_all(home); }

  // Three RCS versions, 1.1 to 1.3, and a changed working file.
  void makeRcs() {
    fs::create_directories(home / "r/RCS");
    checkIn("one\n", "first");
    const std::pair<const char*, const char*> later[] = {
        {"one\ntwo\n", "second"}, {"one\ntwo\nthree\n", "third\nwith a second line"}};
    for (auto [text, comment] : later) {
      ASSERT_EQ(test_support::runProgram("co", {"-q", "-l", f}).status, 0);
      checkIn(text, comment);
    }
    std::ofstream(f) << "one\ntwo\nthree\nfour\n";
  }
  void checkIn(const std::string& text, const std::string& comment) {
    std::ofstream(f) << text;
    auto r = test_support::runProgram("ci", {"-q", "-u", "-t-f", "-m" + comment, f});
    ASSERT_EQ(r.status, 0) << r.err;
  }

  // Three git commits; "b" is changed by the second, "c" added by the third.
  void makeGit() {
    git({"init", "-q"});
    git({"config", "user.email", "ann@example.org"});
    git({"config", "user.name", "Ann"});
    commit("a\nb\n", "Start");
    commit("a\nB changed\n", "Change b");
    commit("a\nB changed\nc\n", "Add c");
    hashes = git({"log", "--format=%h", "--abbrev=7", "f.txt"});
  }
  std::string git(const std::vector<std::string>& args) {
    std::vector<std::string> all = {"-C", (home / "r").string()};
    all.insert(all.end(), args.begin(), args.end());
    auto r = test_support::runProgram("git", all);
    EXPECT_EQ(r.status, 0) << r.err;
    return r.out;
  }
  void commit(const std::string& text, const std::string& message) {
    std::ofstream(f) << text;
    git({"add", "f.txt"});
    git({"commit", "-q", "-m", message});
  }
  std::string hash(int newest) const {  // 0 the newest commit
    return hashes.substr(newest * 8, 7);
  }

  // The spin pair is "Next" then "Previous", side by side.
  void spin(ViewerSession& v, const char* side, bool next) {
    Rect r = v.state().rect(std::string(side) + "spinrect");
    v.click(r.x + (next ? r.width / 4 : 3 * r.width / 4), r.y + r.height / 2);
  }
  static ViewerState waitKey(ViewerSession& v, const std::string& key, const std::string& want) {
    return v.waitFor([&](const ViewerState& s) { return s.get(key) == want; });
  }

  fs::path home;
  std::string f, hashes;
};

TEST_F(VersionsInTheViewer, CommandLineVersionsAreFetchedFromRcsAndTitled) {
  makeRcs();
  ViewerSession cvsStyle;
  ASSERT_TRUE(cvsStyle.start({"-r", "1.1", f}, home / "config"));
  EXPECT_NE(cvsStyle.waitForWindow("f.txt (Version 1.1) vs. f.txt (Current Version)"), 0u)
      << cvsStyle.errors();
  ViewerSession kvcStyle;
  ASSERT_TRUE(kvcStyle.start({f, "-v", "1.2", f, "-v", "9.9"}, home / "config"));
  // The system's message comes in an alert while the window is made.
  ASSERT_NE(focusWindow("Alert"), 0u) << kvcStyle.errors();
  keys({"Return"});
  EXPECT_NE(kvcStyle.waitForWindow("f.txt (Version 1.2) vs. f.txt (Unavailable 9.9)"), 0u)
      << kvcStyle.errors();
}

// One name under version control: the newest version against the working
// file.  The left side steps back to the first version and forward to the
// newest again, each step a new list row; the buttons dim at the ends.
TEST_F(VersionsInTheViewer, SpinButtonsStepThroughEveryRcsVersion) {
  makeRcs();
  ViewerSession v;
  ASSERT_TRUE(v.start({f}, home / "config"));
  ASSERT_NE(v.waitForWindow("f.txt (Version 1.3) vs. f.txt (Current Version)"), 0u) << v.errors();
  ViewerState s = waitKey(v, "leftspin", "active,dimmed");
  EXPECT_EQ(s.get("rightversion"), "local (1.3)");
  EXPECT_EQ(s.get("comments"), "");  // the right side is no check-in
  struct Step {
    bool next;
    const char *version, *spin;
  };
  const Step steps[] = {{false, "1.2", "active,active"}, {false, "1.1", "dimmed,active"},
                        {true, "1.2", "active,active"}, {true, "1.3", "active,dimmed"}};
  int rows = 1;
  for (const Step& step : steps) {
    spin(v, "left", step.next);
    ++rows;
    s = v.waitFor([&](const ViewerState& st) {
      return st.get("leftversion") == step.version && st.number("listrows") == rows;
    });
    EXPECT_EQ(s.get("leftspin"), step.spin) << step.version;
    EXPECT_EQ(s.number("listrows"), rows) << step.version;
    std::string title = "f.txt (Version ";
    title += step.version;
    EXPECT_NE(xtest::title(v.window()).find(title), std::string::npos) << xtest::title(v.window());
  }
  spin(v, "left", true);  // dimmed at the newest: nothing happens
  spin(v, "right", false);
  s = v.waitFor([](const ViewerState& st) {
    return st.get("rightversion") == "1.3" && st.number("listrows") == 6;
  });
  EXPECT_EQ(s.number("listrows"), 6);
  // The comment pane shows the right side's check-in.
  EXPECT_EQ(s.get("comments").rfind("1.3) ", 0), 0u) << s.get("comments");
  EXPECT_NE(s.get("comments").find(" | third"), std::string::npos) << s.get("comments");
}

// A row of the comparison list keeps the date of its side: shown again
// after another pair, it is the dated state again, not the file on disk.
TEST_F(VersionsInTheViewer, ListRowsKeepTheirDates) {
  makeRcs();
  ViewerSession v;
  ASSERT_TRUE(v.start({"-D", "2099/01/01", f}, home / "config"));
  ASSERT_NE(v.waitForWindow("f.txt (Date 2099/01/01) vs."), 0u) << v.errors();
  waitKey(v, "rightspin", "active,dimmed");
  spin(v, "right", false);
  ViewerState s = waitKey(v, "listrows", "2");
  EXPECT_EQ(s.get("rightversion"), "1.3");
  Rect list = s.rect("filelist");
  std::istringstream extra(s.get("filelist"));
  int skip, rowHeight = 0, header = 0;
  extra >> skip >> skip >> skip >> skip >> rowHeight >> header;
  v.click(list.x + 8, list.y + header + rowHeight / 2);
  s = waitKey(v, "shownrow", "1");
  EXPECT_EQ(s.get("leftversion"), "2099/01/01");
  EXPECT_NE(xtest::title(v.window()).find("f.txt (Date 2099/01/01) vs."), std::string::npos);
}

// A version typed into the chooser that the system does not know is
// refused with its message; the window keeps its comparison.  Reload after
// a new check-in names the new version in the working file's label.
TEST_F(VersionsInTheViewer, UnknownTypedVersionIsRefusedAndReloadSeesNewCheckIn) {
  makeRcs();
  ViewerSession v;
  ASSERT_TRUE(v.start({f}, home / "config"));
  ASSERT_NE(v.waitForWindow("f.txt (Version 1.3)"), 0u) << v.errors();
  waitKey(v, "rightversion", "local (1.3)");
  v.key("ctrl+o");
  ASSERT_NE(focusWindow("Choose two files"), 0u);
  keys({"Tab", "Tab", "Tab", "ctrl+a"});
  type("9.9");
  keys({"Return"});
  ASSERT_NE(focusWindow("Alert"), 0u) << v.errors();
  keys({"Return"});
  ASSERT_NE(focusWindow("Choose two files"), 0u) << "the chooser stays";
  keys({"Escape"});
  EXPECT_EQ(v.state().number("listrows"), 1);
  EXPECT_NE(xtest::title(v.window()).find("(Version 1.3) vs. f.txt (Current Version)"),
            std::string::npos);

  ASSERT_EQ(test_support::runProgram("rcs", {"-q", "-l", f}).status, 0);
  checkIn("one\ntwo\nthree\nfour\n", "fourth");
  v.key("F5");
  EXPECT_EQ(waitKey(v, "rightversion", "local (1.4)").get("rightversion"), "local (1.4)");
}

// Control+Shift+H lists a git file's versions newest first with their
// comments; a double click compares a version with its predecessor.
// Control+Shift+L in a view without a selection finds the newest change of
// the whole file; on a line that never changed it says so.
TEST_F(VersionsInTheViewer, GitLastEditAndHistoryWindow) {
  makeGit();
  ViewerSession v;
  ASSERT_TRUE(v.start({f}, home / "config"));
  ASSERT_NE(v.waitForWindow("f.txt (Version " + hash(0) + ") vs. f.txt (Current Version)"), 0u)
      << v.errors();
  std::string win = std::to_string(v.window());
  Rect view = v.waitFor([](const ViewerState& st) { return st.get("painted") == "1"; })
                  .rect("view_right");
  v.click(view.x + view.width / 2, view.y + view.height - 4);  // the right view takes keys
  v.key("ctrl+shift+l");
  std::string last = "(Version " + hash(1) + ") vs. f.txt (Version " + hash(0) + ")";
  EXPECT_TRUE(xtest::poll([&] { return xtest::title(v.window()).find(last) != std::string::npos; },
                          10000))
      << xtest::title(v.window());
  EXPECT_EQ(v.waitForCurrent(1), 1);

  // "a" has been there since the first version.
  xtest::xdotool({"mousemove", "--window", win, std::to_string(view.x + 2),
                  std::to_string(view.y + 4), "mousedown", "1", "mousemove", "--window", win,
                  std::to_string(view.x + 60), std::to_string(view.y + 4), "mouseup", "1"});
  v.key("ctrl+shift+l");
  EXPECT_NE(focusWindow("Alert"), 0u) << "Selection has never changed.";
  keys({"Return"});

  v.key("ctrl+shift+h");
  unsigned long history = 0;
  xtest::poll([&] {
    auto found = xtest::topWindows("f.txt - History");
    history = found.empty() ? 0 : found[0];
    return history && xtest::property(history, "_DIFFVIEW_STATE").find("rows=3") != std::string::npos;
  }, 10000);
  ASSERT_NE(history, 0u) << v.errors();
  std::string state = xtest::property(history, "_DIFFVIEW_STATE");
  EXPECT_NE(state.find("versions=" + hash(0) + " " + hash(1) + " " + hash(2)), std::string::npos)
      << state;
  EXPECT_NE(state.find("comment=Add c"), std::string::npos) << state;

  // A double click on the middle row compares it with the first version.
  int x = 0, y = 0, rowHeight = 0, header = 0;
  std::sscanf(state.substr(state.find("list=") + 5).c_str(), "%d %d %d %d", &x, &y, &rowHeight,
              &header);
  xtest::xdotool({"mousemove", "--window", std::to_string(history), std::to_string(x + 20),
                  std::to_string(y + header + rowHeight + rowHeight / 2), "click", "--repeat", "2",
                  "--delay", "80", "1"});
  std::string pair = "(Version " + hash(2) + ") vs. f.txt (Version " + hash(1) + ")";
  EXPECT_TRUE(xtest::poll([&] { return xtest::title(v.window()).find(pair) != std::string::npos; },
                          10000))
      << xtest::title(v.window());
  ViewerState s = v.waitFor(
      [](const ViewerState& st) { return st.get("comments").find("Change b") != std::string::npos; });
  EXPECT_EQ(s.get("comments").rfind(hash(1) + ") Ann ", 0), 0u) << s.get("comments");
  EXPECT_NE(s.get("comments").find("| Change b"), std::string::npos) << s.get("comments");

  // The newest row, then Control+click on the oldest: the two are compared,
  // the older on the left.  (The viewer came up over the history.)
  auto rowY = [&](int row) { return std::to_string(y + header + row * rowHeight + rowHeight / 2); };
  std::string h = std::to_string(history), rowX = std::to_string(x + 20);
  xtest::xdotool({"windowraise", h, "mousemove", "--window", h, rowX, rowY(0), "click", "1"});
  xtest::xdotool({"keydown", "ctrl", "mousemove", "--window", h, rowX, rowY(2), "click", "1",
                  "keyup", "ctrl"});
  std::string chosen = "(Version " + hash(2) + ") vs. f.txt (Version " + hash(0) + ")";
  EXPECT_TRUE(xtest::poll([&] { return xtest::title(v.window()).find(chosen) != std::string::npos; },
                          10000))
      << xtest::title(v.window());
  xtest::xdotool({"windowfocus", "--sync", std::to_string(history), "key", "ctrl+q"});
  EXPECT_TRUE(xtest::poll([&] { return xtest::topWindows("f.txt - History").empty(); }));
}

}  // namespace
