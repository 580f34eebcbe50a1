// The toolkit's command-line pass: switch words, toolkit options, "-run".
#include "gui/core/gui_init.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/debugflag.h"
#include "base/gen.h"
#include "config/config_dirs.h"

namespace {

struct Argv {
  std::vector<std::string> words;
  std::vector<char*> v;
  int argc;
  explicit Argv(std::vector<std::string> w) : words(std::move(w)) {
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

class GuiInitTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gen_changeprogname("diffview");
    home = std::filesystem::temp_directory_path() / ("gui-init-" + std::to_string(getpid()));
    std::filesystem::create_directories(home);
    setenv("HOME", home.c_str(), 1);
    toolkitOptions = ToolkitOptions{};
  }
  void TearDown() override {
    cfg_SetUserConfigDir(nullptr);
    cfg_SetNoConfigFiles(false);
    std::filesystem::remove_all(home);
  }
  std::filesystem::path home;
};

TEST_F(GuiInitTest, SwitchWordsSetSwitchesAndAreConsumed) {
  Argv a({"-XTamsel", "file", "-ZUseFDRegistry", "-X683"});
  init_prior_to_gui(&a.argc, a.v.data());
  EXPECT_EQ(a.kept(), std::vector<std::string>{"file"});
  EXPECT_EQ(debugFlag[DBG_Tamsel], 1);
  EXPECT_EQ(debugFlag[DBG_UseFDRegistry], 0);
  EXPECT_EQ(debugFlag[DBG_DiffViewer], 1);
  EXPECT_EQ(a.v[2], nullptr);
}

TEST_F(GuiInitTest, UnknownSwitchWarnsAndIsConsumed) {
  Argv a({"-XNoSuch", "x"});
  ::testing::internal::CaptureStderr();
  init_prior_to_gui(&a.argc, a.v.data());
  std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(err, "diffview: warning: Ignoring unknown switch \"-XNoSuch\"\n");
  EXPECT_EQ(a.kept(), std::vector<std::string>{"x"});
}

TEST_F(GuiInitTest, RouterOffFromTheCommandLineConstrainsLast) {
  Argv a({"-XDiffViewer", "-ZServiceRouter"});
  init_prior_to_gui(&a.argc, a.v.data());
  EXPECT_EQ(debugFlag[DBG_DiffViewer], 0);
  EXPECT_EQ(debugFlag[DBG_UseHelpService], 0);
}

TEST_F(GuiInitTest, ToolkitOptions) {
  Argv a({"-configdir", "/cfg", "-wmhints", "-isdn3", "-nosplash", "-nocfg", "-b", "x"});
  init_prior_to_gui(&a.argc, a.v.data());
  EXPECT_STREQ(toolkitOptions.configDir, "/cfg");
  EXPECT_TRUE(toolkitOptions.wmHints);
  EXPECT_EQ(toolkitOptions.lowBandwidth, 3);
  EXPECT_FALSE(toolkitOptions.splash);
  EXPECT_TRUE(toolkitOptions.noDefaultConfig);
  EXPECT_EQ(a.kept(), (std::vector<std::string>{"-wmhints", "-b", "x"}));
  // The configuration reads from the directory given and skips its files.
  char* dir = cfg_GetUserConfigDir(false);
  EXPECT_STREQ(dir, "/cfg");
  gen_free(dir);
  EXPECT_TRUE(cfg_GetNoConfigFiles());

  Argv b({"-isdn", "-noicons", "-configdir"});  // a trailing -configdir has no value
  init_prior_to_gui(&b.argc, b.v.data());
  EXPECT_EQ(toolkitOptions.lowBandwidth, 9);
  EXPECT_EQ(b.kept(), std::vector<std::string>{"-configdir"});
}

TEST_F(GuiInitTest, RunEndsThePass) {
  Argv a({"-nosplash", "-run", "-XTamsel", "-nocfg"});
  init_prior_to_gui(&a.argc, a.v.data());
  EXPECT_EQ(a.kept(), (std::vector<std::string>{"-run", "-XTamsel", "-nocfg"}));
  EXPECT_EQ(debugFlag[DBG_Tamsel], 0);
  EXPECT_FALSE(toolkitOptions.noDefaultConfig);
}

TEST_F(GuiInitTest, AboutTexts) {
  abSetup("T", "S", "W", nullptr);
  EXPECT_STREQ(abGetText(0), "T");
  EXPECT_STREQ(abGetText(2), "W");
  EXPECT_STREQ(abGetText(3), "");
  EXPECT_EQ(abGetText(4), nullptr);
}

}  // namespace
