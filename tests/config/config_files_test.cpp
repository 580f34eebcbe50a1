// Configuration files and directories: reading a file with bad, junk and
// very long lines, abandoning it after 50 failures, the directory rules,
// lookup across directories, the start-up order, the temporary directory
// and the debug switch files.
#include <sys/stat.h>
#include <unistd.h>

#include <random>
#include <string>

#include "config_fixture.h"

namespace {

using ConfigFiles = ConfigTest;

TEST_F(ConfigFiles, ReadsEveryLineOfAFile) {
  useSandbox("difftest");
  auto path = home() / "a.cfg";
  writeFile(path, "# a comment\n\nEditWidth 100\r\nbackground: #101010\n"
                  "colorsyntax=off\nminviewsize 10x5");  // no final newline
  EXPECT_EQ(cfg_ReadFile(path.c_str(), 1), 1);
  EXPECT_EQ(EditWidth, 100);
  EXPECT_STREQ(colorText(CFG_COLOR_background), "#101010");
  EXPECT_FALSE(colorsyntax);
  EXPECT_EQ(cfg_minviewsize.height, 5);
  EXPECT_TRUE(messages_.empty());
}

TEST_F(ConfigFiles, MissingAndUnreadableFilesAreSkippedSilently) {
  useSandbox("difftest");
  EXPECT_EQ(cfg_ReadFile((home() / "none.cfg").c_str(), 1), 0);
  EXPECT_EQ(cfg_ReadFile(home().c_str(), 1), 0);  // a directory
  EXPECT_EQ(cfg_ReadFile(nullptr, 1), 0);
  if (geteuid() != 0) {  // permissions do not stop the super-user
    auto path = home() / "locked.cfg";
    writeFile(path, "EditWidth 99\n");
    chmod(path.c_str(), 0);
    EXPECT_EQ(cfg_ReadFile(path.c_str(), 1), 0);
    EXPECT_EQ(EditWidth, 80);
  }
  EXPECT_TRUE(messages_.empty());
}

// Fifty bad lines abandon a file: the diffview command's tests show that
// message; here the forty-nine before it are forgiven.
TEST_F(ConfigFiles, FortyNineBadLinesAreForgiven) {
  useSandbox("difftest");
  std::string text;
  for (int i = 0; i < 49; i++) text += "EditWidth nonsense\n";
  writeFile(home() / "forgiven.cfg", text + "EditWidth 99\n");
  EXPECT_EQ(cfg_ReadFile((home() / "forgiven.cfg").c_str(), 1), 1);
  EXPECT_EQ(EditWidth, 99);
  EXPECT_EQ(count(GEN_MSG_ERROR), 49);
}

TEST_F(ConfigFiles, GarbageBinaryJunkAndLongLines) {
  useSandbox("difftest");
  std::string junk = "::::\n=\n= = =\n:x\n\x01\x02\x03\n";
  std::mt19937 rng(7);
  for (int i = 0; i < 4000; i++) junk += static_cast<char>(rng() & 0xff);
  junk += "\napplicationTitle " + std::string(200000, 't') + "\n";
  auto path = home() / "junk.cfg";
  writeFile(path, junk);
  cfg_ReadFile(path.c_str(), 1);  // must not crash; lines are reported
  for (const auto& m : messages_) {
    EXPECT_EQ(m.code, GEN_MSG_ERROR) << m.text;
  }
  if (count(GEN_MSG_ERROR) < 50) {
    ASSERT_NE(cfg_application_title, nullptr);
    EXPECT_EQ(std::string(cfg_application_title).size(), 200000u);
  }
}

TEST_F(ConfigFiles, UserDirectoryIsCreatedOnRequestOrReported) {
  useSandbox("difftest");
  char* dir = cfg_GetUserConfigDir(false);
  EXPECT_EQ(std::string(dir), (home() / ".qen").string());
  EXPECT_FALSE(gen_isdir(dir));
  gen_free(dir);
  dir = cfg_GetUserConfigDir(true);
  EXPECT_TRUE(gen_isdir(dir));
  gen_free(dir);
  EXPECT_TRUE(messages_.empty());

  writeFile(home() / "file", "");
  setenv("HOME", (home() / "file").c_str(), 1);  // a file cannot hold .qen
  gen_free(cfg_GetUserConfigDir(true));
  std::string expected = "Couldn't create user config directory: " +
                         (home() / "file" / ".qen").string();
  EXPECT_EQ(errors(), expected);
}

TEST_F(ConfigFiles, SearchingTheConfigurationDirectories) {
  useSandbox("difftest");
  writeFile(prog() / "defaults" / "syntax_coloring" / "index.gsc", "d");
  writeFile(prog() / "config" / "syntax_coloring" / "index.gsc", "s");
  auto find = [](const char* name) {
    char* path = cfg_SearchFileInConfigDirs(name, R_OK);
    std::string s = path ? path : "";
    gen_free(path);
    return s;
  };
  std::string site = (prog() / "config" / "syntax_coloring" / "index.gsc").string();
  EXPECT_EQ(find("syntax_coloring/index.gsc"), site);
  writeFile(home() / ".qen" / "syntax_coloring" / "index.gsc", "u");
  EXPECT_EQ(find("syntax_coloring/index.gsc"),
            (home() / ".qen" / "syntax_coloring" / "index.gsc").string());
  cfg_SetNoConfigFiles(true);
  EXPECT_EQ(find("syntax_coloring/index.gsc"),
            (prog() / "defaults" / "syntax_coloring" / "index.gsc").string());
  cfg_SetNoConfigFiles(false);
  EXPECT_EQ(find("syntax_coloring"), "");  // directories do not count
  EXPECT_EQ(find(site.c_str()), site);  // absolute names as they are
  EXPECT_EQ(find("/no/such/file"), "");
}

TEST_F(ConfigFiles, StartUpOrderAndTheFilesThatCount) {
  useSandbox("difftest");
  auto reread = [] {
    clearAllOptions();
    cfg_SetEverythingToDefaults();
    return shr_ReadConfigFiles("difftest");
  };
  writeFile(prog() / "config" / "qen.cfg", "EditWidth 100\nkeyword #111111\n");
  writeFile(home() / ".qen" / "qen.cfg", "EditWidth 120\nEditHeight 20\n");
  static int afterRead = 0;
  cfg_SetAfterReadHook([] { afterRead++; });
  EXPECT_EQ(reread(), 1);
  EXPECT_EQ(afterRead, 1);
  EXPECT_EQ(EditWidth, 120);  // the user's file comes after the site's
  EXPECT_STREQ(colorText(CFG_COLOR_keyword), "#111111");
  EXPECT_TRUE(messages_.empty());
  cfg_SetNoConfigFiles(true);
  reread();
  EXPECT_EQ(EditWidth, 80);
  EXPECT_EQ(EditHeight, 40);
  cfg_SetNoConfigFiles(false);

  std::filesystem::remove(home() / ".qen" / "qen.cfg");
  writeFile(prog() / "config" / "override" / "difftest.cfg", "EditWidth 111\n");
  reread();
  EXPECT_EQ(EditWidth, 111);
  writeFile(prog() / "config" / "difftest.cfg", "EditHeight 22\n");
  debugFlag[DBG_UseSingleConfigFile] = 0;  // only the program's own file counts
  reread();
  EXPECT_EQ(EditWidth, 80);
  EXPECT_EQ(EditHeight, 22);
}

// Temporary files go to the directory "TempDir" names; one that cannot be
// written to is reported and the usual place taken.
TEST_F(ConfigFiles, TemporaryFilesGoWhereTempDirSays) {
  useSandbox("difftest");
  auto scratch = home() / "scratch";
  std::filesystem::create_directories(scratch);
  writeFile(home() / ".qen" / "qen.cfg", "TempDir " + scratch.string() + "\n");
  clearAllOptions();
  cfg_SetEverythingToDefaults();
  shr_ReadConfigFiles("difftest");
  auto tempDirOfNewFile = [] {
    char* name = nullptr;
    close(gen_mkstemp("txt", &name));
    std::filesystem::path dir = name ? std::filesystem::path(name).parent_path() : "";
    if (name) unlink(name);
    gen_free(name);
    return dir;
  };
  EXPECT_EQ(tempDirOfNewFile(), scratch);
  EXPECT_TRUE(messages_.empty());
  cfg_ScanLine(("TempDir " + (home() / "missing").string()).c_str(), 1, 0);
  EXPECT_NE(tempDirOfNewFile(), home() / "missing");
  EXPECT_EQ(count(GEN_MSG_WARNING), 1);
  gen_temp_dir = gen_default_temp_dir;
}

TEST_F(ConfigFiles, SwitchFilesFromTheFourDirectories) {
  useSandbox("xswtest");
  writeFile(prog() / "xswtest.xsw", "DiffViewer 0\nTamsel 1\nUseArrayStoreInDiffView 0\n");
  writeFile(prog() / "defaults" / "xswtest.xsw", "UseTextviewZone 0\n");
  writeFile(prog() / "config" / "xswtest.xsw", "Tamsel 0\n");
  writeFile(home() / ".qen" / "xswtest.xsw", "DiffViewer 1\n");
  ReadXSWFiles();
  EXPECT_EQ(debugFlag[DBG_DiffViewer], 1);  // the user's file won
  EXPECT_EQ(debugFlag[DBG_UseArrayStoreInDiffView], 0);  // the program's file
  EXPECT_EQ(debugFlag[DBG_UseTextviewZone], 0);
  EXPECT_EQ(debugFlag[DBG_Tamsel], 0);  // the site file overrode the program's
}

}  // namespace
