// Defaults: values already set survive, X resources take the place of
// table defaults, colour texts and names, and the shipped qen.cfg stays in
// step with the tables.
#include <fstream>
#include <map>
#include <string>

#include "config_fixture.h"

namespace {

using Defaults = ConfigTest;

TEST_F(Defaults, ValuesAlreadySetAreKeptExceptColours) {
  EditWidth = 99;
  cfg_ScanLine("colorsyntax off", 1, 0);  // zero: receives the default again
  cfg_ScanLine("background #123456", 1, 0);
  cfg_ScanLine("font Other", 1, 0);
  cfg_SetEverythingToDefaults();
  EXPECT_EQ(EditWidth, 99);
  EXPECT_TRUE(colorsyntax);
  EXPECT_STREQ(colorText(CFG_COLOR_background), "#ffffff");
  EXPECT_STREQ(cfg_font, "Other");
}

std::map<std::string, std::string> g_resources;
const char* lookupResource(const char* name, const char*) {
  auto it = g_resources.find(name);
  return it == g_resources.end() ? nullptr : it->second.c_str();
}

TEST_F(Defaults, XResourcesTakeThePlaceOfTableDefaults) {
  useSandbox("difftest");
  g_resources = {{"difftest.editWidth", "132"},
                 {"difftest.background", std::string(512, 'x')},  // too long
                 {"vorne.background", "#102030"},
                 {"difftest.foreground", "not a colour"},
                 {"vorne.colorsyntax", "off"},
                 {"difftest.font", "Resource Font"},
                 {"difftest.applicationTitle", std::string(511, 'y')}};
  cfg_SetXResourceLookup(lookupResource);
  clearAllOptions();
  cfg_SetEverythingToDefaults();
  EXPECT_EQ(EditWidth, 132);
  EXPECT_STREQ(colorText(CFG_COLOR_background), "#102030");  // by the general name
  EXPECT_STREQ(colorText(CFG_COLOR_foreground), "#000000");  // unusable resource
  EXPECT_FALSE(colorsyntax);
  EXPECT_STREQ(cfg_font, "Resource");  // a string keeps its first word
  EXPECT_EQ(std::string(cfg_application_title).size(), 511u);
  EXPECT_EQ(messages(GEN_MSG_WARNING),
            "ignoring X resource value for 'difftest.background', which is too long.");
}

TEST_F(Defaults, ColourTexts) {
  struct {
    const char* text;
    unsigned red, green, blue;
  } good[] = {{"#fff", 0xf000, 0xf000, 0xf000},     {"#123456", 0x1200, 0x3400, 0x5600},
              {"#123456789", 0x1230, 0x4560, 0x7890}, {"#1234abcdEF01", 0x1234, 0xabcd, 0xef01},
              {"rgb:f/80/fff", 0xffff, 0x8080, 0xffff}, {"RGB:0/0/0", 0, 0, 0}};
  for (const auto& g : good) {
    cfg_Rgb c{};
    ASSERT_TRUE(cfg_ParseColor(g.text, &c)) << g.text;
    EXPECT_EQ(c.red, g.red) << g.text;
    EXPECT_EQ(c.green, g.green) << g.text;
    EXPECT_EQ(c.blue, g.blue) << g.text;
  }
  cfg_Rgb c{};
  for (const char* bad : {"", "#", "#12", "#1234", "#ggg", "rgb:1/2", "rgb:12345/0/0",
                          "rgb:1/2/3/4", "rgb:/1/2", "#1234567890123"}) {
    EXPECT_FALSE(cfg_ParseColor(bad, &c)) << bad;
  }
  EXPECT_FALSE(cfg_ParseColor(nullptr, &c));
}

TEST_F(Defaults, ColourNamesIgnoringCaseAndBlanks) {
  useSandbox("difftest");
  auto file = home() / "rgb.txt";
  writeFile(file, "! comment line\n255 250 250\t\tsnow\n211 211 211\t\tlight grey\n"
                  "bad line\n300 0 0\t\ttoo bright\n");
  cfg_SetColorNameFile(file.c_str());
  cfg_Rgb c{};
  ASSERT_TRUE(cfg_ParseColor("Snow", &c));
  EXPECT_EQ(c.green, 250 * 257);
  ASSERT_TRUE(cfg_ParseColor("LightGrey", &c));
  ASSERT_TRUE(cfg_ParseColor("light  GREY", &c));
  EXPECT_EQ(c.red, 211 * 257);
  EXPECT_FALSE(cfg_ParseColor("too bright", &c));
  EXPECT_FALSE(cfg_ParseColor("navy", &c));
  EXPECT_EQ(cfg_ScanLine("diffHighlight light grey", 1, 0), 1);
  EXPECT_STREQ(colorText(CFG_COLOR_diffHighlight), "light grey");
}

// Every option line of the shipped qen.cfg, once its "# " is removed, names
// an option whose current (default) value it shows.
TEST_F(Defaults, ShippedFileListsTheTableDefaults) {
  std::ifstream in(std::string(DIFFVIEW_SOURCE) + "/data/defaults/qen.cfg");
  ASSERT_TRUE(in) << "data/defaults/qen.cfg is missing";
  std::string line;
  int listed = 0;
  while (std::getline(in, line)) {
    if (line.rfind("# ", 0) != 0) continue;
    std::string body = line.substr(2);
    size_t space = body.find(' ');
    if (space == std::string::npos) continue;
    _ConfigOption* option = cfg_FindOption(body.substr(0, space).c_str());
    if (!option) continue;
    listed++;
    char* current = cfg_GetOptionValueText(option);
    std::string value = body.substr(space + 1);
    if (value.size() > 1 && value.front() == '"') value = value.substr(1, value.size() - 2);
    EXPECT_TRUE(gen_strequal(current, value.c_str())) << line << " vs " << current;
    gen_free(current);
  }
  EXPECT_GE(listed, 58);
}

}  // namespace
