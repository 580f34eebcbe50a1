// Defaults: the shape of the size and colour tables, table defaults and the
// X resources that take their place, colour texts, and the shipped
// qen.cfg staying in step with the tables.
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "config_fixture.h"

namespace {

using Defaults = ConfigTest;

TEST_F(Defaults, SizeAndColourTablesHoldEveryRowInOrder) {
  ASSERT_STREQ(cfg_tables[0].name, "size_options");
  const char* sizes[] = {"minviewsize",   "maxviewsize",   "minwindowsize",
                         "maxwindowsize", "firstposition", "builderposition"};
  ASSERT_EQ(cfg_tables[0].count, 6);
  for (int i = 0; i < 6; i++) {
    EXPECT_STREQ(cfg_tables[0].rows[i].name, sizes[i]);
    EXPECT_EQ(cfg_tables[0].rows[i].type, CFG_SIZE);
  }
  const char* colours =
      "background foreground controlcolor select assembly breakcolor pointercolor "
      "bdotcolor comment deadcode keyword string number character customized nobuild "
      "program subprogram source header documentation library object singlelibrary "
      "script other TBFunctionNormalFG TBFunctionNoInfoFG TBFunctionRecursiveFG "
      "TBFunctionAdrTakenFG TBDynNormalFG TBDynNoInfoFG TBFileNormalFG TBFileNoInfoFG "
      "TBClassUnionFG TBClassEnumFG TBClassStructFG TBClassClassFG TBClassNoInfoFG "
      "TBFunctionNormalBG TBFunctionNoInfoBG TBFunctionRecursiveBG TBFunctionAdrTakenBG "
      "TBDynNormalBG TBDynNoInfoBG TBFileNormalBG TBFileNoInfoBG TBClassUnionBG "
      "TBClassEnumBG TBClassStructBG TBClassClassBG TBClassNoInfoBG fileRelLineBG "
      "procRelLineBG useFileRelLineBG useProcRelLineBG startedConnectionFG diffHighlight";
  std::istringstream names(colours);
  const cfg_Table& table = cfg_tables[1];
  ASSERT_STREQ(table.name, "color_options");
  ASSERT_EQ(table.count, 58);
  std::string name;
  for (int row = 0; names >> name; row++) {
    const _ConfigOption& o = table.rows[row];
    EXPECT_EQ(name, o.name) << row;
    bool isSwitch = name == "useFileRelLineBG" || name == "useProcRelLineBG";
    EXPECT_EQ(o.type, isSwitch ? CFG_BOOLEAN : CFG_COLOR) << name;
    EXPECT_EQ(o.broadcast, name != "customized") << name;
    cfg_Rgb rgb;
    if (!isSwitch) {
      EXPECT_TRUE(cfg_ParseColor(o.default_text, &rgb)) << name;
    }
  }
}

TEST_F(Defaults, TablesAreSearchedInOrder) {
  const char* order[] = {"size_options",      "color_options",         "editor_options",
                         "debugger_options",  "gui_options",           "misc_options",
                         "tracegui_options",  "integrate_options",     "vc_service_options",
                         "editor_service_options", "os_options"};
  ASSERT_EQ(cfg_table_count, 11);
  for (int i = 0; i < cfg_table_count; i++) EXPECT_STREQ(cfg_tables[i].name, order[i]);
  EXPECT_EQ(cfg_FindOption("colorsyntax")->index / 65536, 2);
  EXPECT_EQ(cfg_FindOption("vfCloseButtonOnTitleBar")->index / 65536, 4);
  EXPECT_EQ(cfg_FindOption("ShowHistoryCommand")->index / 65536, 8);
}

TEST_F(Defaults, TableDefaultsOfTheViewerAndColouring) {
  std::map<cfg_ColorId, const char*> expected{
      {CFG_COLOR_background, "#ffffff"},    {CFG_COLOR_foreground, "#000000"},
      {CFG_COLOR_controlcolor, "#c0c0c0"},  {CFG_COLOR_select, "#000080"},
      {CFG_COLOR_comment, "#008000"},       {CFG_COLOR_keyword, "#0000ff"},
      {CFG_COLOR_string, "#800000"},        {CFG_COLOR_number, "#e000e0"},
      {CFG_COLOR_character, "#c000c0"},     {CFG_COLOR_deadcode, "#808080"},
      {CFG_COLOR_fileRelLineBG, "#FFFFFF"}, {CFG_COLOR_procRelLineBG, "#e4e4e4"},
      {CFG_COLOR_diffHighlight, "#e0ffd0"}};
  for (const auto& [id, text] : expected) {
    EXPECT_STREQ(colorText(id), text) << text;
  }
  EXPECT_EQ(cfg_colors[CFG_COLOR_procRelLineBG].rgb.red, 0xe400);
  EXPECT_TRUE(useFileRelLineBG && useProcRelLineBG);
  EXPECT_TRUE(colorsyntax && colorsyntax_string && colorsyntax_char && colorsyntax_deadcode &&
              colorsyntax_comment && colorsyntax_keyword && colorsyntax_number &&
              colorsyntax_customized);
  EXPECT_EQ(EditWidth, 80);
  EXPECT_EQ(EditHeight, 40);
  EXPECT_FALSE(vfCloseButtonOnTitleBar);
  EXPECT_STREQ(cfg_font, "DejaVu Sans Mono:size=10");
  EXPECT_EQ(cfg_vc_type, 5);
  EXPECT_EQ(cfg_minviewsize.width, -1);  // sizes are left alone
  EXPECT_EQ(cfg_application_title, nullptr);
}

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

TEST_F(Defaults, UnknownOptionTypeIsReported) {
  int value = 0;
  _ConfigOption rows[] = {
      {"odd", 42, &value, 0, false, nullptr, nullptr, 0, nullptr, 0},
      {"fine", CFG_INTEGER, &value, 0, false, nullptr, nullptr, 7, nullptr, 0}};
  cfg_Table table{"test", rows, 2};
  cfg_SetTableDefaults(&table);
  EXPECT_EQ(errors(), "Unrecognized Config Option Type\n");
  EXPECT_EQ(value, 7);
}

std::map<std::string, std::string> g_resources;
std::vector<std::string> g_lookups;
const char* lookupResource(const char* name, const char* cls) {
  g_lookups.push_back(std::string(name) + "|" + cls);
  auto it = g_resources.find(name);
  return it == g_resources.end() ? nullptr : it->second.c_str();
}

TEST_F(Defaults, XResourceNamesAndFallback) {
  useSandbox("DiffTest");
  g_resources = {{"diffTest.editWidth", "132"}, {"vorne.keyword", "#00ff00"}};
  g_lookups.clear();
  cfg_SetXResourceLookup(lookupResource);
  char* width = shr_get_default_val("EditWidth");
  ASSERT_NE(width, nullptr);
  EXPECT_STREQ(width, "132");
  gen_free(width);
  EXPECT_EQ(g_lookups, std::vector<std::string>{"diffTest.editWidth|Vorne.EditWidth"});
  g_lookups.clear();
  char* keyword = shr_get_default_val("keyword");
  EXPECT_STREQ(keyword, "#00ff00");
  gen_free(keyword);
  EXPECT_EQ(g_lookups, (std::vector<std::string>{"diffTest.keyword|Vorne.Keyword",
                                                 "vorne.keyword|Vorne.Keyword"}));
  EXPECT_EQ(shr_get_default_val("nothing"), nullptr);
}

TEST_F(Defaults, OverlongResourceValuesAreIgnored) {
  useSandbox("difftest");
  g_resources = {{"difftest.background", std::string(512, 'x')},
                 {"vorne.background", "#010203"},
                 {"difftest.foreground", std::string(511, 'y')}};
  cfg_SetXResourceLookup(lookupResource);
  char* bg = shr_get_default_val("background");
  EXPECT_STREQ(bg, "#010203");
  gen_free(bg);
  EXPECT_EQ(messages(GEN_MSG_WARNING),
            "ignoring X resource value for 'difftest.background', which is too long.");
  char* fg = shr_get_default_val("foreground");
  EXPECT_EQ(std::string(fg).size(), 511u);
  gen_free(fg);
}

TEST_F(Defaults, XResourcesTakeThePlaceOfTableDefaults) {
  useSandbox("difftest");
  g_resources = {{"difftest.editWidth", "132"},
                 {"difftest.background", "#102030"},
                 {"difftest.foreground", "not a colour"},
                 {"vorne.colorsyntax", "off"},
                 {"difftest.font", "Resource Font"}};
  cfg_SetXResourceLookup(lookupResource);
  clearAllOptions();
  cfg_SetEverythingToDefaults();
  EXPECT_EQ(EditWidth, 132);
  EXPECT_STREQ(colorText(CFG_COLOR_background), "#102030");
  EXPECT_STREQ(colorText(CFG_COLOR_foreground), "#000000");  // unusable resource
  EXPECT_FALSE(colorsyntax);
  EXPECT_STREQ(cfg_font, "Resource");  // a string keeps its first word
  EXPECT_TRUE(messages_.empty());
}

TEST_F(Defaults, ColourTexts) {
  cfg_Rgb c{};
  ASSERT_TRUE(cfg_ParseColor("#fff", &c));
  EXPECT_EQ(c.red, 0xf000);
  ASSERT_TRUE(cfg_ParseColor("#123456", &c));
  EXPECT_EQ(c.red, 0x1200);
  EXPECT_EQ(c.blue, 0x5600);
  ASSERT_TRUE(cfg_ParseColor("#123456789", &c));
  EXPECT_EQ(c.green, 0x4560);
  ASSERT_TRUE(cfg_ParseColor("#1234abcdEF01", &c));
  EXPECT_EQ(c.green, 0xabcd);
  EXPECT_EQ(c.blue, 0xef01);
  ASSERT_TRUE(cfg_ParseColor("rgb:f/80/fff", &c));
  EXPECT_EQ(c.red, 0xffff);
  EXPECT_EQ(c.green, 0x8080);
  EXPECT_EQ(c.blue, 0xffff);
  ASSERT_TRUE(cfg_ParseColor("RGB:0/0/0", &c));
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
  cfg_SetColorNameFile((home() / "missing.txt").c_str());
  EXPECT_FALSE(cfg_ParseColor("snow", &c));
}

TEST_F(Defaults, SystemColourNamesWhenPresent) {
  if (access("/etc/X11/rgb.txt", R_OK) != 0) GTEST_SKIP() << "no /etc/X11/rgb.txt";
  cfg_Rgb c{};
  ASSERT_TRUE(cfg_ParseColor("Navy Blue", &c));
  EXPECT_EQ(c.red, 0);
  EXPECT_EQ(c.blue, 128 * 257);
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
