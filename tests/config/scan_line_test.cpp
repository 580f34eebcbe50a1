// Configuration lines: the three spellings of a setting, every value type
// with its messages, setters and equal values, unknown names, bindings,
// the configuration service and the table lookups.
#include <string>

#include "config_fixture.h"

namespace {

using ScanLine = ConfigTest;

TEST_F(ScanLine, ThreeSpellingsSetTheSameOption) {
  for (const char* line : {"background: #000000", "background=#000000",
                           "  BACKGROUND #000000  \r\n", "\tbackground := #000000"}) {
    ASSERT_EQ(cfg_ScanLine("background #ffffff", 1, 0), 1);
    EXPECT_EQ(cfg_ScanLine(line, 1, 0), 1) << line;
    EXPECT_STREQ(colorText(CFG_COLOR_background), "#000000") << line;
    EXPECT_EQ(cfg_colors[CFG_COLOR_background].rgb.red, 0);
  }
  EXPECT_EQ(errors(), "");
}

TEST_F(ScanLine, CommentsAndEmptyLinesSucceedWithoutEffect) {
  EXPECT_EQ(cfg_ScanLine("", 1, 0), 1);
  EXPECT_EQ(cfg_ScanLine("   \t \n", 1, 0), 1);
  EXPECT_EQ(cfg_ScanLine("# EditWidth 20", 1, 0), 1);
  EXPECT_EQ(cfg_ScanLine("   #EditWidth 20", 1, 0), 1);
  EXPECT_EQ(EditWidth, 80);
  EXPECT_EQ(cfg_ScanLine(nullptr, 1, 0), 0);
  EXPECT_TRUE(messages_.empty());
}

TEST_F(ScanLine, ConditionalWordsFailSilently) {
  for (const char* line : {"endif", "ELSE", "elseif x", "elif: y"}) {
    EXPECT_EQ(cfg_ScanLine(line, 1, 0), 0) << line;
  }
  EXPECT_TRUE(messages_.empty());
}

TEST_F(ScanLine, BooleanValues) {
  const char* on[] = {"yes", "ON", "1", "True", "  on"};
  const char* off[] = {"no", "Off", "0", "FALSE"};
  for (const char* v : off) {
    EXPECT_EQ(cfg_ScanLine((std::string("colorsyntax ") + v).c_str(), 1, 0), 1);
    EXPECT_FALSE(colorsyntax) << v;
  }
  for (const char* v : on) {
    EXPECT_EQ(cfg_ScanLine((std::string("colorsyntax ") + v).c_str(), 1, 0), 1);
    EXPECT_TRUE(colorsyntax) << v;
  }
  EXPECT_EQ(cfg_ScanLine("colorsyntax maybe", 1, 0), 0);
  EXPECT_TRUE(colorsyntax);
  EXPECT_EQ(errors(),
            "\"maybe\" does not represent a boolean value. Use one of these:\n"
            "yes on 1 true no off 0 false\n"
            "\"maybe\" is not a valid setting of colorsyntax.\n");
}

TEST_F(ScanLine, EmptyBooleanToggles) {
  ASSERT_TRUE(useFileRelLineBG);
  EXPECT_EQ(cfg_ScanLine("useFileRelLineBG", 1, 0), 1);
  EXPECT_FALSE(useFileRelLineBG);
  EXPECT_EQ(printed(), "Toggling useFileRelLineBG:  new value is Off\n");
  clearMessages();
  EXPECT_EQ(cfg_ScanLine("usefilerellinebg:", 1, 0), 1);
  EXPECT_TRUE(useFileRelLineBG);
  EXPECT_EQ(printed(), "Toggling useFileRelLineBG:  new value is On\n");
  clearMessages();
  EXPECT_EQ(cfg_ScanLine("useFileRelLineBG", 1, 1), 1);  // quiet
  EXPECT_FALSE(useFileRelLineBG);
  EXPECT_TRUE(messages_.empty());
}

TEST_F(ScanLine, IntegerNotationsSuffixesAndClamping) {
  struct Case {
    const char* line;
    int expected;
  } cases[] = {
      {"EditWidth 2k", 1000},   {"EditWidth 120", 120},  {"EditWidth 0x64", 100},
      {"EditWidth 0144", 100},  {"EditWidth 1", 10},     {"EditWidth all", 1000},
      {"EditWidth -5", 10},     {"EditWidth 1M", 1000},  {"EditWidth 99999999999", 1000},
      {"EditHeight 2K", 1000},  {"EditWidth 64 ", 64},   {"clickpause 3", 3},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(cfg_ScanLine(c.line, 1, 0), 1) << c.line;
    int value = gen_strcaseprefix(c.line, "EditHeight") ? EditHeight
                : gen_strcaseprefix(c.line, "clickpause") ? cfg_clickpause
                                                          : EditWidth;
    EXPECT_EQ(value, c.expected) << c.line;
  }
  EXPECT_EQ(errors(), "");
}

TEST_F(ScanLine, IntegerFailures) {
  EXPECT_EQ(cfg_ScanLine("EditWidth abc", 1, 0), 0);
  EXPECT_EQ(cfg_ScanLine("EditWidth 12q", 1, 0), 0);
  EXPECT_EQ(EditWidth, 80);
  EXPECT_EQ(errors(), "\"abc\" is not a valid setting of EditWidth.\n"
                      "\"12q\" is not a valid setting of EditWidth.\n");
  EXPECT_EQ(printed(), "");
}

TEST_F(ScanLine, EmptyValueWordingFollowsTheSwitch) {
  EXPECT_EQ(cfg_ScanLine("EditWidth", 1, 0), 0);
  EXPECT_EQ(errors(), "NULL is not a valid setting for EditWidth.\n");
  EXPECT_EQ(printed(), "Current setting of EditWidth: 80\n");
  clearMessages();
  debugFlag[DBG_DontAllowNullInConfigOptions] = 0;
  EXPECT_EQ(cfg_ScanLine("background:", 1, 0), 0);
  EXPECT_EQ(errors(), "\"\" is not a valid setting of background.\n");
  EXPECT_EQ(printed(), "Current setting of background: #ffffff\n");
}

TEST_F(ScanLine, ChoiceValues) {
  EXPECT_EQ(cfg_vc_type, 5);
  EXPECT_EQ(cfg_ScanLine("VersionControl CVS", 1, 0), 1);
  EXPECT_EQ(cfg_vc_type, 1);
  EXPECT_EQ(cfg_ScanLine("versioncontrol disabled", 1, 0), 1);
  EXPECT_EQ(cfg_vc_type, 9);
  EXPECT_EQ(cfg_ScanLine("VersionControl bogus", 1, 0), 0);
  EXPECT_EQ(cfg_vc_type, 9);
  EXPECT_EQ(errors(), "Invalid setting: bogus");
  std::string list = "Valid settings:\n  kvc\n  cvs\n  clearcase\n  pvcs\n  rcs\n"
                     "  auto\n  cvsplugin\n  custom\n  sourcesafe\n  disabled\n";
  EXPECT_EQ(printed(), list);
  clearMessages();
  EXPECT_EQ(cfg_ScanLine("VersionControl", 1, 0), 0);
  EXPECT_EQ(errors(), "Must give new setting");
  EXPECT_EQ(printed(), list);
}

TEST_F(ScanLine, ColourValues) {
  EXPECT_EQ(cfg_ScanLine("diffHighlight #abc", 1, 0), 1);
  EXPECT_STREQ(colorText(CFG_COLOR_diffHighlight), "#abc");
  EXPECT_EQ(cfg_colors[CFG_COLOR_diffHighlight].rgb.green, 0xb000);
  EXPECT_EQ(cfg_ScanLine("diffHighlight rgb:ff/80/0", 1, 0), 1);
  EXPECT_EQ(cfg_colors[CFG_COLOR_diffHighlight].rgb.red, 0xffff);
  EXPECT_EQ(cfg_colors[CFG_COLOR_diffHighlight].rgb.green, 0x8080);
  EXPECT_EQ(cfg_colors[CFG_COLOR_diffHighlight].rgb.blue, 0);
  EXPECT_EQ(cfg_ScanLine("diffHighlight #12345", 1, 0), 0);
  EXPECT_EQ(cfg_ScanLine("diffHighlight nosuchcolourname", 1, 0), 0);
  EXPECT_STREQ(colorText(CFG_COLOR_diffHighlight), "rgb:ff/80/0");
  EXPECT_EQ(errors(), "\"#12345\" is not a valid setting of diffHighlight.\n"
                      "\"nosuchcolourname\" is not a valid setting of diffHighlight.\n");
  EXPECT_NE(cfg_refresh_mask & CFG_REFRESH_COLORS, 0u);
}

int g_hookCalls;
int allocatingHook(_ConfigOption*, cfg_ColorSlot* slot, const cfg_Rgb* rgb) {
  g_hookCalls++;
  slot->pixel = rgb->red >> 8;
  slot->allocated = true;
  return 1;
}
int refusingHook(_ConfigOption*, cfg_ColorSlot*, const cfg_Rgb*) { return 0; }

TEST_F(ScanLine, ColourHookAllocatesOrRefuses) {
  g_hookCalls = 0;
  cfg_SetColorHook(allocatingHook);
  EXPECT_EQ(cfg_ScanLine("keyword #7f0000", 1, 0), 1);
  EXPECT_EQ(cfg_colors[CFG_COLOR_keyword].pixel, 0x7fu);
  EXPECT_TRUE(cfg_colors[CFG_COLOR_keyword].allocated);
  EXPECT_EQ(cfg_ScanLine("keyword #7F0000", 1, 0), 1);  // the same colour again
  EXPECT_EQ(g_hookCalls, 1);
  cfg_SetColorHook(refusingHook);
  EXPECT_EQ(cfg_ScanLine("keyword #00ff00", 1, 0), 0);
  EXPECT_STREQ(colorText(CFG_COLOR_keyword), "#7f0000");
  cfg_SetColorHook(nullptr);
  cfg_blackwhite = true;
  EXPECT_EQ(cfg_ScanLine("keyword #00ff00", 1, 0), 0);
  EXPECT_EQ(errors(), "\"#00ff00\" is not a valid setting of keyword.\n"
                      "\"#00ff00\" is not a valid setting of keyword.\n");
}

TEST_F(ScanLine, StringValues) {
  EXPECT_EQ(cfg_ScanLine("font Mono extra words", 1, 0), 1);
  EXPECT_STREQ(cfg_font, "Mono");
  EXPECT_EQ(cfg_ScanLine("font \"Fira Code 12\" extra", 1, 0), 1);
  EXPECT_STREQ(cfg_font, "Fira Code 12");
  EXPECT_EQ(cfg_ScanLine("font", 1, 0), 1);
  EXPECT_EQ(cfg_font, nullptr);
  EXPECT_EQ(printed(), "Setting option font to NULL.  Previous value: \"Fira Code 12\"\n");
  clearMessages();
  EXPECT_EQ(cfg_ScanLine("font", 1, 0), 1);  // already null: nothing to say
  EXPECT_TRUE(messages_.empty());
  ASSERT_EQ(cfg_ScanLine("font Mono", 1, 0), 1);
  cfg_SetDontClearStrings(true);
  EXPECT_EQ(cfg_ScanLine("font", 1, 0), 0);
  EXPECT_STREQ(cfg_font, "Mono");
  EXPECT_EQ(errors(), "NULL is not a valid setting for font.\n");
  EXPECT_EQ(printed(), "Current setting of font: Mono\n");
}

TEST_F(ScanLine, SizeValues) {
  EXPECT_EQ(cfg_ScanLine("minviewsize 80x24", 1, 0), 1);
  EXPECT_EQ(cfg_minviewsize.width, 80);
  EXPECT_EQ(cfg_minviewsize.height, 24);
  EXPECT_EQ(cfg_ScanLine("minviewsize 80by24", 1, 0), 0);
  EXPECT_EQ(errors(), "\"80by24\" is not a valid setting of minviewsize.\n");
  EXPECT_EQ(cfg_ScanLine("minviewsize", 1, 0), 1);
  EXPECT_EQ(cfg_minviewsize.width, -1);
  EXPECT_EQ(cfg_minviewsize.height, -1);
  EXPECT_EQ(printed(), "Setting minviewsize to -1x-1.  Previous value: 80x24\n");
}

TEST_F(ScanLine, FunctionValueIncludesAFile) {
  useSandbox("difftest");
  writeFile(home() / ".qen" / "extra.cfg", "EditWidth 133\n");
  EXPECT_EQ(cfg_ScanLine("include extra.cfg", 1, 0), 1);
  EXPECT_EQ(EditWidth, 133);
  EXPECT_EQ(cfg_ScanLine("include missing.cfg", 1, 0), 0);
  EXPECT_EQ(errors(), "\"missing.cfg\" is not a valid setting of include.\n");
  writeFile(home() / ".qen" / "loop.cfg", "include loop.cfg\n");
  clearMessages();
  // A file that includes itself ends at the nesting limit, where the
  // innermost include is refused.
  EXPECT_EQ(cfg_ScanLine("include loop.cfg", 1, 0), 1);
  EXPECT_EQ(errors(), "\"loop.cfg\" is not a valid setting of include.\n");
}

int g_setterCalls;
long g_setterValue;
int recordingSetter(_ConfigOption*, const cfg_Value* value) {
  g_setterCalls++;
  g_setterValue = value->number;
  return 1;
}

TEST_F(ScanLine, SetterReceivesTheValueAndEqualValuesChangeNothing) {
  _ConfigOption* option = cfg_FindOption("EditHeight");
  ASSERT_NE(option, nullptr);
  g_setterCalls = 0;
  EXPECT_EQ(cfg_ScanLine("EditHeight 40", 1, 0), 1);  // already 40
  EXPECT_EQ(cfg_refresh_mask, 0u);
  option->setter = recordingSetter;
  EXPECT_EQ(cfg_ScanLine("EditHeight 40", 1, 0), 1);
  EXPECT_EQ(g_setterCalls, 0);
  EXPECT_EQ(cfg_ScanLine("EditHeight 55", 1, 0), 1);
  EXPECT_EQ(g_setterCalls, 1);
  EXPECT_EQ(g_setterValue, 55);
  EXPECT_EQ(EditHeight, 40);  // the setter took it instead
  EXPECT_EQ(cfg_refresh_mask, unsigned(CFG_REFRESH_LAYOUT));
}

int g_changes;
void countChange(_ConfigOption*) { g_changes++; }

TEST_F(ScanLine, ChangeHookHearsEveryChange) {
  g_changes = 0;
  cfg_SetChangeHook(countChange);
  cfg_ScanLine("EditWidth 81", 1, 0);
  cfg_ScanLine("EditWidth 81", 1, 0);
  cfg_ScanLine("comment #123456", 1, 0);
  cfg_ScanLine("ClearCaseSupport yes", 1, 0);
  EXPECT_EQ(g_changes, 3);
}

TEST_F(ScanLine, UnknownNamesAndTheListing) {
  EXPECT_EQ(cfg_ScanLine("nosuchoption 12", 1, 0), 0);
  EXPECT_EQ(cfg_ScanLine("nosuchoption", 1, 0), 0);
  EXPECT_EQ(errors(), "Unknown configuration option: nosuchoption 12"
                      "Unknown configuration option: nosuchoption ");
  clearMessages();
  EXPECT_EQ(cfg_ScanLine("?", 1, 0), 1);
  std::string listing = printed();
  EXPECT_NE(listing.find("background: #ffffff\n"), std::string::npos);
  EXPECT_NE(listing.find("EditWidth: 80\n"), std::string::npos);
  EXPECT_NE(listing.find("useProcRelLineBG: On\n"), std::string::npos);
  EXPECT_NE(listing.find("VersionControl: auto\n"), std::string::npos);
  EXPECT_NE(listing.find("minviewsize: -1x-1\n"), std::string::npos);
}

int bindingHook(const char* name, const char* value) {
  if (!gen_strequal(name, "Mouse1")) return -1;
  return *value ? 1 : 0;
}

TEST_F(ScanLine, BindingLinesGoToTheBindingHook) {
  cfg_SetBindingHook(bindingHook);
  EXPECT_EQ(cfg_ScanLine("Mouse1 Release1@Close=Close", 1, 0), 1);
  EXPECT_EQ(cfg_ScanLine("Mouse1", 1, 0), 0);
  EXPECT_EQ(cfg_ScanLine("Mouse7 x", 1, 0), 0);
  EXPECT_EQ(errors(), "Unknown configuration option: Mouse7 x");
}

std::vector<std::string> g_sent;
int fetchNothing(const char*, gen_strarray*) { return 1; }
int sendLine(const char* line) {
  g_sent.push_back(line);
  return 1;
}

TEST_F(ScanLine, InteractiveSharedLinesGoToTheService) {
  g_sent.clear();
  cfg_ConfigService service{fetchNothing, nullptr, sendLine};
  cfg_SetConfigService(&service);
  ASSERT_TRUE(cfg_ConfigServiceInUse());
  EXPECT_EQ(cfg_ScanLine("  keyword #111111 ", 0, 0), 1);
  EXPECT_STREQ(colorText(CFG_COLOR_keyword), "#0000ff");  // not applied here
  EXPECT_EQ(cfg_ScanLine("customized #111111", 0, 0), 1);  // not shared
  EXPECT_STREQ(colorText(CFG_COLOR_customized), "#111111");
  EXPECT_EQ(cfg_ScanLine("keyword #222222", 1, 0), 1);  // from a file
  EXPECT_STREQ(colorText(CFG_COLOR_keyword), "#222222");
  EXPECT_EQ(g_sent, std::vector<std::string>{"keyword #111111"});
  debugFlag[DBG_ConfigService] = 0;
  EXPECT_FALSE(cfg_ConfigServiceInUse());
  EXPECT_EQ(cfg_ScanLine("keyword #333333", 0, 0), 1);
  EXPECT_STREQ(colorText(CFG_COLOR_keyword), "#333333");
}

TEST_F(ScanLine, FindOptionFillsTheIndex) {
  _ConfigOption* bg = cfg_FindOption("BackGround");
  ASSERT_NE(bg, nullptr);
  EXPECT_STREQ(bg->name, "background");
  EXPECT_EQ(bg->index, 1 * 65536 + 0);
  _ConfigOption* width = cfg_FindOption("editwidth");
  ASSERT_NE(width, nullptr);
  EXPECT_EQ(width->index, 2 * 65536 + 0);
  EXPECT_EQ(cfg_FindOption("diffHighlight")->index, 1 * 65536 + 57);
  EXPECT_EQ(cfg_FindOption(""), nullptr);
  EXPECT_EQ(cfg_FindOption(nullptr), nullptr);
  EXPECT_EQ(cfg_FindOption("nosuch"), nullptr);
  int row = -1;
  EXPECT_EQ(cfg_SearchTable("useProcRelLineBG", &cfg_tables[1], &row),
            &cfg_tables[1].rows[55]);
  EXPECT_EQ(row, 55);
  EXPECT_EQ(cfg_SearchTable("EditWidth", &cfg_tables[1], &row), nullptr);
  EXPECT_STREQ(cfg_GetColorText("procRelLineBG"), "#e4e4e4");
  EXPECT_EQ(cfg_GetColorText("EditWidth"), nullptr);
}

}  // namespace
