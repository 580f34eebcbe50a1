// The option tables in their search order.  size_options and color_options
// hold every row of the suite's tables; the other tables hold the options
// this program reads, each in the table it belongs to.
#include "config/config.h"

#include "config/config_private.h"
#include "config/config_vars.h"

namespace {

constexpr unsigned kColors = CFG_REFRESH_COLORS;
constexpr unsigned kSyntax = CFG_REFRESH_SYNTAX | CFG_REFRESH_TEXT;

constexpr _ConfigOption sizeRow(const char* name, cfg_Size* var) {
  return {name, CFG_SIZE, var, CFG_REFRESH_LAYOUT, true, nullptr, nullptr, 0, nullptr, 0};
}

constexpr _ConfigOption colorRow(const char* name, cfg_ColorId id, const char* def,
                       unsigned refresh = kColors, bool broadcast = true) {
  return {name, CFG_COLOR, &cfg_colors[id].text, refresh, broadcast, nullptr, def, 0,
          &cfg_colors[id], 0};
}

constexpr _ConfigOption boolRow(const char* name, bool* var, bool def, unsigned refresh,
                      bool broadcast = true) {
  return {name, CFG_BOOLEAN, var, refresh, broadcast, nullptr, nullptr, def ? 1 : 0,
          nullptr, 0};
}

constexpr _ConfigOption intRow(const char* name, int* var, long def, const cfg_IntRange* range,
                     unsigned refresh) {
  return {name, CFG_INTEGER, var, refresh, true, nullptr, nullptr, def, range, 0};
}

constexpr _ConfigOption stringRow(const char* name, char** var, const char* def,
                        unsigned refresh, bool broadcast = true) {
  return {name, CFG_STRING, var, refresh, broadcast, nullptr, def, 0, nullptr, 0};
}

constexpr _ConfigOption choiceRow(const char* name, int* var, long def,
                        const cfg_ChoiceList* choices) {
  return {name, CFG_CHOICE, var, 0, true, nullptr, nullptr, def, choices, 0};
}

constexpr _ConfigOption functionRow(const char* name, cfg_SetterFn handler) {
  return {name, CFG_FUNCTION, nullptr, 0, false, handler, nullptr, 0, nullptr, 0};
}

_ConfigOption size_options[] = {
    sizeRow("minviewsize", &cfg_minviewsize),
    sizeRow("maxviewsize", &cfg_maxviewsize),
    sizeRow("minwindowsize", &cfg_minwindowsize),
    sizeRow("maxwindowsize", &cfg_maxwindowsize),
    sizeRow("firstposition", &cfg_firstposition),
    sizeRow("builderposition", &cfg_builderposition),
};

_ConfigOption color_options[] = {
    colorRow("background", CFG_COLOR_background, "#ffffff"),
    colorRow("foreground", CFG_COLOR_foreground, "#000000"),
    colorRow("controlcolor", CFG_COLOR_controlcolor, "#c0c0c0"),
    colorRow("select", CFG_COLOR_select, "#000080"),
    colorRow("assembly", CFG_COLOR_assembly, "#804000"),
    colorRow("breakcolor", CFG_COLOR_breakcolor, "#ff0000"),
    colorRow("pointercolor", CFG_COLOR_pointercolor, "#ff0000"),
    colorRow("bdotcolor", CFG_COLOR_bdotcolor, "#ff0000"),
    colorRow("comment", CFG_COLOR_comment, "#008000", kColors | kSyntax),
    colorRow("deadcode", CFG_COLOR_deadcode, "#808080", kColors | kSyntax),
    colorRow("keyword", CFG_COLOR_keyword, "#0000ff", kColors | kSyntax),
    colorRow("string", CFG_COLOR_string, "#800000", kColors | kSyntax),
    colorRow("number", CFG_COLOR_number, "#e000e0", kColors | kSyntax),
    colorRow("character", CFG_COLOR_character, "#c000c0", kColors | kSyntax),
    colorRow("customized", CFG_COLOR_customized, "#008080", kColors | kSyntax, false),
    colorRow("nobuild", CFG_COLOR_nobuild, "#808080"),
    colorRow("program", CFG_COLOR_program, "#800000"),
    colorRow("subprogram", CFG_COLOR_subprogram, "#804000"),
    colorRow("source", CFG_COLOR_source, "#000080"),
    colorRow("header", CFG_COLOR_header, "#006060"),
    colorRow("documentation", CFG_COLOR_documentation, "#606000"),
    colorRow("library", CFG_COLOR_library, "#800080"),
    colorRow("object", CFG_COLOR_object, "#404040"),
    colorRow("singlelibrary", CFG_COLOR_singlelibrary, "#a000a0"),
    colorRow("script", CFG_COLOR_script, "#008000"),
    colorRow("other", CFG_COLOR_other, "#000000"),
    colorRow("TBFunctionNormalFG", CFG_COLOR_TBFunctionNormalFG, "#000000"),
    colorRow("TBFunctionNoInfoFG", CFG_COLOR_TBFunctionNoInfoFG, "#808080"),
    colorRow("TBFunctionRecursiveFG", CFG_COLOR_TBFunctionRecursiveFG, "#800000"),
    colorRow("TBFunctionAdrTakenFG", CFG_COLOR_TBFunctionAdrTakenFG, "#000080"),
    colorRow("TBDynNormalFG", CFG_COLOR_TBDynNormalFG, "#000000"),
    colorRow("TBDynNoInfoFG", CFG_COLOR_TBDynNoInfoFG, "#808080"),
    colorRow("TBFileNormalFG", CFG_COLOR_TBFileNormalFG, "#000000"),
    colorRow("TBFileNoInfoFG", CFG_COLOR_TBFileNoInfoFG, "#808080"),
    colorRow("TBClassUnionFG", CFG_COLOR_TBClassUnionFG, "#006060"),
    colorRow("TBClassEnumFG", CFG_COLOR_TBClassEnumFG, "#606000"),
    colorRow("TBClassStructFG", CFG_COLOR_TBClassStructFG, "#000080"),
    colorRow("TBClassClassFG", CFG_COLOR_TBClassClassFG, "#800000"),
    colorRow("TBClassNoInfoFG", CFG_COLOR_TBClassNoInfoFG, "#808080"),
    colorRow("TBFunctionNormalBG", CFG_COLOR_TBFunctionNormalBG, "#ffffff"),
    colorRow("TBFunctionNoInfoBG", CFG_COLOR_TBFunctionNoInfoBG, "#f0f0f0"),
    colorRow("TBFunctionRecursiveBG", CFG_COLOR_TBFunctionRecursiveBG, "#fff0f0"),
    colorRow("TBFunctionAdrTakenBG", CFG_COLOR_TBFunctionAdrTakenBG, "#f0f0ff"),
    colorRow("TBDynNormalBG", CFG_COLOR_TBDynNormalBG, "#ffffff"),
    colorRow("TBDynNoInfoBG", CFG_COLOR_TBDynNoInfoBG, "#f0f0f0"),
    colorRow("TBFileNormalBG", CFG_COLOR_TBFileNormalBG, "#ffffff"),
    colorRow("TBFileNoInfoBG", CFG_COLOR_TBFileNoInfoBG, "#f0f0f0"),
    colorRow("TBClassUnionBG", CFG_COLOR_TBClassUnionBG, "#ffffff"),
    colorRow("TBClassEnumBG", CFG_COLOR_TBClassEnumBG, "#ffffff"),
    colorRow("TBClassStructBG", CFG_COLOR_TBClassStructBG, "#ffffff"),
    colorRow("TBClassClassBG", CFG_COLOR_TBClassClassBG, "#ffffff"),
    colorRow("TBClassNoInfoBG", CFG_COLOR_TBClassNoInfoBG, "#f0f0f0"),
    colorRow("fileRelLineBG", CFG_COLOR_fileRelLineBG, "#FFFFFF"),
    colorRow("procRelLineBG", CFG_COLOR_procRelLineBG, "#e4e4e4"),
    boolRow("useFileRelLineBG", &useFileRelLineBG, true, kColors),
    boolRow("useProcRelLineBG", &useProcRelLineBG, true, kColors),
    colorRow("startedConnectionFG", CFG_COLOR_startedConnectionFG, "#008000"),
    colorRow("diffHighlight", CFG_COLOR_diffHighlight, "#e0ffd0"),
    colorRow("diffInserted", CFG_COLOR_diffInserted, "#cce6ff"),
    colorRow("diffDeleted", CFG_COLOR_diffDeleted, "#ffd4d4"),
    colorRow("diffChanged", CFG_COLOR_diffChanged, "#ecdfb0"),
    colorRow("diffChangedText", CFG_COLOR_diffChangedText, "#d8b040"),
};

const cfg_IntRange kEditWidthRange{10, 1000};
const cfg_IntRange kEditHeightRange{5, 1000};

_ConfigOption editor_options[] = {
    intRow("EditWidth", &EditWidth, 80, &kEditWidthRange, CFG_REFRESH_LAYOUT),
    intRow("EditHeight", &EditHeight, 40, &kEditHeightRange, CFG_REFRESH_LAYOUT),
    boolRow("colorsyntax", &colorsyntax, true, kSyntax),
    boolRow("colorsyntax_string", &colorsyntax_string, true, kSyntax),
    boolRow("colorsyntax_char", &colorsyntax_char, true, kSyntax),
    boolRow("colorsyntax_deadcode", &colorsyntax_deadcode, true, kSyntax),
    boolRow("colorsyntax_comment", &colorsyntax_comment, true, kSyntax),
    boolRow("colorsyntax_keyword", &colorsyntax_keyword, true, kSyntax),
    boolRow("colorsyntax_number", &colorsyntax_number, true, kSyntax),
    boolRow("colorsyntax_customized", &colorsyntax_customized, true, kSyntax),
    boolRow("cppCommentsInC", &cppCommentsInC, true, kSyntax),
};

const cfg_IntRange kClickPauseRange{0, 50};

_ConfigOption gui_options[] = {
    stringRow("font", &cfg_font, "DejaVu Sans Mono:size=10",
              CFG_REFRESH_FONTS | CFG_REFRESH_LAYOUT),
    stringRow("bigfont", &cfg_bigfont, "DejaVu Sans Mono:bold:size=12",
              CFG_REFRESH_FONTS | CFG_REFRESH_LAYOUT),
    boolRow("blackwhite", &cfg_blackwhite, false, kColors, false),
    boolRow("vfCloseButtonOnTitleBar", &vfCloseButtonOnTitleBar, false,
            CFG_REFRESH_LAYOUT),
    intRow("clickpause", &cfg_clickpause, 0, &kClickPauseRange, 0),
};

_ConfigOption misc_options[] = {
    stringRow("applicationTitle", &cfg_application_title, nullptr, CFG_REFRESH_TEXT),
    boolRow("reportConfigReading", &cfg_report_reading, false, 0, false),
    boolRow("diffRefineRepeatedLines", &cfg_diff_refine, true, 0),
    functionRow("include", cfg_IncludeFile),
};

const char* const kVcTypes[] = {"kvc",    "cvs",       "clearcase", "pvcs",
                                "rcs",    "auto",      "cvsplugin", "custom",
                                "sourcesafe", "disabled", "git"};
const cfg_ChoiceList kVcTypeChoices{kVcTypes, 11};

_ConfigOption vc_service_options[] = {
    choiceRow("VersionControl", &cfg_vc_type, 5, &kVcTypeChoices),
    boolRow("VersionControlDisabled", &cfg_vc_disabled, false, 0),
    boolRow("ClearCaseSupport", &cfg_vc_clearcase, false, 0),
    stringRow("ShowHistoryCommand", &cfg_vc_show_history_command, nullptr, 0),
};

_ConfigOption os_options[] = {
    stringRow("TempDir", &cfg_temp_dir, nullptr, 0, false),
};

template <int N>
constexpr cfg_Table table(const char* name, _ConfigOption (&rows)[N]) {
  return {name, rows, N};
}

}  // namespace

cfg_Table cfg_tables[] = {
    table("size_options", size_options),
    table("color_options", color_options),
    table("editor_options", editor_options),
    {"debugger_options", nullptr, 0},
    table("gui_options", gui_options),
    table("misc_options", misc_options),
    {"tracegui_options", nullptr, 0},
    {"integrate_options", nullptr, 0},
    table("vc_service_options", vc_service_options),
    {"editor_service_options", nullptr, 0},
    table("os_options", os_options),
};
const int cfg_table_count = sizeof cfg_tables / sizeof cfg_tables[0];
