// Dialogs on the program's Xvfb, driven from a timer while they wait:
// alerts and the prompt by keys and buttons, other windows refused with the
// bell; the file dialogue's history, its use by mouse and keys, and an
// alert over it for a missing directory.
#include "widget_util.h"  // gtest before Xlib

#include <X11/XKBlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "base/gen.h"
#include "config/config_dirs.h"
#include "gui/core/pixels.h"
#include "gui/core/popup.h"
#include "gui/core/window_registry.h"
#include "gui/lists/file_choose.h"
#include "gui/lists/file_choose_history.h"
#include "gui/lists/mscroll_list.h"
#include "gui/widgets/alert.h"
#include "gui/widgets/button.h"
#include "gui/widgets/prompt.h"
#include "gui/widgets/text_field.h"

namespace {

template <typename T>
T* childOf(WDialog* d) {
  for (WWindowedItem* c : d->window()->getChildren())
    if (auto* t = dynamic_cast<T*>(c)) return t;
  return nullptr;
}

// Steps that act on the innermost dialog once it is up.
bool keysToDialog(const std::vector<std::string>& names, const std::string& typed = "") {
  WDialog* d = shownDialog();
  if (!d) return false;
  std::vector<std::string> args{"windowfocus", "--sync", std::to_string(d->window()->getWindow())};
  if (!names.empty()) args.push_back("key");
  args.insert(args.end(), names.begin(), names.end());
  if (!typed.empty()) args.insert(args.end(), {"type", "--delay", "5", typed});  // takes the rest
  return xtest::xdotool(args) == 0;
}
bool clickButton(int index) {
  WDialog* d = shownDialog();
  WButton* b = d ? d->button(index) : nullptr;
  return b && xtest::xdotool({"mousemove", "--window", std::to_string(b->getWindow()), "5", "5",
                              "click", "1"}) == 0;
}

using Dialogs = GuiSession;

TEST_F(Dialogs, AlertsShowTheirMessageAndGoWithOKEnterEscapeOrTheCloseButton) {
  ColWind* main = openWindow("main", 400, 300);
  std::vector<std::string> lines;
  std::string title;
  WindowId alert = 0;
  Script script({[&] {
                   WDialog* d = shownDialog();
                   WDialogText* t = d ? childOf<WDialogText>(d) : nullptr;
                   if (!t || xtest::inkIn(t->getWindow(), {0, 0, t->getWidth(), t->getHeight()},
                                          t->getBackground()) <= 0)
                     return false;  // not painted yet
                   alert = d->window()->getWindow();
                   title = xtest::title(alert), lines = t->lines();
                   return true;
                 },
                 [] { return clickButton(0); }});
  gui_Alert(main, "No such Left file: /tmp/x\nsecond line");
  EXPECT_TRUE(script.finished());
  EXPECT_EQ(title, "Alert");
  EXPECT_EQ(lines, (std::vector<std::string>{"No such Left file: /tmp/x", "second line"}));
  EXPECT_EQ(WDialog::current(), nullptr);
  EXPECT_EQ(gui_getModalWindow(), nullptr);
  EXPECT_EQ(cwFromWindow(alert), nullptr);
  for (const char* key : {"Return", "Escape", ""}) {
    Script s({[&] {
      if (*key) return keysToDialog({key});
      if (!shownDialog()) return false;
      xtest::sendDelete(shownDialog()->window()->getWindow());
      return true;
    }});
    gui_AlertTitled(main, "Problem", "Selection has never changed.");
    EXPECT_TRUE(s.finished()) << key;
  }
}

TEST_F(Dialogs, PromptsAnswerWhatWasTypedOrNothingWhenCancelled) {
  ColWind* main = openWindow("main");
  std::string prompt, initial;
  const struct {
    Script::Step step;
    const char* answer;
  } cases[] = {
      {[&] {  // typing replaces the selected initial text; spaces are trimmed
         WDialog* d = shownDialog();
         if (!d || !childOf<TextField>(d)) return false;
         prompt = childOf<WDialogText>(d)->lines()[0], initial = childOf<TextField>(d)->rawText();
         return keysToDialog({}, "  1.5 ") && keysToDialog({"Return"});
       }, "1.5"},
      {[] { return clickButton(0); }, "1.2"},  // OK keeps the initial value
      {[] { return keysToDialog({}, "2.0") && clickButton(1); }, nullptr},
      {[] { return keysToDialog({"Escape"}); }, nullptr},
  };
  for (const auto& c : cases) {
    Script s({c.step});
    char* answer = gui_Prompt(main, "Choose Version", "Version for foo.c", "1.2");
    EXPECT_STREQ(answer, c.answer);
    gen_free(answer);
  }
  EXPECT_EQ(prompt, "Version for foo.c");
  EXPECT_EQ(initial, "1.2");
}

// Counts the bells the server rang since the last call.
class Bells {
 public:
  Bells() {
    int opcode, error, major = XkbMajorVersion, minor = XkbMinorVersion;
    ok = XkbQueryExtension(d, &opcode, &base, &error, &major, &minor) &&
         XkbSelectEvents(d, XkbUseCoreKbd, XkbBellNotifyMask, XkbBellNotifyMask);
    count();
  }
  int count() {
    XSync(d, False);
    int n = 0;
    for (XEvent e; XPending(d);) {
      XNextEvent(d, &e);
      n += e.type == base && reinterpret_cast<XkbAnyEvent*>(&e)->xkb_type == XkbBellNotify;
    }
    return n;
  }
  bool ok = false;

 private:
  Display* d = xtest::display();
  int base = 0;
};

bool above(WindowId a, WindowId b) {  // in the root's stacking order
  std::vector<unsigned long> s = xtest::topWindows("");
  auto ia = std::find(s.begin(), s.end(), a), ib = std::find(s.begin(), s.end(), b);
  return ia != s.end() && ib != s.end() && ia > ib;
}

struct Pane : WWindowedItem {
  explicit Pane(WWindowedItem* parent) : WWindowedItem(parent, DrawRect{0, 0, 80, 40}, bg_pixel) {}
  int presses = 0, keys = 0;
  bool handleMousePress(xinLibSt*) override { return ++presses; }
  bool handleKey(xinLibSt*) override { return ++keys; }
};

TEST_F(Dialogs, WhileADialogRunsOtherWindowsRingTheBellAndRaiseItButItsPopupsWork) {
  ColWind* main = openWindow("main", 300, 200);
  auto* pane = new Pane(main);
  pane->activateMe();
  Bells bells;
  ASSERT_TRUE(bells.ok);
  auto popup = std::make_unique<WPopup>(DrawRect{50, 50, 80, 40}, bg_pixel);
  auto* inPopup = new Pane(popup.get());
  WindowId dialog = 0;
  int rung = 0;
  Script script({
      [&] {
        if (!shownDialog()) return false;
        dialog = shownDialog()->window()->getWindow();
        XLowerWindow(other(), dialog);  // hidden under main
        XSync(other(), False);
        popup->popUp(DrawRect{50, 50, 80, 40});
        return !above(dialog, main->getWindow());
      },
      [&] {
        return xtest::xdotool({"mousemove", "--window", id(pane), "20", "20", "click", "1",
                               "windowfocus", "--sync", id(main), "key", "a", "mousemove",
                               "--window", id(inPopup), "10", "10", "click", "1"}) == 0;
      },
      [&] {
        rung += bells.count();
        return inPopup->presses == 1 && rung >= 2 && above(dialog, main->getWindow());
      },
      [&] {
        popup->popDown();
        return keysToDialog({"Escape"});
      },
  });
  gui_Alert(main, "Busy.");
  EXPECT_TRUE(script.finished());
  EXPECT_EQ(rung, 2);  // one for the press, one for the key
  EXPECT_EQ(pane->presses + pane->keys, 0);
  // With the dialog gone the window takes input again, without a bell.
  ASSERT_EQ(click(pane, 30, 30), 0);
  ASSERT_TRUE(waitFor([pane] { return pane->presses == 1; }));
  EXPECT_EQ(bells.count(), 0);
}


// A temporary tree: a.txt, b.c, .hidden, sub/deep.txt, sub/more/, zdir/.
struct Tree {
  Tree() {
    char tmpl[] = "/tmp/chooserXXXXXX";
    root = mkdtemp(tmpl);
    for (const char* d : {"/sub", "/sub/more", "/zdir"}) mkdir((root + d).c_str(), 0755);
    for (const char* f : {"/a.txt", "/b.c", "/.hidden", "/sub/deep.txt"}) std::ofstream(root + f) << "x\n";
  }
  ~Tree() { std::filesystem::remove_all(root); }
  std::string root;
};

TEST(FileChoice, RecentDirectoriesPerGroupSurviveInTheFileDamagedOrNot) {
  Tree config;
  cfg_SetUserConfigDir(config.root.c_str());
  fc_forgetHistory();
  fc_rememberDirectory("Editor", "/one");
  fc_rememberDirectory("Editor", "/two");
  fc_rememberDirectory("Other", "/three");
  fc_rememberDirectory("Editor", "/one");       // again: to the front
  fc_rememberDirectory("Editor", "bad\tname");  // cannot be stored: ignored
  fc_forgetHistory();                           // read back from the file
  EXPECT_EQ(fc_recentDirectories("Editor"), (std::vector<std::string>{"/one", "/two"}));
  EXPECT_EQ(fc_recentDirectories("Other"), std::vector<std::string>{"/three"});
  std::ofstream(fc_historyFile()) << "no tab here\n\t/empty-group\nEditor\t\nEditor\t/kept\n";
  fc_forgetHistory();
  EXPECT_EQ(fc_recentDirectories("Editor"), std::vector<std::string>{"/kept"});
  cfg_SetUserConfigDir(nullptr);
  fc_forgetHistory();
}

class Chooser : public GuiSession {
 protected:
  void SetUp() override {
    GuiSession::SetUp();
    cfg_SetUserConfigDir(config.root.c_str());
    fc_forgetHistory();
    main = openWindow("main");
  }
  void TearDown() override {
    cfg_SetUserConfigDir(nullptr);
    fc_forgetHistory();
    GuiSession::TearDown();
  }
  static FileChooseDialogue* chooser() { return dynamic_cast<FileChooseDialogue*>(shownDialog()); }
  static std::vector<std::string> rows(const MScrollList* list) {
    std::vector<std::string> out;
    for (int r = 0; r < list->getRowCount(); r++) out.push_back(list->getCellText(r, 0));
    return out;
  }
  static bool clickRow(MScrollList* list, int row, int count = 1) {
    DrawRect r = list->cellRect(row, 0);
    return xtest::xdotool({"mousemove", "--window", std::to_string(list->getWindow()), "30",
                           std::to_string(r.y + r.height / 2), "click", "--repeat",
                           std::to_string(count), "--delay", "40", "1"}) == 0;
  }
  Tree config, tree;
  ColWind* main = nullptr;
};

TEST_F(Chooser, DoubleClicksKeysAndTheSelectButtonEnterDirectoriesAndChooseFiles) {
  std::vector<std::string> shown, inSub;
  std::string field;
  Script script({
      [&] {
        if (!chooser()) return false;
        shown = rows(chooser()->listing());
        return clickRow(chooser()->listing(), 1, 2);  // "sub/"
      },
      [&] { return chooser()->directory() == tree.root + "/sub"; },
      [&] {
        inSub = rows(chooser()->listing());
        field = chooser()->pathField()->rawText();
        return clickRow(chooser()->listing(), 2, 2);  // "deep.txt"
      },
  });
  FileChooseDialogue dialog(main, "Choose File", tree.root.c_str(), true, "*", "Select", "Editor");
  char* path = dialog.choose();
  EXPECT_EQ(std::string(path ? path : ""), tree.root + "/sub/deep.txt");
  gen_free(path);
  EXPECT_EQ(shown, (std::vector<std::string>{"..", "sub/", "zdir/", "a.txt", "b.c"}));
  EXPECT_EQ(inSub, (std::vector<std::string>{"..", "more/", "deep.txt"}));
  EXPECT_EQ(field, tree.root + "/sub/");
  EXPECT_EQ(fc_recentDirectories("Editor").front(), tree.root + "/sub");
  Script keys({
      [&] { return chooser() && keysToDialog({"Down", "Down", "Return"}); },  // "sub/"
      [&] { return chooser()->directory() == tree.root + "/sub" && keysToDialog({"BackSpace"}); },
      [&] { return chooser()->directory() == tree.root && clickRow(chooser()->listing(), 4); },
      [&] { return chooser()->pathField()->rawText() == tree.root + "/b.c" && clickButton(0); },
  });
  path = gui_ChooseFile(main, "Choose File", (tree.root + "/a.txt").c_str(), "*", "Select", "Editor");
  EXPECT_EQ(std::string(path ? path : ""), tree.root + "/b.c");
  gen_free(path);
}

TEST_F(Chooser, RecentDirectoriesAreOfferedAndAMissingStartFallsBackUnderAFilter) {
  fc_rememberDirectory("Editor", tree.root + "/sub/more");
  fc_rememberDirectory("Editor", tree.root + "/zdir");
  fc_rememberDirectory("Other", "/other-group");
  std::vector<std::string> recent, shown;
  Script script({
      [&] {
        if (!chooser()) return false;
        recent = rows(chooser()->recentList());
        return clickRow(chooser()->recentList(), 1);
      },
      [&] { return chooser()->directory() == tree.root + "/sub/more" && keysToDialog({"Escape"}); },
  });
  EXPECT_EQ(gui_ChooseFile(main, "Choose File", tree.root.c_str(), "*", "Select", "Editor"), nullptr);
  EXPECT_EQ(recent, (std::vector<std::string>{tree.root + "/zdir", tree.root + "/sub/more"}));
  EXPECT_EQ(fc_recentDirectories("Editor").size(), 2u);  // cancelled: as it was
  setenv("HOME", tree.root.c_str(), 1);
  Script fallback({[&] {
    if (!chooser()) return false;
    shown = rows(chooser()->listing());
    return clickButton(1);
  }});
  FileChooseDialogue dialog(main, nullptr, "/no/such/place/at/all", true, "*.c", nullptr, "Editor");
  EXPECT_EQ(dialog.choose(), nullptr);
  EXPECT_EQ(shown, (std::vector<std::string>{"..", "sub/", "zdir/", "b.c"}));
  EXPECT_EQ(dialog.window()->title, "Choose File");  // the default title
}

TEST_F(Chooser, ATypedPathInAMissingDirectoryIsRefusedWithAnAlert) {
  std::string message;
  Script script({
      [&] {
        if (!chooser()) return false;
        chooser()->pathField()->setText("/no/such/dir/file.txt");
        chooser()->pathField()->activateMe();
        return keysToDialog({"Return"});
      },
      [&] {
        WDialog* alert = shownDialog();
        if (!alert || dynamic_cast<FileChooseDialogue*>(alert)) return false;
        message = childOf<WDialogText>(alert)->lines()[0];
        return keysToDialog({"Return"});
      },
      [&] {  // back in the chooser, a relative name in the shown directory
        if (!chooser() || gui_getModalWindow() != chooser()->window()) return false;
        chooser()->pathField()->setText("new-file.txt");
        return keysToDialog({"Return"});
      },
  });
  char* path = gui_ChooseFile(main, "Choose File", tree.root.c_str(), "*", "Select", "Editor");
  EXPECT_EQ(message, "No such directory: /no/such/dir");
  EXPECT_EQ(std::string(path ? path : ""), tree.root + "/new-file.txt");
  gen_free(path);
}

}  // namespace
