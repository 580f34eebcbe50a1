// Resource options on the command line and the merge order of the
// resource database.
// gtest comes first: Xlib defines None, True and the like as macros.
#include <gtest/gtest.h>

#include "gui/x11/resources.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

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
  std::vector<std::string> kept() const {
    std::vector<std::string> out;
    for (int i = 1; i < argc; i++) out.push_back(v[i]);
    return out;
  }
};

std::string lookup(XrmDatabase db, const char* resource) {
  const char* v = gui_lookupResource(db, "diffview", "Diffview", resource);
  return v ? v : "(unset)";
}

TEST(ResourceOptions, AreTakenOutAndTheRestKeepsItsOrder) {
  Args a({"-b", "left", "-display", ":5", "-fg", "red", "-rv", "right", "-x", "=80x24",
          "#+1+2", "-w"});
  XrmDatabase db = gui_parseResourceOptions(&a.argc, a.v.data(), "diffview");
  EXPECT_EQ(a.kept(), (std::vector<std::string>{"-b", "left", "right", "-x", "-w"}));
  EXPECT_EQ(a.v[a.argc], nullptr);
  EXPECT_EQ(lookup(db, "display"), ":5");
  EXPECT_EQ(lookup(db, "foreground"), "red");
  EXPECT_EQ(lookup(db, "reversevideo"), "on");
  EXPECT_EQ(lookup(db, "geometry"), "=80x24");
  EXPECT_EQ(lookup(db, "icongeometry"), "#+1+2");
  XrmDestroyDatabase(db);
}

TEST(ResourceOptions, ExactNamesFlagsAndResourceLines) {
  Args a({"-bd", "blue", "+rv", "-xrm", "diffview.comment: green", "-dump", "-save",
          "-font", "DejaVu Sans Mono:size=12"});
  XrmDatabase db = gui_parseResourceOptions(&a.argc, a.v.data(), "diffview");
  EXPECT_TRUE(a.kept().empty());
  EXPECT_EQ(lookup(db, "bdotcolor"), "blue");
  EXPECT_EQ(lookup(db, "reversevideo"), "off");
  EXPECT_EQ(lookup(db, "comment"), "green");
  EXPECT_EQ(lookup(db, "dumpResources"), "./WResources");
  EXPECT_EQ(lookup(db, "saveEvents"), "saveEvents");
  EXPECT_EQ(lookup(db, "font"), "DejaVu Sans Mono:size=12");
  XrmDestroyDatabase(db);
}

TEST(ResourceOptions, SeparateArgumentMissingAtTheEndStays) {
  Args a({"left", "-display"});
  XrmDatabase db = gui_parseResourceOptions(&a.argc, a.v.data(), "diffview");
  EXPECT_EQ(a.kept(), (std::vector<std::string>{"left", "-display"}));
  EXPECT_EQ(lookup(db, "display"), "(unset)");
  if (db) XrmDestroyDatabase(db);
}

class ResourceMerge : public ::testing::Test {
 protected:
  std::filesystem::path dir;
  void SetUp() override {
    dir = std::filesystem::temp_directory_path() / ("gui-res-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    setenv("HOME", dir.c_str(), 1);
    unsetenv("XENVIRONMENT");
  }
  void TearDown() override { std::filesystem::remove_all(dir); }
  void write(const std::string& name, const std::string& text) {
    std::ofstream(dir / name) << text;
  }
  XrmDatabase commandLine(std::vector<std::string> words) {
    Args a(std::move(words));
    return gui_parseResourceOptions(&a.argc, a.v.data(), "diffview");
  }
};

TEST_F(ResourceMerge, LaterSourcesOverrideEarlierOnes) {
  write(".Xdefaults", "diffview.foreground: home\ndiffview.background: home\n"
                      "diffview.keyword: home\ndiffview.string: home\n");
  write("env", "diffview.foreground: env\ndiffview.background: env\ndiffview.comment: env\n");
  setenv("XENVIRONMENT", (dir / "env").c_str(), 1);
  XrmDatabase db = gui_buildResourceDatabase(commandLine({"-fg", "cmd"}), "diffview", "Diffview",
                                             "diffview.background: server\n"
                                             "diffview.keyword: server\n");
  EXPECT_EQ(lookup(db, "foreground"), "cmd");
  EXPECT_EQ(lookup(db, "background"), "server");
  EXPECT_EQ(lookup(db, "keyword"), "server");
  EXPECT_EQ(lookup(db, "string"), "home");
  EXPECT_EQ(lookup(db, "comment"), "env");  // ~/.Xdefaults does not name it
  XrmDestroyDatabase(db);
}

TEST_F(ResourceMerge, ClassNamesMatchToo) {
  write(".Xdefaults", "Diffview.Foreground: byclass\n");
  XrmDatabase db = gui_buildResourceDatabase(nullptr, "diffview", "Diffview", nullptr);
  EXPECT_EQ(lookup(db, "foreground"), "byclass");
  XrmDestroyDatabase(db);
}

TEST_F(ResourceMerge, LoadResourcesReadsOnlyThatFile) {
  write(".Xdefaults", "diffview.foreground: home\ndiffview.background: home\n");
  write("only", "diffview.foreground: only\n");
  std::string only = (dir / "only").string();
  XrmDatabase db = gui_buildResourceDatabase(commandLine({"-resources", only}), "diffview",
                                             "Diffview", "diffview.background: server\n");
  EXPECT_EQ(lookup(db, "foreground"), "only");
  EXPECT_EQ(lookup(db, "background"), "(unset)");
  XrmDestroyDatabase(db);
}

TEST(ResourceFiles, OrderAndNames) {
  auto files = gui_resourceFiles("/home/u", "box", "/tmp/env");
  ASSERT_EQ(files.size(), 4u);
  EXPECT_TRUE(files[0] == "/usr/lib/X11/app-defaults/VORNE" ||
              files[0] == "/usr/openwin/lib/app-defaults/VORNE");
  EXPECT_EQ(files[1], "/home/u/.Xdefaults-box");
  EXPECT_EQ(files[2], "/tmp/env");
  EXPECT_EQ(files[3], "/home/u/.Xdefaults");
  EXPECT_EQ(gui_className("diffview"), "Diffview");
  EXPECT_EQ(gui_className(""), "");
}

}  // namespace
