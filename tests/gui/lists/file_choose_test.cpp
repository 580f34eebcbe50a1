// The file choice dialogue: listings, filters, paths and start-directory
// fallbacks without a display; the history in memory and in its file; and
// the dialogue on Xvfb entering directories by mouse and keys, choosing a
// file, offering the recent directories, and refusing a missing directory
// with an alert over it.
#include "lists_test_util.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "base/gen.h"
#include "config/config_dirs.h"
#include "gui/core/window_registry.h"
#include "gui/lists/file_choose.h"
#include "gui/lists/file_choose_history.h"
#include "gui/lists/mscroll_list.h"
#include "gui/widgets/button.h"
#include "gui/widgets/text_field.h"

using namespace lists_test;

namespace {

// A temporary tree: a.txt, b.c, .hidden, sub/deep.txt, sub/more/, zdir/.
class Tree {
 public:
  Tree() {
    char tmpl[] = "/tmp/w3chooserXXXXXX";
    root = mkdtemp(tmpl);
    for (const char* d : {"/sub", "/sub/more", "/zdir"}) mkdir((root + d).c_str(), 0755);
    for (const char* f : {"/a.txt", "/b.c", "/.hidden", "/sub/deep.txt"})
      std::ofstream(root + f) << "x\n";
  }
  ~Tree() { std::system(("rm -rf " + root).c_str()); }
  std::string root;
};

std::vector<std::string> names(const std::vector<FileChooseEntry>& entries) {
  std::vector<std::string> out;
  for (const FileChooseEntry& e : entries) out.push_back(e.name + (e.directory ? "/" : ""));
  return out;
}

std::vector<std::string> rows(const MScrollList* list) {
  std::vector<std::string> out;
  for (int r = 0; r < list->getRowCount(); r++) out.push_back(list->getCellText(r, 0));
  return out;
}

// Sets an environment variable for the length of a test.
class EnvVar {
 public:
  EnvVar(const char* name, const char* value) : name_(name) {
    if (const char* old = getenv(name)) old_ = old, had_ = true;
    if (value) setenv(name, value, 1);
    else unsetenv(name);
  }
  ~EnvVar() {
    if (had_) setenv(name_.c_str(), old_.c_str(), 1);
    else unsetenv(name_.c_str());
  }

 private:
  std::string name_, old_;
  bool had_ = false;
};

TEST(FileChooseDir, ListingsPutDirectoriesFirstAndFilterFiles) {
  Tree t;
  std::vector<FileChooseEntry> e;
  ASSERT_TRUE(fc_listDirectory(t.root, "*", &e));
  EXPECT_EQ(names(e), (std::vector<std::string>{"../", "sub/", "zdir/", "a.txt", "b.c"}));
  ASSERT_TRUE(fc_listDirectory(t.root, "*.c;*.h", &e));
  EXPECT_EQ(names(e), (std::vector<std::string>{"../", "sub/", "zdir/", "b.c"}));
  ASSERT_TRUE(fc_listDirectory(t.root, nullptr, &e));
  EXPECT_EQ(e.size(), 5u);
  ASSERT_TRUE(fc_listDirectory("/", "*", &e));
  ASSERT_FALSE(e.empty());
  EXPECT_NE(e[0].name, "..");  // the root has no parent
  EXPECT_FALSE(fc_listDirectory(t.root + "/missing", "*", &e));
  EXPECT_TRUE(e.empty());
  EXPECT_FALSE(fc_listDirectory(t.root + "/a.txt", "*", &e));
}

TEST(FileChooseDir, FiltersAndPaths) {
  EXPECT_TRUE(fc_matchesFilter("*", "x.c"));
  EXPECT_TRUE(fc_matchesFilter("", "x.c"));
  EXPECT_TRUE(fc_matchesFilter("*.h;*.c", "x.c"));
  EXPECT_FALSE(fc_matchesFilter("*.h;;*.cpp", "x.c"));
  EXPECT_FALSE(fc_matchesFilter(";", "x.c"));
  EXPECT_EQ(fc_join("/a/b", "c"), "/a/b/c");
  EXPECT_EQ(fc_join("/a/b/", "c"), "/a/b/c");
  EXPECT_EQ(fc_join("/a/b", ".."), "/a");
  EXPECT_EQ(fc_join("/a", "/abs"), "/abs");
  EXPECT_EQ(fc_parent("/"), "/");
  EXPECT_EQ(fc_parent("/a"), "/");
  EXPECT_EQ(fc_parent("/a/b/"), "/a");
  EXPECT_EQ(fc_normalise("/a/./b//../c/"), "/a/c");
  EXPECT_EQ(fc_normalise("/../.."), "/");
  char* cwd = getcwd(nullptr, 0);
  EXPECT_EQ(fc_normalise("x/y/.."), std::string(cwd) + "/x");
  free(cwd);
}

TEST(FileChooseDir, StartDirectoryFallsBackToHomeThenHere) {
  Tree t;
  Tree home;
  EnvVar h("HOME", home.root.c_str());
  EXPECT_EQ(fc_startDirectory(t.root.c_str()), t.root);
  EXPECT_EQ(fc_startDirectory((t.root + "/sub/deep.txt").c_str()), t.root + "/sub");
  EXPECT_EQ(fc_startDirectory((t.root + "/missing/dir").c_str()), home.root);
  EXPECT_EQ(fc_startDirectory(nullptr), home.root);
  EXPECT_EQ(fc_startDirectory(""), home.root);
  chmod((t.root + "/zdir").c_str(), 0);  // unreadable
  if (access((t.root + "/zdir").c_str(), R_OK) != 0) {  // root reads everything
    EXPECT_EQ(fc_startDirectory((t.root + "/zdir").c_str()), home.root);
  }
  chmod((t.root + "/zdir").c_str(), 0755);
  EnvVar noHome("HOME", "/no/such/home");
  char* cwd = getcwd(nullptr, 0);
  EXPECT_EQ(fc_startDirectory("/no/such/dir"), std::string(cwd));
  free(cwd);
}

TEST(FileChooseHistory, RecentDirectoriesPerGroupSurviveInTheFile) {
  Tree config;
  cfg_SetUserConfigDir(config.root.c_str());
  fc_forgetHistory();
  EXPECT_EQ(fc_historyFile(), config.root + "/filechooser.history");
  fc_rememberDirectory("Editor", "/one");
  fc_rememberDirectory("Editor", "/two");
  fc_rememberDirectory("Other", "/three");
  fc_rememberDirectory("Editor", "/one");  // again: moves to the front
  fc_rememberDirectory("Editor", "bad\tname");  // cannot be stored: ignored
  EXPECT_EQ(fc_recentDirectories("Editor"), (std::vector<std::string>{"/one", "/two"}));
  fc_forgetHistory();  // read back from the file
  EXPECT_EQ(fc_recentDirectories("Editor"), (std::vector<std::string>{"/one", "/two"}));
  EXPECT_EQ(fc_recentDirectories("Other"), std::vector<std::string>{"/three"});
  EXPECT_TRUE(fc_recentDirectories("None").empty());
  for (int i = 0; i < 15; i++) fc_rememberDirectory("Editor", "/d" + std::to_string(i));
  auto recent = fc_recentDirectories("Editor");
  ASSERT_EQ(recent.size(), static_cast<size_t>(kFileChooseHistoryLength));
  EXPECT_EQ(recent.front(), "/d14");
  // A damaged file gives what it can.
  std::ofstream(fc_historyFile()) << "no tab here\n\t/empty-group\nEditor\t\nEditor\t/kept\n";
  fc_forgetHistory();
  EXPECT_EQ(fc_recentDirectories("Editor"), std::vector<std::string>{"/kept"});
  // Without configuration files the history stays in memory.
  cfg_SetNoConfigFiles(true);
  EXPECT_EQ(fc_historyFile(), "");
  fc_rememberDirectory("Editor", "/memory");
  EXPECT_EQ(fc_recentDirectories("Editor").front(), "/memory");
  cfg_SetNoConfigFiles(false);
  cfg_SetUserConfigDir(nullptr);
  fc_forgetHistory();
}

// ---- the dialogue on X ------------------------------------------------------------

class ChooserX11 : public XSession {
 protected:
  void SetUp() override {
    XSession::SetUp();
    cfg_SetUserConfigDir(config.root.c_str());
    fc_forgetHistory();
  }
  void TearDown() override {
    cfg_SetUserConfigDir(nullptr);
    fc_forgetHistory();
    XSession::TearDown();
  }
  static FileChooseDialogue* chooser() {
    return dynamic_cast<FileChooseDialogue*>(shownDialog());
  }
  static bool doubleClickRow(MScrollList* list, int row) {
    DrawRect r = list->cellRect(row, 0);
    return xdotool({"mousemove", "--window", id(list), "20", std::to_string(r.y + r.height / 2),
                    "click", "--repeat", "2", "--delay", "40", "1"}) == 0;
  }
  static bool clickRow(MScrollList* list, int row) {
    DrawRect r = list->cellRect(row, 0);
    return xdotool({"mousemove", "--window", id(list), "30", std::to_string(r.y + r.height / 2),
                    "click", "1"}) == 0;
  }
  static bool keysToChooser(const std::vector<std::string>& names) {
    FileChooseDialogue* c = chooser();
    if (!c) return false;
    std::vector<std::string> args{"key", "--delay", "20"};
    args.insert(args.end(), names.begin(), names.end());
    return xdotool({"windowfocus", "--sync", id(c->window())}) == 0 && xdotool(args) == 0;
  }
  Tree config;
  Tree tree;
};

using Chooser = ChooserX11;

TEST_F(Chooser, DoubleClicksEnterADirectoryAndChooseAFile) {
  ColWind* main = openWindow("main");
  ASSERT_NE(main, nullptr);
  std::vector<std::string> shown, inSub;
  std::string field, title, accept;
  Script script({
      [&] {
        FileChooseDialogue* c = chooser();
        if (!c) return false;
        shown = rows(c->listing());
        title = c->window()->title;
        accept = c->button(0)->getLabel();
        return doubleClickRow(c->listing(), 1);  // "sub/"
      },
      [&] { return chooser()->directory() == tree.root + "/sub"; },
      [&] {
        FileChooseDialogue* c = chooser();
        inSub = rows(c->listing());
        field = c->pathField()->rawText();
        return doubleClickRow(c->listing(), 2);  // "deep.txt"
      },
  });
  FileChooseDialogue dialog(main, "Choose File", tree.root.c_str(), true, "*", "Select", "Editor");
  char* path = dialog.choose();
  ASSERT_NE(path, nullptr);
  EXPECT_EQ(std::string(path), tree.root + "/sub/deep.txt");
  gen_free(path);
  EXPECT_EQ(title, "Choose File");
  EXPECT_EQ(accept, "Select");
  EXPECT_EQ(shown, (std::vector<std::string>{"..", "sub/", "zdir/", "a.txt", "b.c"}));
  EXPECT_EQ(inSub, (std::vector<std::string>{"..", "more/", "deep.txt"}));
  EXPECT_EQ(field, tree.root + "/sub/");
  EXPECT_EQ(fc_recentDirectories("Editor").front(), tree.root + "/sub");
}

TEST_F(Chooser, KeysClicksAndTheSelectButton) {
  ColWind* main = openWindow("main");
  ASSERT_NE(main, nullptr);
  std::string field;
  Script script({
      [&] { return chooser() && keysToChooser({"Down", "Down", "Return"}); },  // "sub/"
      [&] { return chooser()->directory() == tree.root + "/sub"; },
      [&] { return keysToChooser({"BackSpace"}); },
      [&] { return chooser()->directory() == tree.root; },
      [&] { return clickRow(chooser()->listing(), 4); },  // "b.c": into the field
      [&] {
        field = chooser()->pathField()->rawText();
        return field == tree.root + "/b.c";
      },
      [&] {
        WButton* select = chooser()->button(0);
        return xdotool({"mousemove", "--window", id(select), "5", "5", "click", "1"}) == 0;
      },
  });
  char* path = gui_ChooseFile(main, "Choose File", (tree.root + "/a.txt").c_str(), "*", "Select",
                              "Editor");
  ASSERT_NE(path, nullptr);
  EXPECT_EQ(std::string(path), tree.root + "/b.c");
  gen_free(path);
  EXPECT_TRUE(script.finished());
}

TEST_F(Chooser, RecentDirectoriesAreOfferedAndEntered) {
  ColWind* main = openWindow("main");
  ASSERT_NE(main, nullptr);
  fc_rememberDirectory("Editor", tree.root + "/sub/more");
  fc_rememberDirectory("Editor", tree.root + "/zdir");
  fc_rememberDirectory("Other", "/other-group");
  std::vector<std::string> recent;
  Script script({
      [&] {
        FileChooseDialogue* c = chooser();
        if (!c) return false;
        recent = rows(c->recentList());
        return clickRow(c->recentList(), 1);
      },
      [&] { return chooser()->directory() == tree.root + "/sub/more"; },
      [&] { return keysToChooser({"Escape"}); },
  });
  EXPECT_EQ(gui_ChooseFile(main, "Choose File", tree.root.c_str(), "*", "Select", "Editor"),
            nullptr);
  EXPECT_EQ(recent, (std::vector<std::string>{tree.root + "/zdir", tree.root + "/sub/more"}));
  // Cancelled: the history is as it was.
  EXPECT_EQ(fc_recentDirectories("Editor").size(), 2u);
}

TEST_F(Chooser, AMissingStartDirectoryFallsBackAndAFilterApplies) {
  ColWind* main = openWindow("main");
  ASSERT_NE(main, nullptr);
  EnvVar home("HOME", tree.root.c_str());
  std::vector<std::string> shown;
  std::string dir;
  Script script({
      [&] {
        FileChooseDialogue* c = chooser();
        if (!c) return false;
        dir = c->directory();
        shown = rows(c->listing());
        return xdotool({"mousemove", "--window", id(c->button(1)), "5", "5", "click", "1"}) == 0;
      },
  });
  FileChooseDialogue dialog(main, nullptr, "/no/such/place/at/all", true, "*.c", nullptr, "Editor");
  EXPECT_EQ(dialog.choose(), nullptr);
  EXPECT_EQ(dir, tree.root);
  EXPECT_EQ(shown, (std::vector<std::string>{"..", "sub/", "zdir/", "b.c"}));
  EXPECT_EQ(dialog.window()->title, "Choose File");  // the default title
}

TEST_F(Chooser, ATypedPathInAMissingDirectoryIsRefusedWithAnAlert) {
  ColWind* main = openWindow("main");
  ASSERT_NE(main, nullptr);
  WDialog* alert = nullptr;
  std::string message;
  Script script({
      [&] {
        FileChooseDialogue* c = chooser();
        if (!c) return false;
        c->pathField()->setText("/no/such/dir/file.txt");
        c->pathField()->activateMe();
        return keysToChooser({"Return"});
      },
      [&] {
        alert = shownDialog();
        if (!alert || dynamic_cast<FileChooseDialogue*>(alert)) return false;
        for (WWindowedItem* i : alert->window()->getChildren())
          if (auto* t = dynamic_cast<WDialogText*>(i)) message = t->lines()[0];
        return xdotool({"windowfocus", "--sync", id(alert->window())}) == 0 &&
               xdotool({"key", "Return"}) == 0;
      },
      [&] { return chooser() && gui_getModalWindow() == chooser()->window(); },
      [&] {
        // A typed relative name in the shown directory is chosen.
        chooser()->pathField()->setText("new-file.txt");
        return keysToChooser({"Return"});
      },
  });
  char* path = gui_ChooseFile(main, "Choose File", tree.root.c_str(), "*", "Select", "Editor");
  EXPECT_EQ(message, "No such directory: /no/such/dir");
  ASSERT_NE(path, nullptr);
  EXPECT_EQ(std::string(path), tree.root + "/new-file.txt");
  gen_free(path);
}

}  // namespace
