// gui/x11 and gui/core without a display: key codes, the lone Alt release
// and click counting, binding texts, resource options and the merge order
// of the resource database, the command-line pass, the placer, and
// start-up failing without a display.
#include <gtest/gtest.h>  // before Xlib, whose None and Bool macros trip it

#include <X11/keysym.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "base/debugflag.h"
#include "base/gen.h"
#include "config/config_dirs.h"
#include "gui/core/bindings.h"
#include "gui/core/fonts.h"
#include "gui/core/gui_init.h"
#include "gui/core/item.h"
#include "gui/core/placer.h"
#include "gui/core/wgui.h"
#include "gui/x11/event_translate.h"
#include "gui/x11/resources.h"

namespace {

namespace fs = std::filesystem;

// An argument vector as main gets it, "diffview" first.
struct Args {
  std::vector<std::string> words;
  std::vector<char*> v;
  int argc;
  explicit Args(std::vector<std::string> w) : words(std::move(w)) {
    words.insert(words.begin(), "diffview");
    for (auto& s : words) v.push_back(s.data());
    v.push_back(nullptr);
    argc = static_cast<int>(words.size());
  }
  std::vector<std::string> kept() const { return {v.begin() + 1, v.begin() + argc}; }
};

TEST(EventRules, KeysOfOtherSetsAreDroppedAndOnlyALoneAltIsReported) {
  EXPECT_EQ(W_keyCodeOfKeysym(XK_eacute), 0xE9);
  for (KeySym dropped : {KeySym(XK_Greek_alpha), KeySym(XK_EuroSign), KeySym(NoSymbol)})
    EXPECT_EQ(W_keyCodeOfKeysym(dropped), 0) << dropped;
  LoneModifierTracker t;
  t.keyPressed(WKEY_META_L);
  EXPECT_TRUE(t.keyReleased(WKEY_META_L));
  EXPECT_FALSE(t.keyReleased(WKEY_META_L));  // only once per press
  t.keyPressed(WKEY_ALT_L);
  t.keyPressed('x');
  EXPECT_FALSE(t.keyReleased('x'));
  EXPECT_FALSE(t.keyReleased(WKEY_ALT_L));
  t.keyPressed(0x1EA);  // Alt_R is not one of the lone keys
  EXPECT_FALSE(t.keyReleased(0x1EA));
}

TEST(EventRules, ClickSeriesEndWithAnotherWindowButtonPlaceOrPause) {
  ClickCounter c;
  EXPECT_EQ(c.press(1, 1, 1000, 10, 10), 1);
  EXPECT_EQ(c.press(1, 1, 1200, 11, 10), 2);
  EXPECT_EQ(c.press(1, 1, 1500, 11, 11), 3);
  EXPECT_EQ(c.press(1, 3, 1600, 11, 11), 1);  // another button
  EXPECT_EQ(c.press(2, 3, 1700, 11, 11), 1);  // another window
  EXPECT_EQ(c.press(2, 3, 1800, 40, 11), 1);  // too far
  EXPECT_EQ(c.press(2, 3, 2500, 40, 11), 1);  // too late
  c.setIntervalMs(1000);
  EXPECT_EQ(c.press(2, 3, 3400, 40, 11), 2);
}

TEST(Bindings, TextsAreReadIntoTheirPartsOrRefused) {
  WBinding b;
  ASSERT_TRUE(W_parseBinding("Mouse1*Press1(AtOnce)@Menu=MenuGlyph", &b));
  EXPECT_EQ(b.options + " " + b.place + " " + b.command, "AtOnce Menu MenuGlyph");
  ASSERT_TRUE(W_parseBinding("Mouse3*Release2@Close=Close", &b));
  EXPECT_TRUE(b.mouse && !b.onPress && b.button == 3 && b.count == 2);
  ASSERT_TRUE(W_parseBinding("x|Control|Shift=Cut", &b));
  EXPECT_FALSE(b.mouse);
  EXPECT_EQ(b.key, "x");
  EXPECT_EQ(b.modifiers, unsigned(WMOD_CONTROL | WMOD_SHIFT));
  for (const char* bad : {"", "=Close", "q|Control=", "q|Hyper=Close", "Mouse9*Release1@X=Y",
                          "Mouse1*Hold1@X=Y", "Mouse1*Release@X=Y", "Mouse1*Release1(AtOnce@X=Y",
                          "Mouse1*Release1@=Y", "Close"}) {
    WBinding untouched;
    untouched.command = "kept";
    EXPECT_FALSE(W_parseBinding(bad, &untouched)) << bad;
    EXPECT_EQ(untouched.command, "kept");
  }
  EXPECT_FALSE(W_parseBinding(nullptr, &b));
  // The window's own bindings: Caps Lock does not matter, Shift does.
  W_clearBindings();
  ASSERT_TRUE(W_defaultWindowBindings());
  EXPECT_STREQ(W_keyCommand('q', WMOD_CONTROL), "Close");
  EXPECT_STREQ(W_keyCommand('p', WMOD_CONTROL | WMOD_LOCK), "Print");
  EXPECT_EQ(W_keyCommand('q', WMOD_CONTROL | WMOD_SHIFT), nullptr);
  EXPECT_EQ(W_keyCommand('q', 0), nullptr);
}

std::string lookup(XrmDatabase db, const char* resource) {
  const char* v = gui_lookupResource(db, "diffview", "Diffview", resource);
  return v ? v : "(unset)";
}

// Options with a separate value, flags, geometries and -xrm lines; the
// rest keeps its order, and a value missing at the end leaves its option.
TEST(Resources, OptionsAreTakenOutOfTheCommandLine) {
  Args a({"-b", "left", "-display", ":5", "-rv", "right", "-x", "=80x24", "-xrm",
          "diffview.comment: green", "-w", "-name"});
  XrmDatabase db = gui_parseResourceOptions(&a.argc, a.v.data(), "diffview");
  EXPECT_EQ(a.kept(), (std::vector<std::string>{"-b", "left", "right", "-x", "-w", "-name"}));
  EXPECT_EQ(a.v[a.argc], nullptr);
  std::string got;
  for (const char* r : {"display", "reversevideo", "geometry", "comment"}) got += lookup(db, r) + "|";
  EXPECT_EQ(got, ":5|on|=80x24|green|");
  XrmDestroyDatabase(db);
}

TEST(Resources, LaterSourcesOverrideEarlierOnes) {
  fs::path dir = fs::temp_directory_path() / ("gui-res-" + std::to_string(getpid()));
  fs::create_directories(dir);
  setenv("HOME", dir.c_str(), 1);
  std::ofstream(dir / ".Xdefaults") << "diffview.foreground: home\ndiffview.background: home\n"
                                       "diffview.keyword: home\nDiffview.String: byclass\n";
  std::ofstream(dir / "env") << "diffview.foreground: env\ndiffview.comment: env\n";
  setenv("XENVIRONMENT", (dir / "env").c_str(), 1);
  Args cmd({"-fg", "cmd"});
  XrmDatabase db = gui_buildResourceDatabase(gui_parseResourceOptions(&cmd.argc, cmd.v.data(),
                                                                      "diffview"),
                                             "diffview", "Diffview", "diffview.keyword: server\n");
  EXPECT_EQ(lookup(db, "foreground"), "cmd");
  EXPECT_EQ(lookup(db, "keyword"), "server");
  EXPECT_EQ(lookup(db, "background"), "home");  // the server's resources do not name it
  EXPECT_EQ(lookup(db, "string"), "byclass");
  EXPECT_EQ(lookup(db, "comment"), "env");
  XrmDestroyDatabase(db);
  unsetenv("XENVIRONMENT");
  fs::remove_all(dir);
}

class CommandLine : public ::testing::Test {
 protected:
  void SetUp() override {
    gen_changeprogname("diffview");
    toolkitOptions = ToolkitOptions{};
  }
  void TearDown() override {
    cfg_SetUserConfigDir(nullptr);
    cfg_SetNoConfigFiles(false);
  }
};

// (The real program's tests check the warning for an unknown switch and
// that -run ends the pass.)
TEST_F(CommandLine, SwitchWordsAndToolkitOptionsAreTakenOut) {
  Args a({"-XTamsel", "file", "-ZUseFDRegistry", "-X683", "-configdir", "/cfg", "-wmhints",
          "-isdn3", "-nosplash", "-nocfg", "-b"});
  init_prior_to_gui(&a.argc, a.v.data());
  EXPECT_EQ(a.kept(), (std::vector<std::string>{"file", "-wmhints", "-b"}));
  EXPECT_EQ(a.v[a.argc], nullptr);
  EXPECT_EQ(debugFlag[DBG_Tamsel], 1);
  EXPECT_EQ(debugFlag[DBG_UseFDRegistry], 0);
  EXPECT_EQ(debugFlag[DBG_DiffViewer], 1);
  EXPECT_STREQ(toolkitOptions.configDir, "/cfg");
  EXPECT_TRUE(toolkitOptions.wmHints);
  EXPECT_EQ(toolkitOptions.lowBandwidth, 3);
  EXPECT_FALSE(toolkitOptions.splash);
  char* dir = cfg_GetUserConfigDir(false);  // the configuration follows
  EXPECT_STREQ(dir, "/cfg");
  gen_free(dir);
  EXPECT_TRUE(cfg_GetNoConfigFiles());
  // Turning the router off constrains last; a trailing -configdir stays.
  toolkitOptions = ToolkitOptions{};
  Args b({"-XDiffViewer", "-ZServiceRouter", "-isdn", "-noicons", "-configdir"});
  init_prior_to_gui(&b.argc, b.v.data());
  EXPECT_EQ(debugFlag[DBG_DiffViewer], 0);
  EXPECT_EQ(debugFlag[DBG_UseHelpService], 0);
  EXPECT_EQ(toolkitOptions.lowBandwidth, 9);
  EXPECT_EQ(b.kept(), std::vector<std::string>{"-configdir"});
  debugFlag[DBG_UseFDRegistry] = 1;
  debugFlag[DBG_Tamsel] = 0;
}

// Without a display the toolkit says why, in its exact words, and the
// process ends with status 1.
TEST(NoDisplay, StartUpExplainsAndEnds) {
  const std::string head = "diffview failed to start up in GUI mode\n";
  const std::string tail =
      "Check that your DISPLAY environment variable is set appropriately, or\n"
      "enter the display name on the command line with 'diffview -display xxx'\n";
  const std::string onlyGui = "This program is only available in GUI mode, so you must have an X server\n";
  struct {
    const char* display;
    std::vector<std::string> args;
    int kind;
    std::string err;
  } cases[] = {
      {nullptr, {}, WGUI_KIND_APPLICATION, head + tail + onlyGui},
      {":999", {}, WGUI_KIND_APPLICATION, head + "Unknown display: :999\n" + tail + onlyGui},
      {nullptr, {"-display", ":998", "file"}, WGUI_KIND_IDE,
       head + "Unknown display: :998\n" + tail +
           "To start VORNE in non-GUI mode, type 'diffview -nodisplay'\n"},
  };
  std::string errFile = fs::temp_directory_path() / ("nodisplay-" + std::to_string(getpid()));
  for (auto& c : cases) {
    pid_t pid = fork();
    if (pid == 0) {
      if (c.display) setenv("DISPLAY", c.display, 1);
      else unsetenv("DISPLAY");
      if (!freopen(errFile.c_str(), "w", stderr)) _exit(98);
      gen_changeprogname("diffview");
      Args a(c.args);
      WGUIInit(&a.argc, a.v.data(), nullptr, false, false, c.kind);
      _exit(99);  // only when start-up wrongly succeeded
    }
    int status;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
    std::stringstream err;
    err << std::ifstream(errFile).rdbuf();
    EXPECT_EQ(err.str(), c.err);
  }
  fs::remove(errFile);
}

// Character and line units follow the display's font; without a display
// the tests give the font a size of their own.
class Placer : public ::testing::Test {
 protected:
  void SetUp() override { font_h = 15, font_n = 8; }
  WWindowedItem root{nullptr, DrawRect{0, 0, 10, 10}, 0};
  WWindowedItem* widget() { return new WWindowedItem(&root, DrawRect{0, 0, 1, 1}, 0); }
};

TEST_F(Placer, ArrangesWidgetsFromRulesAndFollowsTheWindowSize) {
  // A bar on top, a guide at a named split, two panes beside it down to a
  // status line two text lines high.
  WPlacer p;
  ASSERT_TRUE(p.addRules("# the bar across the top\n"
                         "bar.left = window.left\nbar.top = window.top\nbar.right = window.right\n"
                         "bar.height = $bar\nsplit.left = $split\n"
                         "status.left = window.left + 4\nstatus.right = window.right - 4\n"
                         "status.bottom = window.bottom\nstatus.height = 2l\n"
                         "one.left = window.left + 4\none.top = bar.bottom + 2\n"
                         "one.right = split.left - 3\none.bottom = status.top\n"
                         "two.left = split.left + 3\ntwo.top = one.top\n"
                         "two.right = window.right - 4\ntwo.bottom = one.bottom\n"));
  WWindowedItem *one = widget(), *two = widget();
  p.addWidget("one", one);
  p.addWidget("two", two);
  p.setSize("bar", 20);
  p.setSize("split", 300);
  p.place(800, 600);
  EXPECT_TRUE(p.problems().empty());
  EXPECT_EQ(p.rectOf("status").y, 600 - 30);
  EXPECT_EQ((std::vector<int>{one->getX(), one->getY(), one->getWidth(), one->getHeight()}),
            (std::vector<int>{4, 22, 293, 600 - 30 - 22}));
  EXPECT_EQ(two->getX(), 303);
  EXPECT_EQ(two->getWidth(), 800 - 4 - 303);
  p.setSize("split", 500);
  p.place(1000, 700);
  EXPECT_EQ(one->getWidth(), 493);
  EXPECT_EQ(two->getX() + two->getWidth(), 996);
  EXPECT_EQ(two->getY() + two->getHeight(), 700 - 30);
}

// Right-to-left chains close up over a hidden widget: it keeps its
// anchored edge and has no size.
TEST_F(Placer, HiddenWidgetsTakeNoRoomAndBadRulesAreReported) {
  WWindowedItem *spin = widget(), *name = widget();
  WPlacer p;
  ASSERT_TRUE(p.addRules("spin.right = window.right - 10\nspin.width = 3c\n"
                         "spin.top = window.top\nspin.height = 20\n"
                         "name.left = window.left\nname.right = spin.left - 5\n"
                         "name.top = window.top\nname.height = 20\n"));
  p.addWidget("spin", spin);
  p.addWidget("name", name);
  p.place(400, 100);
  EXPECT_EQ(name->getWidth(), 400 - 10 - 24 - 5);
  spin->hide();
  p.place(400, 100);
  EXPECT_EQ(name->getWidth(), 400 - 10 - 5);
  EXPECT_EQ(p.rectOf("spin").width, 0);

  std::string bad;
  EXPECT_FALSE(p.addRules("a.left = window.left\na.middle = 4\n", &bad));
  EXPECT_EQ(bad, "a.middle = 4");
  for (const char* rule : {"a.left =", "a.left = b.left + c.left", "a.left = 4x",
                           "a.left = - b.left", "left = 4", "a.left = 4 + + 2"}) {
    WPlacer q;
    EXPECT_FALSE(q.addRules(rule, &bad)) << rule;
  }
  // An edge that no rule before gave cannot be used, nor an unknown size.
  WPlacer q;
  ASSERT_TRUE(q.addRules("a.left = b.right + 2\nc.top = $nothing\nd.left = window.right - 7\n"));
  q.place(100, 100);
  EXPECT_EQ(q.problems().size(), 2u);
  EXPECT_EQ(q.edgeOf("d", WPlacer::kLeft), 93);
}

}  // namespace
