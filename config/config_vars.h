// The program variables that configuration options set, as the rest of the
// program reads them: colours by slot, window sizes, editor and colouring
// switches, fonts, version-control settings.
#pragma once

#include "config/config.h"

// The colours of color_options, in table order (the two switches
// useFileRelLineBG and useProcRelLineBG are booleans below).
enum cfg_ColorId {
  CFG_COLOR_background,
  CFG_COLOR_foreground,
  CFG_COLOR_controlcolor,
  CFG_COLOR_select,
  CFG_COLOR_assembly,
  CFG_COLOR_breakcolor,
  CFG_COLOR_pointercolor,
  CFG_COLOR_bdotcolor,
  CFG_COLOR_comment,
  CFG_COLOR_deadcode,
  CFG_COLOR_keyword,
  CFG_COLOR_string,
  CFG_COLOR_number,
  CFG_COLOR_character,
  CFG_COLOR_customized,
  CFG_COLOR_nobuild,
  CFG_COLOR_program,
  CFG_COLOR_subprogram,
  CFG_COLOR_source,
  CFG_COLOR_header,
  CFG_COLOR_documentation,
  CFG_COLOR_library,
  CFG_COLOR_object,
  CFG_COLOR_singlelibrary,
  CFG_COLOR_script,
  CFG_COLOR_other,
  CFG_COLOR_TBFunctionNormalFG,
  CFG_COLOR_TBFunctionNoInfoFG,
  CFG_COLOR_TBFunctionRecursiveFG,
  CFG_COLOR_TBFunctionAdrTakenFG,
  CFG_COLOR_TBDynNormalFG,
  CFG_COLOR_TBDynNoInfoFG,
  CFG_COLOR_TBFileNormalFG,
  CFG_COLOR_TBFileNoInfoFG,
  CFG_COLOR_TBClassUnionFG,
  CFG_COLOR_TBClassEnumFG,
  CFG_COLOR_TBClassStructFG,
  CFG_COLOR_TBClassClassFG,
  CFG_COLOR_TBClassNoInfoFG,
  CFG_COLOR_TBFunctionNormalBG,
  CFG_COLOR_TBFunctionNoInfoBG,
  CFG_COLOR_TBFunctionRecursiveBG,
  CFG_COLOR_TBFunctionAdrTakenBG,
  CFG_COLOR_TBDynNormalBG,
  CFG_COLOR_TBDynNoInfoBG,
  CFG_COLOR_TBFileNormalBG,
  CFG_COLOR_TBFileNoInfoBG,
  CFG_COLOR_TBClassUnionBG,
  CFG_COLOR_TBClassEnumBG,
  CFG_COLOR_TBClassStructBG,
  CFG_COLOR_TBClassClassBG,
  CFG_COLOR_TBClassNoInfoBG,
  CFG_COLOR_fileRelLineBG,
  CFG_COLOR_procRelLineBG,
  CFG_COLOR_startedConnectionFG,
  CFG_COLOR_diffHighlight,
  CFG_COLOR_diffInserted,
  CFG_COLOR_diffDeleted,
  CFG_COLOR_diffChanged,
  CFG_COLOR_diffChangedText,
  CFG_COLOR_COUNT
};
extern cfg_ColorSlot cfg_colors[CFG_COLOR_COUNT];

// size_options
extern cfg_Size cfg_minviewsize, cfg_maxviewsize, cfg_minwindowsize,
    cfg_maxwindowsize, cfg_firstposition, cfg_builderposition;

// color_options switches
extern bool useFileRelLineBG, useProcRelLineBG;

// editor_options: the editor's width in columns and height in lines, and
// syntax colouring with its per-class switches.
extern int EditWidth, EditHeight;
extern bool colorsyntax, colorsyntax_string, colorsyntax_char,
    colorsyntax_deadcode, colorsyntax_comment, colorsyntax_keyword,
    colorsyntax_number, colorsyntax_customized;
extern bool cppCommentsInC;

// gui_options: the text fonts, black-and-white mode (colours are refused),
// the close button in viewer tool bars, and the click pause in tenths of a
// second (0: none).
extern char* cfg_font;
extern char* cfg_bigfont;
extern bool cfg_blackwhite;
extern bool vfCloseButtonOnTitleBar;
extern int cfg_clickpause;

// misc_options: the title appended to window titles, whether reading a
// configuration file is announced, and whether the difference engine pairs
// the equal lines left between its pairings (on before any configuration
// is read, so that every comparison refines unless told not to).
extern char* cfg_application_title;
extern bool cfg_report_reading;
extern bool cfg_diff_refine;

// vc_service_options: the version-control system type (the choice index is
// the type number: 0 the suite's own, 1 CVS, 2 ClearCase, 3 PVCS, 4 RCS,
// 5 automatic, 6 CVS variant, 7 custom, 8 SourceSafe, 9 disabled, 10 git), the
// disabled flag, ClearCase support and the custom show-history command.
extern int cfg_vc_type;
extern bool cfg_vc_disabled;
extern bool cfg_vc_clearcase;
extern char* cfg_vc_show_history_command;

// os_options: the directory preferred for temporary files (null: none).
extern char* cfg_temp_dir;
