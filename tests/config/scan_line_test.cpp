// Configuration lines: one table of lines with the value each leaves and
// what each reports (the three spellings, every value type, unknown names),
// then toggles, colour hooks, includes, setters and the change hook.
#include <string>

#include "config_fixture.h"

namespace {

using ScanLine = ConfigTest;

// The option's value as the listing shows it.
std::string valueOf(const char* name) {
  char* text = cfg_GetOptionValueText(cfg_FindOption(name));
  std::string s = text ? text : "<none>";
  gen_free(text);
  return s;
}

struct LineCase {
  const char* line;
  int result;
  const char* option;  // whose value is checked afterwards
  const char* value;
  const char* errors;
  const char* printed;
};

const char* const kChoices = "Valid settings:\n  kvc\n  cvs\n  clearcase\n  pvcs\n  rcs\n"
                             "  auto\n  cvsplugin\n  custom\n  sourcesafe\n  disabled\n  git\n";

const LineCase kLines[] = {
    {"background: #000000", 1, "background", "#000000", "", ""},
    {"background=#000000", 1, "background", "#000000", "", ""},
    {"  BACKGROUND #000000  \r\n", 1, "background", "#000000", "", ""},
    {"\tbackground := #000000", 1, "background", "#000000", "", ""},
    {"", 1, "EditWidth", "80", "", ""},
    {"# EditWidth 20", 1, "EditWidth", "80", "", ""},
    {"endif", 0, "EditWidth", "80", "", ""},
    {"elif: y", 0, "EditWidth", "80", "", ""},
    {"colorsyntax no", 1, "colorsyntax", "Off", "", ""},
    {"colorsyntax FALSE", 1, "colorsyntax", "Off", "", ""},
    {"vfCloseButtonOnTitleBar yes", 1, "vfCloseButtonOnTitleBar", "On", "", ""},
    {"vfCloseButtonOnTitleBar   True", 1, "vfCloseButtonOnTitleBar", "On", "", ""},
    {"colorsyntax maybe", 0, "colorsyntax", "On",
     "\"maybe\" does not represent a boolean value. Use one of these:\n"
     "yes on 1 true no off 0 false\n\"maybe\" is not a valid setting of colorsyntax.\n", ""},
    {"useFileRelLineBG", 1, "useFileRelLineBG", "Off", "",
     "Toggling useFileRelLineBG:  new value is Off\n"},
    {"EditWidth 2k", 1, "EditWidth", "1000", "", ""},
    {"EditWidth 0x64", 1, "EditWidth", "100", "", ""},
    {"EditWidth 1", 1, "EditWidth", "10", "", ""},
    {"EditWidth all", 1, "EditWidth", "1000", "", ""},
    {"EditWidth 99999999999", 1, "EditWidth", "1000", "", ""},
    {"EditWidth abc", 0, "EditWidth", "80", "\"abc\" is not a valid setting of EditWidth.\n", ""},
    {"EditWidth", 0, "EditWidth", "80", "NULL is not a valid setting for EditWidth.\n",
     "Current setting of EditWidth: 80\n"},
    {"versioncontrol CVS", 1, "VersionControl", "cvs", "", ""},
    {"VersionControl bogus", 0, "VersionControl", "auto", "Invalid setting: bogus", kChoices},
    {"VersionControl", 0, "VersionControl", "auto", "Must give new setting", kChoices},
    {"diffHighlight #abc", 1, "diffHighlight", "#abc", "", ""},
    {"diffHighlight rgb:ff/80/0", 1, "diffHighlight", "rgb:ff/80/0", "", ""},
    {"diffHighlight #12345", 0, "diffHighlight", "#e0ffd0",
     "\"#12345\" is not a valid setting of diffHighlight.\n", ""},
    {"diffHighlight nosuchcolourname", 0, "diffHighlight", "#e0ffd0",
     "\"nosuchcolourname\" is not a valid setting of diffHighlight.\n", ""},
    {"font Mono extra words", 1, "font", "Mono", "", ""},
    {"font \"Fira Code 12\" extra", 1, "font", "Fira Code 12", "", ""},
    {"font", 1, "font", "NULL", "",
     "Setting option font to NULL.  Previous value: \"DejaVu Sans Mono:size=10\"\n"},
    {"minviewsize 80x24", 1, "minviewsize", "80x24", "", ""},
    {"minviewsize 80by24", 0, "minviewsize", "-1x-1",
     "\"80by24\" is not a valid setting of minviewsize.\n", ""},
    {"nosuchoption 12", 0, "EditWidth", "80", "Unknown configuration option: nosuchoption 12", ""},
    {"nosuchoption", 0, "EditWidth", "80", "Unknown configuration option: nosuchoption ", ""},
};

TEST_F(ScanLine, EachLineSetsItsValueAndReports) {
  for (const LineCase& c : kLines) {
    clearAllOptions();
    cfg_SetEverythingToDefaults();
    clearMessages();
    EXPECT_EQ(cfg_ScanLine(c.line, 1, 0), c.result) << c.line;
    EXPECT_EQ(valueOf(c.option), c.value) << c.line;
    EXPECT_EQ(errors(), c.errors) << c.line;
    EXPECT_EQ(printed(), c.printed) << c.line;
  }
  EXPECT_EQ(cfg_ScanLine(nullptr, 1, 0), 0);
}

TEST_F(ScanLine, ValuesThatNeedAStateBefore) {
  ASSERT_EQ(cfg_ScanLine("useFileRelLineBG", 1, 0), 1);
  clearMessages();
  EXPECT_EQ(cfg_ScanLine("usefilerellinebg:", 1, 0), 1);  // toggles back
  EXPECT_EQ(printed(), "Toggling useFileRelLineBG:  new value is On\n");
  clearMessages();
  EXPECT_EQ(cfg_ScanLine("useFileRelLineBG", 1, 1), 1);  // quiet
  EXPECT_EQ(valueOf("useFileRelLineBG"), "Off");
  clearMessages();
  debugFlag[DBG_DontAllowNullInConfigOptions] = 0;
  EXPECT_EQ(cfg_ScanLine("background:", 1, 0), 0);
  EXPECT_EQ(errors(), "\"\" is not a valid setting of background.\n");
  clearMessages();
  ASSERT_EQ(cfg_ScanLine("minviewsize 80x24", 1, 0), 1);
  EXPECT_EQ(cfg_ScanLine("minviewsize", 1, 0), 1);
  EXPECT_EQ(printed(), "Setting minviewsize to -1x-1.  Previous value: 80x24\n");
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
  EXPECT_EQ(cfg_ScanLine("keyword #7F0000", 1, 0), 1);  // the same colour again
  EXPECT_EQ(g_hookCalls, 1);
  EXPECT_NE(cfg_refresh_mask & CFG_REFRESH_COLORS, 0u);
  cfg_SetColorHook(refusingHook);
  EXPECT_EQ(cfg_ScanLine("keyword #00ff00", 1, 0), 0);
  EXPECT_STREQ(colorText(CFG_COLOR_keyword), "#7f0000");
  EXPECT_EQ(errors(), "\"#00ff00\" is not a valid setting of keyword.\n");
}

TEST_F(ScanLine, IncludeReadsAFileUpToTheNestingLimit) {
  useSandbox("difftest");
  writeFile(home() / ".qen" / "extra.cfg", "EditWidth 133\n");
  EXPECT_EQ(cfg_ScanLine("include extra.cfg", 1, 0), 1);
  EXPECT_EQ(EditWidth, 133);
  EXPECT_EQ(cfg_ScanLine("include missing.cfg", 1, 0), 0);
  EXPECT_EQ(errors(), "\"missing.cfg\" is not a valid setting of include.\n");
  writeFile(home() / ".qen" / "loop.cfg", "include loop.cfg\n");
  clearMessages();
  // A file that includes itself ends where the innermost include is refused.
  EXPECT_EQ(cfg_ScanLine("include loop.cfg", 1, 0), 1);
  EXPECT_EQ(errors(), "\"loop.cfg\" is not a valid setting of include.\n");
}

int g_setterCalls, g_changes;
long g_setterValue;
int recordingSetter(_ConfigOption*, const cfg_Value* value) {
  g_setterCalls++;
  g_setterValue = value->number;
  return 1;
}

TEST_F(ScanLine, SettersAndChangeHooksHearOnlyRealChanges) {
  g_setterCalls = g_changes = 0;
  cfg_SetChangeHook([](_ConfigOption*) { g_changes++; });
  EXPECT_EQ(cfg_ScanLine("EditHeight 40", 1, 0), 1);  // already 40
  EXPECT_EQ(cfg_refresh_mask, 0u);
  cfg_FindOption("EditHeight")->setter = recordingSetter;
  EXPECT_EQ(cfg_ScanLine("EditHeight 40", 1, 0), 1);
  EXPECT_EQ(g_setterCalls, 0);
  EXPECT_EQ(cfg_ScanLine("EditHeight 55", 1, 0), 1);
  EXPECT_EQ(g_setterCalls, 1);
  EXPECT_EQ(g_setterValue, 55);
  EXPECT_EQ(EditHeight, 40);  // the setter took it instead
  EXPECT_EQ(cfg_refresh_mask, unsigned(CFG_REFRESH_LAYOUT));
  cfg_ScanLine("comment #123456", 1, 0);
  cfg_ScanLine("ClearCaseSupport yes", 1, 0);
  EXPECT_EQ(g_changes, 3);
}

}  // namespace
